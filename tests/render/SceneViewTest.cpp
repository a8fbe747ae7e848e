#include <gtest/gtest.h>

#include <memory>

#include "render/PPU.h"
#include "render/SceneView.h"
#include "savestates/PreviewPicture.h"

TEST(SceneViewTest, ZoomStaysInRangeAndKeepsThePointCentred)
{
    tPictureZoom Z;
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(Z.Step(+1));
    EXPECT_FALSE(Z.Step(+1));
    EXPECT_EQ(Z.Level, 3);
    EXPECT_EQ(Z.Caption("SceneViewer (1:1)"), "SceneViewer (8:1)");
    // Pixel 100 of 256 at 8:1 in a 400-pixel view: its middle (804) at 200.
    EXPECT_EQ(CentredScroll(100, 256, Z, 400), 604);
    // Near the edges the scroll range holds.
    EXPECT_EQ(CentredScroll(2, 256, Z, 400), 0);
    EXPECT_EQ(CentredScroll(255, 256, Z, 400), 256 * 8 - 400);
    tPictureZoom P{1, 0, 3};
    EXPECT_FALSE(P.Step(-2));
    EXPECT_EQ(P.Level, 1);
    EXPECT_EQ(WithPictureExtension("/a.b/shot", 2), "/a.b/shot.png");
    EXPECT_EQ(WithPictureExtension("shot.PNG", 3), "shot.PNG");
    EXPECT_EQ(WithPictureExtension("shot", 4), "shot");
}

TEST(SceneViewTest, TileInfoComesFromTheDrawnPictureAndStaysOnTheMap)
{
    auto P = std::make_unique<tPPU>();
    tBGLayer& L = P->Layers[1];
    L.BitDepth = 4;
    L.MapWidth = L.MapHeight = 32;
    L.TileWidth = L.TileHeight = 16;
    L.Tiles[2 * 64 + 3].TileNumber = 77;
    // Drawn as a 512 x 512 BG2 plane: the point picks tile (3, 2) of BG2.
    const tDrawnLayer Drawn{1, 512, 512};
    tTileInfo T = BGTileAt(*P, Drawn, 3 * 16 + 5, 2 * 16 + 1);
    ASSERT_TRUE(T.Valid);
    EXPECT_EQ(T.TileIndex, 77);
    EXPECT_EQ(T.X, 48);
    EXPECT_EQ(T.Tile.Width, 16);
    // Outside the picture, or beyond the map of the state as it is now.
    EXPECT_FALSE(BGTileAt(*P, Drawn, 512, 0).Valid);
    EXPECT_FALSE(BGTileAt(*P, Drawn, -1, 0).Valid);
    L.TileWidth = L.TileHeight = 8;
    EXPECT_FALSE(BGTileAt(*P, Drawn, 300, 300).Valid);
    EXPECT_FALSE(BGTileAt(*P, {4, 512, 512}, 0, 0).Valid);
    EXPECT_FALSE(Mode7TileAt(*P, 1024, 0).Valid);
}

TEST(SceneViewTest, SpriteUnderThePointFollowsRotationAndOpacity)
{
    auto P = std::make_unique<tPPU>();
    for (int n : {5, 9}) {
        tSpriteRec& S = P->Sprites[static_cast<size_t>(n)];
        S.X = 10;
        S.Y = 10;
        S.Width = S.Height = 8;
        S.Pixels[0] = 0x81;
    }
    std::array<uint8_t, 128> Active{};
    Active.fill(1);
    std::array<uint8_t, 4> All{1, 1, 1, 1};
    P->FirstSprite = 6;
    EXPECT_EQ(SpriteAt(*P, Active, All, 10, 10), 9);  // 6, 7, 8, 9 ... before 5
    EXPECT_EQ(SpriteAt(*P, Active, All, 11, 10), -1); // transparent there
    Active[9] = 0;
    EXPECT_EQ(SpriteAt(*P, Active, All, 10, 10), 5);
}

TEST(SceneViewTest, NewStateRedrawsOnlyOpenGatesUserChangesAlways)
{
    tSceneRedraw R;
    R.NewState({false, true, false, false});
    EXPECT_FALSE(R.Take(tScenePage::Screen));
    EXPECT_TRUE(R.Take(tScenePage::BG));
    EXPECT_FALSE(R.Take(tScenePage::BG));
    EXPECT_TRUE(R.Take(tScenePage::Info));
    R.Mark(tScenePage::Screen);
    EXPECT_TRUE(R.Take(tScenePage::Screen));
}

TEST(SceneViewTest, PreviewPictures)
{
    const uint8_t Red[2] = {0x00, 0xF8};
    EXPECT_EQ(ZSTPreviewPicture(Red).Pixels[0], 0xF80000u);
    tSSL_Bitmap24 B;
    B.Width = 4;
    EXPECT_FALSE(SSLPreviewPicture(B));
    B.Height = 1;
    EXPECT_FALSE(SSLPreviewPicture(B)); // no pixels behind the size
    B.Pixels = {1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(SSLPreviewPicture(B)->Pixels[0], 0x030201u);
}
