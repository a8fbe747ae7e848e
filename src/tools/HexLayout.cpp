#include "tools/HexLayout.h"

#include <algorithm>

tHexLayout::tHexLayout(const tHexMetrics& M) : M_(M)
{
    M_.BytesPerLine = std::clamp(M_.BytesPerLine, 1, 128);
    M_.LineCount = std::clamp(M_.LineCount, 1, 512);
    CellWidth = std::max({M_.DigitWidth, M_.GlyphWidth, 1});
    LineHeight = std::max({M_.FontHeight, M_.GlyphHeight, 1});
    Spacing = 2 * std::clamp(M_.SpacingOption, 0, 64);
    HeaderHeight = LineHeight + 1;
    HexLeft = std::max(M_.OffsetTextWidth, 0) + Spacing + 1;
    HexArea = {HexLeft, HeaderHeight, HexLeft + HexCellWidth() * M_.BytesPerLine + 1,
               HeaderHeight + LineHeight * M_.LineCount};
    TextArea = {HexArea.Right, HexArea.Top, HexArea.Right + CellWidth * M_.BytesPerLine, HexArea.Bottom};
    Width = TextArea.Right;
    Height = TextArea.Bottom;
}

tHexRect tHexLayout::HexCell(int Column, int Row) const
{
    const int L = HexLeft + Column * HexCellWidth();
    const int T = HexArea.Top + Row * LineHeight;
    return {L, T, L + HexCellWidth(), T + LineHeight};
}

tHexRect tHexLayout::TextCell(int Column, int Row) const
{
    const int L = TextArea.Left + Column * CellWidth;
    const int T = TextArea.Top + Row * LineHeight;
    return {L, T, L + CellWidth, T + LineHeight};
}

tHexRect tHexLayout::OffsetCell(int Row) const
{
    const int T = HexArea.Top + Row * LineHeight;
    return {0, T, HexLeft, T + LineHeight};
}

tHexRect tHexLayout::HeaderCell(int Column) const
{
    const int L = HexLeft + Column * HexCellWidth();
    return {L, 0, L + HexCellWidth(), LineHeight};
}

tHexRect tHexLayout::CaretDigit(int Column, int Row, bool LowNibble) const
{
    tHexRect R = HexCell(Column, Row);
    const int Half = R.Width() / 2;
    if (LowNibble) {
        R.Left += Half;
        R.Right -= Spacing / 2;
    } else {
        R.Left += Spacing / 2;
        R.Right -= Half;
    }
    return R;
}

int tHexLayout::GlyphLeft(int Column) const
{
    return TextCell(Column, 0).Left + (CellWidth - M_.GlyphWidth) / 2;
}

int tHexLayout::GlyphTop(int Row) const
{
    return TextCell(0, Row).Top + (LineHeight - M_.GlyphHeight) / 2;
}

std::optional<tHexHit> tHexLayout::HitTest(int X, int Y) const
{
    const tHexRect Hex{HexArea.Left, HexArea.Top, HexArea.Right - 1, HexArea.Bottom - 1};
    if (Hex.Contains(X, Y))
        return NearestHit(X, Y, tHexArea::Hex);
    if (TextArea.Contains(X, Y))
        return NearestHit(X, Y, tHexArea::Text);
    return std::nullopt;
}

tHexHit tHexLayout::NearestHit(int X, int Y, tHexArea Area) const
{
    // Left of an area or above it the quotient truncates towards zero, which
    // the clamp turns into the first column or row.
    tHexHit H;
    H.Area = Area;
    H.Row = std::clamp((Y - HexArea.Top) / LineHeight, 0, M_.LineCount - 1);
    if (Area == tHexArea::Text) {
        H.Column = std::clamp((X - TextArea.Left) / CellWidth, 0, M_.BytesPerLine - 1);
        return H;
    }
    const int Rel = X - HexArea.Left;
    H.Column = std::clamp(Rel / HexCellWidth(), 0, M_.BytesPerLine - 1);
    H.LowNibble = Rel - H.Column * HexCellWidth() >= HexCellWidth() / 2;
    return H;
}

void tHexLayout::VisibleRows(int Top, int Bottom, int& First, int& Last) const
{
    const int From = std::max(Top, HexArea.Top);
    const int To = std::min(Bottom, HexArea.Bottom);
    if (From >= To) {
        First = 0;
        Last = -1;
        return;
    }
    First = (From - HexArea.Top) / LineHeight;
    Last = std::min((To - 1 - HexArea.Top) / LineHeight, M_.LineCount - 1);
}
