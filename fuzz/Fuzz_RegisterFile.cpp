// The register description file "SNES.txt": sections, the rows of the seven
// register tabs filled from the machine state, the scene viewer's caption
// lists and the cartridge browser's header texts.

#include <string_view>

#include "FuzzSupport.h"

#include "core/RegisterTabs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    FuzzSetUp();
    tRegisterTabs Tabs;
    Tabs.File.Parse(std::string_view(reinterpret_cast<const char*>(Data), Size), "SNES.txt");
    const tRegisterSources Src = CurrentRegisterSources();
    for (int Page = 0; Page < RegisterPageCount; ++Page) {
        try {
            Tabs.FillTab(Page, Src, true);
        } catch (const tRegisterFileError&) {
            // A bad row is reported to the user by the main window.
        }
    }
    volatile size_t Sink = Tabs.File.ChannelInfoCaptions().size() + Tabs.File.SceneListCaptions().size();
    for (const char* Box : {"ComboBox_MapMode", "ComboBox_CoCPU", "ComboBox_Region", "ComboBox_License"})
        Sink = Sink + Tabs.File.CartComboItems(Box).size();
    (void)Sink;
    return 0;
}
