#include "render/HDMATable.h"

#include <cstdio>

const char* const HDMATableNotMapped =
    "HDMA bank not accessible - unsupported address range or ROM not loaded. (HDMA table)";
const char* const HDMAIndirectNotMappedPrefix =
    "HDMA bank not accessible - unsupported address range or ROM not loaded. (indirect data at ";

namespace
{
// B-bus register offsets of unit bytes 0..3, by transfer mode.
constexpr uint8_t BPattern[8][4] = {{0, 0, 0, 0}, {0, 1, 0, 1}, {0, 0, 0, 0}, {0, 0, 1, 1},
                                    {0, 1, 2, 3}, {0, 1, 0, 1}, {0, 0, 0, 0}, {0, 0, 1, 1}};

std::string BankAddress(uint8_t Bank, uint16_t Address)
{
    char B[16];
    std::snprintf(B, sizeof B, "%02X:%04X", Bank, Address);
    return B;
}

// A readable window from MapAddress, walked byte by byte. The address shown
// is the bus address, which wraps within its bank; the window offset wraps
// within the window.
class tWindow
{
  public:
    bool Map(const tSNES& S, const tROMView& ROM, uint8_t Bank, uint16_t Address)
    {
        Bank_ = Bank;
        Bus_ = Address;
        Offset_ = Address;
        return S.MapAddress(ROM, Bank, Offset_, Size_, Ptr_);
    }
    uint8_t Next()
    {
        const uint8_t V = Ptr_[Offset_];
        Offset_ = static_cast<uint16_t>((Offset_ + 1) & (Size_ - 1));
        Bus_ = static_cast<uint16_t>(Bus_ + 1);
        return V;
    }
    std::string Where() const { return BankAddress(Bank_, Bus_); }

  private:
    uint8_t Bank_ = 0;
    uint16_t Bus_ = 0, Offset_ = 0;
    uint32_t Size_ = 0;
    const uint8_t* Ptr_ = nullptr;
};

std::string Hex(unsigned V, int Digits, const char* Suffix = "")
{
    char B[16];
    std::snprintf(B, sizeof B, "%0*X%s", Digits, V, Suffix);
    return B;
}

std::string Binary(uint8_t V)
{
    std::string S(8, '0');
    for (int i = 0; i < 8; ++i)
        if (V >> (7 - i) & 1)
            S[i] = '1';
    return S;
}
} // namespace

std::string HDMATabCaption(const tSNES& S, int Channel)
{
    const bool On = S.DMA[Channel & 7].HDMAEnabled;
    return std::string(On ? "CHN &" : "chn &") + static_cast<char>('0' + (Channel & 7));
}

std::vector<tNameValue> HDMAChannelInfo(const tSNES& S, int Channel, bool Spaces)
{
    const tDMAChannel& C = S.DMA[Channel & 7];
    std::vector<tNameValue> L;
    L.push_back({"HDMA enabled", C.HDMAEnabled ? "yes" : (Spaces ? "" : "no")});
    L.push_back({"direction", C.Direction ? "B to A" : "A to B"});
    L.push_back({"table address", BankAddress(C.ABank, C.AAddress2)});
    L.push_back({"addressing", C.Indirect ? "indirect" : "direct"});
    L.push_back({"indirect bank", Hex(C.IndirectBank, 2, "h")});
    if (C.Direction)
        L.push_back({"destination", Hex(C.AAddress2, 4, "h")});
    else
        L.push_back({"destination", Hex(0x2100 + C.BAddress, 4, "h")});
    return L;
}

tHDMAListing HDMALines(const tSNES& S, const tROMView& ROM, int Channel, bool ShowActive, bool ShowInactive)
{
    tHDMAListing Out;
    const tDMAChannel& C = S.DMA[Channel & 7];
    if (C.HDMAEnabled ? !ShowActive : !ShowInactive)
        return Out;
    tWindow Table;
    if (!Table.Map(S, ROM, C.ABank, C.AAddress2)) {
        Out.Message = HDMATableNotMapped;
        return Out;
    }
    tWindow Data;
    const uint8_t Mode = C.Mode & 7;
    // UnitSize comes from the mode table (1, 2 or 4); never more than 4.
    const int Unit = C.UnitSize >= 1 && C.UnitSize <= 4 ? C.UnitSize : 1;
    int Line = 0;
    while (Line <= HDMALastLine) {
        const uint8_t Count = Table.Next();
        if (Count == 0)
            break;
        if (C.Indirect) {
            const uint8_t Lo = Table.Next();
            const uint16_t Address = static_cast<uint16_t>(Lo | Table.Next() << 8);
            if (!Data.Map(S, ROM, C.IndirectBank, Address)) {
                Out.Rows.clear();
                Out.Message = HDMAIndirectNotMappedPrefix + BankAddress(C.IndirectBank, Address) + ")";
                return Out;
            }
        }
        tWindow& Src = C.Indirect ? Data : Table;
        const bool Repeat = Count > 0x80;
        const int Lines = Count == 0x80 ? 128 : Count & 0x7F;
        for (int i = 0; i < Lines && Line <= HDMALastLine; ++i, ++Line) {
            if (i > 0 && !Repeat) {
                Out.Rows.push_back({std::to_string(Line), "", "", "", "", "", ""});
                continue;
            }
            for (int k = 0; k < Unit; ++k) {
                tHDMARow R;
                if (k == 0)
                    R.Line = std::to_string(Line);
                R.Source = Src.Where();
                const uint8_t V = Src.Next();
                // The B bus is eight bits wide: register numbers wrap within $21xx.
                R.Dest = Hex(0x2100 + static_cast<uint8_t>(C.BAddress + BPattern[Mode][k]), 4, "h");
                R.Bin = Binary(V);
                R.Hex = Hex(V, 2);
                R.Dec = std::to_string(V);
                Out.Rows.push_back(std::move(R));
            }
        }
    }
    return Out;
}
