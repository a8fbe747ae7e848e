#pragma once
// Starting a Snes9x movie: the movie file is parsed in sound/ (tSMV), and
// its starting point goes where it belongs here, above the subsystems.

#include <string>

class tSMV;

// Reads and parses a movie file, then starts it (ApplyMovieStart). Errors
// are reported through Messages(); a file without the signature is simply
// not valid.
bool LoadMovie(tSMV& Movie, const std::string& FileName);
// The starting half of LoadMovie, on what tSMV::Parse found: the embedded
// SRAM goes into the cartridge ("new SRAM"), or the embedded quicksave
// replaces the machine state and the Snes9x image ("new SNES" from the
// Snes9x object). A quicksave the reader refuses changes nothing.
bool ApplyMovieStart(tSMV& Movie, const std::string& FileName);
