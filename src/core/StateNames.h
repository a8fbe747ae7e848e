#pragma once
// Savestate file names. Each emulator marks its savestates by extension, in
// any case:
//   ZSNES        ".zst", ".zs1".."zs9" (savestates), ".zmv", ".zm1".."zm9"
//                (movies); ".zst" and ".zmv" are slot 0
//   Snes9x       a point and three digits (".000" is slot 0)
//   Super Sleuth a point, "S" and two digits (and the program's own format)
//   SNESGT       a point, "SV" and one digit
// The name only proposes a format; the format's own signature test decides.

#include <cstdint>
#include <string>

#include "core/SavestateFormat.h"

struct tStateName {
    uint8_t Format = FormatNone; // FormatZST ... FormatSSL
    uint8_t Kind = KindNone;     // KindSavestate or KindMovie
    int Slot = 0;
};

// What the extension of FileName (its last path part) says; Format is
// FormatNone when no format uses it.
tStateName StateNameOf(const std::string& FileName);

// The extension (with its dot, lower case) a format gives a savestate in a
// slot: ZSNES 0 ".zst", 5 ".zs5"; Snes9x ".000"..".999"; Super Sleuth
// ".s00"..".s99"; SNESGT ".sv0"..".sv9". Empty for a slot the format does
// not have.
std::string SlotExtension(uint8_t Format, int Slot);
