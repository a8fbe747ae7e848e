#include "DemoScene.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/SNES.h"

namespace
{
// VRAM byte addresses of the scene's data ($210B/$210C and $2107-$2109 below).
constexpr unsigned BG1Chars = 0x0000, BG2Chars = 0x2000, BG3Chars = 0x4000, ObjChars = 0xC000;
constexpr unsigned BG1Map = 0xE000, BG2Map = 0xE800, BG3Map = 0xF000;

using tPixels = std::array<std::array<uint8_t, 8>, 8>;

uint16_t BGR(int R, int G, int B)
{
    return static_cast<uint16_t>(R | G << 5 | B << 10);
}

// Planar tiles: bit planes in pairs, row by row.
void Put4bpp(tSNES& S, unsigned At, const tPixels& Px)
{
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            for (int p = 0; p < 4; ++p)
                if ((Px[y][x] >> p) & 1)
                    S.VRAM[At + (p / 2) * 16 + 2 * y + (p & 1)] |= static_cast<uint8_t>(0x80 >> x);
}

void Put2bpp(tSNES& S, unsigned At, const tPixels& Px)
{
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            for (int p = 0; p < 2; ++p)
                if ((Px[y][x] >> p) & 1)
                    S.VRAM[At + 2 * y + p] |= static_cast<uint8_t>(0x80 >> x);
}

void PutMapEntry(tSNES& S, unsigned Map, int Col, int Row, unsigned Entry)
{
    const unsigned At = Map + 2 * (32 * Row + Col);
    S.VRAM[At] = static_cast<uint8_t>(Entry);
    S.VRAM[At + 1] = static_cast<uint8_t>(Entry >> 8);
}

// A 5 x 7 font for the letters the scene writes, one string per row.
struct tGlyph {
    char C;
    const char* Rows[7];
};
constexpr tGlyph Font[] = {
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'J', {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"####.", "....#", "....#", ".###.", "....#", "....#", "####."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
};
constexpr unsigned FirstGlyphTile = 1;

unsigned GlyphTile(char C)
{
    for (unsigned i = 0; i < std::size(Font); ++i)
        if (Font[i].C == C)
            return FirstGlyphTile + i;
    return 0; // blank
}

void BuildFont(tSNES& S)
{
    for (unsigned i = 0; i < std::size(Font); ++i) {
        tPixels Px{};
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 5; ++x)
                if (Font[i].Rows[y][x] == '#') {
                    Px[y][x + 1] = 3; // letter
                    if (y < 7 && x + 2 < 8 && Px[y + 1][x + 2] == 0)
                        Px[y + 1][x + 2] = 1; // shadow to the lower right
                }
        Put2bpp(S, BG3Chars + 16 * (FirstGlyphTile + i), Px);
    }
}

void Write(tSNES& S, int Col, int Row, std::string_view Text)
{
    // BG3 tiles with their priority bit, in front of everything with $2105 bit 3.
    for (char C : Text)
        PutMapEntry(S, BG3Map, Col++, Row, GlyphTile(C) | 0x2000);
}

void BuildBG1(tSNES& S)
{
    // Four colour ramps with transparent gaps, so what lies behind shows.
    for (unsigned k = 0; k < 4; ++k) {
        tPixels Px{};
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                Px[y][x] = ((x + y) % 8 == 0) ? 0 : static_cast<uint8_t>(1 + (y / 2 + 4 * k) % 15);
        Put4bpp(S, BG1Chars + 32 * (1 + k), Px);
    }
    for (int Row = 0; Row < 32; ++Row)
        for (int Col = 0; Col < 32; ++Col) {
            const unsigned Tile = 1 + ((Col + Row) / 2) % 4;
            const unsigned Palette = (Row / 4) % 2 ? 3 : 2;
            PutMapEntry(S, BG1Map, Col, Row, Tile | Palette << 10);
        }
}

void BuildBG2(tSNES& S)
{
    // A ring, drawn on every other tile of a checkerboard.
    tPixels Px{};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const double D = std::hypot(x - 3.5, y - 3.5);
            if (D > 2.0 && D < 3.9)
                Px[y][x] = static_cast<uint8_t>(1 + (x + 2 * y) % 6);
        }
    Put4bpp(S, BG2Chars + 32, Px);
    for (int Row = 0; Row < 32; ++Row)
        for (int Col = 0; Col < 32; ++Col)
            if ((Row + Col) % 2 == 0)
                PutMapEntry(S, BG2Map, Col, Row, 1 | 4u << 10 | 0x2000);
}

