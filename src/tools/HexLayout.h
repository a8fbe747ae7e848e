#pragma once
// The geometry of the hex view: a header row of column numbers, the offset
// column, the hex area (two digits per byte) and the character area (one
// code-page glyph per byte), from the font's and the code page's measures.
// The window paints with these rectangles and hit-tests the mouse with them.

#include <cstdint>
#include <optional>

struct tHexRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0; // Right and Bottom exclusive
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Contains(int X, int Y) const { return X >= Left && X < Right && Y >= Top && Y < Bottom; }
};

struct tHexMetrics {
    int DigitWidth = 8;       // the widest hex digit of the hex font
    int FontHeight = 16;      // the hex font's line height
    int GlyphWidth = 8;       // code page width div 16
    int GlyphHeight = 16;     // code page height div 16
    int SpacingOption = 4;    // "pixels of cell spacing"
    int OffsetTextWidth = 48; // width of the offset label's digits in the hex font
    int BytesPerLine = 16;
    int LineCount = 16;
};

enum class tHexArea { Hex, Text };

struct tHexHit {
    tHexArea Area = tHexArea::Hex;
    int Column = 0; // byte column in the window
    int Row = 0;
    bool LowNibble = false; // hex area: the right half of the cell
};

class tHexLayout
{
  public:
    explicit tHexLayout(const tHexMetrics& M = {});

    int CellWidth = 8;
    int LineHeight = 16;
    int Spacing = 8;
    int HeaderHeight = 17;
    int HexLeft = 0;
    tHexRect HexArea, TextArea;
    int Width = 0, Height = 0; // the picture

    int HexCellWidth() const { return 2 * CellWidth + Spacing; }
    tHexRect HexCell(int Column, int Row) const;
    tHexRect TextCell(int Column, int Row) const;
    tHexRect OffsetCell(int Row) const;
    tHexRect HeaderCell(int Column) const;
    // The caret digit's half of a hex cell.
    tHexRect CaretDigit(int Column, int Row, bool LowNibble) const;
    // Where the glyph goes inside a character cell.
    int GlyphLeft(int Column) const;
    int GlyphTop(int Row) const;

    // The byte under a point of the picture; nothing outside both areas (the
    // hex area's last pixel column and row excluded).
    std::optional<tHexHit> HitTest(int X, int Y) const;
    // The byte of one area nearest to a point anywhere: a drag that leaves
    // the area keeps to its edge row or column.
    tHexHit NearestHit(int X, int Y, tHexArea Area) const;
    // The lines that meet the band Top .. Bottom - 1 of the picture (First >
    // Last when none): only these are painted.
    void VisibleRows(int Top, int Bottom, int& First, int& Last) const;

  private:
    tHexMetrics M_;
};
