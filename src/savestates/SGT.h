#pragma once
// SNESGT savestates.

#include <string>
#include <string_view>

#include "core/Broadcast.h"
#include "core/SNES.h"

class tSGT : public tReceiver, public tSavestateFormat {
public:
    void Notify(const void* Sender, std::string_view Msg) override;
    bool IsFormatFile(const std::string& FileName) override;
    bool LoadFromFile(const std::string& FileName) override;
};

extern tSGT* SGT;
