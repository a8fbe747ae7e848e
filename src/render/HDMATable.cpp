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
    uint8_t Bank() const { return Bank_; }
    uint16_t Bus() const { return Bus_; }

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

tHDMAWalk WalkHDMA(const tSNES& S, const tROMView& ROM, int Channel,
                   const std::function<void(const tHDMAByte&)>& Transfer, const std::function<void(int)>& Idle,
                   uint8_t* FailBank, uint16_t* FailAddress)
{
    const tDMAChannel& C = S.DMA[Channel & 7];
    tWindow Table;
    if (!Table.Map(S, ROM, C.ABank, C.AAddress2))
        return tHDMAWalk::TableNotMapped;
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
                if (FailBank)
                    *FailBank = C.IndirectBank;
                if (FailAddress)
                    *FailAddress = Address;
                return tHDMAWalk::IndirectNotMapped;
            }
        }
        tWindow& Src = C.Indirect ? Data : Table;
        const bool Repeat = Count > 0x80;
        const int Lines = Count == 0x80 ? 128 : Count & 0x7F;
        for (int i = 0; i < Lines && Line <= HDMALastLine; ++i, ++Line) {
            if (i > 0 && !Repeat) {
                Idle(Line);
                continue;
            }
            for (int k = 0; k < Unit; ++k) {
                tHDMAByte B;
                B.Line = Line;
                B.Index = k;
                B.Bank = Src.Bank();
                B.Address = Src.Bus();
                B.Value = Src.Next();
                // The B bus is eight bits wide: register numbers wrap within $21xx.
                B.Reg = static_cast<uint8_t>(C.BAddress + BPattern[Mode][k]);
                Transfer(B);
            }
        }
    }
    return tHDMAWalk::Done;
}

tHDMAListing HDMALines(const tSNES& S, const tROMView& ROM, int Channel, bool ShowActive, bool ShowInactive)
{
    tHDMAListing Out;
    const tDMAChannel& C = S.DMA[Channel & 7];
    if (C.HDMAEnabled ? !ShowActive : !ShowInactive)
        return Out;
    uint8_t FailBank = 0;
    uint16_t FailAddress = 0;
    const tHDMAWalk Result = WalkHDMA(
        S, ROM, Channel,
        [&](const tHDMAByte& B) {
            tHDMARow R;
            if (B.Index == 0)
                R.Line = std::to_string(B.Line);
            R.Source = BankAddress(B.Bank, B.Address);
            R.Dest = Hex(0x2100 + B.Reg, 4, "h");
            R.Bin = Binary(B.Value);
            R.Hex = Hex(B.Value, 2);
            R.Dec = std::to_string(B.Value);
            Out.Rows.push_back(std::move(R));
        },
        [&](int Line) {
            Out.Rows.push_back({std::to_string(Line), "", "", "", "", "", ""});
        },
        &FailBank, &FailAddress);
    if (Result == tHDMAWalk::TableNotMapped) {
        Out.Message = HDMATableNotMapped;
    } else if (Result == tHDMAWalk::IndirectNotMapped) {
        Out.Rows.clear();
        Out.Message = HDMAIndirectNotMappedPrefix + BankAddress(FailBank, FailAddress) + ")";
    }
    return Out;
}
