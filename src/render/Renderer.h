#pragma once
// The frame compositor's working object: composes one still frame from the
// decoded state of tPPU into an 8-bit indexed picture (CGRAM indexes with the
// palette attached) and a 32-bit RGB picture, both owned by the caller.
//
// Where things are defined:
//   Renderer.cpp         ComposeFrame: set-up, brightness, scaling
//   RendererPasses.cpp   the 256, pseudo-hires and 512 column passes
//   RendererSearch.cpp   the line fetch, the priority search and colour math
//   RendererWindows.cpp  CombineWindows, PrepareMasks
//   RendererSprites.cpp  BuildSpriteLine, FetchOBJ
//   RendererBlur.cpp     the 3 x 3 blur of 512-wide screens
//
// Without the scene options "apply HDMA line by line", "draw mode 7 on the
// screen" and "direct colour on the screen" the registers are taken as they
// stand in the savestate, once for the whole frame, the mode 7 plane is left
// off and 256-colour layers go through CGRAM. With them, every line is drawn
// with the registers HDMA leaves on it (runs of unchanged lines share one
// set-up), mode 7's BG1 and EXTBG's BG2 take part like any layer, and
// CGWSEL bit 0 gives 256-colour layers their direct colours.

#include <array>
#include <cstdint>

#include "render/PPU.h"
#include "render/SceneSwitches.h"

class tPicture8;
class tPicture32;
struct tOptions;

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

class tRenderer
{
  public:
    std::array<uint8_t, 256> BrightnessTable{}; // v -> v x (Brightness + 1) shr 4
    int32_t CurLine = 0;
    uint8_t DoubleSize = 0; // scale the finished pictures by two
    int32_t SliverLast = -1;
    int32_t LastLine = 0;
    std::array<tSliver, MaxSliversOnLine> Slivers{};
    std::array<uint32_t, 256> Palette{}; // this frame's copy of tPPU.Palette

    // Composes the decoded state into the two pictures (resized here). Does
    // nothing when the screen has no size.
    void ComposeFrame(tPPU& P, const tSceneSwitches& S, const tOptions& O, tPicture8& Picture8, tPicture32& Picture32);

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
    // list order decides between sprites), built with the slivers; Visible
    // is 1 + the sprite's priority, the sprite window not applied.
    tBGLine ObjLine{};
    // Every sprite's first row and the number of output rows it covers (0
    // when it lies wholly right of the screen), worked out once per frame:
    // the line search reads them for all 128 sprites on every line, and in
    // tSpriteRec they lie a whole sprite picture apart.
    struct tSpriteBox {
        int16_t Y = 0;
        int16_t Rows = 0;
    };
    std::array<tSpriteBox, 128> SpriteBoxes_{};
    void PrepareSprites(const tPPU& P);
    void SpriteLine(const tPPU& P, int Line, bool HalfLines);

    tPPU* P_ = nullptr;
    const tSceneSwitches* S_ = nullptr;
    bool Mode7_ = false;     // "draw mode 7 on the screen"
    bool Direct_ = false;    // "direct colour on the screen"
    bool DirectBG1_ = false; // BG1's pixels take direct colours on this line
    // HDMA replay: the registers of the line being drawn and the next write
    // still to come; Replay_ is false for a still frame.
    bool Replay_ = false;
    tLineRegisters LineRegs_;
    size_t NextWrite_ = 0;
    tLayering Visible_{}; // the visibility table of the line being drawn
    // Applies the HDMA writes that reach output line Line (each picture row
    // asks for its line) and redoes what they changed.
    void BeginLine(int Line, bool HalfLines);
    void PrepareLineState(bool Palette);
    bool Mode7Layer(int N) const { return Mode7_ && P_->BGMode == 7 && (N == 0 || (N == 1 && P_->ExtBG)); }
    uint32_t Fixed_ = 0;
    bool UseBrightness_ = false;
    std::array<uint32_t, 256> Shown_{}; // the frame's palette after brightness

    // The frame's priority order per screen as the steps of a pixel's
    // search, worked out once per frame: only the layers that exist in the
    // mode and are switched on, sprites as layer LayerOBJ.
    struct tSearchStep {
        uint8_t Layer = 0;
        uint8_t Priority = 0;
    };
    std::array<std::array<tSearchStep, 16>, 2> Steps_{};
    std::array<int, 2> StepCount_{};
    std::array<std::array<bool, 4>, 2> LayerUsed_{}; // a step of the screen reads the layer
    // The current line of each background layer per screen (only hires
    // screens differ; otherwise both read screen 0's), and each screen's
    // winning pixel per column.
    std::array<std::array<tBGLine, 2>, 4> BGLines_{};
    struct tScreenLine {
        std::array<uint8_t, 256> Index{};
        std::array<uint8_t, 256> Palette{};
        std::array<uint8_t, 256> Layer{};
        std::array<uint32_t, 256> Colour{}; // the pixel's colour
        std::array<uint32_t, 256> Shown{};  // the same after brightness
        tPixelResult At(int X) const { return {Palette[X], Index[X], Layer[X]}; }
    };
    std::array<tScreenLine, 2> ScreenLines_{};
    // What the 8-bit picture shows in place of the main screen's pixel.
    enum tSubChoice : uint8_t { SubNever, SubAlways, SubOnBackdrop };
    tSubChoice SubChoice_ = SubNever;
    std::array<uint8_t, 4> LayerMath_{}; // $2131 bits 0-3

    void PrepareSearch();
    // Fetches the layers of the current line and finds each screen's
    // pixels; the sub screen only when WithSub.
    void PrepareLine(bool WithSub);
    void SearchScreen(int Screen);
    bool MathEligible(const tPixelResult& R, int X) const
    {
        if (P_->NoMathMask[X])
            return false;
        if (R.Layer < 4)
            return LayerMath_[R.Layer];
        // Sprites of palettes 0-3 never take part in colour math.
        if (R.Layer == LayerOBJ)
            return P_->ObjMath && R.Palette >= 4;
        return P_->BackdropMath;
    }
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
    void EndRow();
    // The 8-bit value the viewer wants in place of the main screen's.
    bool ShowSub(const tPixelResult& Main) const
    {
        return SubChoice_ == SubAlways || (SubChoice_ == SubOnBackdrop && Main.Layer == LayerBackdrop);
    }
};

// The 3 x 3 blur of a 512-wide screen; Soft weighs the centre 8:1 against
// each neighbour, otherwise 1:1.
void BlurPicture(tPicture32& Picture, bool Soft);

extern tRenderer* Renderer;
