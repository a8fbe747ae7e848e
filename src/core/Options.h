#pragma once
// Every user option of the program with its default. The options window edits
// this object and stores it; everybody else reads it. Field names are the
// names of the options window's controls, so the window binds to them one to
// one. Every check box starts checked and the first radio button of each
// group starts selected.

#include <cstdint>
#include <string>
#include <vector>

struct tOptions {
    // cartridge dialog
    bool CBox_CartNoWin = true; // "use the custom dialog"
    bool CBox_CartClose = true; // "close after loading"
    bool CBox_CartGrid = true;  // "use gridlines"
    bool CBox_CartNoCur = true; // "no current directory"
    // "use these extensions, in this order": the memo's lines
    std::vector<std::string> Memo_CartExts = {"058 078 1 bin dx2 eur ", "fig gb gbc jap mgd mgh ",
                                              "sfc smc swc ufo usa"};

    // hex editor; colours are 0x00RRGGBB
    uint32_t Panel_HexBG = 0xFFFFFF;       // "background", white
    uint32_t Panel_HexFont = 0x000000;     // "font", black
    uint32_t Panel_HexCaptions = 0x0000FF; // "captions", blue
    bool CBox_HexHex = true;               // "hexadecimal digits for the offset"
    bool CBox_HexDel = true;               // "ignore Delete and Backspace keys"
    int UD_HexSpacing = 4;                 // "pixel(s) of cell spacing", 0..64

    // main window
    uint32_t Panel_MainFont = 0x00FFFF; // "font", aqua
    uint32_t Panel_MainBG = 0x000080;   // "background", navy
    bool CBox_MainMax = true;           // "start maximized"
    bool CBox_MainNoGrid = true;        // "no gridlines"
    bool CBox_MainConfirm = true;       // "confirm saving"
    bool CBox_MainNoFilter = true;      // "unfiltered menu previews"
    bool CBox_MainHighlight = true;     // "highlight menu bitmaps"
    bool CBox_MainUpdating = true;      // "update the lists"
    bool CBox_MainRZip = true;          // "compress RetroArch states (rzip)"

    // memory viewer
    bool CBox_MemoryHex = true;    // "use hexadecimal digits for the offset"
    bool CBox_MemoryReset1 = true; // "reset offset after loading a SNES"
    bool CBox_MemoryReset2 = true; // "reset offset after loading a cartridge"
    bool CBox_MemoryLine = true;   // "use 'line' instead of 'tile' as jump width"

    // savestate browser ("open dialog")
    bool CBox_OpenPreviews = true; // "show previews"
    bool CBox_OpenClose = true;    // "close after loading"
    bool CBox_OpenGrid = true;     // "use gridlines"
    bool CBox_OpenNoCur = true;    // "no current directory"
    bool CBox_OpenNoWin = true;    // "use the custom dialog"
    bool CBox_OpenCart = true;     // "try to load the cartridge"
    bool CBox_OpenIPS = true;      // "try to apply the IPS file"
    bool CBox_OpenIPSMsg = true;   // "show the IPS message"

    // options
    bool CBox_OptionsLinks = true;    // "remove dead file && directory links"
    bool CBox_OptionsSave = true;     // "update the INI file on exit"
    bool CBox_OptionsNoCopy = true;   // "save bitmaps to files"
    bool CBox_OptionsCheckZST = true; // "check ZST headers"
    bool CBox_OptionsNoHex = true;    // "show decimal values"

    // palette viewer
    bool CBox_PaletteNoHex = true; // "decimal digits for index and group"
    bool CBox_PaletteAlign = true; // "dock on memory viewer on startup"
    int PaletteFormat = 0;         // RBtn_Palette1..4: JASC, SNES 512, RAW 8-bit, RAW 5-bit

    // preview and quit windows
    bool CBox_PreviewAlign = true; // "dock on memory viewer on startup"
    bool CBox_QuitShow = true;     // "show window before leaving"

    // scene viewer and renderer
    int SceneBase = 0;              // RBtn_SceneBase0..2: sprite tile base
    bool CBox_SceneLayering = true; // "update the layering after loading a SNES"
    bool CBox_SceneUpdate = true;   // "update MemViewer and PalViewer"
    bool CBox_SceneSpaces = true;   // "display spaces for 'no' and 'disabled'"
    bool CBox_SceneActivate = true; // "activate all sprites when loading a SNES"
    bool CBox_Scene512 = true;      // "scale 256x2?? screens to 512x4?? pixels"
    bool CBox_SceneBlur = true;     // "blur 512x4?? screens"
    bool CBox_SceneBlurSoft = true; // "use soft blurring"
    bool CBox_SceneHDMA = true;     // "apply HDMA line by line"
    bool CBox_SceneMode7 = true;    // "draw mode 7 on the screen"
    bool CBox_SceneDirect = true;   // "direct colour on the screen"

    // The cartridge extensions of Memo_CartExts, in order, without dots.
    std::vector<std::string> CartExtensions() const;
};

// The one options object of the program.
tOptions& Options();
