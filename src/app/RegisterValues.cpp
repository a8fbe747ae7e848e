// Which memory each row of the CPU, DMA, PPU and APU tabs shows, row by row
// in the order of "SNES.txt".

#include <algorithm>

#include "app/RegisterTabs.h"
#include "core/SNES.h"
#include "core/SavestateFormat.h"
#include "render/PPU.h"

namespace
{
class tRowFiller
{
  public:
    tRowFiller(tRegisterTab& Target, const tRegisterSources& Src, bool Editing)
        : Tab(Target), S(*Src.SNES), P(*Src.PPU), Format(Src.StateFormat), Busy(Editing)
    {
    }

    // A register of the I/O image; 16- and 24-bit rows read the registers
    // that follow.
    void Reg(uint16_t Address, int Shift = 0)
    {
        const size_t A = Address & 0x7FFF;
        Tab.ShowValue(&S.Regs[A], S.Regs.size() - A, Shift, Busy);
    }
    void RegUnless(bool NotKept, uint16_t Address, int Shift = 0)
    {
        if (NotKept)
            Missing();
        else
            Reg(Address, Shift);
    }
    template <class T> void Field(T& F, int Shift = 0)
    {
        Tab.ShowValue(reinterpret_cast<uint8_t*>(&F), sizeof(F), Shift, Busy);
    }
    // A byte or word of a memory array and the rest of the array after it.
    template <class T, size_t N> void Element(std::array<T, N>& A, size_t Index, int Shift = 0)
    {
        Tab.ShowValue(reinterpret_cast<uint8_t*>(A.data() + Index), (N - Index) * sizeof(T), Shift, Busy);
    }
    void Missing() { Tab.ShowMissing(Busy); }

    bool ZSNES() const { return Format == FormatZST; }
    bool Snes9x() const { return Format == FormatS9X; }

