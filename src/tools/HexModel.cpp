#include "tools/HexModel.h"

#include <algorithm>

#include "core/Routines.h"

namespace
{
int64_t FloorDiv(int64_t A, int64_t B)
{
    int64_t Q = A / B;
    if ((A % B != 0) && ((A < 0) != (B < 0)))
        --Q;
    return Q;
}
} // namespace

void tHexModel::Load(std::span<const uint8_t> Data)
{
    Buffer.assign(Data.begin(), Data.end());
    Modified_ = false;
    Hover_ = 0;
    Normalize();
}

int64_t tHexModel::MaxWindowStart() const
{
    return std::max<int64_t>(0, Size() - WindowSize());
}

int64_t tHexModel::MaxNibble() const
{
    return std::max<int64_t>(0, 2 * Size() - 1);
}

int64_t tHexModel::CaretColumn() const
{
    const int64_t Rel = Caret_ - 2 * WindowStart_;
    const int64_t Line = 2 * int64_t{BytesPerLine_};
    return Rel - FloorDiv(Rel, Line) * Line;
}

int64_t tHexModel::CaretRow() const
{
    return FloorDiv(Caret_ - 2 * WindowStart_, 2 * int64_t{BytesPerLine_});
}

void tHexModel::SetResolution(int BytesPerLine, int LineCount)
{
    BytesPerLine_ = std::clamp(BytesPerLine, 1, MaxBytesPerLine);
    LineCount_ = std::clamp(LineCount, 1, MaxLineCount);
    Normalize();
}

// Brings caret and window back into the data after the data, the resolution
// or a restored state changed: the window first, then the caret into it.
void tHexModel::Normalize()
{
    WindowStart_ = std::clamp<int64_t>(WindowStart_, 0, MaxWindowStart());
    Caret_ = std::clamp<int64_t>(Caret_, 0, MaxNibble());
    const int64_t Byte = Caret_ / 2;
    if (Byte < WindowStart_)
        Caret_ = 2 * WindowStart_ + (Caret_ & 1);
    else if (Byte >= WindowStart_ + WindowSize())
        Caret_ = 2 * (WindowStart_ + WindowSize() - 1) + (Caret_ & 1);
    Caret_ = std::clamp<int64_t>(Caret_, 0, MaxNibble());
    Hover_ = std::clamp<int64_t>(Hover_, 0, std::max<int64_t>(0, Size() - 1));
}

void tHexModel::SetCaret(int64_t Nibble)
{
    const int64_t Old = Caret_ / 2;
    Caret_ = std::clamp<int64_t>(Nibble, 0, MaxNibble());
    const int64_t Byte = Caret_ / 2;
    if (Byte < WindowStart_ || Byte >= WindowStart_ + WindowSize())
        SetWindow(WindowStart_ + (Byte - Old));
    Normalize();
}

void tHexModel::SetWindow(int64_t Start)
{
    const int64_t Old = WindowStart_;
    WindowStart_ = std::clamp<int64_t>(Start, 0, MaxWindowStart());
    const int64_t Byte = Caret_ / 2;
    if (Byte < WindowStart_ || Byte >= WindowStart_ + WindowSize())
        Caret_ = std::clamp<int64_t>(Caret_ + 2 * (WindowStart_ - Old), 0, MaxNibble());
    Normalize();
}

void tHexModel::MoveBy(int64_t DeltaBytes)
{
    const int64_t Caret = Caret_;
    WindowStart_ = std::clamp<int64_t>(WindowStart_ + DeltaBytes, 0, MaxWindowStart());
    Caret_ = std::clamp<int64_t>(Caret + 2 * DeltaBytes, 0, MaxNibble());
    Normalize();
}

void tHexModel::TypeAt(bool Forward, int Value)
{
    if (Buffer.empty())
        return;
    const auto Byte = static_cast<size_t>(Caret_ / 2);
    int64_t Step = 2;
    if (TextSide_) {
        Buffer[Byte] = static_cast<uint8_t>(Value);
    } else {
        const int Old = Buffer[Byte];
        Buffer[Byte] = static_cast<uint8_t>((Caret_ & 1) ? ((Old & 0xF0) | Value) : ((Old & 0x0F) | (Value << 4)));
        Step = 1;
    }
    Modified_ = true;
    SetCaret(Caret_ + (Forward ? Step : -Step));
}

bool tHexModel::TypeChar(char32_t C, bool Ctrl, bool Alt)
{
    if (Ctrl || Alt || Buffer.empty())
        return false;
    if (TextSide_) {
        // Control characters are keys, not bytes.
        if (C < 0x20 || C > 0xFF || (C >= 0x7F && C < 0xA0))
            return false;
        TypeAt(true, static_cast<int>(C));
        return true;
    }
    if (C > 0x7F)
        return false;
    const int V = HexDigitValue(static_cast<char>(C));
    if (V < 0)
        return false;
    TypeAt(true, V);
    return true;
}

