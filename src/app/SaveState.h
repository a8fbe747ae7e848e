#pragma once
// Writing the machine state in one of the formats the program can write: the
// main window's save button, orlik-cli convert and orlik-cli palette --to.
// Each format object keeps an image of the state (rebuilt on "new SNES");
// saving writes that image.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/Error.h"

struct tStateTarget {
    const char* Name; // as the command line names it: "zst", "s9x", "ssl"
    uint8_t Format;   // FormatZST, FormatS9X, FormatSSL
    int Slot;         // the slot a converted state goes to
    // ".zst", ".000", ".s01"
    std::string Extension() const;
};

// ZSNES, Snes9x, and Super Sleuth's layout with the program's name (the own
// format). SNESGT states are read only.
std::span<const tStateTarget> StateTargets();
// The target of that name, or nullptr.
const tStateTarget* FindStateTarget(std::string_view Name);
// The target of that format, or nullptr when it cannot be written.
const tStateTarget* StateTargetFor(uint8_t Format);

// Writes the state in Format to FileName; a failure is shown through
// Messages() as "Could not write "FILE": reason.". False for a format that
// cannot be written.
bool SaveStateAs(uint8_t Format, const std::string& FileName);
// "Could not write "FILE": reason." through Messages(): every file the
// program writes for the user (states, the configuration) fails in these words.
void ReportWriteError(const std::string& FileName, const tError& Error);
