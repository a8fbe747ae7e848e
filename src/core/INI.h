#pragma once
// The configuration file "Orlik.ini", kept in memory as sections of key=value
// lines. Every window keeps its settings in its own section (named after the
// window) and reads them on "load config", writes them on "save config".
//
// File format: "[Name]" starts a section; "Key=Value" lines belong to it;
// everything from the first ';' of a line on is a comment. Section names and
// keys compare without regard to case, as the file was always edited by hand.
// Written files list the sections sorted by name.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Error.h"
#include "core/Receiver.h"

using tStringList = std::vector<std::string>;
// One key=value line list per section, owned.
using tStringLists = std::vector<std::unique_ptr<tStringList>>;

// Where the configuration lives: ProgramDir + "Orlik.ini" when the program's
// folder can be written and is not an installed copy's shared folder, else
// the user's configuration folder
// ($XDG_CONFIG_HOME or ~/.config) + "/orlik/Orlik.ini" (an installed program
// usually sits in a folder only root may write).
std::string ConfigFilePath();

class tINI : public tReceiver
{
  public:
    tStringList* Section = nullptr; // the current section's lines; nullptr while it does not exist
    std::string SectionName;
    tStringList SectionNames; // sorted without regard to case
    tStringLists Sections;    // at the index of their name
    bool FileExisted = false;

    tINI() = default;
    tINI(const tINI&) = delete;
    tINI& operator=(const tINI&) = delete;

    void SetSection(std::string_view Name);
    // Reads the file; a missing file leaves empty settings. Returns false
    // (with the reason in Error) when the file exists but cannot be read.
    bool LoadFromFile(const std::string& FileName, tError& Error);
    // Parses the text of a configuration file into the sections, merging
    // sections named more than once.
    void LoadFromText(std::string_view Text);
    std::string SaveToText() const;
    // Writes the file through a temporary file, so a failed write leaves the
    // old configuration whole. Error holds the system's reason on failure.
    bool SaveToFile(const std::string& FileName, tError& Error) const;
    void Clear();

    // Raw access to the current section. The readers return false and leave
    // Value unchanged when the section or key is missing or the stored text
    // is not a valid value of the kind.
    bool ReadString(std::string_view Key, std::string& Value) const;
    bool ReadInteger(std::string_view Key, int& Value) const;
    bool ReadColor(std::string_view Key, uint32_t& Value) const;
    bool ReadBool(std::string_view Key, bool& Value) const;
    bool ReadList(std::string_view Key, tStringList& Items) const;

    void WriteString(std::string_view Key, std::string_view Value);
    void WriteInteger(std::string_view Key, int64_t Value);
    void WriteColor(std::string_view Key, uint32_t Value);
    void WriteBool(std::string_view Key, bool Value);
    void WriteList(std::string_view Key, const tStringList& Items);

    void Notify(const void* Sender, tNote Msg) override;

  private:
    // The current section's line for Key (the section list is ours to change
    // even from a reader, hence not const).
    std::string* FindLine(std::string_view Key) const;
};

// Comma text: items separated by commas; items holding blanks, commas or
// quotes (and empty items) are put in double quotes with inner quotes doubled.
std::string CommaText(const tStringList& Items);
// Reads comma text; unquoted blanks separate items as commas do.
tStringList ParseCommaText(std::string_view Text);

extern tINI* INI;
