#pragma once
// The cartridge load the user asks for: the main window's cartridge button,
// the command-line tool's cart, hdma and info commands.

#include <string>

// Loads the cartridge and shows what went wrong through Messages(): a
// failure (the previous cartridge stays) or an SRAM that could not be read.
bool OpenCartridge(const std::string& Name);
