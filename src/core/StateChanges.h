#pragma once
// Carrying an edit of one savestate format's image into the machine state.
// A format's image cannot hold everything the machine state holds (a state
// read from ZSNES has more than a Snes9x 1.43 file keeps), so the image is
// not read over the state: it is read onto two copies of the state, once as
// it was before the edit and once as it is after, and only what differs
// between the two is taken.

#include <cstdint>
#include <span>

#include "core/SNES.h"

// Takes into Here every field (every element of an array field) in which
// After differs from Before, and leaves the rest as it is. True when
// anything was taken.
bool TakeChanges(tSNES& Here, const tSNES& Before, const tSNES& After);
// The same for bytes (save RAM), as far as all three reach: an image's save
// RAM may be larger than the cartridge's, which takes what it has room for.
bool TakeChangedBytes(std::span<uint8_t> Here, std::span<const uint8_t> Before, std::span<const uint8_t> After);
