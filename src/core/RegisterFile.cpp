#include "core/RegisterFile.h"

#include <cstdint>

#include "core/FileIO.h"
#include "core/Routines.h"
#include "core/SharedData.h"

namespace
{
std::string_view TrimRight(std::string_view S)
{
    while (!S.empty() && (S.back() == ' ' || S.back() == '\t' || S.back() == '\r'))
        S.remove_suffix(1);
    return S;
}

// "{Name}" selects a component in sections 8 and 9.
bool BlockName(std::string_view Line, std::string& Name)
{
    Line = TrimRight(Line);
    if (Line.size() < 2 || Line.front() != '{' || Line.back() != '}')
        return false;
    Name = std::string(Line.substr(1, Line.size() - 2));
    return true;
}

std::vector<tNamedList> Blocks(const std::vector<tSectionLine>& Lines)
{
    std::vector<tNamedList> Result;
    std::string Name;
    for (const tSectionLine& L : Lines) {
        if (BlockName(L.Text, Name))
            Result.push_back({Name, {}});
        else if (!Result.empty())
            Result.back().Items.emplace_back(TrimRight(L.Text));
    }
    return Result;
}
} // namespace

void tRegisterFile::Parse(std::string_view Text, std::string_view Name)
{
    FileName = std::string(Name);
    for (auto& S : Sections)
        S.clear();
    int Current = -1;
    int LineNo = 0;
    size_t Pos = 0;
    while (Pos < Text.size()) {
        size_t End = Text.find('\n', Pos);
        if (End == std::string_view::npos)
            End = Text.size();
        std::string_view Line = Text.substr(Pos, End - Pos);
        Pos = End + 1;
        ++LineNo;
        if (!Line.empty() && Line.back() == '\r')
            Line.remove_suffix(1);
        if (!Line.empty() && Line.front() == '[') {
            if (Current == RegisterSectionCount - 1)
                break;
            ++Current;
            continue;
        }
        if (Current >= 0)
            Sections[Current].push_back({std::string(Line), LineNo});
    }
    for (auto& S : Sections)
        while (!S.empty() && TrimRight(S.back().Text).empty())
            S.pop_back();
}

std::vector<std::string> tRegisterFile::ChannelInfoCaptions() const
{
    std::vector<std::string> Result;
    for (const tSectionLine& L : Sections[SectionChannelInfo])
        Result.emplace_back(TrimRight(L.Text));
    return Result;
}

std::vector<tNamedList> tRegisterFile::SceneListCaptions() const
{
    return Blocks(Sections[SectionSceneLists]);
}

std::vector<std::string> tRegisterFile::CartComboItems(std::string_view Box) const
{
    // The cartridge type box is indexed by the high nibble of the type byte.
    const size_t Count = Box == "ComboBox_CoCPU" ? 16 : 256;
    std::vector<std::string> Items(Count);
    for (size_t I = 0; I < Count; ++I)
        Items[I] = std::string(HexByteText[I].data()) + "h";
    for (const tNamedList& B : Blocks(Sections[SectionCartTexts])) {
        if (B.Name != Box)
            continue;
        for (const std::string& Line : B.Items) {
            // A line that does not start with an index in range names no item.
            const int Hi = Line.size() >= 2 ? HexDigitValue(Line[0]) : -1;
            const int Lo = Line.size() >= 2 ? HexDigitValue(Line[1]) : -1;
            if (Hi < 0 || Lo < 0)
                continue;
            const size_t Index = static_cast<size_t>(Hi * 16 + Lo);
            if (Index < Count)
                Items[Index] = Line;
        }
    }
    return Items;
}

std::string RegisterFilePath(const std::string& FileName)
{
    return FileName.empty() ? ProgramDir + RegisterFileName : FileName;
}

bool LoadRegisterDescriptions(tRegisterFile& File, tError& Error, const std::string& FileName)
{
    const std::string Name = RegisterFilePath(FileName);
    std::vector<uint8_t> Data;
    if (!ReadWholeFile(Name, Data, Error, MaxRegisterFileSize))
        return false;
    File.Parse(std::string_view(reinterpret_cast<const char*>(Data.data()), Data.size()), Name);
    return true;
}
