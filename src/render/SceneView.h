#pragma once
// What the scene viewer's pictures need besides drawing: their zoom and the
// scroll position that keeps a clicked point in the middle, the tile under
// the mouse on a background, mode 7 or sprite picture, and which pages wait
// for a redraw. Plain objects, so the window only binds them to widgets.

#include <array>
#include <cstdint>
#include <string>

#include "core/Picture8.h"

class tPPU;

// A picture's zoom as a power of two within Min..Max: the displayed size is
// the picture's size shifted left by Level (right for a negative level).
struct tPictureZoom {
    int Level = 0;
    int Min = -3;
    int Max = 3;

    // Level + Delta when it stays within Min..Max (true); otherwise nothing
    // changes (false).
    bool Step(int Delta);
    int32_t Scaled(int32_t Size) const { return Level >= 0 ? Size << Level : Size >> -Level; }
    // The picture coordinate under a displayed coordinate.
    int32_t Unscaled(int32_t Pos) const { return Level >= 0 ? Pos >> Level : Pos << -Level; }
    // The caption with its ratio in brackets set to this zoom ("(4:1)").
    std::string Caption(const std::string& Text) const;
};

// The scroll value that puts picture coordinate Point (unscaled) in the
// middle of a view Viewport pixels wide, kept within the scroll range of a
// picture Size pixels wide (unscaled) at Zoom.
int32_t CentredScroll(int32_t Point, int32_t Size, const tPictureZoom& Zoom, int32_t Viewport);

// The name a save dialog hands back, with the extension of the chosen
// filter added when it has none: FilterIndex 2 ("PNG files") adds ".png",
// 4 ("all files") nothing, the others ".bmp" (the dialogs' default).
std::string WithPictureExtension(const std::string& Name, int FilterIndex);

// What the tile info panel shows for the tile under a point.
struct tTileInfo {
    bool Valid = false;
    int32_t X = 0, Y = 0; // the tile's position in the picture, in pixels
    uint16_t TileIndex = 0;
    uint8_t Palette = 0;
    int32_t Width = 0, Height = 0;
    bool FlipX = false, FlipY = false, Priority = false;
    tPicture8 Tile; // the tile's pixels with the palette as colour table
};

// A layer picture as it was drawn: which layer, and its size in picture
// pixels. The tile under a point is taken from this, not from whatever the
// viewer's controls say now (another layer may be chosen, the picture may
// be older than the state).
struct tDrawnLayer {
    int Layer = 0; // 0..3 BG1..BG4
    int32_t Width = 0, Height = 0;
};

// The background tile at picture pixel (X, Y) of a drawn layer plane; not
// valid outside the picture or the layer's tile map.
tTileInfo BGTileAt(const tPPU& P, const tDrawnLayer& Drawn, int32_t X, int32_t Y);
// The mode 7 tile at picture pixel (X, Y) of the 1024 x 1024 plane.
tTileInfo Mode7TileAt(const tPPU& P, int32_t X, int32_t Y);
// Sprite N as the tile info panel shows it.
tTileInfo SpriteInfo(const tPPU& P, int N);
// The sprite the sprite sheet shows at (X, Y): the first in rotation order
// from FirstSprite that is active, of a shown priority, covers the point and
// is opaque there; -1 for none.
int SpriteAt(const tPPU& P, const std::array<uint8_t, 128>& Active, const std::array<uint8_t, 4>& Priorities, int32_t X,
             int32_t Y);

// The viewer's pages and which wait for a redraw. A new state marks only the
// pages whose update button is down; what the user changes in the window
// marks its page regardless. The window redraws a marked page when it is on
// view, and hidden pages when they are shown.
enum class tScenePage { Screen, BG, Sprites, Mode7, HDMA, Offsets, Info, Count };

class tSceneRedraw
{
  public:
    // A new state: every page whose gate is open. Gates: Screen, BG, Sprites
    // and Mode7 follow their update buttons; the other pages have none.
    void NewState(const std::array<bool, 4>& Update);
    void Mark(tScenePage Page) { Dirty_[Index(Page)] = true; }
    // True once per mark: the caller redraws the page now.
    bool Take(tScenePage Page);
    bool Pending(tScenePage Page) const { return Dirty_[Index(Page)]; }

  private:
    static size_t Index(tScenePage P) { return static_cast<size_t>(P); }
    std::array<bool, static_cast<size_t>(tScenePage::Count)> Dirty_{};
};
