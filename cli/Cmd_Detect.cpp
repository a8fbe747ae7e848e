// orlik-cli detect: which format, kind and slot the program sees in a file.

#include <cstdio>

#include "Commands.h"
#include "core/FileIO.h"
#include "core/SNES.h"

#include <fcntl.h>
#include <unistd.h>

namespace {
int Detect(const std::vector<std::string>& Args)
{
    if (Args.empty()) {
        std::fprintf(stderr, "usage: orlik-cli detect FILE...\n");
        return 2;
    }
    StartCore();
    int Result = 0;
    for (const std::string& Name : Args) {
        SetMessageContext(Name);
        // Detection reads only the file's head, so check first that it can be read at all.
        int Fd = ::open(Name.c_str(), O_RDONLY);
        if (Fd < 0 || !FileExists(Name)) {
            if (Fd >= 0)
                ::close(Fd);
            std::fprintf(stderr, "%s: cannot read the file\n", Name.c_str());
            Result = 1;
            continue;
        }
        ::close(Fd);
        LoadSavestate(Name);
        std::printf("%s\t%s\t%s\t%s\n", Name.c_str(), FormatNames[StateFormat],
                    StateFormat ? KindNames[StateKind] : KindNames[0], StateSlot.c_str());
    }
    SetMessageContext("");
    return Result;
}

tCommandRegistrar Reg({"detect", "detect FILE...", "format, kind and slot of savestate files", Detect});
}
