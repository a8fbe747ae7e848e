#include "savestates/S9X.h"

void tS9X::Notify(const void*, std::string_view) {}

bool tS9X::IsFormatFile(const std::string&) { return false; }

bool tS9X::LoadFromFile(const std::string&) { return false; }
