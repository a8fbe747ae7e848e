#pragma once
// Where a window of bytes lies in its block, as the offset groups of the hex
// editor and the memory viewer show it: the window's first byte in the offset
// field, and how far through the block it is in the group's caption.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct tWindowOffset {
    int64_t Start = 0; // the window's first byte
    int64_t Max = 0;   // the last start that keeps the window inside the block

    // Start in hexadecimal (upper case, no prefix) or decimal, padded with
    // "0" to as many digits as Max has written the same way.
    std::string Text(bool Hex) const;
    // Start x 100 div Max as three digits; "100" while the window cannot move.
    std::string PercentText() const;
    // The caption's fixed part (up to its open bracket), the percentage, "%)".
    std::string Caption(std::string_view Prefix) const;
};

// An offset typed into the field, hexadecimal (either case) or decimal:
// nothing unless it is an integer 0..2147483647.
std::optional<int64_t> ParseWindowOffset(std::string_view Text, bool Hex);
