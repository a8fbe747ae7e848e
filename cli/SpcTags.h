#pragma once
// The header and tags of the held SPC image as named values, for the
// commands that show what a file holds.

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

class tSPC;

using tSPCTagFields = std::vector<std::pair<std::string, std::string>>;

// "signature", "version", "id666" (text, binary or none), the ID666 fields
// when a tag is held, "extended_tags" and one "xid6_<ID>h" per extended tag.
tSPCTagFields SPCTagFields(const tSPC& S);
// The same as "name: value" lines.
void PrintSPCTags(const tSPC& S, std::FILE* Out);
// True for names ending in ".sp" and one more character, as SPC files do.
bool IsSPCFileName(const std::string& Name);
