#include "core/Broadcast.h"

#include <array>

namespace
{
std::array<tReceiver*, static_cast<int>(tBusSlot::Count)> Receivers{};
}

void RegisterReceiver(tBusSlot Slot, tReceiver* Receiver)
{
    Receivers[static_cast<int>(Slot)] = Receiver;
}

tReceiver* ReceiverAt(tBusSlot Slot)
{
    return Receivers[static_cast<int>(Slot)];
}

void Broadcast(const void* Sender, tNote Msg)
{
    // Read each slot as it is reached: a receiver that registers or leaves
    // during a broadcast takes part from the next slot on.
    for (int i = 0; i < static_cast<int>(tBusSlot::Count); ++i)
        if (tReceiver* R = Receivers[i])
            R->Notify(Sender, Msg);
}
