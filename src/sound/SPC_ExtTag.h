#pragma once
// One record of an SPC file's extended tag block ("xid6").

#include <array>
#include <cstdint>

struct tSPC_ExtTag {
    // Data can hold this many bytes. Longer records are cut here on reading
    // (the rest of the record is skipped) and never written past it.
    static constexpr uint16_t MaxData = 512;

    uint8_t ID = 0;
    uint8_t TagType = 0; // 0 value in Length, no data; 1 text; 4 32-bit integer
    uint16_t Length = 0; // data bytes, or the value of a header-only tag
    std::array<uint8_t, MaxData> Data{};
};

// How many data bytes follow the record header: the type byte alone decides,
// in reading and in writing (0: the value is Length itself and no data
// follows; else Length bytes). A record whose ID is changed, or a foreign
// file whose type byte disagrees with what its ID usually holds, therefore
// reads and writes back without losing step.
size_t ExtTagDataBytes(const tSPC_ExtTag& Tag);
// The description shown for a known ID, or nullptr.
const char* ExtTagDescription(uint8_t ID);
