#include "render/PPU.h"

void tPPU::Notify(const void*, std::string_view) {}
