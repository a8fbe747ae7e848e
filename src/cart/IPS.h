#pragma once
// IPS patches applied to the cartridge when it loads.

#include <string>
#include <string_view>

#include "core/Broadcast.h"

class tIPS : public tReceiver {
public:
    void Notify(const void* Sender, std::string_view Msg) override;
};

extern tIPS* IPS;
