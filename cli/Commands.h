#pragma once
// The sub-commands of orlik-cli. Each lives in its own file and registers
// itself with a static tCommandRegistrar.

#include <cstdio>
#include <string>
#include <vector>

#include "app/Model.h"
#include "core/Error.h"

using tCommandFn = int (*)(const std::vector<std::string>& Args);

struct tCommand {
    const char* Name;
    const char* Usage;   // one line: "detect FILE..."
    const char* Summary; // what it does
    tCommandFn Run;
    const char* Help = nullptr; // the whole usage text ("usage: orlik-cli ...\n"); nullptr: "usage: orlik-cli " + Usage
};

// What a command returns for arguments it cannot use, after printing the
// reason (if any) on stderr: the tool then prints the command's usage on
// stderr and exits with status 2.
inline constexpr int UsageError = -2;

std::vector<tCommand>& CommandTable();

struct tCommandRegistrar {
    explicit tCommandRegistrar(const tCommand& C) { CommandTable().push_back(C); }
};

// Sets up the model objects a command needs (Parts, a set of tModelPart;
// the savestate formats are made when first asked for in any case); the
// messenger prints to stderr with the current file as context.
void StartCore(uint32_t Parts = ModelAll);
// Names the file that messages are about (empty: none).
void SetMessageContext(const std::string& FileName);

// Loads a savestate for a command, with FileName as the messages' context.
// A file that no reader takes is not loaded at all: "FILE: reason" and Tail
// go to stderr. A reader that fails has said why itself; a Tail then follows
// in a line of its own ("FILE: the state did not load" and Tail).
bool LoadStateFile(const std::string& FileName, const char* Tail = "");
// "FILE: What: reason" (or "FILE: reason" without What) on stderr.
void PrintFileError(const std::string& FileName, const std::string& What, tError Error);
// The file can be opened and read; otherwise "FILE: cannot read the file:
// reason" on stderr.
bool CheckReadable(const std::string& FileName);
// Loads an SPC file into the sound snapshot; "FILE: reason" on failure.
bool LoadSoundFile(const std::string& FileName);
