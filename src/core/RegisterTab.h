#pragma once
// One register tab: the rows built from a section of "SNES.txt" and the
// per-row steps that put values into them. Which memory each data row shows
// is fixed in the program (RegisterValues.cpp, ImageFields.cpp), row by row
// in file order; the file decides the labels, widths and comments.
//
//   tRegisterTab Tab;
//   Tab.Build(File.Sections[SectionCPU], File.FileName);  // throws tRegisterFileError
//   FillRegisterTab(Tab, PageCPU, Sources, Busy);          // see RegisterTabs.h
//   for (const tRegisterRow& R : Tab.Rows) ...R.Caption, R.Bin, R.Hex, R.Dec, R.Block...

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/InfoBlock.h"
#include "core/RegisterFile.h"

// A row line that cannot be used; the message names the file and the line.
class tRegisterFileError : public std::runtime_error
{
  public:
    using std::runtime_error::runtime_error;
};

// The fields of one row line.
struct tRowFields {
    std::string Address, Type, Bits, Name, Comment;
};

// Splits a row line: tabs count as spaces; everything after the first ";" is
// the comment; the part before it holds up to four fields separated by runs
// of spaces (address, type, bits, name; more text is ignored). Fewer fields
// are aligned to the right, by at most two places: three are type, bits,
// name; two are bits, name; one is bits. "_" in the type stands for a space.
tRowFields ParseRowLine(std::string_view Line);

struct tRegisterRow {
    // The list view's columns.
    std::string Caption; // "address"
    std::string Type;
    std::string Bits;
    std::string Bin, Hex, Dec;
    std::string Name;
    std::string Comment;
    bool IsText = false; // a comment line: no value, no block
    // A value shown as read from the file, which no editor writes back.
    bool ReadOnly = false;
    int Line = 0;     // line in the description file
    tInfoBlock Block; // data rows only
};

class tRegisterTab
{
  public:
    std::vector<tRegisterRow> Rows;
    bool Built = false;
    bool Filled = false;

    // Creates the rows from a section's lines. Throws tRegisterFileError when
    // a bits field is not a decimal number from 1 to 64.
    void Build(const std::vector<tSectionLine>& Lines, std::string_view FileName);

    size_t DataRowCount() const;

    // --- the steps of a fill, used by the value sequences ---
    // Starts a fill at the top.
    void Rewind();
    // Moves to the next data row; -1 once the rows are used up (the values
    // that remain are dropped).
    int NextRow();
    // Shows the value at Address (Available bytes belong to its field) in the
    // next data row. Shift >= 1 moves Shift div 8 bytes on and reads from bit
    // Shift mod 8; Shift <= 0 multiplies the value by 2^-Shift. With Busy
    // (a write-back in progress) OldValue keeps its value.
    void ShowValue(uint8_t* Address, size_t Available, int Shift, bool Busy);
    // Marks the next data row as a value the savestate format does not keep.
    void ShowMissing(bool Busy);
    // The row that the last ShowValue/ShowMissing filled (nullptr when none).
    tRegisterRow* CurrentRow();

    // The value columns of a row for its block's Value.
    static void FormatValue(tRegisterRow& Row);

    // Values offered since Rewind, shown or dropped. After a fill it equals
    // DataRowCount() exactly when the file's rows match the program's values.
    size_t ValueCount = 0;
    // Room for values that are computed for display and stored nowhere (the
    // fixed colour as one 15-bit number); rows may point here.
    std::array<uint8_t, 8> Derived{};

  private:
    void MarkMissing(tRegisterRow& Row, bool Busy);

    int RowCursor = -1;
    bool Exhausted = false;
};
