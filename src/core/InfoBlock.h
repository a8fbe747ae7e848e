#pragma once
// One register row's value record: where the value lives, how it sits in its
// bytes, and what was shown before the latest refresh. The register tabs fill
// it (ShowValue), the list editor reads it and writes values back through
// WriteBlock.

#include <cstddef>
#include <cstdint>

struct tInfoBlock {
    // The value the latest refresh read from the state; kept while the list
    // editor writes a value back, so that its restore buttons can undo the
    // edits (and a list shows as modified only after an edit).
    uint64_t OldValue = 0;
    // First byte of the value; nullptr for a row shown as missing.
    uint8_t* Address = nullptr;
    // Bytes from Address to the end of the field the row shows. Reads and
    // writes never reach past it: a row wider than its field sees zeros there.
    size_t Available = 0;
    // Bit width from the "bits" column, 1-64.
    uint8_t Bits = 0;
    // Position of the value's lowest bit inside the byte at Address (0-7).
    int8_t BitOffset = 0;
    uint64_t Value = 0;
    // The value is shown multiplied by 2^ShiftLeft (a word address shown as a
    // byte address); its lowest ShiftLeft bits are not stored anywhere.
    uint8_t ShiftLeft = 0;
};

// The value the row's memory holds now, as the row shows it (shifted, masked
// to Bits unless Bits is 64). 0 for a row without Address.
uint64_t ReadBlock(const tInfoBlock& Block);

// Writes V back into the row's memory: Value := V, and the stored bits (the
// Bits - ShiftLeft bits from BitOffset on) take V shifted right by ShiftLeft.
// Every other bit of the bytes touched keeps its value. A row without Address
// only takes the new Value.
void WriteBlock(tInfoBlock& Block, uint64_t V);
