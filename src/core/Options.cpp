#include "core/Options.h"

#include <sstream>

std::vector<std::string> tOptions::CartExtensions() const
{
    std::vector<std::string> Exts;
    for (const std::string& Line : Memo_CartExts) {
        std::istringstream In(Line);
        std::string Word;
        while (In >> Word)
            Exts.push_back(Word);
    }
    return Exts;
}

tOptions& Options()
{
    static tOptions TheOptions;
    return TheOptions;
}
