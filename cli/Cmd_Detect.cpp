// orlik-cli detect: which format, kind and slot the program sees in a file.
// Files it sees no savestate in are listed as "undefined", with the reason on
// stderr and exit status 1.

#include <cstdio>

#include "Commands.h"
#include "app/Loader.h"
#include "core/FileIO.h"
#include "core/SNES.h"

namespace
{
int Detect(const std::vector<std::string>& Args)
{
    if (Args.empty()) {
        return UsageError;
    }
    StartCore();
    int Result = 0;
    for (const std::string& Name : Args) {
        SetMessageContext(Name);
        // Detection reads only the file's head, so check first that it can be read at all.
        if (!CheckReadable(Name)) {
            Result = 1;
            continue;
        }
        LoadSavestate(Name);
        // The answer stays on the list; the reason goes with the errors.
        if (StateFormat == FormatNone) {
            std::fprintf(stderr, "%s: %s\n", Name.c_str(), UndetectedReason(Name).c_str());
            Result = 1;
        }
        std::printf("%s\t%s\t%s\t%s\n", Name.c_str(), FormatNames[StateFormat],
                    StateFormat ? KindNames[StateKind] : KindNames[0], StateSlot.c_str());
    }
    SetMessageContext("");
    return Result;
}

tCommandRegistrar Reg({"detect", "detect FILE...", "format, kind and slot of savestate files", Detect});
} // namespace
