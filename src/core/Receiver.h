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

// The fixed calling order: model objects first, then the program's windows,
// then the format objects and the window list. The core knows no window: the
// program hands the window slots out (they stay empty in the command-line tool
// and most tests).
// clang-format off
enum class tBusSlot : int {
    INI, IPS, SNES, PPU, Cart,
    FirstWindow,
    S9X = FirstWindow + 14,
    SPC, SGT, SSL, ZST, WindowList,
    Count
};
// clang-format on

inline constexpr int WindowSlotCount = static_cast<int>(tBusSlot::S9X) - static_cast<int>(tBusSlot::FirstWindow);

// The window slot at Index (0 .. WindowSlotCount - 1) of the windows' stretch.
constexpr tBusSlot WindowSlot(int Index)
{
    return static_cast<tBusSlot>(static_cast<int>(tBusSlot::FirstWindow) + Index);
}
