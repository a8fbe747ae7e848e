// The hex editor's model, layout, blocks and search: the caret and window
// rules that keep every write inside the copy, and the rules that keep edits.

#include <gtest/gtest.h>

#include <numeric>
#include <tuple>
#include <vector>

#include "tools/HexBlocks.h"
#include "tools/HexLayout.h"
#include "tools/HexModel.h"
#include "tools/HexSearch.h"

namespace
{
std::vector<uint8_t> Counting(size_t N)
{
    std::vector<uint8_t> V(N);
    std::iota(V.begin(), V.end(), uint8_t{1});
    return V;
}
} // namespace

TEST(HexModel, TypingStepsAndClampsEverywhere)
{
    tHexModel M;
    M.Load(Counting(300));
    EXPECT_TRUE(M.TypeChar('a', false, false));
    EXPECT_TRUE(M.TypeChar('5', false, false));
    EXPECT_EQ(M.Data()[0], 0xA5);
    EXPECT_EQ(M.CaretNibble(), 2);
    EXPECT_FALSE(M.TypeChar('7', true, false)); // Ctrl or Alt never types
    EXPECT_FALSE(M.TypeChar('7', false, true));
    EXPECT_FALSE(M.TypeChar('G', false, false));
    M.SetTextSide(true);
    EXPECT_FALSE(M.TypeChar(0x101, false, false));
    EXPECT_FALSE(M.TypeChar(0x08, false, false));
    EXPECT_TRUE(M.TypeChar(0xE9, false, false));
    EXPECT_EQ(M.Data()[1], 0xE9);
    EXPECT_TRUE(M.Modified());

    // A caret far out comes back to the last nibble, the window follows.
    M.SetCaret(1'000'000);
    EXPECT_EQ(M.CaretNibble(), 599);
    EXPECT_EQ(M.WindowStart(), M.MaxWindowStart());
    EXPECT_EQ(M.MaxWindowStart(), 300 - 256);
    // A new resolution and a smaller block clamp window and caret again.
    M.SetResolution(100, 100);
    EXPECT_EQ(M.WindowStart(), 0);
    M.Load(Counting(23));
    EXPECT_EQ(M.CaretNibble(), 45);
    EXPECT_FALSE(M.Modified());
    M.RestoreState({100000, true, 5000});
    EXPECT_EQ(M.WindowStart(), 0);
    EXPECT_EQ(M.CaretNibble(), 45);
    M.Load({});
    EXPECT_EQ(M.CaretNibble(), 0);
    EXPECT_FALSE(M.TypeChar('1', false, false));
    EXPECT_EQ(M.Key(tHexKey::Delete, true, false).Typed, false);
}

TEST(HexModel, KeysScrollAndDeleteWithinTheLine)
{
    tHexModel M;
    M.Load(Counting(1024));
    // Ctrl+Right scrolls by one byte; the caret keeps its byte while in view.
    M.SetCaret(40);
    M.Key(tHexKey::Right, true, false);
    EXPECT_EQ(M.WindowStart(), 1);
    EXPECT_EQ(M.CaretNibble(), 40);
    EXPECT_EQ(M.CaretColumn(), 6);
    EXPECT_EQ(M.CaretRow(), 1);
    M.SetWindow(0);

    // Ctrl+Delete in the character column clears to the end of the line only.
    M.SetTextSide(true);
    M.SetCaret(2 * 20); // byte 20: column 4 of line 1
    M.Key(tHexKey::Delete, true, false);
    for (int I = 0; I < 64; ++I)
        EXPECT_EQ(M.Data()[static_cast<size_t>(I)] == 0, I >= 20 && I < 32) << I;
    // Ctrl+Backspace to the start of the line.
    M.Load(Counting(1024));
    M.SetTextSide(true);
    M.SetCaret(2 * 36);
    M.Key(tHexKey::Backspace, true, false);
    for (int I = 0; I < 64; ++I)
        EXPECT_EQ(M.Data()[static_cast<size_t>(I)] == 0, I >= 32 && I <= 36) << I;
    // The option "ignore Delete and Backspace keys".
    M.Load(Counting(1024));
    M.Key(tHexKey::Backspace, false, true);
    EXPECT_FALSE(M.Modified());
    // Tab moves to the character column, then lets the focus go on.
    M.SetTextSide(false);
    EXPECT_TRUE(M.Key(tHexKey::Tab, false, false).Consumed);
    EXPECT_FALSE(M.Key(tHexKey::Tab, false, false).Consumed);
    EXPECT_TRUE(M.Key(tHexKey::Enter, false, false).Commit);
}

