// The memory viewer's model on real savestates: tiles as the renderer decodes
// them, 64-bit offsets at the ends of large ROMs, bounded decoding, colours.

#include "TestSupport.h"

#include "app/Loader.h"
#include "core/PictureFiles.h"
#include "core/SNES.h"
#include "render/PPU.h"
#include "tools/MemoryView.h"
#include "tools/PaletteView.h"

namespace
{
class MemoryViewTest : public tModelTest
{
};

TEST_F(MemoryViewTest, VRAMTilesAtTheCharacterBaseMatchTheLayersTiles)
{
    REQUIRE_FIXTURES();
    for (const char* Name : {"snes9x/m1_layers.000", "snes9x/m3_8bpp_64x64.000"}) {
        ASSERT_TRUE(LoadSavestate(FixturePath(Name))) << Name;
        const tBGLayer& L = PPU->Layers[0];
        tMemoryView V;
        V.Decoder = L.BitDepth == 8 ? tMemDecoder::Bpp8 : tMemDecoder::Bpp4;
        V.TilesX = V.TilesY = 1;
        V.Update();
        int Compared = 0;
        for (size_t Record = 0; Record < L.RecordsInUse(); ++Record) {
            const tTileRecord& T = L.Tiles[Record];
            if (Record % 64 >= L.MapWidth || T.FlipX || T.FlipY || T.TileNumber == 0)
                continue;
            V.Offset = static_cast<int64_t>((L.CharBase + T.TileNumber * V.TileBytes) & 0xFFFF);
            tPicture8 Pic;
            V.DecodeWindow(SNES->VRAM, Pic);
            // The layer's pixels carry the palette's CGRAM offset above the value.
            const int Mask = L.Colours - 1;
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    ASSERT_EQ(Pic.At(x, y), L.TilePixels(Record)[y * L.TileWidth + x] & Mask)
                        << Name << " tile " << T.TileNumber;
            ++Compared;
        }
        EXPECT_GT(Compared, 10) << Name;
    }
}

TEST_F(MemoryViewTest, Mode7TilesInVRAMAndPlainTilesElsewhere)
{
    REQUIRE_FIXTURES();
    ASSERT_TRUE(LoadSavestate(FixturePath("snes9x/m7_rotzoom.000")));
    tMemoryView V;
    V.Decoder = tMemDecoder::M7BG1;
    V.Update();
    EXPECT_EQ(V.TileBytes, 128u);
    tPicture8 Pic;
    V.DecodeWindow(SNES->VRAM, Pic);
    for (int t = 0; t < 256; t += 7)
        for (int p = 0; p < 64; p += 9)
            ASSERT_EQ(Pic.At(t % 16 * 8 + p % 8, t / 16 * 8 + p / 8), PPU->M7Tiles[t * 64 + p]) << t;
    V.SelectSource(tMemSource::WRAM, SNES->WRAM.size());
    V.Update();
    EXPECT_EQ(V.TileBytes, 64u);
    V.DecodeWindow(SNES->WRAM, Pic);
    EXPECT_EQ(Pic.At(8, 0), SNES->WRAM[64]);
}

TEST_F(MemoryViewTest, OffsetsPercentagesAndClampsOnLargeROMs)
{
    tMemoryView V;
    V.Update();
    EXPECT_EQ(V.WindowBytes, 16384u);
    EXPECT_EQ(V.MaxOffset(), 49152);
    V.Offset = 24576;
    EXPECT_EQ(V.Position().PercentText(), "050");
    V.Offset = 0x1F0;
    EXPECT_EQ(V.Position().Text(true), "01F0");
    EXPECT_EQ(V.Position().Text(false), "00496");

    // 4 MiB and 32 MiB: offset x 100 does not fit 32 bits.
    for (uint64_t Size : {4ull << 20, 32ull << 20}) {
        V.SelectSource(tMemSource::ROM, Size);
        V.Offset = static_cast<int64_t>(Size);
        V.Clamp();
        EXPECT_EQ(V.Offset, static_cast<int64_t>(Size - 16384));
        EXPECT_EQ(V.Position().PercentText(), "100");
        EXPECT_FALSE(V.CanPlus());
        V.Jump(-1, true, false);
        EXPECT_EQ(V.Position().PercentText(), "099");
        EXPECT_EQ(V.Position().Text(true).size(), Size > (4ull << 20) ? 7u : 6u);
        V.Offset = -5;
        V.Clamp();
        EXPECT_EQ(V.Offset, 0);
        EXPECT_EQ(V.Position().PercentText(), "000");
        V.Jump(+1, false, true); // a line of 16 tiles
        EXPECT_EQ(V.Offset, 512);
        V.Jump(+1, false, false);
        EXPECT_EQ(V.Offset, 544);
    }
    // A window exactly the source's size, or larger: held at 0, no division.
    V.SelectSource(tMemSource::WRAM, 16384);
    V.Clamp();
    EXPECT_EQ(V.Position().PercentText(), "100");
    V.SourceSize = 100;
    V.Offset = 50;
    V.Clamp();
    EXPECT_EQ(V.Offset, 0);
    EXPECT_FALSE(V.OffsetEnabled());
    std::vector<uint8_t> Small(100, 0xFF);
    tPicture8 Pic;
    V.DecodeWindow(Small, Pic);
    EXPECT_EQ(Pic.At(0, 0), 15);
    EXPECT_EQ(Pic.At(0, 1), 15);
    EXPECT_EQ(Pic.At(24, 1), 3); // tile 3 has bytes 96-99: planes 0 and 1 of rows 0 and 1
    EXPECT_EQ(Pic.At(24, 2), 0);
    EXPECT_EQ(Pic.At(32, 0), 0);
}

TEST_F(MemoryViewTest, FXLinesAndZoom)
{
    tMemoryView V;
    V.Decoder = tMemDecoder::FX;
    V.TilesX = 64;
    V.Update();
    EXPECT_EQ(V.WindowBytes, 32u * 2048);
    std::vector<uint8_t> Data(70000);
    for (size_t i = 0; i < Data.size(); ++i)
        Data[i] = static_cast<uint8_t>(i);
    V.Offset = 256;
    tPicture8 Pic;
    V.DecodeWindow(Data, Pic);
    EXPECT_EQ(Pic.At(3, 0), 3);
    EXPECT_EQ(Pic.At(256 + 0x2A, 1), 2); // line 2's byte $2A is $2A
    EXPECT_EQ(Pic.At(0x2A, 1), 0xA);
    // Past the source: zero.
    V.Offset = 65536;
    V.DecodeWindow(std::span(Data).first(65536 + 300), Pic);
    EXPECT_EQ(Pic.At(1, 0), 1);
    EXPECT_EQ(Pic.At(1, 2), 0);

    int Z = 0;
    for (int i = 0; i < 4; ++i)
        Z = ZoomAt(Z, 10, 10, 1, 100, 100).Zoom;
    EXPECT_EQ(Z, 3);
    const tZoomResult Out = ZoomAt(0, 100, 60, -1, 40, 40);
    EXPECT_EQ(Out.Zoom, -1);
    EXPECT_EQ(Out.ScrollX, 30);
    EXPECT_EQ(ZoomedLength(2048, 3), 16384);
}

TEST_F(MemoryViewTest, ColoursGroupMode7MirrorAndDirectColour)
{
    std::array<uint32_t, 256> Pal{}, Direct{};
    for (int i = 0; i < 256; ++i) {
        Pal[i] = static_cast<uint32_t>(i * 0x010101);
        Direct[i] = 0xFF0000u + static_cast<uint32_t>(i);
    }
    tPicture8 Pic;
    ApplyMemoryPalette(Pic, Pal, 37, tMemDecoder::Bpp2, true, Direct);
    EXPECT_EQ(Pic.ColourTable[0], Pal[36]);
    ApplyMemoryPalette(Pic, Pal, 37, tMemDecoder::M7BG2, false, Direct);
    EXPECT_EQ(Pic.ColourTable[128 + 5], Pal[5]);
    ApplyMemoryPalette(Pic, Pal, 37, tMemDecoder::Bpp8, true, Direct);
    EXPECT_EQ(Pic.ColourTable[200], Direct[200]);
    ApplyMemoryPalette(Pic, Pal, 37, tMemDecoder::Bpp4, true, Direct);
    EXPECT_EQ(Pic.ColourTable[0], Pal[32]);
    EXPECT_EQ(Pic.ColourTable[255], 0u);
    // A grid squeezed to nothing still has cells to divide by.
    EXPECT_EQ(PaletteCellSize(0), 1);
    EXPECT_EQ(PaletteGroupText(0x37, 4, false), "30h..3Fh");
}

TEST_F(MemoryViewTest, SavedPicturesHaveTheViewsDepth)
{
    tPicture8 Pic;
    Pic.Resize(16, 8);
    Pic.Row(0)[1] = 7;
    const std::string Dir = TempDir();
    tError Error;
    ASSERT_TRUE(SaveMemoryPicture(Dir + "/a.bmp", Pic, 3, Error)) << Error.Reason;
    std::vector<uint8_t> B = ReadBytes(Dir + "/a.bmp");
    EXPECT_EQ(B[28], 4); // bits per pixel
    EXPECT_EQ(B[46], 8); // colours in the table
    ASSERT_TRUE(SaveMemoryPicture(Dir + "/a.PNG", Pic, 1, Error)) << Error.Reason;
    B = ReadBytes(Dir + "/a.PNG");
    EXPECT_EQ(B[24], 1); // bit depth
    tPicture8 Back;
    ASSERT_TRUE(ReadPicture(Dir + "/a.PNG", Back, Error)) << Error.Reason;
    EXPECT_EQ(Back.At(1, 0), 1);
    EXPECT_FALSE(SaveMemoryPicture(Dir + "/missing/a.bmp", Pic, 8, Error));
}
} // namespace
