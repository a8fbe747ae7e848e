// The rows of the ZST, S9X and SSL tabs: one per field of the format's file
// image, in file order, arrays of registers element by element; memory blocks
// (RAM, VRAM, palette, OAM, DSP registers, ...) are left to the hex editor.
//
// ZSNES: every variable of the fixed image from offset $1B up to the start of
// its unused FutureExpand area, with the DMA register copy (dmadata) and the
// HDMA work records (hdmadata) kept whole as blocks, and the four bytes at
// 2614-2617 left out: ZSNES 1.42 keeps them in its tempdat scratch area (1.51
// puts its HDMA state there). That gives 477 fields.
// Snes9x: the packed fields of every block at their offsets inside the block
// (numbers held in machine order by the reader); repeated records (DMA
// channels, backgrounds, windows, sound voices) give one row per record for
// each field in turn. The sprite records are the sprite table decoded and are
// left out with it.
// Super Sleuth: the header, CPU, DMA, WRAM port, PPU and SPC700 chunks.
// A newer Snes9x's stream ("#!s9xsnp", versions 6-14): every field its
// version's blocks hold, from the generated field table, at its offset in the
// stream; the numbers in machine order as the reader left them. An edit goes
// back into the stream, and the machine state is read from it again
// (tS9X::CommitSnpEdits).

#include <string>

#include "app/RegisterTabs.h"
#include "core/SharedData.h"

