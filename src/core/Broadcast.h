#pragma once
// The notification bus. Objects never call each other to announce a change:
// they broadcast a message string, and every registered receiver sees it in a
// fixed order. Receivers compare the string with the ones they know and ignore
// the rest; most of them also ignore what they sent themselves.

#include "core/Receiver.h"

// Puts a receiver in its slot (nullptr empties it). A slot holds one receiver.
void RegisterReceiver(tBusSlot Slot, tReceiver* Receiver);
tReceiver* ReceiverAt(tBusSlot Slot);

// Calls every receiver in slot order. Re-entrant: a receiver may broadcast,
// and that nested broadcast finishes before the outer one goes on. An
// exception thrown by a receiver leaves Broadcast at once, so the receivers
// after it do not run; the caller (in the end the program's exception box)
// sees it.
void Broadcast(const void* Sender, tNote Msg);
