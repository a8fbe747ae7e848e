#pragma once
// The size of the screen as the renderer composes it, in one place: the
// renderer sizes its pictures by it and "orlik-cli info" reports it.
//
// The height is 224 lines, 239 with overscan ($2133 bit 2), and twice that
// when sprite interlace ($2133 bit 1) doubles the picture or a hires mode
// (5 or 6) gets two rows per line to keep its pixels square. The width is
// 512 in the hires modes, and 512 when sprite interlace doubled the height
// (the picture is stretched to keep its shape); 256 otherwise. Pseudo hires
// ($2133 bit 3) keeps 256 columns: the renderer shows the main screen only.
// Screen interlace ($2133 bit 0) alone changes no size: it decides only how
// wide hires tiles step through the map. Scale512 is the option that shows
// a small screen at twice its size.

#include <cstdint>

class tSNES;

struct tScreenSize {
    int32_t Width = 256;
    int32_t Height = 224;
    bool operator==(const tScreenSize&) const = default;
};

// From the decoded values: Hires (mode 5 or 6), overscan and sprite interlace.
tScreenSize ComposedScreenSizeOf(bool Hires, bool Overscan, bool ObjInterlace, bool Scale512 = false);
// From a register image: BG mode in $2105 bits 0-2, SETINI $2133.
tScreenSize ComposedScreenSize(uint8_t BGMode, uint8_t SETINI, bool Scale512 = false);
// From a machine state's registers.
tScreenSize ComposedScreenSize(const tSNES& S, bool Scale512 = false);