namespace
{
// Count fields of one width, Stride bytes apart.
struct tImageFieldRun {
    const char* Block;
    uint32_t Offset;
    uint8_t Width;
    uint16_t Count;
    uint16_t Stride;
};

constexpr tImageFieldRun ZSTRuns[] = {
    {"", 27, 1, 2, 1},      {"", 29, 2, 1, 2},      {"", 31, 1, 6, 1},      {"", 37, 2, 3, 2},
    {"", 43, 1, 2, 1},      {"", 45, 2, 4, 2},      {"", 53, 1, 2, 1},      {"", 55, 2, 1, 2},
    {"", 57, 1, 2, 1},      {"", 59, 4, 1, 4},      {"", 63, 1, 1, 1},      {"", 64, 4, 2, 4},
    {"", 72, 1, 4, 1},      {"", 76, 2, 1, 2},      {"", 78, 1, 3, 1},      {"", 81, 4, 2, 4},
    {"", 89, 1, 3, 1},      {"", 92, 2, 1, 2},      {"", 94, 1, 1, 1},      {"", 95, 2, 3, 2},
    {"", 101, 1, 6, 1},     {"", 107, 2, 16, 2},    {"", 139, 1, 4, 1},     {"", 143, 2, 14, 2},
    {"", 171, 1, 2, 1},     {"", 173, 4, 1, 4},     {"", 177, 2, 1, 2},     {"", 179, 1, 1, 1},
    {"", 180, 2, 1, 2},     {"", 182, 1, 1, 1},     {"", 183, 2, 1, 2},     {"", 185, 1, 1, 1},
    {"", 186, 2, 5, 2},     {"", 196, 1, 18, 1},    {"", 214, 2, 6, 2},     {"", 226, 1, 2, 1},
    {"", 228, 4, 1, 4},     {"", 232, 1, 1, 1},     {"", 233, 4, 1, 4},     {"", 366, 1, 3, 1},
    {"", 521, 1, 15, 1},    {"", 2584, 1, 5, 1},    {"", 2589, 2, 1, 2},    {"", 2591, 1, 2, 1},
    {"", 2593, 2, 1, 2},    {"", 2595, 1, 4, 1},    {"", 2599, 2, 1, 2},    {"", 2601, 1, 8, 1},
    {"", 2609, 2, 1, 2},    {"", 2611, 1, 3, 1},    {"", 265251, 4, 9, 4},  {"", 265287, 1, 12, 1},
    {"", 265587, 4, 24, 4}, {"", 265683, 2, 8, 2},  {"", 265699, 1, 8, 1},  {"", 265707, 4, 42, 4},
    {"", 265875, 1, 72, 1}, {"", 265947, 4, 24, 4}, {"", 266043, 1, 16, 1}, {"", 266059, 4, 64, 4},
    {"", 266315, 1, 8, 1},  {"", 266323, 4, 8, 4},  {"", 266363, 4, 2, 4},  {"", 266371, 1, 8, 1},
};

constexpr tImageFieldRun S9XRuns[] = {
    {"CPU", 0, 4, 1, 4},     {"CPU", 4, 1, 5, 1},     {"CPU", 9, 4, 6, 4},     {"REG", 0, 1, 2, 1},
    {"REG", 2, 2, 7, 2},     {"PPU", 0, 1, 5, 1},     {"PPU", 5, 2, 5, 2},     {"PPU", 24, 2, 3, 11},
    {"PPU", 15, 2, 4, 11},   {"PPU", 17, 2, 4, 11},   {"PPU", 19, 1, 4, 11},   {"PPU", 20, 2, 4, 11},
    {"PPU", 22, 2, 4, 11},   {"PPU", 57, 1, 2, 513},  {"PPU", 1979, 1, 1, 1},  {"PPU", 1980, 2, 1, 2},
    {"PPU", 1982, 1, 1, 1},  {"PPU", 1983, 2, 5, 2},  {"PPU", 1993, 1, 3, 1},  {"PPU", 1996, 2, 6, 2},
    {"PPU", 2008, 1, 7, 1},  {"PPU", 2015, 2, 2, 2},  {"PPU", 2019, 4, 1, 4},  {"PPU", 2023, 1, 1, 1},
    {"PPU", 2024, 2, 1, 2},  {"PPU", 2026, 1, 1, 1},  {"PPU", 2027, 2, 1, 2},  {"PPU", 2029, 1, 3, 1},
    {"PPU", 2032, 2, 1, 2},  {"PPU", 2034, 1, 9, 1},  {"PPU", 2047, 1, 5, 5},  {"PPU", 2043, 1, 6, 5},
    {"PPU", 2044, 1, 6, 5},  {"PPU", 2045, 1, 6, 5},  {"PPU", 2046, 1, 6, 5},  {"PPU", 2072, 1, 6, 1},
    {"PPU", 2622, 1, 3, 1},  {"DMA", 0, 1, 8, 19},    {"DMA", 1, 1, 8, 19},    {"DMA", 2, 1, 8, 19},
    {"DMA", 3, 1, 8, 19},    {"DMA", 4, 1, 8, 19},    {"DMA", 5, 2, 8, 19},    {"DMA", 7, 2, 8, 19},
    {"DMA", 9, 1, 8, 19},    {"DMA", 10, 2, 8, 19},   {"DMA", 12, 1, 8, 19},   {"DMA", 13, 2, 8, 19},
    {"DMA", 15, 1, 8, 19},   {"DMA", 16, 1, 8, 19},   {"DMA", 17, 1, 8, 19},   {"DMA", 18, 1, 8, 19},
    {"APU", 0, 4, 1, 4},     {"APU", 4, 1, 7, 1},     {"APU", 203, 2, 6, 2},   {"APU", 215, 1, 6, 1},
    {"ARE", 0, 1, 1, 1},     {"ARE", 1, 2, 1, 2},     {"ARE", 3, 1, 2, 1},     {"ARE", 5, 2, 1, 2},
    {"SOU", 0, 2, 4, 2},     {"SOU", 8, 4, 11, 4},    {"SOU", 165, 4, 7, 117}, {"SOU", 52, 4, 8, 117},
    {"SOU", 56, 2, 8, 117},  {"SOU", 58, 2, 8, 117},  {"SOU", 60, 4, 8, 117},  {"SOU", 64, 4, 8, 117},
    {"SOU", 68, 1, 8, 117},  {"SOU", 69, 4, 8, 117},  {"SOU", 73, 2, 8, 117},  {"SOU", 75, 2, 8, 117},
    {"SOU", 77, 2, 8, 117},  {"SOU", 79, 4, 8, 117},  {"SOU", 83, 4, 8, 117},  {"SOU", 87, 4, 8, 117},
    {"SOU", 91, 4, 8, 117},  {"SOU", 95, 4, 8, 117},  {"SOU", 99, 4, 8, 117},  {"SOU", 103, 4, 8, 117},
    {"SOU", 107, 4, 8, 117}, {"SOU", 111, 2, 8, 117}, {"SOU", 113, 2, 8, 117}, {"SOU", 115, 2, 8, 117},
    {"SOU", 117, 2, 8, 117}, {"SOU", 119, 2, 8, 117}, {"SOU", 121, 2, 8, 117}, {"SOU", 123, 2, 8, 117},
    {"SOU", 125, 2, 8, 117}, {"SOU", 127, 2, 8, 117}, {"SOU", 129, 2, 8, 117}, {"SOU", 131, 2, 8, 117},
    {"SOU", 133, 2, 8, 117}, {"SOU", 135, 2, 8, 117}, {"SOU", 137, 2, 8, 117}, {"SOU", 139, 2, 8, 117},
    {"SOU", 141, 2, 8, 117}, {"SOU", 143, 2, 8, 117}, {"SOU", 145, 2, 8, 117}, {"SOU", 147, 2, 8, 117},
    {"SOU", 149, 2, 8, 117}, {"SOU", 151, 1, 8, 117}, {"SOU", 152, 1, 8, 117}, {"SOU", 153, 4, 8, 117},
    {"SOU", 157, 4, 8, 117}, {"SOU", 161, 4, 8, 117}, {"SA1", 0, 4, 1, 4},     {"SA1", 4, 1, 3, 1},
    {"SA1", 7, 2, 2, 2},     {"SA1", 11, 4, 1, 4},    {"SA1", 15, 8, 1, 8},    {"SA1", 23, 1, 1, 1},
    {"SAR", 0, 1, 2, 1},     {"SAR", 2, 2, 7, 2},     {"SP7", 0, 1, 48, 1},    {"SP7", 48, 4, 3, 4},
    {"RTC", 0, 1, 16, 1},    {"RTC", 16, 2, 1, 2},    {"RTC", 18, 1, 2, 1},    {"RTC", 20, 4, 1, 4},
};

constexpr tImageFieldRun SSLRuns[] = {
    {"BPS2", 0, 1, 2, 1},    {"BPS2", 162, 4, 1, 4},   {"SCPU", 0, 2, 6, 2},     {"SCPU", 12, 1, 2, 1},
    {"SCPU", 14, 2, 1, 2},   {"SCPU", 16, 1, 4, 1},    {"SCPU", 20, 2, 1, 2},    {"SCPU", 22, 1, 1, 1},
    {"SCPU", 23, 2, 2, 2},   {"SCPU", 27, 1, 7, 1},    {"SCPU", 34, 2, 6, 2},    {"SDMA", 0, 1, 2, 1},
    {"SDMA", 2, 2, 1, 2},    {"SDMA", 4, 1, 1, 1},     {"SDMA", 5, 2, 1, 2},     {"SDMA", 7, 1, 1, 1},
    {"SDMA", 8, 2, 1, 2},    {"SDMA", 10, 1, 2, 6},    {"SDMA", 17, 1, 1, 1},    {"SDMA", 18, 2, 1, 2},
    {"SDMA", 20, 1, 1, 1},   {"SDMA", 21, 2, 1, 2},    {"SDMA", 23, 1, 1, 1},    {"SDMA", 24, 2, 1, 2},
    {"SDMA", 26, 1, 2, 6},   {"SDMA", 33, 1, 1, 1},    {"SDMA", 34, 2, 1, 2},    {"SDMA", 36, 1, 1, 1},
    {"SDMA", 37, 2, 1, 2},   {"SDMA", 39, 1, 1, 1},    {"SDMA", 40, 2, 1, 2},    {"SDMA", 42, 1, 2, 6},
    {"SDMA", 49, 1, 1, 1},   {"SDMA", 50, 2, 1, 2},    {"SDMA", 52, 1, 1, 1},    {"SDMA", 53, 2, 1, 2},
    {"SDMA", 55, 1, 1, 1},   {"SDMA", 56, 2, 1, 2},    {"SDMA", 58, 1, 2, 6},    {"SDMA", 65, 1, 1, 1},
    {"SDMA", 66, 2, 1, 2},   {"SDMA", 68, 1, 1, 1},    {"SDMA", 69, 2, 1, 2},    {"SDMA", 71, 1, 1, 1},
    {"SDMA", 72, 2, 1, 2},   {"SDMA", 74, 1, 2, 6},    {"SDMA", 81, 1, 1, 1},    {"SDMA", 82, 2, 1, 2},
    {"SDMA", 84, 1, 1, 1},   {"SDMA", 85, 2, 1, 2},    {"SDMA", 87, 1, 1, 1},    {"SDMA", 88, 2, 1, 2},
    {"SDMA", 90, 1, 2, 6},   {"SDMA", 97, 1, 1, 1},    {"SDMA", 98, 2, 1, 2},    {"SDMA", 100, 1, 1, 1},
    {"SDMA", 101, 2, 1, 2},  {"SDMA", 103, 1, 1, 1},   {"SDMA", 104, 2, 1, 2},   {"SDMA", 106, 1, 2, 6},
    {"SDMA", 113, 1, 1, 1},  {"SDMA", 114, 2, 1, 2},   {"SDMA", 116, 1, 1, 1},   {"SDMA", 117, 2, 1, 2},
    {"SDMA", 119, 1, 1, 1},  {"SDMA", 120, 2, 1, 2},   {"SDMA", 122, 1, 1, 1},   {"WRAM", 0, 1, 3, 1},
    {"SPPU", 0, 1, 4, 1},    {"SPPU", 548, 1, 8, 1},   {"SPPU", 556, 2, 8, 2},   {"SPPU", 572, 1, 4, 1},
    {"SPPU", 576, 2, 6, 2},  {"SPPU", 588, 1, 2, 513}, {"SPPU", 1102, 1, 14, 1}, {"SPPU", 1116, 2, 1, 2},
    {"SPPU", 1118, 1, 4, 1}, {"SPPU", 1122, 2, 2, 2},  {"SPPU", 1126, 1, 2, 1},  {"SAPU", 0, 1, 4, 1},
    {"SAPU", 4, 2, 1, 2},    {"SAPU", 6, 1, 5, 1},
};

template <size_t N> std::vector<tImageField> Expand(const tImageFieldRun (&Runs)[N])
{
    std::vector<tImageField> Fields;
    for (const tImageFieldRun& R : Runs)
        for (uint32_t I = 0; I < R.Count; ++I)
            Fields.push_back({R.Block, R.Offset + I * R.Stride, R.Width});
    return Fields;
}

const std::vector<tImageField>& Fields(int Page)
{
    static const std::vector<tImageField> ZST = Expand(ZSTRuns);
    static const std::vector<tImageField> S9X = Expand(S9XRuns);
    static const std::vector<tImageField> SSL = Expand(SSLRuns);
    static const std::vector<tImageField> None;
    return Page == PageZST ? ZST : Page == PageS9X ? S9X : Page == PageSSL ? SSL : None;
}

std::string HexDigits(uint32_t V, int Count)
{
    std::string S(static_cast<size_t>(Count), '0');
    static const char Digits[] = "0123456789ABCDEF";
    for (int I = Count - 1; I >= 0; --I, V >>= 4)
        S[static_cast<size_t>(I)] = Digits[V & 15];
    return S;
}

std::string Hex6(uint32_t V)
{
    return HexDigits(V, 6);
}

// Longer arrays (colours, sprite table, sound RAM, ...) are for the hex editor.
bool Listed(const tS9XSnpPlace& P)
{
    return P.Field->Count <= S9XSnpListedElements;
}
} // namespace