TEST(HexModel, OffsetsHoverAndCopy)
{
    tHexModel M;
    std::vector<uint8_t> Big(17u << 20, 0);
    Big[0x1000005] = 0xFF;
    M.Load(Big);
    EXPECT_TRUE(M.GoToOffsetText("1000000", true));
    EXPECT_EQ(M.WindowStart(), 0x1000000);
    EXPECT_EQ(M.Position().Text(true), "1000000"); // every digit
    EXPECT_EQ(M.Position().PercentText(), "094");
    EXPECT_FALSE(M.GoToOffsetText("12x", true));
    EXPECT_FALSE(M.GoToOffsetText("2147483648", false));
    EXPECT_EQ(M.WindowStart(), 0x1000000);

    // Hover: only inside the block, 64 bits only with 8 bytes left.
    std::vector<uint8_t> Small = {0xFE, 0xFF, 0xFF, 0xFF, 0x01, 0, 0, 0x80, 0x42};
    M.Load(Small);
    M.SetHover(0);
    const tHexValues V = M.HoverValues();
    EXPECT_EQ(*V.S8, -2);
    EXPECT_EQ(*V.U16, 0xFFFE);
    EXPECT_EQ(*V.S32, -2);
    EXPECT_EQ(*V.S64, static_cast<int64_t>(0x80000001FFFFFFFEull));
    M.SetHover(2);
    EXPECT_FALSE(M.HoverValues().S64);
    M.SetHover(9);
    EXPECT_EQ(M.HoverOffset(), 2);

    // Copying the window copies only the bytes that exist; zeros are blanks.
    EXPECT_EQ(M.CopyText(false).size(), 9u);
    EXPECT_EQ(M.CopyText(true)[5], ' ');
    EXPECT_EQ(M.Position().PercentText(), "100");
}

TEST(HexLayout, GeometryHitsAndVisibleRows)
{
    tHexMetrics Mx;
    Mx.DigitWidth = 7;
    Mx.FontHeight = 12;
    Mx.OffsetTextWidth = 42;
    tHexLayout L(Mx);
    EXPECT_EQ(L.CellWidth, 8); // at least the glyph width
    EXPECT_EQ(L.LineHeight, 16);
    EXPECT_EQ(L.HexLeft, 42 + 8 + 1);
    EXPECT_EQ(L.HexArea.Right, L.HexLeft + 24 * 16 + 1);
    EXPECT_EQ(L.Width, L.HexArea.Right + 8 * 16);
    auto H = L.HitTest(L.HexLeft + 24 + 13, L.HexArea.Top + 16 * 3 + 2);
    ASSERT_TRUE(H);
    EXPECT_EQ(H->Column, 1);
    EXPECT_EQ(H->Row, 3);
    EXPECT_TRUE(H->LowNibble);
    H = L.HitTest(L.TextArea.Left + 8 * 15 + 7, L.HexArea.Top);
    ASSERT_TRUE(H);
    EXPECT_EQ(H->Area, tHexArea::Text);
    EXPECT_EQ(H->Column, 15);
    EXPECT_FALSE(L.HitTest(L.HexLeft - 2, L.HexArea.Top + 5)); // offset column
    EXPECT_FALSE(L.HitTest(L.HexLeft + 5, 3));                 // header
    EXPECT_FALSE(L.HitTest(L.HexArea.Right - 1, L.HexArea.Top + 5));
    // A drag past the edges keeps to the first or last cell of its area.
    const tHexHit Before = L.NearestHit(-500, -500, tHexArea::Hex), After = L.NearestHit(9999, 9999, tHexArea::Hex);
    EXPECT_EQ(std::tuple(Before.Column, Before.Row, Before.LowNibble), std::tuple(0, 0, false));
    EXPECT_EQ(std::tuple(After.Column, After.Row, After.LowNibble), std::tuple(15, 15, true));
    EXPECT_EQ(L.NearestHit(0, L.HexArea.Top + 40, tHexArea::Text).Column, 0);
    int First = 0, Last = 0;
    L.VisibleRows(L.HexArea.Top + 20, L.HexArea.Top + 40, First, Last);
    EXPECT_EQ(First, 1);
    EXPECT_EQ(Last, 2);
    L.VisibleRows(0, 5, First, Last);
    EXPECT_GT(First, Last);
}