tHexKeyResult tHexModel::Key(tHexKey K, bool Ctrl, bool IgnoreDelete)
{
    tHexKeyResult R;
    R.Consumed = true;
    const int64_t Line = 2 * int64_t{BytesPerLine_};
    const int64_t Col = CaretColumn();
    const int64_t Step = TextSide_ ? 2 : 1;
    auto Move = [&](int64_t To) {
        SetCaret(To);
        R.CaretMoved = true;
    };
    switch (K) {
    case tHexKey::Left:
    case tHexKey::Right: {
        const int64_t Dir = K == tHexKey::Left ? -1 : 1;
        if (Ctrl) {
            SetWindow(WindowStart_ + Dir);
            R.CaretMoved = true;
        } else
            Move(TextSide_ ? (Caret_ & ~int64_t{1}) + 2 * Dir : Caret_ + Dir);
        break;
    }
    case tHexKey::Up:
    case tHexKey::Down: {
        const int64_t Dir = K == tHexKey::Up ? -1 : 1;
        if (Ctrl) {
            SetWindow(WindowStart_ + Dir * BytesPerLine_);
            R.CaretMoved = true;
        } else
            Move(Caret_ + Dir * Line);
        break;
    }
    case tHexKey::PageUp:
        Move(Ctrl ? 2 * WindowStart_ + Col : Caret_ - 2 * WindowSize());
        break;
    case tHexKey::PageDown:
        Move(Ctrl ? 2 * WindowStart_ + (LineCount_ - 1) * Line + Col : Caret_ + 2 * WindowSize());
        break;
    case tHexKey::Home:
        Move(Ctrl ? 0 : Caret_ - Col);
        break;
    case tHexKey::End:
        Move(Ctrl ? MaxNibble() : Caret_ - Col + Line - 1);
        break;
    case tHexKey::Tab:
        if (TextSide_)
            R.Consumed = false;
        else
            TextSide_ = true;
        R.CaretMoved = true;
        break;
    case tHexKey::Enter:
        R.Commit = true;
        break;
    case tHexKey::Backspace:
    case tHexKey::Delete: {
        if (IgnoreDelete || Buffer.empty())
            break;
        const bool Forward = K == tHexKey::Delete;
        // With Ctrl: to the end (Delete) or the start (Backspace) of the
        // line, counted in the column's own steps.
        int64_t Count = 1;
        if (Ctrl)
            Count = Forward ? (Line - Col + Step - 1) / Step : Col / Step + 1;
        for (int64_t I = 0; I < Count; ++I) {
            const int64_t Before = Caret_;
            TypeAt(Forward, 0);
            if (Caret_ == Before)
                break; // at either end of the data
        }
        R.Typed = true;
        R.CaretMoved = true;
        break;
    }
    }
    return R;
}

bool tHexModel::GoToOffsetText(const std::string& Text, bool Hex)
{
    const std::optional<int64_t> V = ParseWindowOffset(Text, Hex);
    if (!V)
        return false;
    MoveBy(*V - WindowStart_);
    return true;
}

void tHexModel::RestoreState(const tHexSourceState& S)
{
    TextSide_ = S.TextSide;
    WindowStart_ = S.WindowStart;
    Caret_ = S.CaretNibble;
    Hover_ = 0;
    Normalize();
}

void tHexModel::SetHover(int64_t Offset)
{
    if (Offset >= 0 && Offset < Size())
        Hover_ = Offset;
}

tHexValues tHexModel::HoverValues() const
{
    tHexValues V;
    const int64_t Left = Size() - Hover_;
    if (Hover_ < 0 || Left < 1)
        return V;
    auto Load = [&](int Bytes) {
        uint64_t X = 0;
        for (int I = 0; I < Bytes; ++I)
            X |= uint64_t{Buffer[static_cast<size_t>(Hover_ + I)]} << (8 * I);
        return X;
    };
    V.U8 = static_cast<int64_t>(Load(1));
    V.S8 = static_cast<int8_t>(Load(1));
    if (Left >= 2) {
        V.U16 = static_cast<int64_t>(Load(2));
        V.S16 = static_cast<int16_t>(Load(2));
    }
    if (Left >= 4) {
        V.U32 = static_cast<int64_t>(Load(4));
        V.S32 = static_cast<int32_t>(Load(4));
    }
    if (Left >= 8)
        V.S64 = static_cast<int64_t>(Load(8));
    return V;
}

std::string tHexModel::CopyText(bool Whole) const
{
    const int64_t From = Whole ? 0 : WindowStart_;
    const int64_t To = Whole ? Size() : std::min(Size(), WindowStart_ + WindowSize());
    std::string S;
    S.reserve(static_cast<size_t>(std::max<int64_t>(0, To - From)));
    for (int64_t I = From; I < To; ++I) {
        const uint8_t B = Buffer[static_cast<size_t>(I)];
        S.push_back(B == 0 ? ' ' : static_cast<char>(B));
    }
    return S;
}
