#pragma once
// IPS patches applied to the cartridge when it loads. The patch lies beside
// the cartridge file under the same name with the extension ".ips"; the file
// on disk is never changed, only the ROM image in memory.
//
// Format (big-endian): "PATCH", then records of a 3-byte offset, a 2-byte
// size and that many data bytes (size 0: a 2-byte run length and one value
// byte written run-length times), ended by "EOF". Anything after "EOF" (the
// truncation length some patchers append) is ignored.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Error.h"
#include "core/Receiver.h"

// A record reaches at most offset $FFFFFF plus 65535 bytes, so a patch can
// grow the ROM to no more than this.
inline constexpr uint32_t MaxPatchedROMSize = 0x1000000 + 0xFFFF;
// Largest patch file read: every record could rewrite the whole 16 MiB
// address space several times over; more than this is not a patch.
inline constexpr uint64_t MaxIPSFileSize = 64ull << 20;

struct tIPSResult {
    bool Signature = false; // began with "PATCH"
    bool EndMarker = false; // "EOF" was reached
    bool Truncated = false; // a record was cut short by the end of the file
    uint32_t Records = 0;   // records applied (also a partly applied last one)
    uint32_t GrownBy = 0;   // bytes the ROM grew
};

// Applies a patch image to a ROM image. A wrong signature changes nothing; a
// truncated record ends patching with the records before it (and what the
// cut record still had) applied. Writes past the end grow the ROM, filling
// any gap with zeros.
tIPSResult ApplyIPS(std::span<const uint8_t> Patch, std::vector<uint8_t>& ROM);

class tIPS : public tReceiver
{
  public:
    // What the last ApplyPatch found; PatchName is empty when no patch file
    // lay beside the cartridge.
    std::string LastPatchName;
    tIPSResult LastResult;

    // Applies the ".ips" beside CartFileName to the global cartridge's ROM.
    // False when there is no patch file (Error stays empty) or it cannot be
    // read (Error says why). Shows nothing.
    bool ApplyPatch(const std::string& CartFileName, tError& Error);
    // "new Cart" with the option "try to apply the IPS file" on: ApplyPatch
    // for the cartridge's file, then a patch that could not be read is shown
    // and, with the option "show the IPS message" on, a found patch file is
    // announced even when its signature is wrong.
    void Notify(const void* Sender, tNote Msg) override;
};

extern tIPS* IPS;
