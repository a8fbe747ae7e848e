// An SPC sound snapshot "Song.spc" with ID666 and extended tags: loaded into
// the machine state, saved back to memory, and the saved image read again.

#include <cstdlib>
#include <vector>

#include "FuzzSupport.h"

#include "sound/SPC.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    FuzzSetUp();
    tError LoadError;
    if (!SPC->LoadFromFile(FuzzFile("Song.spc", Data, Size), LoadError))
        return 0;
    for (bool Binary : {false, true}) {
        tSPC_EditorFields Fields = SPC->EditorFieldsFromTag();
        Fields.Binary = Binary;
        Fields.Extended = !SPC->ExtTags.Empty();
        std::vector<uint8_t> Saved;
        SPC->SaveToStream(Saved, Fields);
        // What we write we must be able to read.
        tError Error;
        if (!SPC->LoadFromMemory(Saved, Error))
            std::abort();
    }
    return 0;
}
