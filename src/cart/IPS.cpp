#include "cart/IPS.h"

void tIPS::Notify(const void*, std::string_view) {}
