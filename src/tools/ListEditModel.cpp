#include "tools/ListEditModel.h"

#include <algorithm>
#include <limits>

#include "core/Routines.h"

namespace
{
uint64_t Mask(int Bits)
{
    return Bits >= 64 ? ~uint64_t{0} : (uint64_t{1} << Bits) - 1;
}

int UnitWidth(int Bits)
{
    return Bits <= 8 ? 8 : Bits <= 16 ? 16 : Bits <= 32 ? 32 : 64;
}
} // namespace

void tListEditModel::Range(int Bits, int64_t& Min, int64_t& Max)
{
    if (Bits <= 0)
        return;
    if (Bits <= 32) {
        Min = 0;
        Max = static_cast<int64_t>(Mask(Bits));
    } else if (Bits < 64) {
        Min = -(int64_t{1} << (Bits - 1));
        Max = (int64_t{1} << (Bits - 1)) - 1;
    } else {
        Min = std::numeric_limits<int64_t>::min();
        Max = std::numeric_limits<int64_t>::max();
    }
}

int64_t tListEditModel::Signed(uint64_t Value, int Bits)
{
    if (Bits <= 32 || Bits >= 64)
        return static_cast<int64_t>(Value);
    const uint64_t V = Value & Mask(Bits);
    const uint64_t Sign = uint64_t{1} << (Bits - 1);
    return static_cast<int64_t>((V ^ Sign) - Sign);
}

void tListEditModel::SetBlock(const tInfoBlock& Block)
{
    Bits_ = std::clamp<int>(Block.Bits, 0, 64);
    Range(Bits_, Min_, Max_);
    Value_ = Signed(Block.Value, Bits_);
}

bool tListEditModel::SetValue(int64_t V)
{
    if (!Editable() || V < Min_ || V > Max_)
        return false;
    Value_ = V;
    return true;
}

bool tListEditModel::Step(bool Up)
{
    if (!Editable())
        return false;
    const int64_t Old = Value_;
    Value_ = std::clamp(Value_, Min_, Max_);
    if (Up && Value_ < Max_)
        ++Value_;
    else if (!Up && Value_ > Min_)
        --Value_;
    return Value_ != Old;
}

std::string tListEditModel::Text(tListField F) const
{
    if (!Editable())
        return {};
    const uint64_t Bits = static_cast<uint64_t>(Value_) & Mask(Bits_);
    switch (F) {
    case tListField::Bin:
        return BinText(Bits, Bits_);
    case tListField::Hex:
        return HexText(Bits, UnitWidth(Bits_) / 4);
    case tListField::Dec:
        break;
    }
    return std::to_string(Value_);
}

bool tListEditModel::SetDecText(std::string_view Text)
{
    const auto V = ParseDec(Text);
    return V && SetValue(static_cast<int64_t>(*V));
}

std::string_view tListEditModel::CharSet(tListField Field)
{
    return Field == tListField::Bin ? "01" : Field == tListField::Hex ? "0123456789ABCDEF" : "-0123456789";
}

bool tListEditModel::TypeOver(tListField Field, std::string_view Chars, bool Forward, int& Caret)
{
    if (!Editable() || Field == tListField::Dec || Chars.empty())
        return false;
    std::string Typed;
    for (char C : Chars) {
        const char U = (C >= 'a' && C <= 'z') ? static_cast<char>(C - 'a' + 'A') : C;
        if (CharSet(Field).find(U) == std::string_view::npos)
            return false; // a text that does not belong in the field changes nothing
        Typed.push_back(U);
    }
    std::string T = Text(Field);
    const int Length = static_cast<int>(T.size());
    int P = std::clamp(Caret, 0, Length);
    if (!Forward) {
        const int Back = std::min(P, static_cast<int>(Typed.size()));
        Typed.erase(0, Typed.size() - static_cast<size_t>(Back));
        P -= Back;
    }
    const int N = std::min(static_cast<int>(Typed.size()), Length - P);
    if (N <= 0)
        return false;
    T.replace(static_cast<size_t>(P), static_cast<size_t>(N), Typed, 0, static_cast<size_t>(N));
    const auto V = Field == tListField::Bin ? ParseBin(T) : ParseHex(T);
    if (!V)
        return false;
    // Only the row's bits reach memory, so the value is taken as those bits.
    Value_ = Signed(*V & Mask(Bits_), Bits_);
    Caret = Forward ? P + N : P;
    return true;
}

tNote tListEditModel::CommitNote(int Page)
{
    if (Page == ListZST)
        return Note::NewZSTData;
    if (Page == ListS9X)
        return Note::NewS9X;
    // The Super Sleuth list shows that object's own chunks: "new SNES" would
    // make it rebuild them from the machine state over the edit.
    if (Page == ListSSL)
        return Note::NewSSL;
    return Note::NewSNES;
}
