#include "tools/WindowOffset.h"

#include <algorithm>
#include <cctype>

#include "core/Routines.h"

std::string tWindowOffset::Text(bool Hex) const
{
    const auto Last = static_cast<uint64_t>(std::max<int64_t>(Max, 0));
    const auto Value = static_cast<uint64_t>(std::clamp<int64_t>(Start, 0, std::max<int64_t>(Max, 0)));
    if (!Hex)
        return DecText(Value, static_cast<int>(DecText(Last, 1).size()));
    // HexText pads to a multiple of its group: the largest offset's digit
    // count is that multiple only once the value has no more digits.
    const std::string Digits = HexText(Value, 1);
    return std::string(HexText(Last, 1).size() - Digits.size(), '0') + Digits;
}

std::string tWindowOffset::PercentText() const
{
    if (Max <= 0)
        return "100";
    // Blocks are at most a 32 MiB ROM: Start x 100 stays far inside 64 bits.
    const int64_t P = std::clamp<int64_t>(Start, 0, Max) * 100 / Max;
    return DecText(static_cast<uint64_t>(P), 3);
}

std::string tWindowOffset::Caption(std::string_view Prefix) const
{
    return std::string(Prefix) + PercentText() + "%)";
}

std::optional<int64_t> ParseWindowOffset(std::string_view Text, bool Hex)
{
    std::string Upper(Text);
    for (char& C : Upper)
        C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
    if (!IsNumberText(Upper, Hex))
        return std::nullopt;
    const std::optional<uint64_t> V = Hex ? ParseHex(Upper) : ParseDec(Upper);
    if (!V)
        return std::nullopt;
    return static_cast<int64_t>(*V);
}
