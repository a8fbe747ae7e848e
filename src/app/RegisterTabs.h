#pragma once
// The seven register tabs of the main window as a plain model: the rows of
// "SNES.txt", the values the machine state and the savestate images give
// them, and the write-back of the list editor. The main window shows
// Tabs[Page].Rows in a list view with the columns "address", "type", "bits",
// "bin", "hex", "dec", "name", "comment"; the list editor edits the selected
// row's Block.
//
//   tRegisterTabs& T = RegisterTabs();
//   if (!T.Load(Error)) ...                       // at start-up, a tError
//   T.FillTab(PagePPU);                            // throws tRegisterFileError
//   on "new SNES": T.Invalidate(); T.FillTab(T.CurrentPage);
//   on a page change: T.CurrentPage = Page; T.FillTab(Page);
//   list editor: T.Busy = true; WriteBlock(Row.Block, V); Broadcast(...); T.Busy = false;

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "core/RegisterFile.h"
#include "core/RegisterTab.h"
#include "savestates/S9XSnpFields.h"

class tSNES;
class tPPU;

enum tRegisterPage : int { PageCPU = 0, PageDMA, PagePPU, PageAPU, PageZST, PageS9X, PageSSL, RegisterPageCount };

// A savestate object's file image as the image tabs read it: the bytes of the
// named block ("" for the ZSNES image, the three-letter block names of
// Snes9x, the chunk IDs of Super Sleuth). An empty span: not available.
using tImageBlocks = std::function<std::span<uint8_t>(std::string_view Block)>;

// Everything a fill reads. The rows keep pointers into these objects until
// the next fill.
struct tRegisterSources {
    tSNES* SNES = nullptr;
    tPPU* PPU = nullptr;
    uint8_t StateFormat = 0; // decides the rows a format does not keep
    tImageBlocks ZST, S9X, SSL;
    // A newer Snes9x's stream: the S9X tab lists its fields instead of the
    // blocks of Snes9x 1.43. Version 0: none.
    unsigned S9XSnpVersion = 0;
    std::span<const tS9XSnpPlace> S9XSnpPlaces;
    std::span<uint8_t> S9XSnpValues; // see tS9XSnpPlace::Copy
    // False when the machine state was changed elsewhere since the stream was
    // read: its rows are then the file's values, and shown as read only.
    std::function<bool()> S9XSnpCurrent;
};

// The program's own objects: SNES, PPU, StateFormat and the images of ZST,
// S9X and SSL.
tRegisterSources CurrentRegisterSources();

// Runs the page's value sequence over a built tab (the tab is rewound first).
void FillRegisterTab(tRegisterTab& Tab, int Page, const tRegisterSources& Src, bool Busy);

// The image tabs' part of FillRegisterTab (the tab is not rewound).
void FillImageTab(tRegisterTab& Tab, int Page, const tRegisterSources& Src, bool Busy);

// Rows of the image tabs: where each value lies in its format's image.
struct tImageField {
    const char* Block; // "" for the ZSNES image
    uint32_t Offset;   // inside the block
    uint8_t Width;     // bytes
};
std::span<const tImageField> ImageFields(int Page);

// The S9X tab's rows for a newer Snes9x's stream (Src.S9XSnpVersion not 0):
// one per field in file order, arrays of up to 16 elements element by
// element, longer ones as a comment row (they are left to the hex editor).
// The address is the field's offset in the stream.
void BuildS9XSnpTab(tRegisterTab& Tab, const tRegisterSources& Src);

class tRegisterTabs
{
  public:
    tRegisterFile File;
    std::array<tRegisterTab, RegisterPageCount> Tabs;
    int CurrentPage = PagePPU;
    // Set by the list editor while it writes a value back: the refill that
    // follows keeps OldValue, so the edits can be restored.
    bool Busy = false;

    // Reads the description file (RegisterFilePath(FileName)) and forgets
    // every built tab; on failure Error says why and nothing changes.
    bool Load(tError& Error, const std::string& FileName = "");
    // Builds the page's rows if needed and fills its values once per refresh;
    // nothing changes when UpdateLists is off (the option "update the lists").
    // Throws tRegisterFileError for a row with a bad bits field.
    void FillTab(int Page, const tRegisterSources& Src, bool UpdateLists);
    // The same with the program's objects and options.
    void FillTab(int Page);
    // A new machine state: every tab's values are stale; unless Busy (the
    // list editor's own write), so are the values before editing.
    void Invalidate();
    // A row of the page shows a value other than the one before the edits.
    bool ListModified(int Page) const;

  private:
    // The state changed other than by the list editor since the tab's last fill.
    std::array<bool, RegisterPageCount> Stale{true, true, true, true, true, true, true};
    // The stream values the S9X tab's rows were built for (null: the rows of
    // the description file).
    const uint8_t* S9XRowsFor = nullptr;
    size_t S9XRowsCount = 0;
    unsigned S9XRowsVersion = 0;
};

// The main window's register tabs.
tRegisterTabs& RegisterTabs();
