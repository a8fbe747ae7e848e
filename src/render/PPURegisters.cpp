// Register decoding: every flag the renderer and the viewers read, taken once
// from the register image at the registers' bus addresses.

#include "render/PPU.h"

#include "core/SNES.h"
#include "render/HDMAReplay.h"

namespace
{
// OBSEL bits 5-7: small and large sprite sizes (width, height).
constexpr uint32_t SpriteSizes[8][2][2] = {
    {{8, 8}, {16, 16}},   {{8, 8}, {32, 32}},   {{8, 8}, {64, 64}},   {{16, 16}, {32, 32}},
    {{16, 16}, {64, 64}}, {{32, 32}, {64, 64}}, {{16, 32}, {32, 64}}, {{16, 32}, {32, 32}},
};

// One window-selection nibble: bit 0 window 1 invert, bit 1 window 1 enable,
// bit 2 window 2 invert, bit 3 window 2 enable.
void ReadWindowNibble(uint8_t Nibble, uint8_t Logic, tWindowSel& W)
{
    W.Invert[0] = Nibble & 1;
    W.Enable[0] = (Nibble >> 1) & 1;
    W.Invert[1] = (Nibble >> 2) & 1;
    W.Enable[1] = (Nibble >> 3) & 1;
    W.Logic = Logic & 3;
}

void ReadRange(uint8_t Left, uint8_t Right, tWindowRange& R)
{
    R.Left = Left;
    R.Right = Right;
    R.Valid = Right >= Left;
    R.Inside.fill(0);
    if (R.Valid)
        for (int x = Left; x <= Right; ++x)
            R.Inside[x] = 1;
}

std::array<std::array<uint32_t, 256>, 8> BuildDirectColours()
{
    std::array<std::array<uint32_t, 256>, 8> T{};
    for (uint32_t p = 0; p < 8; ++p)
        for (uint32_t v = 0; v < 256; ++v) {
            // BGR 3.3.2 from the pixel, one more low bit of each from the palette number.
            const uint32_t R = ((v & 7) << 5) | ((p & 1) << 4);
            const uint32_t G = (((v >> 3) & 7) << 5) | (((p >> 1) & 1) << 4);
            const uint32_t B = (((v >> 6) & 3) << 6) | (((p >> 2) & 1) << 5);
            T[p][v] = R << 16 | G << 8 | B;
        }
    return T;
}
} // namespace

const std::array<std::array<uint32_t, 256>, 8>& DirectColourTable()
{
    static const auto Table = BuildDirectColours();
    return Table;
}

void tPPU::ReadRegisters(const tSNES& S)
{
    // The values the register image cannot hold come from the state's own
    // fields, the same ones a line's registers carry.
    FrameRegisters.From(S);
    ApplyLineRegisters(FrameRegisters, false);
    FirstSprite = S.FirstSprite;
    BeamPos = S.BeamPos;
    LatchPos = S.LatchPos;
    ReadRegisterBytes(S.Regs.data() + 0x2100);
}

void tPPU::ApplyLineRegisters(const tLineRegisters& L, bool AllRegisters)
{
    for (int n = 0; n < 4; ++n) {
        Layers[n].HScroll = L.HScroll[n];
        Layers[n].VScroll = L.VScroll[n];
    }
    M7HOffset = L.M7HOffset;
    M7VOffset = L.M7VOffset;
    M7 = L.M7;
    FixedColour = L.FixedColour;
    if (!AllRegisters)
        return;
    // The scene viewer's BG3 switch holds until the line's registers move the bit.
    const uint8_t OnTop = BG3OnTop, Was = BG3Priority;
    ReadRegisterBytes(L.R.data());
    if (BG3Priority == Was)
        BG3OnTop = OnTop;
    // The layer enables and mosaic bits SetupLayers takes, without decoding
    // any tiles again (the BG mode and the maps stay those of the frame).
    for (int n = 0; n < 4; ++n) {
        Layers[n].Mosaic = (L.R[0x06] >> n) & 1;
        Layers[n].OnMain = (L.R[0x2C] >> n) & 1;
        Layers[n].OnSub = (L.R[0x2D] >> n) & 1;
    }
}

