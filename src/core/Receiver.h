#pragma once
// What a receiver of the notification bus is, and the slot it sits in. Class
// headers need only this; the bus itself (Broadcast, RegisterReceiver) is in
// core/Broadcast.h, which only the source files that use it include, so a
// change to the bus rebuilds those files and not every receiver's users.

#include "core/Notifications.h"

class tReceiver
{
  public:
    virtual ~tReceiver() = default;
    virtual void Notify(const void* Sender, tNote Msg) = 0;
};

// The fixed calling order: model objects first, then one slot per window
// (filled by the program, empty in the command-line tool and most tests), then
// the format objects and the window list.
enum class tBusSlot : int {
    INI,
    IPS,
    SNES,
    PPU,
    Cart,
    Form_Cart,
    Form_Hex,
    Form_List,
    Form_Main,
    Form_Memory,
    Form_Open,
    Form_Options,
    Form_Palette,
    Form_Preview,
    Form_Quit,
    Form_Scene,
    Form_Search,
    Form_SMV,
    Form_SPC,
    S9X,
    SPC,
    SGT,
    SSL,
    ZST,
    WindowList,
    Count
};
