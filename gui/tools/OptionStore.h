#pragma once
// Where each option of the options window is stored: in the configuration
// section of the window that uses it, keyed by the control's name.

#include <QFont>
#include <QString>
#include <vector>

class tSettings;

// The hex view's font (the options window's hex font dialog).
QFont& HexFont();

enum class tOptionKind { Check, Radio, Colour, Spacing, Extensions, Font };

struct tOptionEntry {
    const char* Name;  // control name, the key's prefix
    const char* Owner; // section: the window that uses the option
    tOptionKind Kind;
    bool* Flag = nullptr;       // Check
    int* Group = nullptr;       // Radio: the group's value
    int Value = 0;              // Radio: this button's value in the group
    uint32_t* Colour = nullptr; // Colour
    int* Number = nullptr;      // Spacing
};

// Every stored option of the options window.
const std::vector<tOptionEntry>& OptionEntries();

// Read and write the options owned by the window whose section this is.
void ReadOwnedOptions(const tSettings& Section);
void WriteOwnedOptions(tSettings& Section);
