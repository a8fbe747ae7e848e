// "SNES.txt": the sections, every register tab built and filled over the
// machine state, the scene viewer captions and the cartridge header texts.
// A value read from a row and written back must leave the row as it was.

#include <cstdlib>
#include <string_view>

#include "FuzzSupport.h"
#include "app/RegisterTabs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    FuzzSetUp();
    tRegisterFile File;
    File.Parse(std::string_view(reinterpret_cast<const char*>(Data), Size), "SNES.txt");
    File.ChannelInfoCaptions();
    File.SceneListCaptions();
    for (const char* Box : {"ComboBox_MapMode", "ComboBox_CoCPU", "ComboBox_License"})
        if (File.CartComboItems(Box).empty())
            std::abort();
    const tRegisterSources Src = CurrentRegisterSources();
    for (int Page = 0; Page < RegisterPageCount; ++Page) {
        tRegisterTab Tab;
        try {
            Tab.Build(File.Sections[static_cast<size_t>(Page)], File.FileName);
        } catch (const tRegisterFileError&) {
            continue;
        }
        FillRegisterTab(Tab, Page, Src, false);
        for (tRegisterRow& R : Tab.Rows) {
            if (R.IsText || !R.Block.Address)
                continue;
            const uint64_t V = ReadBlock(R.Block);
            WriteBlock(R.Block, V);
            if (ReadBlock(R.Block) != V)
                std::abort();
        }
    }
    return 0;
}
