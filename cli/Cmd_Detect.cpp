// orlik-cli detect: which format, kind and slot the program sees in a file.
// Files it sees no savestate in are listed as "undefined", with the reason on
// stderr and exit status 1.

#include <cstdio>

#include "Commands.h"
#include "app/Loader.h"
#include "core/FileIO.h"
#include "core/SNES.h"
#include "core/StateNames.h"

namespace
{
int Detect(const std::vector<std::string>& Args)
{
    if (Args.empty()) {
        return UsageError;
    }
    // Reading a file takes its format's object alone.
    StartCore(0);
    int Result = 0;
    for (const std::string& Name : Args) {
        SetMessageContext(Name);
        // Detection reads only the file's head, so check first that it can be read at all.
        if (!CheckReadable(Name)) {
            Result = 1;
            continue;
        }
        // The file is read whole, as loading it would, but not taken: no
        // machine state is built for the windows nobody shows.
        tError Error;
        const uint8_t Format = ReadSavestate(Name, Error);
        // The answer stays on the list; the reason goes with the errors.
        if (Format == FormatNone) {
            std::fprintf(stderr, "%s: %s\n", Name.c_str(),
                         Error.Empty() ? UndetectedReason(Name).c_str() : Error.Reason.c_str());
            Result = 1;
        }
        const tStateName N = StateNameOf(Name);
        std::printf("%s\t%s\t%s\t%s\n", Name.c_str(), FormatNames[Format], Format ? KindNames[N.Kind] : KindNames[0],
                    Format ? std::to_string(N.Slot).c_str() : "");
    }
    SetMessageContext("");
    return Result;
}

tCommandRegistrar Reg({"detect", "detect FILE...", "format, kind and slot of savestate files", Detect});
} // namespace
