#pragma once
// What the scene viewer's check boxes and layering list say about how a frame
// is composed, as a plain object: the viewer binds its controls to it, the
// command-line tool and the tests fill it directly.

#include <array>
#include <cstdint>

class tPPU;
struct tOptions;

// Twelve flags per screen: BG1 priority 0, BG1 priority 1, ... BG4 priority
// 1, then sprites of priority 0, 1, 2, 3.
using tLayering = std::array<std::array<uint8_t, 12>, 2>;

struct tSceneSwitches {
    bool CBox_ScreenMasks = true;      // "use mask windows"
    bool CBox_ScreenBrightness = true; // "use brightness info"
    bool CBox_ScreenNoMosaic = false;  // "ignore mosaic info"
    bool CBox_ScreenBoth = false;      // "main and sub (8-bit)"
    int LayeringTab = 0;               // TC_Layering: 0 main, 1 sub
    bool PaletteInverted = false;      // the palette viewer's Btn_Invert is down
    tLayering RegisterLayering{};      // as the registers say
    tLayering Visibility{};            // what the priority search uses

    // The viewer's Reload: with "update the layering after loading a SNES"
    // the register layering is rebuilt from TM/TS; the visibility follows it.
    void Reload(const tPPU& P, const tOptions& O);
};
