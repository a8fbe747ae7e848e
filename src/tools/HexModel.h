#pragma once
// The hex editor's working copy of one memory block: the bytes, whether they
// were edited since the last load or commit, the caret (in half-bytes) and
// the window of bytes on view. The window of the program binds this to its
// picture and controls; everything here is plain arithmetic, so that every
// key, jump and click keeps the caret inside the copy and the window inside
// the block.
//
// Invariants after every public call:
//   0 <= WindowStart() <= MaxWindowStart() = max(0, Size() - WindowSize())
//   0 <= CaretNibble() <= MaxNibble()      = max(0, 2 x Size() - 1)
//   the caret's byte lies inside the window (when the block is not empty)

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tools/WindowOffset.h"

// The caret state a source keeps while another one is on view.
struct tHexSourceState {
    int64_t CaretNibble = 0;
    bool TextSide = false;
    int64_t WindowStart = 0;
};

enum class tHexKey { Left, Right, Up, Down, PageUp, PageDown, Home, End, Tab, Enter, Backspace, Delete };

// What a key did: Consumed keys go no further (Tab in the character column
// moves the focus on); Commit asks the window to write the copy back.
struct tHexKeyResult {
    bool Consumed = false;
    bool Commit = false;
    bool CaretMoved = false;
    bool Typed = false;
};

// The value under the mouse, little-endian, as far as the block reaches.
struct tHexValues {
    std::optional<int64_t> S8, U8, S16, U16, S32, U32, S64;
};

class tHexModel
{
  public:
    static constexpr int MaxBytesPerLine = 128;
    static constexpr int MaxLineCount = 512;

    // A copy of Data; the caret and the window are clamped into it, the
    // modified flag cleared and the hover offset reset.
    void Load(std::span<const uint8_t> Data);
    std::span<const uint8_t> Data() const { return Buffer; }
    int64_t Size() const { return static_cast<int64_t>(Buffer.size()); }
    bool Modified() const { return Modified_; }
    void ClearModified() { Modified_ = false; }

    // Bytes per line (1..128) and lines (1..512), clamped.
    void SetResolution(int BytesPerLine, int LineCount);
    int BytesPerLine() const { return BytesPerLine_; }
    int LineCount() const { return LineCount_; }
    int64_t WindowSize() const { return int64_t{BytesPerLine_} * LineCount_; }

    int64_t WindowStart() const { return WindowStart_; }
    int64_t MaxWindowStart() const;
    int64_t CaretNibble() const { return Caret_; }
    int64_t MaxNibble() const;
    int64_t CaretByte() const { return Caret_ / 2; }
    bool TextSide() const { return TextSide_; }
    void SetTextSide(bool Text) { TextSide_ = Text; }
    // The caret's place in the window, always derived from the caret.
    int64_t CaretColumn() const; // in half-bytes, 0 .. 2 x BytesPerLine - 1
    int64_t CaretRow() const;

    // Clamps n into the data; a caret leaving the window scrolls it along.
    void SetCaret(int64_t Nibble);
    // Clamps s into 0 .. MaxWindowStart; a caret that falls out of the window
    // moves by the same distance, keeping its place on the screen.
    void SetWindow(int64_t Start);
    // Caret and window together by Delta bytes (jump buttons, offset entry).
    void MoveBy(int64_t DeltaBytes);
    void Jump(bool Forward, bool ByWindow) { MoveBy((Forward ? 1 : -1) * (ByWindow ? WindowSize() : BytesPerLine_)); }

    // The caret keys, Tab, Enter, Delete and Backspace.
    tHexKeyResult Key(tHexKey K, bool Ctrl, bool IgnoreDelete);
    // A typed character: in the hex column a hex digit, in the character
    // column any character up to 0xFF. With Ctrl or Alt held nothing is
    // typed. True when a byte changed.
    bool TypeChar(char32_t C, bool Ctrl, bool Alt);

    // Offset entry: the text as hexadecimal or decimal. False (and nothing
    // moves) when it is not a number in 0..2^31-1.
    bool GoToOffsetText(const std::string& Text, bool Hex);
    // The window's place in the block, for the offset field and caption.
    tWindowOffset Position() const { return {WindowStart_, MaxWindowStart()}; }

    tHexSourceState SaveState() const { return {Caret_, TextSide_, WindowStart_}; }
    void RestoreState(const tHexSourceState& S);

    // The byte the info fields describe; set only inside the block.
    void SetHover(int64_t Offset);
    int64_t HoverOffset() const { return Hover_; }
    tHexValues HoverValues() const;

    // The window's bytes (only those that exist) or the whole block as text,
    // byte for byte, each zero byte a blank.
    std::string CopyText(bool Whole) const;

  private:
    // One digit or character at the caret, then one step.
    void TypeAt(bool Forward, int Value);
    void Normalize();

    std::vector<uint8_t> Buffer;
    bool Modified_ = false;
    int BytesPerLine_ = 16;
    int LineCount_ = 16;
    int64_t WindowStart_ = 0;
    int64_t Caret_ = 0;
    bool TextSide_ = false;
    int64_t Hover_ = 0;
};
