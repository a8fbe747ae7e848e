#include "cart/SNESCart.h"

void tCart::Notify(const void*, std::string_view) {}
