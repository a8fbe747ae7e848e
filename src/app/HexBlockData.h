#pragma once
// The bytes of a hex editor block in the program's objects, looked up anew at
// every call (a new file replaces the objects' buffers).

#include <cstdint>
#include <span>
#include <string>

#include "tools/HexBlocks.h"

// The block's bytes; empty when its object holds nothing. The ZSNES file is
// rebuilt from its parts first, so it shows the state as it is now.
std::span<uint8_t> HexBlockData(const tHexBlock& Block);

// The block's tab caption as things are now: the table's, or for a part of a
// newer Snes9x's stream its name after an accelerator letter. "" for a tab
// that has nothing to show now and is hidden: the parts a stream does not
// have, and the Snes9x 1.43 blocks while such a stream is loaded.
std::string HexBlockCaption(const tHexBlock& Block);
