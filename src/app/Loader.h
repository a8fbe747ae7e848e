#pragma once
// The savestate entry point: detection by extension and signature, and a
// load that commits or changes nothing. It sits above the subsystems: it
// asks a format's pure reader for a machine state and an image, and only
// when the reader succeeded swaps them in, commits the save RAM the file
// carries to the cartridge, remembers the file's names and broadcasts
// "new savestate" and "new SNES" from the reading format's object.

#include <cstdint>
#include <string>

#include "core/Error.h"
#include "core/SavestateFormat.h"

class tSNES;

// What LoadSavestate remembers of the last file it loaded.
extern std::string StateFileName;  // full name
extern std::string StateFileBase;  // without extension, folder kept
extern std::string StateFileDir;   // folder with trailing separator
extern std::string StateFileTitle; // name without folder and extension
extern std::string StateFileExt;   // extension without the dot, lower case
extern std::string StateSlot;
extern uint8_t StateFormat;
extern uint8_t StateKind;

// Format is one of FormatZST..FormatSSL; nullptr removes the format.
void RegisterSavestateFormat(uint8_t Format, tSavestateFormat* Handler);
// Leaves the format's object to be made by Maker when it is first asked for
// (which registers what Maker returns); until then Reader tests and reads
// files, and only a load that commits makes the object. A registration
// drops the Maker.
void SetSavestateFormatMaker(uint8_t Format, tSavestateFormat* (*Maker)(), const tSavestateReader& Reader);
// The format's object, made now if it is left to a maker.
tSavestateFormat* SavestateFormat(uint8_t Format);

// For runs that look at each state once and drop it (a render, a
// thumbnail): a load reads the file straight into the program's state, which
// a failed read leaves blank instead of unchanged, and keeps none of the
// format's own image, so no format object is made for it. Off by default.
void SetViewOnlyLoads(bool On);

uint8_t DetectFormat(const std::string& FileName);
// Why DetectFormat found no format, for a message after the file's name:
// "cannot read the file: ..." (missing, a folder, not a regular file) or
// "not a savestate this program reads: ..." (empty, too large, an extension
// no format uses, content other than its extension names).
std::string UndetectedReason(const std::string& FileName);
// Loads a savestate or movie. On success the machine state, the format's
// image, the names and the cartridge's save RAM are replaced and "new
// savestate" and "new SNES" go out. On failure nothing changes and nothing
// is broadcast: an unrecognised file returns false silently (the caller may
// ask UndetectedReason); a reader's failure is reported as "FILE: reason"
// through Messages() and also left in Error when one is given.
bool LoadSavestate(const std::string& FileName, tError* Error = nullptr);
// Reads a savestate as LoadSavestate does without taking it: nothing changes
// and nothing is broadcast. The format that read it, or FormatNone: Error
// holds a reader's failure and stays empty for an unrecognised file.
uint8_t ReadSavestate(const std::string& FileName, tError& Error);
// The committing half of LoadSavestate, for a state read by other means (a
// movie's embedded quicksave): the machine state, names, save RAM and image
// are taken over and "new savestate" and "new SNES" go out from the format's
// object, so every other format drops what it held of the previous file.
// Kind, when given, overrides what the name says (KindMovie).
void CommitSavestate(uint8_t Format, const tSNES& State, tParsedFile& Parsed, const std::string& FileName,
                     uint8_t Kind = KindNone);
