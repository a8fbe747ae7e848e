#include "savestates/SGT.h"

void tSGT::Notify(const void*, std::string_view) {}

bool tSGT::IsFormatFile(const std::string&) { return false; }

bool tSGT::LoadFromFile(const std::string&) { return false; }