    tRegisterTab& Tab;
    tSNES& S;
    tPPU& P;
    uint8_t Format;
    bool Busy;
};

// The OAM byte the next $2104 write or $2138 read reaches: the OAM address
// register holds a word address; addresses past the low table's 512 bytes
// all reach the 32-byte high table.
size_t OAMByteIndex(const tSNES& S)
{
    const size_t Byte = (S.Reg16(0x2102) & 0x1FF) * 2u;
    return Byte < 512 ? Byte : 512 + (Byte & 31);
}

// VRAM holds 32K words; bit 15 of the word address reaches nothing.
size_t VRAMByteIndex(const tSNES& S)
{
    return (S.Reg16(0x2116) & 0x7FFFu) * 2u;
}

void FillCPU(tRowFiller& F)
{
    tSNES& S = F.S;
    F.Field(S.CPU_A);
    F.Field(S.CPU_A);
    F.Field(S.CPU_A, 8);
    F.Field(S.CPU_X);
    F.Field(S.CPU_Y);
    F.Field(S.CPU_P);
    F.Field(S.CPU_DB);
    F.Field(S.CPU_D);
    F.Field(S.CPU_S);
    F.Field(S.CPU_PC);
    F.Field(S.CPU_PC, 16);
    F.Field(S.CPU_PC);
    F.Field(S.CPU_DB, 16);
    for (int Flag = 0; Flag <= 8; ++Flag)
        F.Field(S.CPU_P, Flag);
    F.Field(S.CPU_P, 12);

    F.Field(S.CPU_IRQActive);
    F.Field(S.CPU_NMIActive);
    F.Element(S.CPU_ZTiming, 1);
    F.Element(S.CPU_ZTiming, 2);
    F.Element(S.CPU_ZTiming, 0);

    // ZSNES keeps neither the multiplier, the divisor, the DMA starts nor the
    // auto-read controller registers.
    const bool Z = F.ZSNES();
    F.Reg(0x4016);
    F.Reg(0x4017);
    F.Reg(0x4200);
    F.Reg(0x4201);
    F.Reg(0x4202);
    F.RegUnless(Z, 0x4203);
    F.Reg(0x4204);
    F.Reg(0x4204);
    F.Reg(0x4205);
    F.RegUnless(Z, 0x4206);
    F.Reg(0x4207);
    F.Reg(0x4207);
    F.Reg(0x4208);
    F.Reg(0x4209);
    F.Reg(0x4209);
    F.Reg(0x420A);
    F.RegUnless(Z, 0x420B);
    F.Reg(0x420C);
    F.Reg(0x420D);
    F.Reg(0x4210);
    F.Reg(0x4211);
    F.Reg(0x4212);
    F.Reg(0x4213);
    F.Reg(0x4214);
    F.Reg(0x4214);
    F.Reg(0x4215);
    F.Reg(0x4216);
    F.Reg(0x4216);
    F.Reg(0x4217);
    for (uint16_t A = 0x4218; A <= 0x421F; ++A)
        F.RegUnless(Z, A);
}

void FillDMA(tRowFiller& F)
{
    F.RegUnless(F.ZSNES(), 0x420B);
    F.Reg(0x420C);
    // 16-bit registers come as the whole register and then its low byte.
    static constexpr uint8_t Order[] = {0x0, 0x1, 0x2, 0x2, 0x3, 0x4, 0x5, 0x5, 0x6, 0x7, 0x8, 0x8, 0x9, 0xA};
    for (uint8_t R : Order)
        for (uint16_t Channel = 0; Channel < 8; ++Channel)
            F.Reg(static_cast<uint16_t>(0x4300 + Channel * 0x10 + R));
}

void ShowOAMByte(tRowFiller& F)
{
    F.Element(F.S.OAM, OAMByteIndex(F.S));
}

void ShowVRAMWord(tRowFiller& F)
{
    const size_t W = VRAMByteIndex(F.S);
    F.Element(F.S.VRAM, W);
    F.Element(F.S.VRAM, W);
    F.Element(F.S.VRAM, W, 8);
}

void ShowCGRAMEntry(tRowFiller& F)
{
    F.Element(F.S.CGRAM, F.S.Regs[0x2121]);
}

void FillPPU(tRowFiller& F)
{
    tSNES& S = F.S;
    F.Reg(0x2100);
    F.Reg(0x2101);
    F.Reg(0x2102);
    F.Reg(0x2102);
    F.Reg(0x2103);
    ShowOAMByte(F);

    for (uint16_t A = 0x2105; A <= 0x210C; ++A)
        F.Reg(A);
    // The scroll registers are written twice; the state keeps them apart.
    for (int n = 0; n < 4; ++n) {
        F.Field(S.BGHScroll[n]);
        F.Field(S.BGVScroll[n]);
    }

    F.RegUnless(F.Snes9x(), 0x2115);
    F.Reg(0x2116, -1);
    F.Reg(0x2116);
    F.Reg(0x2116);
    F.Reg(0x2117);
    ShowVRAMWord(F);

    F.Reg(0x211A);
    F.Field(S.M7.A);
    F.Field(S.M7.B);
    F.Field(S.M7.C);
    F.Field(S.M7.D);
    F.Field(S.M7.X);
    F.Field(S.M7.Y);

    F.Reg(0x2121, -1);
    F.Reg(0x2121);
    ShowCGRAMEntry(F);

    for (uint16_t A = 0x2123; A <= 0x2131; ++A)
        F.Reg(A);

    // The fixed colour as one 15-bit colour exists only for display.
    const uint16_t Colour =
        static_cast<uint16_t>((S.FixedColour[2] >> 3) | (S.FixedColour[1] >> 3) << 5 | (S.FixedColour[0] >> 3) << 10);
    F.Tab.Derived[0] = static_cast<uint8_t>(Colour);
    F.Tab.Derived[1] = static_cast<uint8_t>(Colour >> 8);
    F.Tab.ShowValue(F.Tab.Derived.data(), 2, 0, F.Busy);
    F.Element(S.FixedColour, 2, 3);
    F.Element(S.FixedColour, 1, 3);
    F.Element(S.FixedColour, 0, 3);

    F.Reg(0x2133);
    F.Reg(0x2134);
    F.Reg(0x2134);
    F.Reg(0x2135);
    F.Reg(0x2136);
    F.Missing(); // $2137 only latches the counters
    ShowOAMByte(F);
    ShowVRAMWord(F);
    ShowCGRAMEntry(F);
    F.Element(S.LatchPos, 0);
    F.Element(S.LatchPos, 1);
    for (uint16_t A = 0x213E; A <= 0x2143; ++A)
        F.Reg(A);

    F.Element(S.WRAM, (static_cast<size_t>(S.Regs[0x2181]) | S.Regs[0x2182] << 8 | S.Regs[0x2183] << 16) & 0x1FFFF);
    F.Reg(0x2181);
    F.Reg(0x2181);
    F.Reg(0x2182);
    F.Reg(0x2183);
}

void FillAPU(tRowFiller& F)
{
    tSNES& S = F.S;
    F.Field(S.SPC_YA);
    F.Field(S.SPC_YA);
    F.Field(S.SPC_X);
    F.Field(S.SPC_Y);
    F.Field(S.SPC_PSW);
    F.Field(S.SPC_PC);
    F.Field(S.SPC_PC);
    F.Field(S.SPC_PC, 8);
    F.Field(S.SPC_DirectPage);
    F.Field(S.SPC_SP);
    F.Field(S.SPC_PSW);
    for (int Flag : {1, 3, 5, 6, 7})
        F.Field(S.SPC_PSW, Flag);

    for (size_t A = 0xF1; A <= 0xF7; ++A)
        F.Element(S.APU_RAM, A);
    for (size_t A = 0xFA; A <= 0xFF; ++A)
        F.Element(S.APU_RAM, A);

    for (size_t R = 0x0C; R <= 0x7C; R += 0x10)
        F.Element(S.DSP, R);
    F.Element(S.DSP, 0x0D);
    for (size_t R = 0x2D; R <= 0x7D; R += 0x10)
        F.Element(S.DSP, R);
    for (size_t R = 0x0F; R <= 0x7F; R += 0x10)
        F.Element(S.DSP, R);

    // Voice registers $v0-$v9, the pitch as the 14-bit pair and its low byte.
    static constexpr uint8_t Order[] = {0, 1, 2, 2, 3, 4, 5, 6, 7, 8, 9};
    for (uint8_t R : Order)
        for (size_t Voice = 0; Voice < 8; ++Voice)
            F.Element(S.DSP, Voice * 16 + R);
}
} // namespace

void FillRegisterTab(tRegisterTab& Tab, int Page, const tRegisterSources& Src, bool Busy)
{
    Tab.Rewind();
    if (Page >= PageZST) {
        FillImageTab(Tab, Page, Src, Busy);
        return;
    }
    tRowFiller F(Tab, Src, Busy);
    switch (Page) {
    case PageCPU:
        FillCPU(F);
        break;
    case PageDMA:
        FillDMA(F);
        break;
    case PagePPU:
        FillPPU(F);
        break;
    case PageAPU:
        FillAPU(F);
        break;
    default:
        break;
    }
}
