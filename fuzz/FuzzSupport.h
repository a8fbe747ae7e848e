#pragma once
// Shared set-up of the fuzz harnesses: the model objects created once per
// process, messages dropped, and a scratch folder for the files that the
// program's readers expect to open by name.

#include <cstddef>
#include <cstdint>
#include <string>

// Creates the model objects (once), installs a messenger that drops every
// message and answers questions with "No", and runs the start-up broadcast.
void FuzzSetUp();

// The harness's scratch folder ($ORLIK_FUZZ_TMP, else a folder in /dev/shm
// or the system's temporary folder), created on first use.
const std::string& FuzzDir();

// Writes Data to FuzzDir() + "/" + Name and returns the full name.
std::string FuzzFile(const std::string& Name, const uint8_t* Data, size_t Size);

// The road a savestate takes through the program: detection and loading
// (which broadcasts "new savestate" and "new SNES", so the picture unit
// decodes and the other formats rebuild their images), then
// FuzzAfterNewSNES(true).
void FuzzSavestateRoad(const std::string& FileName);

// What follows a new machine state: the register tabs, the composed frame
// and its thumbnail, the layer, sprite and mode 7 pictures, the HDMA tables;
// with SaveBack the state is saved in every writable format and each result
// read again (a result that does not read back is a finding).
void FuzzAfterNewSNES(bool SaveBack);

// Reads a byte from every bank and a spread of addresses through MapAddress,
// as the memory viewers and the hex editor do with the loaded cartridge.
void FuzzReadThroughMemoryMap();
