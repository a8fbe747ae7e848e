// PNG and BMP writing and reading, and what hostile files get.

#include "TestSupport.h"

#include "core/PictureFiles.h"

namespace
{

tPicture8 Sample8(int W, int H)
{
    tPicture8 P;
    P.Resize(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            P.Row(y)[x] = static_cast<uint8_t>(x * 7 + y * 3);
    for (int i = 0; i < 256; ++i)
        P.ColourTable[i] = static_cast<uint32_t>(i << 16 | (255 - i) << 8 | (i * 5 & 255));
    return P;
}

tPicture32 Sample32(int W, int H)
{
    tPicture32 P;
    P.Resize(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            P.Row(y)[x] = static_cast<uint32_t>((x & 255) << 16 | y << 8 | ((x ^ y) & 255));
    return P;
}

TEST(PictureFilesTest, PNGRoundTrips)
{
    std::vector<uint8_t> Data;
    tError Error;
    const tPicture8 P8 = Sample8(37, 5);
    ASSERT_TRUE(EncodePNG(P8, Data, Error)) << Error.Reason;
    tPicture8 Back8;
    ASSERT_TRUE(DecodePicture(Data, Back8, Error)) << Error.Reason;
    EXPECT_EQ(Back8.Pixels, P8.Pixels);
    EXPECT_EQ(Back8.ColourTable, P8.ColourTable);
    tPicture32 As32;
    ASSERT_TRUE(DecodePicture(Data, As32, Error)) << Error.Reason;
    EXPECT_EQ(As32.At(3, 2), P8.ColourTable[P8.At(3, 2)]);
    // Packed rows: several pixels a byte, the last byte of a row part used.
    for (const int Bits : {1, 2, 4}) {
        ASSERT_TRUE(EncodeIndexedPNG(P8, Bits, 1 << Bits, Data, Error)) << Error.Reason;
        ASSERT_TRUE(DecodePicture(Data, Back8, Error)) << Bits << Error.Reason;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 37; ++x)
                ASSERT_EQ(Back8.At(x, y), P8.At(x, y) & ((1 << Bits) - 1)) << Bits;
    }
}

TEST(PictureFilesTest, ScreensOfAtMost256ColoursAreWrittenColourMapped)
{
    tError Error;
    std::vector<uint8_t> Data;
    for (const int Colours : {1, 256, 257}) {
        tPicture32 P;
        P.Resize(40, 10);
        for (size_t i = 0; i < P.Pixels.size(); ++i) {
            const uint32_t c = static_cast<uint32_t>(i % Colours); // greys, then one red
            P.Pixels[i] = (c & 255) * 0x010101u ^ (c >> 8) << 20;
        }
        ASSERT_TRUE(EncodePNG(P, Data, Error)) << Error.Reason;
        tPicture32 Back;
        ASSERT_TRUE(DecodePicture(Data, Back, Error)) << Error.Reason;
        EXPECT_EQ(Back.Pixels, P.Pixels) << Colours;
        tPicture8 Mapped;
        ASSERT_EQ(DecodePicture(Data, Mapped, Error), Colours <= 256) << Colours;
        if (Colours > 256) {
            EXPECT_NE(Error.Reason.find("colour table"), std::string::npos) << Error.Reason;
            continue;
        }
        for (size_t i = 0; i < P.Pixels.size(); ++i)
            ASSERT_EQ(Mapped.ColourTable[Mapped.Pixels[i]], P.Pixels[i]) << i;
    }
}

TEST(PictureFilesTest, BMPRoundTripsAtEveryDepth)
{
    tError Error;
    std::vector<uint8_t> Data;
    for (int Bits : {1, 4, 8}) {
        tPicture8 P = Sample8(13, 6); // odd width: rows are padded
        ASSERT_TRUE(EncodeBMP(P, Bits, Data, Error)) << Error.Reason;
        EXPECT_EQ(Data[28], Bits);
        tPicture8 Back;
        ASSERT_TRUE(DecodePicture(Data, Back, Error)) << Bits << Error.Reason;
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 13; ++x)
                ASSERT_EQ(Back.At(x, y), P.At(x, y) & ((1 << Bits) - 1)) << Bits;
        for (int i = 0; i < (1 << Bits); ++i)
            ASSERT_EQ(Back.ColourTable[i], P.ColourTable[i]);
    }
    const tPicture32 P32 = Sample32(9, 4);
    ASSERT_TRUE(EncodeBMP(P32, Data, Error));
    EXPECT_EQ(Data.size(), 54u + 9 * 4 * 4);
    tPicture32 Back32;
    ASSERT_TRUE(DecodePicture(Data, Back32, Error)) << Error.Reason;
    EXPECT_EQ(Back32.Pixels, P32.Pixels);
    EXPECT_FALSE(EncodeBMP(Sample8(2, 2), 2, Data, Error));
}

TEST(PictureFilesTest, HostileAndDamagedFilesAreRefused)
{
    tError Error;
    tPicture32 Out;
    std::vector<uint8_t> Data;
    ASSERT_TRUE(EncodeBMP(Sample32(4, 4), Data, Error));
    // Truncated by one byte.
    std::vector<uint8_t> Short(Data.begin(), Data.end() - 1);
    EXPECT_FALSE(DecodePicture(Short, Out, Error));
    EXPECT_NE(Error.Reason.find("truncated"), std::string::npos);
    // A width of two billion pixels.
    std::vector<uint8_t> Huge = Data;
    Huge[21] = 0x7F;
    EXPECT_FALSE(DecodePicture(Huge, Out, Error));
    // A colour table longer than the depth allows.
    ASSERT_TRUE(EncodeBMP(Sample8(4, 4), 4, Data, Error));
    Data[46] = 200;
    tPicture8 Out8;
    EXPECT_FALSE(DecodePicture(Data, Out8, Error));
    // Empty input and garbage.
    EXPECT_FALSE(DecodePicture(std::vector<uint8_t>{}, Out, Error));
    EXPECT_FALSE(DecodePicture(std::vector<uint8_t>{'B', 'M', 1}, Out, Error));
    std::vector<uint8_t> Png;
    ASSERT_TRUE(EncodePNG(Sample32(20, 20), Png, Error));
    Png.resize(Png.size() / 2);
    EXPECT_FALSE(DecodePicture(Png, Out, Error));
    EXPECT_FALSE(Error.Empty());
    tPicture32 Empty;
    EXPECT_FALSE(EncodePNG(Empty, Png, Error));
}

TEST(PictureFilesTest, FilesByExtensionAndFailedWritesKeepTheOldFile)
{
    const std::string Dir = TempDir();
    tError Error;
    const tPicture8 P = Sample8(8, 8);
    ASSERT_TRUE(WritePicture(Dir + "/a.PNG", P, Error)) << Error.Reason;
    ASSERT_TRUE(WritePicture(Dir + "/a.bmp", P, Error)) << Error.Reason;
    EXPECT_EQ(ReadBytes(Dir + "/a.PNG")[1], 'P');
    EXPECT_EQ(ReadBytes(Dir + "/a.bmp")[0], 'B');
    tPicture8 Back;
    ASSERT_TRUE(ReadPicture(Dir + "/a.bmp", Back, Error)) << Error.Reason;
    EXPECT_EQ(Back.Pixels, P.Pixels);
    const auto Before = ReadBytes(Dir + "/a.bmp");
    tPicture8 Empty;
    EXPECT_FALSE(WritePicture(Dir + "/a.bmp", Empty, Error));
    EXPECT_EQ(ReadBytes(Dir + "/a.bmp"), Before);
    EXPECT_FALSE(ReadPicture(Dir + "/missing.png", Back, Error));
}

} // namespace
