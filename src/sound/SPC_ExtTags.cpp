// The extended ID666 block: records of ID, type, length and data, each
// padded to a multiple of four bytes, inside an "xid6" chunk after the fixed
// part of the file.

#include <algorithm>

#include "sound/RIFF_Chunk.h"
#include "sound/SPC.h"

namespace
{
constexpr std::array<char, 4> XID6 = {'x', 'i', 'd', '6'};

size_t PadTo4(size_t N)
{
    return (4 - N % 4) % 4;
}
} // namespace

size_t ExtTagDataBytes(const tSPC_ExtTag& Tag)
{
    return Tag.TagType != 0 ? Tag.Length : 0;
}

const char* ExtTagDescription(uint8_t ID)
{
    // One case a line: the switch reads as a table.
    // clang-format off
    switch (ID) {
    case 0x01: return "song";
    case 0x02: return "game";
    case 0x03: return "artist";
    case 0x04: return "dumper";
    case 0x05: return "date";
    case 0x06: return "emulator";
    case 0x07: return "comments";
    case 0x10: return "OST title";
    case 0x11: return "OST disk";
    case 0x12: return "OST track";
    case 0x13: return "publisher";
    case 0x14: return "copyright year";
    case 0x30: return "intro length";
    case 0x31: return "loop length";
    case 0x32: return "end length";
    case 0x33: return "fade length";
    case 0x34: return "muted channels";
    case 0x35: return "loops";
    case 0x36: return "amplification";
    default: return nullptr;
    }
    // clang-format on
}

void tSPC::ReadExtTags(tByteReader& Stream)
{
    ExtTags.Clear();
    tRIFF_Chunk Chunk;
    if (!Chunk.ReadFrom(Stream) || Chunk.ChunkID != XID6)
        return;
    tByteReader Body(Chunk.Data);
    while (Body.Remaining() >= 4) {
        tSPC_ExtTag Record;
        Body.U8(Record.ID);
        Body.U8(Record.TagType);
        Body.U16LE(Record.Length);
        const size_t Wanted = ExtTagDataBytes(Record);
        if (Wanted > 0) {
            // A record running past the body gets what remains.
            const size_t Got = std::min(Wanted, Body.Remaining());
            const size_t Kept = std::min<size_t>(Got, tSPC_ExtTag::MaxData);
            Body.Read(Record.Data.data(), Kept);
            Body.Skip(Got - Kept);
            Body.Skip(std::min(PadTo4(Wanted), Body.Remaining()));
            // A cut text keeps the length it now holds, so that saving writes
            // a record that agrees with its data.
            if (Wanted > tSPC_ExtTag::MaxData && Record.Length > tSPC_ExtTag::MaxData)
                Record.Length = tSPC_ExtTag::MaxData;
        }
        ExtTags.Add(Record);
    }
}

void tSPC::WriteExtTags(std::vector<uint8_t>& Out) const
{
    tRIFF_Chunk Chunk;
    Chunk.ChunkID = XID6;
    std::vector<uint8_t>& B = Chunk.Data;
    for (size_t i = 0; i < ExtTags.Count(); ++i) {
        const tSPC_ExtTag& Record = ExtTags[i];
        const uint16_t Length =
            Record.TagType != 0 ? std::min<uint16_t>(Record.Length, tSPC_ExtTag::MaxData) : Record.Length;
        B.push_back(Record.ID);
        B.push_back(Record.TagType);
        B.push_back(static_cast<uint8_t>(Length));
        B.push_back(static_cast<uint8_t>(Length >> 8));
        if (ExtTagDataBytes(Record) > 0) {
            B.insert(B.end(), Record.Data.begin(), Record.Data.begin() + Length);
            B.insert(B.end(), PadTo4(Length), uint8_t{0});
        }
    }
    Chunk.ChunkSize = static_cast<uint32_t>(B.size());
    Chunk.WriteTo(Out);
}
