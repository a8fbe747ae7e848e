#pragma once
// The value search over the hex editor's data: the value is entered in
// decimal or hexadecimal, the number of hexadecimal digits decides whether
// 1, 2, 4 or 8 bytes are compared (little-endian), and every FindNext goes
// on after the last match, starting again from the top after the last one.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

class tHexSearch
{
  public:
    int64_t Value() const { return Value_; }
    // Entering a value forgets the last match. A decimal text counts as the
    // number read up to its first character that does not fit; a hex text
    // with other characters or more than 16 digits counts as 0.
    void SetDecText(const std::string& Text);
    void SetHexText(const std::string& Text);
    void SetValue(int64_t V);
    // Up / down by one, stopping at the ends of the 64-bit range.
    void Step(bool Up);
    // The texts the two fields show for the value.
    std::string DecText() const;
    std::string HexText() const; // upper case, no leading zeros

    // 1, 2, 4 or 8 from the count of hexadecimal digits.
    static int WidthOfDigits(size_t Digits);
    int Width() const { return WidthOfDigits(HexText().size()); }

    // The next match after the last one, or nothing (the next search then
    // starts from the top). Data shorter than the width: nothing happens and
    // Changed is false.
    std::optional<int64_t> FindNext(std::span<const uint8_t> Data, bool& Changed);
    // The data on view changed: search again from its start.
    void Restart() { LastMatch_ = -1; }
    int64_t LastMatch() const { return LastMatch_; }
    // "last match: 10 (0Ah)" or "no more matches".
    static std::string StatusText(std::optional<int64_t> Match);

  private:
    int64_t Value_ = 0;
    int64_t LastMatch_ = -1;
};
