// Code pages for the hex view: the size rule with its exact message, the
// extension rule, and headers that ask for more than a code page can be.

#include "TestSupport.h"

#include "app/ToolFiles.h"
#include "core/PictureFiles.h"
#include "tools/CodePage.h"

namespace
{
tPicture32 Glyphs(int32_t W, int32_t H)
{
    tPicture32 P;
    P.Resize(W, H);
    for (int32_t y = 0; y < H; ++y)
        for (int32_t x = 0; x < W; ++x)
            P.Row(y)[x] = (x / 8 + y / 16) & 1 ? 0xFFFFFF : 0x000000;
    return P;
}

std::vector<uint8_t> Encoded(const tPicture32& P, bool PNG)
{
    std::vector<uint8_t> Out;
    tError Error;
    EXPECT_TRUE(PNG ? EncodePNG(P, Out, Error) : EncodeBMP(P, Out, Error)) << Error.Reason;
    return Out;
}
} // namespace

TEST(CodePageTest, SizeRuleForBothFormats)
{
    for (bool PNG : {true, false}) {
        SCOPED_TRACE(PNG ? "PNG" : "BMP");
        tPicture32 Out;
        tError Error;
        ASSERT_TRUE(DecodeCodePage(Encoded(Glyphs(128, 256), PNG), PNG, Out, Error)) << Error.Reason;
        EXPECT_EQ(Out.Width, 128);
        EXPECT_EQ(Out.At(8, 0), 0xFFFFFFu);
        // A larger code page is taken as it is (the hex view sizes its cells).
        ASSERT_TRUE(DecodeCodePage(Encoded(Glyphs(256, 512), PNG), PNG, Out, Error)) << Error.Reason;
        EXPECT_EQ(Out.Height, 512);
        for (auto [W, H] : {std::pair{127, 256}, std::pair{128, 255}}) {
            const tPicture32 Kept = Out;
            EXPECT_FALSE(DecodeCodePage(Encoded(Glyphs(W, H), PNG), PNG, Out, Error));
            EXPECT_EQ(Error.Reason, "The codepage bitmap size must be at least 128x256 pixels.");
            EXPECT_EQ(Out.Pixels, Kept.Pixels);
        }
    }
}

TEST(CodePageTest, GlyphsAreSixteenthsOfThePageKeyedByTheBottomLeftPixel)
{
    // 256 x 512: glyphs of 16 x 32, each its whole block (not the top-left
    // 8 x 16 of the page's first quarter). The key colour here is white.
    const tPicture32 Page = Glyphs(256, 512);
    const std::vector<uint8_t> G = CodePageGlyph(Page, 17);
    ASSERT_EQ(G.size(), 16u * 32u);
    EXPECT_EQ(G[0], 1);       // (16, 32): black
    EXPECT_EQ(G[8], 0);       // (24, 32): white
    EXPECT_EQ(G[16 * 16], 0); // (16, 48): white
    EXPECT_TRUE(CodePageGlyph(Page, 256).empty());
    EXPECT_TRUE(CodePageGlyph(Glyphs(64, 64), 0).empty());
}

TEST(CodePageTest, HostileHeadersAreRefusedBeforeDecoding)
{
    // A BMP header asking for 30000 x 30000 pixels, with no pixels behind it.
    std::vector<uint8_t> BMP = Encoded(Glyphs(128, 256), false);
    BMP[18] = 0x30, BMP[19] = 0x75, BMP[22] = 0x30, BMP[23] = 0x75;
    BMP.resize(60);
    tPicture32 Out;
    tError Error;
    EXPECT_FALSE(DecodeCodePage(BMP, false, Out, Error));
    EXPECT_NE(Error.Reason.find("30000x30000"), std::string::npos) << Error.Reason;
    // The same in a PNG's IHDR; the CRC no longer matches, but the size is
    // looked at first.
    std::vector<uint8_t> PNG = Encoded(Glyphs(128, 256), true);
    PNG[18] = 0x75, PNG[19] = 0x30;
    EXPECT_FALSE(DecodeCodePage(PNG, true, Out, Error));
    EXPECT_NE(Error.Reason.find("30000x256"), std::string::npos) << Error.Reason;
    // Cut files: refused by the picture readers (their tests), and what the
    // code page fuzz harness accepts must still be a whole code page.
}

using CodePageFileTest = tModelTest;

TEST_F(CodePageFileTest, TheNameDecidesTheReaderAndFailuresNameTheFile)
{
    const std::string Dir = TempDir();
    WriteBytes(Dir + "/font.PNG", Encoded(Glyphs(128, 256), true));
    WriteBytes(Dir + "/font.bmp", Encoded(Glyphs(128, 256), false));
    WriteBytes(Dir + "/bmp.png", Encoded(Glyphs(128, 256), false));
    WriteBytes(Dir + "/small.bmp", Encoded(Glyphs(64, 64), false));
    tPicture32 Out;
    EXPECT_TRUE(LoadCodePageFile(Dir + "/font.PNG", Out));
    EXPECT_TRUE(LoadCodePageFile(Dir + "/font.bmp", Out));
    EXPECT_TRUE(Recorder.Log.empty());

    EXPECT_FALSE(LoadCodePageFile(Dir + "/bmp.png", Out));
    EXPECT_FALSE(LoadCodePageFile(Dir + "/small.bmp", Out));
    EXPECT_FALSE(LoadCodePageFile(Dir, Out));
    ASSERT_EQ(Recorder.Log.size(), 3u);
    EXPECT_EQ(Recorder.Log[0].Text, "Could not load the code page \"" + Dir + "/bmp.png\": not a PNG file.");
    EXPECT_EQ(Recorder.Log[1].Text,
              "The codepage bitmap size must be at least 128x256 pixels.\n(\"" + Dir + "/small.bmp\")");
    EXPECT_NE(Recorder.Log[2].Text.find("is a directory"), std::string::npos);
}
