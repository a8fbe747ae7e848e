#include "gui/core/WindowTable.h"

#include <array>

#include "gui/cart/Form_Cart.h"
#include "gui/core/Form_Main.h"
#include "gui/core/Form_Quit.h"
#include "gui/core/ProgramWindows.h"
#include "gui/core/ToolWindow.h"
#include "gui/render/Form_Scene.h"
#include "gui/savestates/Form_Open.h"
#include "gui/savestates/Form_Preview.h"
#include "gui/sound/Form_SMV.h"
#include "gui/sound/Form_SPC.h"
#include "gui/tools/Form_Hex.h"
#include "gui/tools/Form_List.h"
#include "gui/tools/Form_Memory.h"
#include "gui/tools/Form_Options.h"
#include "gui/tools/Form_Palette.h"
#include "gui/tools/Form_Search.h"

tForm_Main* Form_Main = nullptr;
tToolWindow* Form_Cart = nullptr;
tToolWindow* Form_Hex = nullptr;
tToolWindow* Form_List = nullptr;
tForm_Memory* Form_Memory = nullptr;
tToolWindow* Form_Open = nullptr;
tForm_Options* Form_Options = nullptr;
tForm_Palette* Form_Palette = nullptr;
tToolWindow* Form_Preview = nullptr;
tForm_Quit* Form_Quit = nullptr;
tToolWindow* Form_Scene = nullptr;
tToolWindow* Form_Search = nullptr;
tForm_SMV* Form_SMV = nullptr;
tForm_SPC* Form_SPC = nullptr;

namespace
{
using G = tButtonGroup;

// Creation order. The bus calls the windows in the order of their Slot
// column, which is the order of their component names; the options pages
// follow the same order.
constexpr tWindowRow Rows[] = {
    // Name, Caption, Button, ButtonHint, Group, ButtonOrder, Slot, OptionsPage, Window
    {"Form_Main", "", "", "", G::None, 0, 3, "m&ain window", Hooks<tForm_Main, &Form_Main>()},
    {"Form_Cart", "open a cartridge", "Btn_CartOpen", "", G::Files, 1, 0, "&cartridge dialog",
     Hooks<tForm_Cart, &Form_Cart>()},
    {"Form_Hex", "HexEditor", "Btn_Hex", "HexEditor (F4)", G::Viewers, 4, 1, "He&xEditor",
     Hooks<tForm_Hex, &Form_Hex>()},
    {"Form_List", "ListEditor", "Btn_List", "ListEditor", G::Viewers, 5, 2, "&list editor",
     Hooks<tForm_List, &Form_List>()},
    {"Form_Memory", "MemViewer", "Btn_Memory", "MemViewer", G::Viewers, 2, 4, "&MemViewer",
     Hooks<tForm_Memory, &Form_Memory>()},
    {"Form_Open", "open a SNES", "Btn_StateOpen", "", G::Files, 0, 5, "open &dialog", Hooks<tForm_Open, &Form_Open>()},
    {"Form_Options", "options", "Btn_Options", "options", G::Options, 0, 6, "&options",
     Hooks<tForm_Options, &Form_Options>()},
    {"Form_Palette", "PalViewer", "Btn_Palette", "PalViewer", G::Viewers, 1, 7, "Pal&Viewer",
     Hooks<tForm_Palette, &Form_Palette>()},
    {"Form_Preview", "preview", "Btn_Preview", "preview", G::Viewers, 0, 8, "previe&w window",
     Hooks<tForm_Preview, &Form_Preview>()},
    {"Form_Quit", "quit", "Btn_Quit", "quit (ESC, Alt+F4)", G::Quit, 0, 9, "qui&t window",
     Hooks<tForm_Quit, &Form_Quit>()},
    {"Form_Scene", "SceneViewer", "Btn_Scene", "SceneViewer", G::Viewers, 3, 10, "&SceneViewer",
     Hooks<tForm_Scene, &Form_Scene>()},
    {"Form_Search", "search", "", "", G::None, 0, 11, "", Hooks<tForm_Search, &Form_Search>()},
    {"Form_SMV", "SMV editor", "Btn_SMV", "SMV Editor", G::Editors, 1, 12, "", Hooks<tForm_SMV, &Form_SMV>()},
    {"Form_SPC", "SPCViewer", "Btn_SPC", "SPC Editor", G::Editors, 0, 13, "SP&CViewer", Hooks<tForm_SPC, &Form_SPC>()},
};

// Every window has a slot of its own inside the windows' stretch of the bus.
constexpr bool SlotsAreDistinct()
{
    std::array<bool, WindowSlotCount> Taken{};
    for (const tWindowRow& R : Rows) {
        if (R.Slot < 0 || R.Slot >= WindowSlotCount || Taken[static_cast<size_t>(R.Slot)])
            return false;
        Taken[static_cast<size_t>(R.Slot)] = true;
    }
    return true;
}
static_assert(SlotsAreDistinct(), "two windows share a bus slot, or one lies outside the windows' slots");
} // namespace

std::span<const tWindowRow> WindowTable()
{
    return Rows;
}

const tWindowRow* FindWindowRow(QStringView Name)
{
    for (const tWindowRow& R : Rows)
        if (Name == QLatin1String(R.Name))
            return &R;
    return nullptr;
}
