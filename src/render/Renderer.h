#pragma once
// The frame compositor's working object: composes one still frame from the
// decoded state of tPPU into an 8-bit indexed picture (CGRAM indexes with the
// palette attached) and a 32-bit RGB picture, both owned by the caller.
//
// Where things are defined:
//   Renderer.cpp         ComposeFrame: set-up, brightness, scaling
//   RendererPasses.cpp   the 256, pseudo-hires and 512 column passes
//   RendererSearch.cpp   the priority search and colour math
//   RendererWindows.cpp  CombineWindows, PrepareMasks
//   RendererSprites.cpp  BuildSpriteLine, FetchOBJ
//   RendererBlur.cpp     the 3 x 3 blur of 512-wide screens
//
// Window positions, scroll values and every other register are taken as they
// stand in the savestate, once for the whole frame (no HDMA effects).

#include <array>
#include <cstdint>

#include "render/PPU.h"

class tPicture8;
class tPicture32;
struct tOptions;
struct tSceneSwitches;

// Eight pixels of one sprite on the current line.
struct tSliver {
    uint8_t Palette = 0;
    uint8_t Priority = 0;
    const uint8_t* Row = nullptr; // first of 8 pixel bytes inside the sprite's Pixels
    int32_t X = 0;                // 0..511
};

// The hardware's per-line sprite limits: 32 sprites in range, 34 slivers.
inline constexpr int MaxSpritesOnLine = 32;
inline constexpr int MaxSliversOnLine = 34;

class tRenderer {
public:
    std::array<uint8_t, 256> BrightnessTable{}; // v -> v x (Brightness + 1) shr 4
    uint8_t FetchLayer = 0;
    tPixelResult MainResult;
    tPixelResult SubResult;
    int32_t CurX = 0;
    int32_t CurLine = 0;
    uint8_t FetchPriority = 0;
    uint8_t FetchScreen = 0;
    uint8_t DoubleSize = 0; // scale the finished pictures by two
    int32_t SliverLast = -1;
    int32_t LastLine = 0;
    std::array<tSliver, MaxSliversOnLine> Slivers{};
    std::array<uint32_t, 256> Palette{}; // this frame's copy of tPPU.Palette

    // Composes the decoded state into the two pictures (resized here). Does
    // nothing when the screen has no size.
    void ComposeFrame(tPPU& P, const tSceneSwitches& S, const tOptions& O, tPicture8& Picture8,
                      tPicture32& Picture32);

    // One layer's window mask from the two window ranges of P.
    static void CombineWindows(const tPPU& P, const tWindowSel& Sel, std::array<uint8_t, 256>& Mask);
    // Every window mask of P for the frame; without masks they are all clear.
    static void PrepareMasks(tPPU& P, bool UseMasks);

    // The sprite slivers of one output line. HalfLines: the picture has two
    // rows per line (240 rows or more).
    void BuildSpriteLine(const tPPU& P, int Line, bool HalfLines);
    // The sprite pixel at column X when its sprite has priority Pri.
    bool FetchOBJ(const tPPU& P, int Pri, int X, tPixelResult& Out) const;

private:
    // The first opaque sliver pixel of each column of the current line (the
    // list order decides between sprites), built with the slivers.
    struct tObjPixel {
        uint8_t Palette = 0;
        uint8_t Index = 0;
        uint8_t Priority = 0;
        uint8_t Opaque = 0;
    };
    std::array<tObjPixel, 256> ObjLine{};

    tPPU* P_ = nullptr;
    const tSceneSwitches* S_ = nullptr;
    uint32_t Fixed_ = 0;
    bool UseBrightness_ = false;

    // The frame's priority order per screen as the steps of a pixel's
    // search, worked out once per frame: only the layers that exist in the
    // mode and are switched on, sprites as layer LayerOBJ.
    struct tSearchStep {
        uint8_t Layer = 0;
        uint8_t Priority = 0;
    };
    std::array<std::array<tSearchStep, 16>, 2> Steps_{};
    std::array<int, 2> StepCount_{};
    void PrepareSearch();
    void SearchScreen(int Screen);
    bool MathEligible(const tPixelResult& R, int X) const;
    uint32_t ColourMath(uint32_t Colour, uint32_t Addend, bool Half) const;
    uint32_t Bright(uint32_t Colour) const
    {
        if (!UseBrightness_)
            return Colour;
        return static_cast<uint32_t>(BrightnessTable[(Colour >> 16) & 255] << 16 |
                                     BrightnessTable[(Colour >> 8) & 255] << 8 | BrightnessTable[Colour & 255]);
    }

    void Pass256(tPicture8& Picture8, tPicture32& Picture32, bool HalfLines);
    void PassPseudoHires(tPicture8& Picture8, tPicture32& Picture32, bool HalfLines);
    void Pass512(tPicture8& Picture8, tPicture32& Picture32, bool HalfLines);
    void EndColumn() { P_->MosaicCountX = P_->MosaicCountX == 0 ? P_->MosaicSize : P_->MosaicCountX - 1; }
    void EndRow();
    // The 8-bit value the viewer wants in place of the main screen's.
    bool ShowSub(const tPixelResult& Main) const;
};

// The 3 x 3 blur of a 512-wide screen; Soft weighs the centre 8:1 against
// each neighbour, otherwise 1:1.
void BlurPicture(tPicture32& Picture, bool Soft);

extern tRenderer* Renderer;
