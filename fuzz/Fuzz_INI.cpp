// "Orlik.ini": parsing, every typed read, and the written text read back.

#include <cstdlib>
#include <string_view>

#include "core/INI.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    tINI Ini;
    Ini.LoadFromText(std::string_view(reinterpret_cast<const char*>(Data), Size));
    for (size_t i = 0; i < Ini.SectionNames.size(); ++i) {
        Ini.SetSection(std::string(Ini.SectionNames[i]));
        for (const std::string& Line : *Ini.Sections[i]) {
            std::string Key = Line.substr(0, Line.find('='));
            int I = 0;
            uint32_t C = 0;
            bool B = false;
            tStringList L;
            Ini.ReadInteger(Key, I);
            Ini.ReadColor(Key, C);
            Ini.ReadBool(Key, B);
            Ini.ReadList(Key, L);
        }
    }
    // What we write must read back as the same settings.
    std::string Text = Ini.SaveToText();
    tINI Back;
    Back.LoadFromText(Text);
    if (Back.SaveToText() != Text)
        std::abort();
    // And a list written from any items must read back as those items.
    for (size_t i = 0; i < Ini.SectionNames.size(); ++i)
        if (ParseCommaText(CommaText(*Ini.Sections[i])) != *Ini.Sections[i])
            std::abort();
    return 0;
}
