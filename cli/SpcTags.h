#pragma once
// Prints the header and tags of the held SPC image as "name: value" lines,
// for the commands that show what a file holds.

#include <cstdio>

class tSPC;

void PrintSPCTags(const tSPC& S, std::FILE* Out);
