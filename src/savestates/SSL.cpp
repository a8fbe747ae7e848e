#include "savestates/SSL.h"

void tSSL::Notify(const void*, std::string_view) {}

bool tSSL::IsFormatFile(const std::string&) { return false; }

bool tSSL::LoadFromFile(const std::string&) { return false; }
