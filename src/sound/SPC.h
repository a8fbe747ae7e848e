#pragma once
// The SPC sound snapshot: the sound state of the machine as an SPC file image.

#include <string>
#include <string_view>

#include "core/Broadcast.h"

class tSPC : public tReceiver {
public:
    void Notify(const void* Sender, std::string_view Msg) override;
};

extern tSPC* SPC;