void BuildSprites(tSNES& S)
{
    // Large sprite: a shaded ball over tiles 0, 1, 16 and 17; small: a star, tile 2.
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const double D = std::hypot(x - 7.5, y - 7.5), Light = std::hypot(x - 5.0, y - 5.0);
            if (D > 7.6)
                continue;
            tPixels Px{};
            Px[y % 8][x % 8] = static_cast<uint8_t>(1 + std::min(14, static_cast<int>(Light * 1.6)));
            Put4bpp(S, ObjChars + 32 * ((y / 8) * 16 + x / 8), Px);
        }
    const char* Star[8] = {"...#....", "...#....", "..###...", "#######.",
                           ".#####..", "..#.#...", ".#...#..", "........"};
    tPixels Px{};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            Px[y][x] = Star[y][x] == '#' ? static_cast<uint8_t>(1 + y) : 0;
    Put4bpp(S, ObjChars + 32 * 2, Px);

    // Unused sprites wait below the visible lines.
    for (int s = 0; s < 128; ++s) {
        S.OAM[4 * s + 1] = 0xF0;
    }
    struct tSprite {
        int X, Y, Tile, Palette, Priority;
        bool Large;
    };
    const tSprite Sprites[] = {
        {24, 150, 0, 0, 3, true},  {208, 52, 0, 1, 0, true},   {120, 100, 0, 0, 1, true},  {60, 96, 2, 1, 2, false},
        {92, 120, 2, 1, 1, false}, {180, 140, 2, 0, 3, false}, {220, 180, 2, 1, 0, false}, {140, 60, 2, 0, 2, false},
    };
    for (size_t s = 0; s < std::size(Sprites); ++s) {
        const tSprite& Sp = Sprites[s];
        uint8_t* O = &S.OAM[4 * s];
        O[0] = static_cast<uint8_t>(Sp.X);
        O[1] = static_cast<uint8_t>(Sp.Y);
        O[2] = static_cast<uint8_t>(Sp.Tile);
        O[3] = static_cast<uint8_t>(Sp.Priority << 4 | Sp.Palette << 1);
        if (Sp.Large)
            S.OAM[512 + s / 4] |= static_cast<uint8_t>(2 << (2 * (s % 4)));
    }
}

void BuildPalette(tSNES& S)
{
    S.CGRAM.fill(0);
    S.CGRAM[0] = BGR(2, 3, 10);                                                            // backdrop: night blue
    S.CGRAM[1] = BGR(4, 4, 8), S.CGRAM[2] = BGR(16, 16, 20), S.CGRAM[3] = BGR(31, 31, 31); // text
    for (int i = 1; i < 16; ++i) {
        S.CGRAM[32 + i] = BGR(8 + i, 2 + i / 2, 4); // BG1 palette 2: reds
        S.CGRAM[48 + i] = BGR(2, 8 + i, 4 + i / 3); // BG1 palette 3: greens
        S.CGRAM[64 + i] = BGR(31 - i, 24, 4 + i);   // BG2 palette 4: yellow to pink
        S.CGRAM[128 + i] = BGR(31, 31 - i, 8);      // sprite palette 0: oranges
        S.CGRAM[144 + i] = BGR(8, 31 - i / 2, 31);  // sprite palette 1: cyans
    }
}
} // namespace

void BuildDemoScene(tSNES& S)
{
    BuildPalette(S);
    BuildBG1(S);
    BuildBG2(S);
    BuildFont(S);
    Write(S, 2, 2, "ORLIK DEMO");
    Write(S, 2, 4, "MODE 1  BG1 BG2 BG3");
    Write(S, 2, 24, "SPRITES WINDOW");
    Write(S, 2, 25, "COLOUR MATH");
    BuildSprites(S);

    auto& R = S.Regs;
    R[0x2100] = 0x0F; // INIDISP: full brightness
    R[0x2101] = 0x03; // OBSEL: 8x8 and 16x16 sprites at VRAM $C000
    R[0x2105] = 0x09; // BGMODE: mode 1, BG3 in front
    R[0x2107] = static_cast<uint8_t>(BG1Map >> 9);
    R[0x2108] = static_cast<uint8_t>(BG2Map >> 9);
    R[0x2109] = static_cast<uint8_t>(BG3Map >> 9);
    R[0x210B] = static_cast<uint8_t>((BG2Chars >> 13) << 4 | BG1Chars >> 13);
    R[0x210C] = static_cast<uint8_t>(BG3Chars >> 13);
    R[0x2115] = 0x80;                 // VMAIN: step after the high byte
    R[0x2123] = 0x20;                 // W12SEL: window 1 on BG2
    R[0x2126] = 96;                   // window 1 from x = 96
    R[0x2127] = 159;                  // to x = 159
    R[0x212C] = 0x17;                 // TM: BG1, BG2, BG3, sprites
    R[0x212E] = 0x02;                 // TMW: the window cuts BG2 out of the main screen
    R[0x2130] = 0x00;                 // CGWSEL: math everywhere, with the fixed colour
    R[0x2131] = 0x21;                 // CGADSUB: add to BG1 and the backdrop
    R[0x4200] = 0x81;                 // NMI and joypad reading on
    S.FixedColour = {6 * 8, 0, 0, 0}; // blue, green, red
    S.BGHScroll[1] = 4;
    S.BGVScroll[1] = 4;

    // The CPU idles in a loop in WRAM (BRA to itself), at the first line of V-blank.
    S.WRAM[0x100] = 0x80;
    S.WRAM[0x101] = 0xFE;
    S.CPU_PC = 0x7E0100;
    S.CPU_DB = 0x7E0000;
    S.CPU_S = 0x1FFF;
    S.CPU_P = 0x34;
    S.CPU_VCounter = 225;
    // The SPC700 does the same at $0200, with the DSP muted.
    S.APU_RAM[0x200] = 0x2F;
    S.APU_RAM[0x201] = 0xFE;
    S.SPC_PC = 0x0200;
    S.SPC_SP = 0xEF;
    S.SPC_PSW = 0x02;
    S.DSP[0x6C] = 0xE0;
}
