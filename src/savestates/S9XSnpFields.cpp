#include "savestates/S9XSnpFields.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "savestates/S9XSnp.h"

namespace
{
constexpr tS9XSnpField Table[] = {
#include "savestates/S9XSnpFieldTable.inc"
};

// The table's runs of rows of one block: the table keeps each block's rows
// together, so a stream's blocks are matched against a score of names, not
// against two thousand rows each.
struct tBlockRows {
    std::string_view Name;
    std::span<const tS9XSnpField> Rows;
};

std::span<const tBlockRows> BlockRows()
{
    static const std::vector<tBlockRows> Groups = [] {
        std::vector<tBlockRows> G;
        for (size_t First = 0, Last = 0; First < std::size(Table); First = Last) {
            const std::string_view Name = Table[First].Block;
            for (Last = First + 1; Last < std::size(Table) && Name == Table[Last].Block;)
                ++Last;
            G.push_back({Name, std::span(Table).subspan(First, Last - First)});
        }
        return G;
    }();
    return Groups;
}

} // namespace

std::span<const tS9XSnpField> S9XSnpFieldTable()
{
    return Table;
}

int32_t S9XSnpFieldOffset(const tS9XSnpField& F, unsigned Version)
{
    if (Version < F.Since || (F.Until && Version > F.Until))
        return -1;
    if (Version >= 11 && F.Offset >= 0)
        return F.Offset;
    return Version >= 7 ? F.OffsetV7 : F.OffsetV6;
}

std::vector<tS9XSnpPlace> S9XSnpPlaces(unsigned Version, std::span<const std::pair<std::string, uint32_t>> Blocks,
                                       size_t StreamSize)
{
    std::vector<tS9XSnpPlace> Places;
    uint32_t Copy = 0;
    uint64_t Start = S9XSnp::HeaderSize;
    for (const auto& [Name, Length] : Blocks) {
        const uint64_t Data = Start + S9XSnp::BlockHeaderSize;
        const uint64_t End = std::min<uint64_t>(Data + Length, StreamSize);
        Start = Data + Length;
        for (const tBlockRows& G : BlockRows()) {
            if (G.Name != Name)
                continue;
            for (const tS9XSnpField& F : G.Rows) {
                const int32_t Offset = S9XSnpFieldOffset(F, Version);
                if (Offset < 0)
                    continue;
                const uint32_t Count = F.Count <= S9XSnpListedElements ? F.Count : 1;
                for (uint32_t I = 0; I < Count; ++I) {
                    const uint64_t At = Data + static_cast<uint64_t>(Offset) + uint64_t{I} * F.Width;
                    if (At + F.Width > End)
                        break;
                    Places.push_back({&F, I, static_cast<uint32_t>(At), Copy});
                    Copy += F.Width;
                }
            }
        }
    }
    return Places;
}

std::vector<uint8_t> S9XSnpFieldValues(std::span<const uint8_t> Stream, std::span<const tS9XSnpPlace> Places)
{
    std::vector<uint8_t> Values;
    Values.reserve(Places.empty() ? 0 : Places.back().Copy + Places.back().Field->Width);
    for (const tS9XSnpPlace& P : Places) {
        // S9XSnpPlaces keeps every element inside the stream.
        const auto From = Stream.begin() + P.At;
        if (P.Field->Order == 'B')
            Values.insert(Values.end(), std::make_reverse_iterator(From + P.Field->Width),
                          std::make_reverse_iterator(From));
        else
            Values.insert(Values.end(), From, From + P.Field->Width);
    }
    return Values;
}
