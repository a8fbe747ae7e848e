#pragma once
// The frame of a window benchmark: Qt on its offscreen platform, a program
// folder of its own (so no settings of a real one are read or written), the
// program started without a cartridge search and its main window shown.
// Ready runs then, before the benchmarks; false from it ends the run.

#include <functional>

int RunWindowBenchmarks(int argc, char** argv, const std::function<bool()>& Ready);
