#include "render/SceneView.h"

#include <algorithm>
#include <cstring>

#include "core/Routines.h"
#include "render/PPU.h"

bool tPictureZoom::Step(int Delta)
{
    const int Next = Level + Delta;
    if (Next < Min || Next > Max)
        return false;
    Level = Next;
    return true;
}

std::string tPictureZoom::Caption(const std::string& Text) const
{
    return ZoomCaption(Text, Level);
}

int32_t CentredScroll(int32_t Point, int32_t Size, const tPictureZoom& Zoom, int32_t Viewport)
{
    // The middle of the picture pixel, so that a zoomed-in pixel is centred
    // as a whole and not by its top left corner.
    const int32_t Middle = Zoom.Level >= 0 ? (Point << Zoom.Level) + (1 << Zoom.Level) / 2 : Point >> -Zoom.Level;
    const int32_t Range = std::max(0, Zoom.Scaled(Size) - Viewport);
    return std::clamp(Middle - Viewport / 2, 0, Range);
}

std::string WithPictureExtension(const std::string& Name, int FilterIndex)
{
    const size_t Slash = Name.find_last_of("/\\");
    const size_t Dot = Name.find_last_of('.');
    if (FilterIndex == 4 || (Dot != std::string::npos && (Slash == std::string::npos || Dot > Slash)))
        return Name;
    return Name + (FilterIndex == 2 ? ".png" : ".bmp");
}

namespace
{
void CopyTile(const tPPU& P, const uint8_t* Pixels, int32_t Stride, tTileInfo& T)
{
    T.Tile.ColourTable = P.Palette;
    T.Tile.Resize(T.Width, T.Height);
    for (int32_t y = 0; y < T.Height; ++y)
        std::memcpy(T.Tile.Row(y), Pixels + y * Stride, static_cast<size_t>(T.Width));
    T.Valid = true;
}
} // namespace

tTileInfo BGTileAt(const tPPU& P, const tDrawnLayer& Drawn, int32_t X, int32_t Y)
{
    tTileInfo T;
    if (Drawn.Layer < 0 || Drawn.Layer > 3 || X < 0 || Y < 0 || X >= Drawn.Width || Y >= Drawn.Height)
        return T;
    const tBGLayer& L = P.Layers[static_cast<size_t>(Drawn.Layer)];
    if (!L.BitDepth || L.TileWidth == 0 || L.TileHeight == 0)
        return T;
    // The state may have changed since the picture was drawn: the point must
    // also lie on the layer's map as it is now.
    const uint32_t c = static_cast<uint32_t>(X) / L.TileWidth, r = static_cast<uint32_t>(Y) / L.TileHeight;
    if (c >= std::min<uint32_t>(L.MapWidth, 64) || r >= std::min<uint32_t>(L.MapHeight, 64))
        return T;
    const tTileRecord& R = L.Tiles[r * 64 + c];
    T.X = static_cast<int32_t>(c * L.TileWidth);
    T.Y = static_cast<int32_t>(r * L.TileHeight);
    T.TileIndex = R.TileNumber;
    T.Palette = R.Palette;
    T.Width = static_cast<int32_t>(std::min<uint32_t>(L.TileWidth, 16));
    T.Height = static_cast<int32_t>(std::min<uint32_t>(L.TileHeight, 16));
    T.FlipX = R.FlipX;
    T.FlipY = R.FlipY;
    T.Priority = R.Priority;
    // A layer whose pixels were never decoded shows its tile blank.
    static const std::array<uint8_t, 16 * 16> Blank{};
    const size_t Record = r * 64 + c;
    const bool Decoded = L.Pixels.size() >= (Record + 1) * L.TileWidth * L.TileHeight;
    CopyTile(P, Decoded ? L.TilePixels(Record) : Blank.data(), Decoded ? static_cast<int32_t>(L.TileWidth) : 16, T);
    return T;
}

tTileInfo Mode7TileAt(const tPPU& P, int32_t X, int32_t Y)
{
    tTileInfo T;
    if (X < 0 || Y < 0 || X >= 1024 || Y >= 1024)
        return T;
    const int32_t c = X / 8, r = Y / 8;
    T.X = c * 8;
    T.Y = r * 8;
    T.TileIndex = P.M7Map[static_cast<size_t>(r * 128 + c)];
    T.Width = T.Height = 8;
    CopyTile(P, &P.M7Tiles[T.TileIndex * 64u], 8, T);
    return T;
}

tTileInfo SpriteInfo(const tPPU& P, int N)
{
    tTileInfo T;
    if (N < 0 || N > 127)
        return T;
    const tSpriteRec& S = P.Sprites[static_cast<size_t>(N)];
    T.X = S.X;
    T.Y = S.Y;
    T.TileIndex = S.TileNumber;
    T.Palette = S.Palette;
    T.Width = std::clamp(S.Width, 0, 64);
    T.Height = std::clamp(S.Height, 0, 64);
    T.FlipX = S.FlipX;
    T.FlipY = S.FlipY;
    T.Priority = false;
    CopyTile(P, S.Pixels.data(), 64, T);
    return T;
}

int SpriteAt(const tPPU& P, const std::array<uint8_t, 128>& Active, const std::array<uint8_t, 4>& Priorities, int32_t X,
             int32_t Y)
{
    for (int k = 0; k < 128; ++k) {
        const int n = (k + P.FirstSprite) & 127;
        const tSpriteRec& S = P.Sprites[static_cast<size_t>(n)];
        if (!Active[static_cast<size_t>(n)] || !Priorities[S.Priority & 3u])
            continue;
        const int32_t x = X - S.X, y = Y - S.Y;
        if (x < 0 || y < 0 || x >= S.Width || y >= S.Height || x >= 64 || y >= 64)
            continue;
        if (S.Pixels[static_cast<size_t>(y * 64 + x)] & 15)
            return n;
    }
    return -1;
}

void tSceneRedraw::NewState(const std::array<bool, 4>& Update)
{
    static constexpr tScenePage Gated[] = {tScenePage::Screen, tScenePage::BG, tScenePage::Sprites, tScenePage::Mode7};
    for (size_t i = 0; i < 4; ++i)
        if (Update[i])
            Mark(Gated[i]);
    Mark(tScenePage::HDMA);
    Mark(tScenePage::Offsets);
    Mark(tScenePage::Info);
}

bool tSceneRedraw::Take(tScenePage Page)
{
    const bool Was = Dirty_[Index(Page)];
    Dirty_[Index(Page)] = false;
    return Was;
}
