#include "core/INI.h"

void tINI::Notify(const void*, std::string_view) {}