TEST(HexBlocks, TableAndNotifications)
{
    EXPECT_EQ(HexBlocks().size(), 61u);
    size_t Sum = 0;
    for (int P = 0; P < HexPageCount; ++P)
        Sum += HexPageBlocks(P).size();
    EXPECT_EQ(Sum, 61u);
    const tHexBlock& WRAM = HexPageBlocks(1)[0];
    const tHexBlock& SRAM = HexPageBlocks(0)[1];
    EXPECT_TRUE(HexBlockChangedBy(WRAM, Note::NewSNES));
    for (tNote N : {Note::UpdateFileDialogs, Note::NewSPC, Note::NewSSLPreview, Note::ApplActivated, Note::NewListItem,
                    Note::NewPalCell})
        EXPECT_FALSE(HexBlockChangedBy(WRAM, N)) << N.Text();
    // SRAM and copier header edits do not announce a new cartridge.
    EXPECT_EQ(SRAM.CommitNote, Note::NewSRAM);
    EXPECT_EQ(HexPageBlocks(0)[0].CommitNote, Note::NewCartROM);
    // A part never reaches past its memory.
    std::vector<uint8_t> Short(300);
    EXPECT_EQ(HexBlockPart(HexPageBlocks(3)[2], Short).size(), 48u);
    EXPECT_TRUE(HexBlockPart(HexPageBlocks(3)[6], Short).empty());
}

TEST(HexSearch, FindsWrapsAndParses)
{
    std::vector<uint8_t> Data(40, 0);
    Data[10] = 0x34;
    Data[11] = 0x12;
    Data[30] = 0x34;
    Data[31] = 0x12;
    tHexSearch S;
    S.SetHexText("1234");
    EXPECT_EQ(S.Width(), 2);
    bool Changed = false;
    auto M = S.FindNext(Data, Changed);
    EXPECT_EQ(tHexSearch::StatusText(M), "last match: 10 (0Ah)");
    EXPECT_EQ(*S.FindNext(Data, Changed), 30);
    EXPECT_EQ(tHexSearch::StatusText(S.FindNext(Data, Changed)), "no more matches");
    EXPECT_EQ(*S.FindNext(Data, Changed), 10);
    S.Restart();
    EXPECT_EQ(*S.FindNext(Data, Changed), 10);
    // Too short a buffer: nothing happens.
    S.FindNext(std::span<const uint8_t>(Data.data(), 1), Changed);
    EXPECT_FALSE(Changed);
    // Negative values never match narrow widths.
    S.SetDecText("-1");
    std::vector<uint8_t> Ones(8, 0xFF);
    EXPECT_EQ(S.Width(), 8);
    EXPECT_EQ(*S.FindNext(Ones, Changed), 0);
    S.SetDecText("99999999999999999999x");
    EXPECT_EQ(S.DecText(), "999999999999999999");
    S.SetHexText("12G");
    EXPECT_EQ(S.Value(), 0);
    S.SetValue(INT64_MAX);
    S.Step(true);
    EXPECT_EQ(S.Value(), INT64_MAX);
}
