#pragma once
// The list editor's value: the register row's block, the range its bit width
// allows, the binary, hexadecimal and decimal texts, stepping and the typing
// over of the hexadecimal and binary fields. Writing into memory and the
// notification that follows are the window's; which notification a list
// needs is decided here.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/InfoBlock.h"
#include "core/Notifications.h"

enum class tListField { Bin, Hex, Dec };

// The seven register lists, as the main window's pages are numbered.
enum tListPage : int { ListCPU = 0, ListDMA, ListPPU, ListAPU, ListZST, ListS9X, ListSSL };

class tListEditModel
{
  public:
    // Takes the row's block (Bits 0: a text row, nothing to edit).
    void SetBlock(const tInfoBlock& Block);
    int Bits() const { return Bits_; }
    bool Editable() const { return Bits_ != 0; }
    int64_t Value() const { return Value_; }
    int64_t Min() const { return Min_; }
    int64_t Max() const { return Max_; }
    // Within the row's range: taken; otherwise false and nothing changes.
    bool SetValue(int64_t V);

    // Up / down by one, never beyond the range (a value outside the range is
    // first brought into it).
    bool Step(bool Up);

    std::string Text(tListField F) const;

    // The decimal field's text: taken when it is a number within the range.
    bool SetDecText(std::string_view Text);
    // Types Chars over Field's text at Caret, forward or backward; the text
    // keeps its length. The value is read from the result; a result that does
    // not read changes nothing. Caret is moved as the field's caret moves.
    bool TypeOver(tListField Field, std::string_view Chars, bool Forward, int& Caret);
    // Characters the field takes.
    static std::string_view CharSet(tListField Field);

    // What a block stores for the edited value: the row's bits of it.
    uint64_t Stored() const { return static_cast<uint64_t>(Value_); }

    // The notification that makes the rest of the program take a write into
    // the list's memory.
    static tNote CommitNote(int Page);

    // Range by bit width: 1-32 unsigned, 33-64 signed.
    static void Range(int Bits, int64_t& Min, int64_t& Max);
    // A block's Value as the editor shows it (33-63 bits sign-extended).
    static int64_t Signed(uint64_t Value, int Bits);

  private:
    int Bits_ = 0;
    int64_t Value_ = 0;
    int64_t Min_ = 0;
    int64_t Max_ = 0;
};
