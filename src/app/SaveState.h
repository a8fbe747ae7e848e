#pragma once
// Writing the machine state in one of the formats the program can write: the
// main window's save button, orlik-cli convert and orlik-cli palette --to.
// Each format object keeps an image of the state (rebuilt on "new SNES");
// saving writes that image.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Error.h"

// The newer Snes9x forms a state is written in besides the formats read:
// the standalone program's file and RetroArch's.
enum class tModernForm : uint8_t { None, S9XSnp, RAState };

struct tStateTarget {
    const char* Name; // as the command line names it: "zst", "s9x", "ssl", "s9xsnp", "rastate"
    uint8_t Format;   // FormatZST, FormatS9X, FormatSSL
    int Slot;         // the slot a converted state goes to
    tModernForm Modern = tModernForm::None;
    // ".zst", ".000", ".s01", ".state"
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
// The same for a target, the newer Snes9x forms included. A RetroArch state
// is rzip-compressed when the options say so.
bool SaveStateAs(const tStateTarget& Target, const std::string& FileName);
// The file bytes of the loaded state in a newer Snes9x form: the standalone
// program's (gzip, with our composed screen as its picture) or RetroArch's
// (the container, rzip-compressed when RZip).
bool ModernStateBytes(tModernForm Form, bool RZip, std::vector<uint8_t>& Out, std::string& Error);
// "Could not write "FILE": reason." through Messages(): every file the
// program writes for the user (states, the configuration) fails in these words.
void ReportWriteError(const std::string& FileName, const tError& Error);
