#include "tools/HexSearch.h"

#include <limits>

#include "core/Routines.h"

void tHexSearch::SetValue(int64_t V)
{
    Value_ = V;
    LastMatch_ = -1;
}

void tHexSearch::SetDecText(const std::string& Text)
{
    // As far as the text reads as a signed number that fits.
    size_t I = 0;
    bool Negative = false;
    if (I < Text.size() && (Text[I] == '-' || Text[I] == '+'))
        Negative = Text[I++] == '-';
    int64_t V = 0;
    for (; I < Text.size() && Text[I] >= '0' && Text[I] <= '9'; ++I) {
        const int D = Text[I] - '0';
        if (!Negative && V > (std::numeric_limits<int64_t>::max() - D) / 10)
            break;
        if (Negative && V < (std::numeric_limits<int64_t>::min() + D) / 10)
            break;
        V = V * 10 + (Negative ? -D : D);
    }
    SetValue(V);
}

void tHexSearch::SetHexText(const std::string& Text)
{
    const auto V = Text.empty() ? std::nullopt : ParseHex(Text);
    SetValue(V ? static_cast<int64_t>(*V) : 0);
}

void tHexSearch::Step(bool Up)
{
    if (Up && Value_ != std::numeric_limits<int64_t>::max())
        SetValue(Value_ + 1);
    else if (!Up && Value_ != std::numeric_limits<int64_t>::min())
        SetValue(Value_ - 1);
    LastMatch_ = -1;
}

std::string tHexSearch::DecText() const
{
    return std::to_string(Value_);
}

std::string tHexSearch::HexText() const
{
    return ::HexText(static_cast<uint64_t>(Value_), 1);
}

int tHexSearch::WidthOfDigits(size_t Digits)
{
    return Digits <= 2 ? 1 : Digits <= 4 ? 2 : Digits <= 8 ? 4 : 8;
}

std::optional<int64_t> tHexSearch::FindNext(std::span<const uint8_t> Data, bool& Changed)
{
    const int W = Width();
    const int64_t Last = static_cast<int64_t>(Data.size()) - W;
    Changed = false;
    if (Last < 0)
        return std::nullopt;
    Changed = true;
    const auto Wanted = static_cast<uint64_t>(Value_);
    // Widths below 8 only match values whose upper 32 bits are clear.
    if (W < 8 && (Wanted >> 32) != 0) {
        LastMatch_ = -1;
        return std::nullopt;
    }
    for (int64_t P = LastMatch_ + 1; P <= Last; ++P) {
        uint64_t X = 0;
        for (int I = 0; I < W; ++I)
            X |= uint64_t{Data[static_cast<size_t>(P + I)]} << (8 * I);
        if (X == Wanted) {
            LastMatch_ = P;
            return P;
        }
    }
    LastMatch_ = -1;
    return std::nullopt;
}

std::string tHexSearch::StatusText(std::optional<int64_t> Match)
{
    if (!Match)
        return "no more matches";
    std::string Hex = ::HexText(static_cast<uint64_t>(*Match), 1);
    if (Hex.size() % 2)
        Hex.insert(0, "0");
    return "last match: " + std::to_string(*Match) + " (" + Hex + "h)";
}