void tPPU::ReadRegisterBytes(const uint8_t* R)
{
    const uint8_t BGMODE = R[0x05], INIDISP = R[0x00], SETINI = R[0x33];
    const uint8_t STAT77 = R[0x3E], STAT78 = R[0x3F];

    BG3Priority = BG3OnTop = (BGMODE >> 3) & 1;
    Brightness = INIDISP & 15;
    ForcedBlank = INIDISP >> 7;

    ExtBG = (SETINI >> 6) & 1;
    ExternalSync = SETINI >> 7;
    PseudoHires = (SETINI >> 3) & 1;
    ScreenInterlace = SETINI & 1;
    Overscan = (SETINI >> 2) & 1;
    ObjInterlace = (SETINI >> 1) & 1;
    ExternalLatch = (STAT78 >> 6) & 1;
    OddField = STAT78 >> 7;
    PALMode = (STAT78 >> 4) & 1;
    PPU2Version = STAT78 & 15;
    MasterSlave = (STAT77 >> 5) & 1;
    PPU1Version = STAT77 & 15;
    RangeOver = (STAT77 >> 6) & 1;
    TimeOver = STAT77 >> 7;

    MosaicSize = R[0x06] >> 4;

    // $2123 W12SEL, $2124 W34SEL: BG1/BG3 in the low nibble, BG2/BG4 in the high.
    const uint8_t WBGLOG = R[0x2A], TMW = R[0x2E], TSW = R[0x2F];
    for (int n = 0; n < 4; ++n) {
        const uint8_t Sel = R[0x23 + n / 2];
        ReadWindowNibble(n & 1 ? Sel >> 4 : Sel & 15, WBGLOG >> (2 * n), Layers[n].Window);
        Layers[n].WindowMain = (TMW >> n) & 1;
        Layers[n].WindowSub = (TSW >> n) & 1;
    }
    const uint8_t WOBJSEL = R[0x25], WOBJLOG = R[0x2B];
    ReadWindowNibble(WOBJSEL >> 4, WOBJLOG >> 2, ColourWindow);
    ReadWindowNibble(WOBJSEL & 15, WOBJLOG, ObjWindow);
    ObjWindowMain = (TMW >> 4) & 1;
    ObjWindowSub = (TSW >> 4) & 1;

    ReadRange(R[0x26], R[0x27], Windows[0]); // WH0, WH1
    ReadRange(R[0x28], R[0x29], Windows[1]); // WH2, WH3

    const uint8_t CGWSEL = R[0x30], CGADSUB = R[0x31];
    NoMathRegion = (CGWSEL >> 4) & 3;
    ClipRegion = CGWSEL >> 6;
    DirectColour = CGWSEL & 1;
    AddSubscreen = (CGWSEL >> 1) & 1;
    for (int n = 0; n < 4; ++n)
        Layers[n].ColourMath = (CGADSUB >> n) & 1;
    ObjMath = (CGADSUB >> 4) & 1;
    BackdropMath = (CGADSUB >> 5) & 1;
    HalfMath = (CGADSUB >> 6) & 1;
    SubtractMath = CGADSUB >> 7;

    const uint8_t M7SEL = R[0x1A];
    M7FlipX = M7SEL & 1;
    M7FlipY = (M7SEL >> 1) & 1;
    M7Fill = (M7SEL >> 6) & 1;
    M7Wrap = (M7SEL >> 7) == 0;

    ObjOnMain = (R[0x2C] >> 4) & 1;
    ObjOnSub = (R[0x2D] >> 4) & 1;

    // The second name table lies (bits 3-4) x 8 KB past the first; the 8 KB
    // gap every table has is made by bit 8 of the tile number.
    const uint8_t OBSEL = R[0x01];
    ObjNameBase[0] = static_cast<uint32_t>(OBSEL & 7) << 14;
    ObjNameBase[1] = ObjNameBase[0] + (static_cast<uint32_t>((OBSEL >> 3) & 3) << 13);
    for (int l = 0; l < 2; ++l)
        for (int d = 0; d < 2; ++d)
            ObjSize[l][d] = SpriteSizes[OBSEL >> 5][l][d];
}

void tPPU::ConvertPalette(const tSNES& S)
{
    ConvertPalette(S.CGRAM);
}

void tPPU::ConvertPalette(const std::array<uint16_t, 256>& CGRAM)
{
    for (int i = 0; i < 256; ++i) {
        const uint32_t C = CGRAM[i];
        Palette[i] = ((C & 31) << 19) | (((C >> 5) & 31) << 11) | (((C >> 10) & 31) << 3);
    }
}