std::span<const tImageField> ImageFields(int Page)
{
    return Fields(Page);
}

namespace
{
std::string S9XSnpHead(unsigned Version, bool Current)
{
    const std::string Head = "Snes9x savestate version " + std::to_string(Version) +
                             "; address = offset in the inflated stream, numbers in machine order";
    // Said first: the column shows the start of a long comment.
    return Current ? Head
                   : "Changed elsewhere since the file was read: the file's values, read only (load it again "
                     "to edit them). " +
                         Head;
}
} // namespace

void BuildS9XSnpTab(tRegisterTab& Tab, const tRegisterSources& Src)
{
    std::vector<tRegisterRow> Rows;
    Rows.reserve(Src.S9XSnpPlaces.size() + 1);
    tRegisterRow Head;
    Head.IsText = true;
    Head.Comment = S9XSnpHead(Src.S9XSnpVersion, true);
    Rows.push_back(std::move(Head));
    for (const tS9XSnpPlace& P : Src.S9XSnpPlaces) {
        const tS9XSnpField& F = *P.Field;
        const uint32_t InBlock = static_cast<uint32_t>(S9XSnpFieldOffset(F, Src.S9XSnpVersion)) + P.Element * F.Width;
        tRegisterRow R;
        R.Comment = std::string(F.Block) + " block +" + HexDigits(InBlock, 4);
        if (F.Order == 'B' && F.Width > 1)
            R.Comment += ", big-endian in the file";
        if (!Listed(P)) {
            if (P.Element != 0)
                continue;
            R.IsText = true;
            R.Comment = Hex6(P.At) + " " + F.Block + "." + F.Name + ": " + std::to_string(F.Count) + " x " +
                        std::to_string(F.Width) + " bytes (" + R.Comment + ")";
            Rows.push_back(std::move(R));
            continue;
        }
        const int Bits = F.Width * 8;
        R.Caption = Hex6(P.At);
        R.Type = F.Type;
        R.Bits = std::to_string(Bits);
        R.Name = std::string(F.Block) + "." + F.Name;
        if (F.Count > 1)
            R.Name += "[" + std::to_string(P.Element) + "]";
        R.Bin = std::string(static_cast<size_t>(Bits), '0');
        R.Hex = std::string(static_cast<size_t>(Bits / 4), '0');
        R.Dec = "0";
        R.Block.Bits = static_cast<uint8_t>(Bits);
        Rows.push_back(std::move(R));
    }
    Tab.Rows = std::move(Rows);
    Tab.Built = true;
    Tab.Filled = false;
    Tab.Rewind();
}

