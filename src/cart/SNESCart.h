#pragma once
// The cartridge that belongs to the current machine state.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Broadcast.h"

class tCart : public tReceiver {
public:
    std::vector<uint8_t> FileData; // after loading: only the copier header
    bool HiROM = false;            // HiROM addressing, read by MapAddress
    std::vector<uint8_t> ROM;      // the ROM image without copier header
    std::string FileName;          // empty when no cartridge is loaded
    uint32_t HeaderOffset = 0x7FB0; // internal header area within ROM
    std::string LastFileName;
    std::vector<uint8_t> SRAM;

    const uint8_t* ROMData() const { return ROM.empty() ? nullptr : ROM.data(); }
    uint32_t ROMSize() const { return static_cast<uint32_t>(ROM.size()); }

    void Notify(const void* Sender, std::string_view Msg) override;
};

extern tCart* Cart;
