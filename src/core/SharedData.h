#pragma once
// Start-up data shared by the whole program.

#include <array>
#include <string>

// The folder that holds "SNES.txt", the help pages and the other resources,
// with a trailing '/'. Set once at start by SetProgramDir (the program and the
// command-line tool pass the folder of their executable).
extern std::string ProgramDir;
void SetProgramDir(const std::string& Dir);
// The folder of the running executable, with a trailing '/'.
std::string ExecutableDir();

// "00".."FF": the upper-case hexadecimal text of every byte value.
extern const std::array<std::array<char, 3>, 256> HexByteText;

// False until start-up begins; the window list ignores activation changes
// before that.
extern bool StartupDone;
// False until the quit window's "yes" ran; the main window refuses to close
// while it is false.
extern bool QuitConfirmed;

// The program's title.
inline constexpr const char* ProgramTitle = "Orlik v2.86";
inline constexpr const char* ProgramName = "Orlik";
