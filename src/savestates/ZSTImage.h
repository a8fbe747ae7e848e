#pragma once
// Conversion between a ZSNES fixed state image and the machine state. The
// image is always ZSTLayout::ImageSize bytes; a state saved with SPC700
// emulation off uses only the first ImageSizeNoSound of them.

#include <array>
#include <cstdint>
#include <span>

class tSNES;

using tZSTImageSpan = std::span<uint8_t, 266879>;
using tZSTConstImageSpan = std::span<const uint8_t, 266879>;

// Fills the machine state and the PPU values the register image cannot hold.
// The register image is cleared first; without the sound part the sound
// state is cleared.
void ZSTImageToMachine(tZSTConstImageSpan Image, tSNES& S);
// The SPC700 timer registers as ZSNES runs them, into a copy of its RAM.
void ZSTTimersToRAM(tZSTConstImageSpan Image, std::array<uint8_t, 65536>& RAM);

// Writes the machine state into the image. An image whose version byte is 0
// is new: it gets the header, the HDMA work records and the constants ZSNES
// needs to run the state; otherwise what the machine state does not hold is
// left as loaded.
void ZSTMachineToImage(tZSTImageSpan Image, const tSNES& S);

// HDMA work records as a freshly written image carries them: ZSNES rebuilds
// their routine pointers at the next frame, so only the unit size and the
// table address are filled.
void ZSTFillHDMARecords(tZSTImageSpan Image);
// The 220 bytes a V143 file carries after its image, as ZSNES 1.51 fills
// them for this machine state.
std::array<uint8_t, 220> ZSTExtraData(const tSNES& S);

// The sprite size code whose small/large pair the image holds (0 when none
// matches, which is also what codes 6 and 7 come back as).
uint8_t ZSTSpriteSizeCode(uint8_t Small, uint8_t Large);
