#pragma once
// The machine state's reactions on the bus, kept out of tSNES so that the
// state stays plain data and the core's header does not pull in the bus;
// and the loader's one reaction, the cartridge lookup for a new savestate,
// kept out of the cartridge so that it needs no loader. It sits in the
// machine state's bus slot, which comes before the cartridge's.

#include "core/Receiver.h"

class tStateReceiver : public tReceiver
{
  public:
    // "new SNES": rebuild the DMA channels of the global machine state;
    // "startup": load the default palette into it; "new savestate": look for
    // the savestate's cartridge when the option asks for it.
    void Notify(const void* Sender, tNote Msg) override;
};

// The one receiver, registered in the machine state's bus slot.
tStateReceiver& StateReceiver();
