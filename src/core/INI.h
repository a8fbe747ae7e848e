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

#include "core/Receiver.h"

using tStringList = std::vector<std::string>;
// One key=value line list per section, owned.
using tStringLists = std::vector<std::unique_ptr<tStringList>>;

// Where the configuration lives: ProgramDir + "Orlik.ini" when the program's
// folder can be written, else the user's configuration folder
// ($XDG_CONFIG_HOME or ~/.config) + "/orlik/Orlik.ini" (an installed program
// usually sits in a folder only root may write).
std::string ConfigFilePath();

// Keys of the settings a control, a dialog or a window keeps. The widgets live
// in the program; these keep the key names in one place.
std::string CheckedKey(std::string_view Name);                           // Name + ".Checked"
std::string FileNameKey(std::string_view Name);                          // Name + ".FileName"
std::string InitialDirKey(std::string_view Name);                        // Name + ".InitialDir"
std::string FilterIndexKey(std::string_view Name);                       // Name + ".FilterIndex"
std::string ColumnWidthsKey(std::string_view Name);                      // Name + ".ColumnWidths"
std::string FontKey(std::string_view Prefix, std::string_view Property); // Prefix + "Font." + Property

// A file dialog's remembered place.
struct tDialogSettings {
    std::string FileName;
    std::string InitialDir;
    int FilterIndex = 1;
};

struct tFontSettings {
    std::string Name;
    int Size = 0;
    bool Bold = false;
    bool Italic = false;
    bool Strikeout = false;
    bool Underline = false;
};

// A window's placement and font; the Has... flags tell which keys were found.
struct tFormSettings {
    bool HasPos = false;
    int Left = 0;
    int Top = 0;
    bool HasSize = false;
    int Width = 0;
    int Height = 0;
    bool HasFont = false;
    tFontSettings Font;
};

class tINI : public tReceiver
{
  public:
    tStringList* Section = nullptr; // the current section's lines; nullptr while it does not exist
    std::string SectionName;
    tStringList SectionNames; // sorted without regard to case
    tStringLists Sections;    // at the index of their name
    bool FileExisted = false;
    tStringList Scratch; // items of the last ReadList, or for the next WriteList

    tINI() = default;
    tINI(const tINI&) = delete;
    tINI& operator=(const tINI&) = delete;

    void SetSection(std::string_view Name);
    // Reads the file; a missing file leaves empty settings. Returns false
    // (with the reason in Error) when the file exists but cannot be read.
    bool LoadFromFile(const std::string& FileName, std::string& Error);
    bool LoadFromFile(const std::string& FileName);
    // Parses the text of a configuration file into the sections, merging
    // sections named more than once.
    void LoadFromText(std::string_view Text);
    std::string SaveToText() const;
    // Writes the file through a temporary file, so a failed write leaves the
    // old configuration whole. Error holds the system's reason on failure.
    bool SaveToFile(const std::string& FileName, std::string& Error) const;
    void Clear();

    // Raw access to the current section. The readers return false and leave
    // Value unchanged when the section or key is missing or the stored text
    // is not a valid value of the kind.
    bool ReadString(std::string_view Key, std::string& Value) const;
    bool ReadInteger(std::string_view Key, int& Value) const;
    bool ReadColor(std::string_view Key, uint32_t& Value) const;
    bool ReadBool(std::string_view Key, bool& Value) const;
    bool ReadList(std::string_view Key); // into Scratch
    bool ReadList(std::string_view Key, tStringList& Items) const;

    void WriteString(std::string_view Key, std::string_view Value);
    void WriteInteger(std::string_view Key, int64_t Value);
    void WriteColor(std::string_view Key, uint32_t Value);
    void WriteBool(std::string_view Key, bool Value);
    void WriteList(std::string_view Key); // from Scratch, which is emptied
    void WriteList(std::string_view Key, const tStringList& Items);

    // Settings of controls, keyed by the control's name.
    bool ReadChecked(std::string_view Name, bool& Checked) const;
    // A radio item is only ever switched on from the file: a stored false must
    // not leave the whole group unselected.
    bool ReadRadioChecked(std::string_view Name, bool& Checked) const;
    void WriteChecked(std::string_view Name, bool Checked);
    // Reads what is there; the result is false when no key was found.
    bool ReadDialog(std::string_view Name, tDialogSettings& Dialog) const;
    void WriteDialog(std::string_view Name, const tDialogSettings& Dialog);
    bool ReadColumnWidths(std::string_view Name, std::vector<int>& Widths) const;
    void WriteColumnWidths(std::string_view Name, const std::vector<int>& Widths);
    bool ReadFont(std::string_view Prefix, tFontSettings& Font) const;
    void WriteFont(std::string_view Prefix, const tFontSettings& Font);
    // The window whose name is the current section: "Pos", "Size" and the
    // window font (empty prefix).
    bool ReadForm(tFormSettings& Form) const;
    void WriteForm(const tFormSettings& Form);

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
