#include "savestates/ZST.h"

void tZST::Notify(const void*, std::string_view) {}

bool tZST::IsFormatFile(const std::string&) { return false; }

bool tZST::LoadFromFile(const std::string&) { return false; }
