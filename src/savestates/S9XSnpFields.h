#pragma once
// The fields of the "#!s9xsnp" blocks, version by version (6-14), and where
// each one lies in a stream that was read. The table is generated from the
// field list by scripts/gen-s9xsnp-fields.py.
//
//   auto Places = S9XSnpPlaces(Version, Info.Blocks, Stream.size());
//   auto Values = S9XSnpFieldValues(Stream, Places);
//   for (const tS9XSnpPlace& P : Places) ...P.At, Values[P.Copy]...

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

// The texts are held in the entries, not pointed to: a table of pointers
// would be relocated, two thousand entries of it, at every start of a program.
struct tS9XSnpField {
    char Block[4];
    uint8_t Since, Until; // versions holding the field; Until 0: every later one
    char Name[40];
    // Offsets inside the block: from version 11 on, in 7-10 and in 6; -1
    // where the field is absent (from 11 on a field absent there falls back
    // to the 7-10 offset, as the older sound block layout runs on to 11).
    int32_t Offset, OffsetV7, OffsetV6;
    uint8_t Width;  // bytes of one element
    uint32_t Count; // elements
    char Order;     // 'B' big-endian, 'L' little-endian, 'R' single bytes
    char Type[4];
};

// The whole table in block order; fields of every version.
std::span<const tS9XSnpField> S9XSnpFieldTable();

// The field's offset inside its block in a stream of Version; -1 when that
// version does not have it.
int32_t S9XSnpFieldOffset(const tS9XSnpField& F, unsigned Version);

// One field of a stream that was read: Element of the field starts at byte At
// of the stream (counted from the header line's first byte) and at byte Copy
// of the values S9XSnpFieldValues gathers.
struct tS9XSnpPlace {
    const tS9XSnpField* Field;
    uint32_t Element;
    uint32_t At;
    uint32_t Copy;
};

// Arrays up to this long are listed element by element.
inline constexpr uint32_t S9XSnpListedElements = 16;

// The fields of a stream of Version whose blocks were Blocks (names and
// payload lengths in file order), each element that lies whole inside its
// block and the first StreamSize bytes; blocks in file order, fields in
// table order. A longer array (the colours, the sprite table, the sound RAM)
// gives only its first element.
std::vector<tS9XSnpPlace> S9XSnpPlaces(unsigned Version, std::span<const std::pair<std::string, uint32_t>> Blocks,
                                       size_t StreamSize);

// The bytes of the places' elements back to back, numbers in machine order:
// a few KiB where the stream holds the memories too.
std::vector<uint8_t> S9XSnpFieldValues(std::span<const uint8_t> Stream, std::span<const tS9XSnpPlace> Places);
