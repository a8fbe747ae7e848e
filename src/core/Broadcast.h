#pragma once
// The notification bus. Objects never call each other to announce a change:
// they broadcast a message string, and every registered receiver sees it in a
// fixed order. Receivers compare the string with the ones they know and ignore
// the rest; most of them also ignore what they sent themselves.

#include "core/Notifications.h"

class tReceiver {
public:
    virtual ~tReceiver() = default;
    virtual void Notify(const void* Sender, tNote Msg) = 0;
};

// The fixed calling order: model objects first, then the program's windows,
// then the format objects and the window list. The core knows no window: the
// program hands the window slots out (they stay empty in the command-line tool
// and most tests).
enum class tBusSlot : int {
    INI, IPS, SNES, PPU, Cart,
    FirstWindow,
    S9X = FirstWindow + 14,
    SPC, SGT, SSL, ZST, WindowList,
    Count
};

inline constexpr int WindowSlotCount = static_cast<int>(tBusSlot::S9X) - static_cast<int>(tBusSlot::FirstWindow);

// The window slot at Index (0 .. WindowSlotCount - 1) of the windows' stretch.
constexpr tBusSlot WindowSlot(int Index)
{
    return static_cast<tBusSlot>(static_cast<int>(tBusSlot::FirstWindow) + Index);
}

// Puts a receiver in its slot (nullptr empties it). A slot holds one receiver.
void RegisterReceiver(tBusSlot Slot, tReceiver* Receiver);
tReceiver* ReceiverAt(tBusSlot Slot);

// Calls every receiver in slot order. Re-entrant: a receiver may broadcast,
// and that nested broadcast finishes before the outer one goes on. An
// exception thrown by a receiver leaves Broadcast at once, so the receivers
// after it do not run; the caller (in the end the program's exception box)
// sees it.
void Broadcast(const void* Sender, tNote Msg);
