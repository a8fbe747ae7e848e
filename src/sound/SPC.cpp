#include "sound/SPC.h"

void tSPC::Notify(const void*, std::string_view) {}
