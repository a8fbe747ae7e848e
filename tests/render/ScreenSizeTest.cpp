#include "render/RenderTestSupport.h"

#include "render/ScreenSize.h"

namespace
{

TEST(ScreenSize, HiresModesAndSpriteInterlaceDoubleOnlyWhatTheyDouble)
{
    EXPECT_EQ(ComposedScreenSize(1, 0x00), (tScreenSize{256, 224}));
    EXPECT_EQ(ComposedScreenSize(1, 0x04), (tScreenSize{256, 239}));
    EXPECT_EQ(ComposedScreenSize(1, 0x02), (tScreenSize{512, 448})); // stretched to keep its shape
    EXPECT_EQ(ComposedScreenSize(1, 0x08), (tScreenSize{256, 224})); // pseudo hires
    EXPECT_EQ(ComposedScreenSize(1, 0x01), (tScreenSize{256, 224})); // screen interlace
    EXPECT_EQ(ComposedScreenSize(5, 0x00), (tScreenSize{512, 448}));
    EXPECT_EQ(ComposedScreenSize(6, 0x07), (tScreenSize{512, 478}));
    EXPECT_EQ(ComposedScreenSize(0x0D, 0x00), (tScreenSize{512, 448})); // mode bits only
    EXPECT_EQ(ComposedScreenSize(1, 0x00, true), (tScreenSize{512, 448}));
    EXPECT_EQ(ComposedScreenSize(5, 0x00, true), (tScreenSize{512, 448}));
    EXPECT_EQ(ComposedScreenSize(1, 0x02, true), (tScreenSize{512, 448})); // doubled in width only
}

class ScreenSizeRenderTest : public tRenderTest
{
};

TEST_F(ScreenSizeRenderTest, TheRendererComposesThePictureOfThatSize)
{
    for (bool Scale : {false, true})
        for (const int Mode : {0, 1, 3, 5, 6, 7})
            for (uint8_t SETINI = 0; SETINI < 16; ++SETINI) {
                O.CBox_Scene512 = Scale;
                Reg(0x2105, static_cast<uint8_t>(Mode));
                Reg(0x2133, SETINI);
                Compose();
                const tScreenSize Want = ComposedScreenSize(*S, Scale);
                SCOPED_TRACE(std::to_string(Mode) + " " + std::to_string(SETINI) + (Scale ? " scaled" : ""));
                EXPECT_EQ(Pic32.Width, Want.Width);
                EXPECT_EQ(Pic32.Height, Want.Height);
                EXPECT_EQ(Pic8.Width, Want.Width);
                EXPECT_EQ(Pic8.Height, Want.Height);
            }
}

} // namespace
