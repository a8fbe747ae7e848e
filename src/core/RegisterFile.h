#pragma once
// The register description file "SNES.txt" beside the program: ten sections,
// each begun by a line starting with "[" (the rest of that line is a title
// nobody reads). Sections 0-6 hold the rows of the seven register tabs,
// section 7 the captions of the scene viewer's HDMA channel list, section 8
// the captions of the scene viewer's info lists in blocks "{ListName}",
// section 9 the texts of the cartridge browser's header boxes in blocks
// "{ComboBoxName}".
//
//   tRegisterFile File;
//   tError Error;
//   if (!LoadRegisterDescriptions(File, Error)) ...show Error.Describe(RegisterFilePath())...
//   File.Sections[SectionPPU]            // lines of the PPU tab (see tRegisterTab)
//   File.ChannelInfoCaptions()           // LV_ChnInfo rows
//   File.SceneListCaptions()             // {"LV_InfoScreen", {...}}, ...
//   File.CartComboItems("ComboBox_MapMode")  // item i is the text for header byte i

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/Error.h"

enum tRegisterSection : int {
    SectionCPU = 0,
    SectionDMA,
    SectionPPU,
    SectionAPU,
    SectionZST,
    SectionS9X,
    SectionSSL,
    SectionChannelInfo, // scene viewer, LV_ChnInfo
    SectionSceneLists,  // scene viewer, info lists in blocks
    SectionCartTexts,   // cartridge browser, header combo boxes in blocks
    RegisterSectionCount
};

// One line of a section with its line number in the file (1-based), so that
// errors found later can say where to look.
struct tSectionLine {
    std::string Text;
    int Line = 0;
};

// A "{Name}" block of sections 8 and 9: the component it names and its lines.
struct tNamedList {
    std::string Name;
    std::vector<std::string> Items;
};

// The file's name as the program looks for it in ProgramDir.
inline constexpr const char* RegisterFileName = "SNES.txt";

// The largest description file taken in: the program's own is about 150 KB.
inline constexpr uint64_t MaxRegisterFileSize = 4u << 20;

class tRegisterFile
{
  public:
    std::string FileName; // as given to Parse, for messages
    std::array<std::vector<tSectionLine>, RegisterSectionCount> Sections;

    // Splits the text into the sections (lines before the first "[" line are
    // ignored, a "[" line met in the last section ends the reading) and
    // removes empty lines from the end of each section.
    void Parse(std::string_view Text, std::string_view Name);

    std::vector<std::string> ChannelInfoCaptions() const;
    // Section 8's blocks in file order; lines before the first block are ignored.
    std::vector<tNamedList> SceneListCaptions() const;
    // The items of one header combo box: by default "00h".."FFh" (16 items,
    // "00h".."0Fh", for ComboBox_CoCPU), each replaced by the whole line of
    // the box's block that starts with its index as two hexadecimal digits.
    // Item i is the text for header value i; the list is in index order and
    // must be shown in that order.
    std::vector<std::string> CartComboItems(std::string_view Box) const;
};

// The file LoadRegisterDescriptions reads: FileName, or ProgramDir +
// "SNES.txt" when it is empty.
std::string RegisterFilePath(const std::string& FileName = "");
// Reads RegisterFilePath(FileName). False with the reason in Error when it
// cannot be read; File is then unchanged.
bool LoadRegisterDescriptions(tRegisterFile& File, tError& Error, const std::string& FileName = "");