void FillImageTab(tRegisterTab& Tab, int Page, const tRegisterSources& Src, bool Busy)
{
    if (Page == PageS9X && Src.S9XSnpVersion) {
        // An edit would read the stream into the state again over the change.
        const bool Current = !Src.S9XSnpCurrent || Src.S9XSnpCurrent();
        if (!Tab.Rows.empty() && Tab.Rows.front().IsText)
            Tab.Rows.front().Comment = S9XSnpHead(Src.S9XSnpVersion, Current);
        for (const tS9XSnpPlace& P : Src.S9XSnpPlaces)
            if (Listed(P)) {
                const size_t Width = P.Field->Width;
                if (P.Copy + Width <= Src.S9XSnpValues.size())
                    Tab.ShowValue(Src.S9XSnpValues.data() + P.Copy, Width, 0, Busy);
                else
                    Tab.ShowMissing(Busy);
                if (tRegisterRow* Row = Tab.CurrentRow())
                    Row->ReadOnly = !Current;
            }
        return;
    }
    const tImageBlocks& Blocks = Page == PageZST ? Src.ZST : Page == PageS9X ? Src.S9X : Src.SSL;
    for (const tImageField& F : Fields(Page)) {
        const std::span<uint8_t> Data = Blocks ? Blocks(F.Block) : std::span<uint8_t>();
        // A block the file did not have (or a file cut short) keeps no value.
        if (F.Offset < Data.size())
            Tab.ShowValue(Data.data() + F.Offset, std::min<size_t>(F.Width, Data.size() - F.Offset), 0, Busy);
        else
            Tab.ShowMissing(Busy);
        // The ZSNES tab names each field by its offset in the file.
        if (Page == PageZST)
            if (tRegisterRow* Row = Tab.CurrentRow())
                Row->Caption = Hex6(F.Offset);
    }
}
