#pragma once
// Super Sleuth savestates and the program's own format.

#include <string>
#include <string_view>

#include "core/Broadcast.h"
#include "core/SNES.h"

class tSSL : public tReceiver, public tSavestateFormat {
public:
    void Notify(const void* Sender, std::string_view Msg) override;
    bool IsFormatFile(const std::string& FileName) override;
    bool LoadFromFile(const std::string& FileName) override;
};

extern tSSL* SSL;
