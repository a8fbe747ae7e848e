#pragma once
// The configuration file "Orlik.ini", kept in memory as sections of key=value lines.

#include <string>
#include <string_view>

#include "core/Broadcast.h"

class tINI : public tReceiver {
public:
    void Notify(const void* Sender, std::string_view Msg) override;
};

extern tINI* INI;
