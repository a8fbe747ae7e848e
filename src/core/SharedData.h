#pragma once
// Start-up data shared by the whole program.

#include <array>
#include <string>

// The folder that holds "SNES.txt", the help pages and the other resources,
// with a trailing '/'. Set once at start by SetProgramDir (the program and the
// command-line tool pass the folder of their executable).
extern std::string ProgramDir;
// True when ProgramDir is an installed copy's shared folder: the settings then
// always live in the user's configuration folder.
extern bool ProgramInstalled;
void SetProgramDir(const std::string& Dir, bool Installed = false);
// The folder of the running executable, with a trailing '/'.
std::string ExecutableDir();
// Sets ProgramDir for an executable in ExeDir: ExeDir itself when "SNES.txt"
// is there (a build tree or an unpacked copy), else ExeDir/../share/orlik/
// when it is there (installed as bin/ and share/orlik/), else ExeDir.
void FindProgramDir(const std::string& ExeDir);

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
