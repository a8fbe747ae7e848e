#pragma once
// The bytes of a hex editor block in the program's objects, looked up anew at
// every call (a new file replaces the objects' buffers).

#include <cstdint>
#include <span>

#include "tools/HexBlocks.h"

// The block's bytes; empty when its object holds nothing. The ZSNES file is
// rebuilt from its parts first, so it shows the state as it is now.
std::span<uint8_t> HexBlockData(const tHexBlock& Block);
