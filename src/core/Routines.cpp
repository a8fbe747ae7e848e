#include "core/Routines.h"

#include <algorithm>
#include <charconv>

namespace
{

constexpr char HexDigits[] = "0123456789ABCDEF";

// Digits of Value in base 2^Bits, padded to a multiple of Group.
std::string PowerOfTwoText(uint64_t Value, int Bits, int Group)
{
    std::string S;
    do {
        S += HexDigits[Value & ((1u << Bits) - 1)];
        Value >>= Bits;
    } while (Value);
    size_t G = static_cast<size_t>(std::max(Group, 1));
    size_t Len = G * ((S.size() - 1) / G + 1);
    S.append(Len - S.size(), '0');
    std::reverse(S.begin(), S.end());
    return S;
}

} // namespace

int HexDigitValue(char C)
{
    if (C >= '0' && C <= '9')
        return C - '0';
    if (C >= 'A' && C <= 'F')
        return C - 'A' + 10;
    if (C >= 'a' && C <= 'f')
        return C - 'a' + 10;
    return -1;
}

namespace
{
// Digits of the given base, no sign; MaxDigits bounds the length so that the
// value cannot overflow 64 bits.
std::optional<uint64_t> ParseDigits(std::string_view Text, int Base, size_t MaxDigits)
{
    if (Text.empty() || Text.size() > MaxDigits)
        return std::nullopt;
    uint64_t V = 0;
    for (char C : Text) {
        const int D = HexDigitValue(C);
        if (D < 0 || D >= Base)
            return std::nullopt;
        V = V * static_cast<uint64_t>(Base) + static_cast<uint64_t>(D);
    }
    return V;
}

} // namespace

std::string BinText(uint64_t Value, int Group)
{
    return PowerOfTwoText(Value, 1, Group);
}
std::string HexText(uint64_t Value, int Group)
{
    return PowerOfTwoText(Value, 4, Group);
}

std::string DecText(uint64_t Value, int Width)
{
    std::string S = std::to_string(Value);
    if (Width > 0 && S.size() < static_cast<size_t>(Width))
        S.insert(0, static_cast<size_t>(Width) - S.size(), '0');
    return S;
}

std::optional<uint64_t> ParseBin(std::string_view Text)
{
    return ParseDigits(Text, 2, 64);
}
std::optional<uint64_t> ParseHex(std::string_view Text)
{
    return ParseDigits(Text, 16, 16);
}

std::optional<uint64_t> ParseDec(std::string_view Text)
{
    bool Negative = false;
    std::string_view Digits = Text;
    if (!Digits.empty() && (Digits.front() == '-' || Digits.front() == '+')) {
        Negative = Digits.front() == '-';
        Digits.remove_prefix(1);
    }
    uint64_t Magnitude = 0;
    auto [End, Ec] = std::from_chars(Digits.data(), Digits.data() + Digits.size(), Magnitude);
    // The range of a signed 64-bit number: up to 2^63 - 1, down to -2^63.
    constexpr uint64_t MaxPositive = 0x7FFFFFFFFFFFFFFFull;
    if (Digits.empty() || Ec != std::errc() || End != Digits.data() + Digits.size() ||
        Magnitude > MaxPositive + (Negative ? 1 : 0))
        return std::nullopt;
    return Negative ? ~Magnitude + 1 : Magnitude;
}

bool IsNumberText(std::string_view Text, bool Hex)
{
    if (Text.empty())
        return false;
    while (Text.size() >= 2 && Text.front() == '0')
        Text.remove_prefix(1);
    if (Hex) {
        if (Text.size() > 8 || !AllInSet(Text, "0123456789ABCDEF"))
            return false;
    } else if (Text.size() > 10 || NotAllDigits(Text))
        return false;
    uint64_t V = 0;
    for (char C : Text)
        V = V * (Hex ? 16 : 10) + static_cast<uint64_t>(HexDigitValue(C));
    return V <= 0x7FFFFFFF;
}

bool AllInSet(std::string_view Text, std::string_view Set)
{
    return !Text.empty() &&
           std::all_of(Text.begin(), Text.end(), [&](char C) { return Set.find(C) != std::string_view::npos; });
}

bool NotAllDigits(std::string_view Text)
{
    return !AllInSet(Text, "0123456789");
}

std::string RemoveSpaces(std::string_view Text)
{
    std::string S;
    for (char C : Text)
        if (C != ' ')
            S += C;
    return S;
}

std::string Quoted(std::string_view Text)
{
    return "\"" + std::string(Text) + "\"";
}

std::string NulToSpace(std::string_view Text)
{
    std::string S(Text);
    std::replace(S.begin(), S.end(), '\0', ' ');
    return S;
}

std::string ZoomCaption(std::string_view Caption, int Exponent)
{
    // Zoom steps stay far below this; it keeps 2^n inside 64 bits.
    constexpr int MaxExponent = 62;
    Exponent = std::clamp(Exponent, -MaxExponent, MaxExponent);
    size_t Open = Caption.find('(');
    std::string S(Open == std::string_view::npos ? std::string_view() : Caption.substr(0, Open + 1));
    uint64_t Power = 1ull << (Exponent < 0 ? -Exponent : Exponent);
    S += Exponent >= 0 ? std::to_string(Power) + ":1)" : "1:" + std::to_string(Power) + ")";
    return S;
}
