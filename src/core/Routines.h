#pragma once
// Number texts and the small text checks the editors and viewers share.
// Values are 64-bit unsigned unless stated.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Binary / hexadecimal digits, most significant first, at least one, padded
// with leading zeros to a multiple of Group (Group below 1 counts as 1).
std::string BinText(uint64_t Value, int Group);
std::string HexText(uint64_t Value, int Group);
// Decimal digits padded with leading zeros to Width (never cut).
std::string DecText(uint64_t Value, int Width);

// The value of a hexadecimal digit of either case, -1 for any other character.
int HexDigitValue(char C);

// The parsers give no value for a text that is not a valid number; they never
// throw, and the caller decides what to tell the user.
// At most 64 binary digits.
std::optional<uint64_t> ParseBin(std::string_view Text);
// At most 16 hexadecimal digits, either case.
std::optional<uint64_t> ParseHex(std::string_view Text);
// A signed 64-bit decimal number (optional sign); negative values come back
// in two's complement.
std::optional<uint64_t> ParseDec(std::string_view Text);

// The check behind "No integer number in the range of 0..2147483647 has been
// entered.": Text (upper case when Hex) denotes an integer 0..$7FFFFFFF.
bool IsNumberText(std::string_view Text, bool Hex);

// Text is not empty and every character occurs in Set.
bool AllInSet(std::string_view Text, std::string_view Set);
// Text is empty or holds a character outside '0'..'9'.
bool NotAllDigits(std::string_view Text);
std::string RemoveSpaces(std::string_view Text);
// The text between double quotes, as messages show file names and tag texts.
std::string Quoted(std::string_view Text);
// Fixed-size name fields in savestates are padded with NUL bytes.
std::string NulToSpace(std::string_view Text);

// Replaces the ratio after the first '(' of a zoom caption with the ratio of
// the zoom exponent: 2 gives "4:1)", -1 gives "1:2)".
std::string ZoomCaption(std::string_view Caption, int Exponent);
