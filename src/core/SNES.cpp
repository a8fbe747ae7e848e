#include "core/SNES.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>

#include "cart/SNESCart.h"
#include "core/FileIO.h"
#include "core/Options.h"

std::string StateFileName, StateFileBase, StateFileDir, StateFileTitle, StateFileExt, StateSlot;
uint8_t StateFormat = FormatNone;
uint8_t StateKind = KindNone;

namespace {
std::array<tSavestateFormat*, 5> Formats{};

// Bytes per transfer unit and distinct B-bus registers, by transfer mode.
constexpr uint8_t UnitSizes[8] = {1, 2, 2, 4, 4, 4, 2, 4};
constexpr uint8_t RegCounts[8] = {1, 2, 1, 2, 4, 2, 1, 2};

bool AllDigits(std::string_view S)
{
    return !S.empty() && std::all_of(S.begin(), S.end(), [](char C) { return C >= '0' && C <= '9'; });
}

std::string Lower(std::string S)
{
    for (char& C : S)
        C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
    return S;
}

// ".zmv", ".zm1".."zm9", ".zst", ".zs1".."zs9" in any case.
bool IsZSNESExtension(const std::string& ExtWithDot)
{
    const std::string E = Lower(ExtWithDot);
    if (E == ".zmv" || E == ".zst")
        return true;
    return E.size() == 4 && (E.compare(0, 3, ".zm") == 0 || E.compare(0, 3, ".zs") == 0) && E[3] >= '1' &&
           E[3] <= '9';
}

bool Accepts(uint8_t Format, const std::string& FileName)
{
    tSavestateFormat* F = Formats[Format];
    return F && F->IsFormatFile(FileName);
}
}

tSNES& tSNES::operator=(const tSNES& Other)
{
    if (this == &Other)
        return *this;
    DSP = Other.DSP;
    APU_ExtraRAM = Other.APU_ExtraRAM;
    APU_RAM = Other.APU_RAM;
    SPC_Cycles = Other.SPC_Cycles;
    SPC_DirectPage = Other.SPC_DirectPage;
    SPC_PC = Other.SPC_PC;
    SPC_PSW = Other.SPC_PSW;
    SPC_SP = Other.SPC_SP;
    SPC_X = Other.SPC_X;
    SPC_Y = Other.SPC_Y;
    SPC_YA = Other.SPC_YA;
    CGRAM = Other.CGRAM;
    CPU_A = Other.CPU_A;
    CPU_VCounter = Other.CPU_VCounter;
    CPU_Cycles = Other.CPU_Cycles;
    CPU_ZTiming = Other.CPU_ZTiming;
    CPU_D = Other.CPU_D;
    CPU_DB = Other.CPU_DB;
    CPU_IRQActive = Other.CPU_IRQActive;
    CPU_NMIActive = Other.CPU_NMIActive;
    CPU_P = Other.CPU_P;
    CPU_PC = Other.CPU_PC;
    CPU_S = Other.CPU_S;
    CPU_X = Other.CPU_X;
    CPU_Y = Other.CPU_Y;
    DMA = Other.DMA;
    OAM = Other.OAM;
    OAM_Ptr = OAM.data();
    Regs = Other.Regs;
    VRAM = Other.VRAM;
    WRAM = Other.WRAM;
    return *this;
}

void tSNES::ClearSound()
{
    DSP.fill(0);
    APU_ExtraRAM.fill(0);
    APU_RAM.fill(0);
    SPC_Cycles = 0;
    SPC_DirectPage = 0;
    SPC_PC = 0;
    SPC_PSW = SPC_SP = SPC_X = SPC_Y = 0;
    SPC_YA = 0;
}

void tSNES::ClearCPU()
{
    CPU_A = CPU_VCounter = 0;
    CPU_Cycles = 0;
    CPU_ZTiming.fill(0);
    CPU_D = 0;
    CPU_DB = 0;
    CPU_IRQActive = CPU_NMIActive = 0;
    CPU_P = 0;
    CPU_PC = 0;
    CPU_S = CPU_X = CPU_Y = 0;
}

void tSNES::Clear()
{
    ClearSound();
    CGRAM.fill(0);
    ClearCPU();
    OAM.fill(0);
    Regs.fill(0);
    VRAM.fill(0);
    WRAM.fill(0);
}

void tSNES::DecodeDMA()
{
    const uint8_t MDMAEN = Regs[0x420B], HDMAEN = Regs[0x420C];
    for (int n = 0; n < 8; ++n) {
        const uint16_t Base = static_cast<uint16_t>(0x4300 + 16 * n);
        const uint8_t Control = Regs[Base];
        tDMAChannel& C = DMA[n];
        C.TableAddress = Reg16(Base + 8);
        C.TableAddress2 = C.TableAddress;
        C.ABank = Regs[Base + 4];
        C.BAddress = Regs[Base + 1];
        C.Direction = (Control >> 7) & 1;
        C.ByteCount = Reg16(Base + 5);
        C.IndirectAddress = C.ByteCount;
        C.Mode = Control & 7;
        C.UnitSize = UnitSizes[C.Mode];
        C.RegCount = RegCounts[C.Mode];
        C.DMAEnabled = (MDMAEN >> n) & 1;
        C.HDMAEnabled = (HDMAEN >> n) & 1;
        C.LineCounter = Regs[Base + 10];
        C.Indirect = (Control >> 6) & 1;
        C.IndirectBank = Regs[Base + 7];
        C.AAddress = Reg16(Base + 2);
        C.AAddress2 = C.AAddress;
        C.Decrement = (Control >> 4) & 1;
        C.Fixed = (Control >> 3) & 1;
    }
}

void tSNES::InvertPalette()
{
    for (uint16_t& C : CGRAM)
        C ^= 0x7FFF;
}

void tSNES::LoadDefaultPalette()
{
    // Red grows down the rows, green across the columns, blue falls with the rows.
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c)
            CGRAM[16 * r + c] = static_cast<uint16_t>(((15 - r) << 11) + (c << 6) + 2 * r);
}

namespace {
// A bank's window starts at Base in the ROM. A ROM that ends inside the window
// (a 32 KiB HiROM, an image an IPS patch grew by an odd amount) is mirrored
// in the largest power-of-two part that is there, as the cartridge's address
// lines would mirror it, so that Ptr[Address & (Size - 1)] never leaves the
// image.
void FitROMWindow(uint32_t Base, uint32_t ROMSize, uint16_t& Address, uint32_t& Size)
{
    while (Size > 1 && Size > ROMSize - Base)
        Size >>= 1;
    Address = static_cast<uint16_t>(Address & (Size - 1));
}
}

bool tSNES::MapAddress(uint8_t Bank, uint16_t& Address, uint32_t& Size, const uint8_t*& Ptr) const
{
    Size = 65536;
    const uint8_t* ROM = Cart ? Cart->ROMData() : nullptr;
    const uint32_t ROMSize = Cart ? Cart->ROMSize() : 0;
    if (Bank == 0x7E) {
        Ptr = WRAM.data();
        return true;
    }
    if (Bank == 0x7F) {
        Ptr = WRAM.data() + 65536;
        return true;
    }
    if ((Bank & 0x40) == 0) {
        if (Address < 0x2000) {
            Ptr = WRAM.data();
            return true;
        }
        if (Address >= 0x4000 && Address < 0x4400) {
            Ptr = Regs.data();
            Size = 32768;
            return true;
        }
        if (Address >= 0x8000 && ROM && ROMSize > 0) {
            Address = static_cast<uint16_t>(Address - 0x8000);
            Size = 32768;
            const uint32_t Base = static_cast<uint32_t>((Bank & 0x7Fu) * 32768u % ROMSize);
            FitROMWindow(Base, ROMSize, Address, Size);
            Ptr = ROM + Base;
            return true;
        }
        return false;
    }
    if (!ROM || ROMSize == 0)
        return false;
    uint32_t Offset = static_cast<uint32_t>(Bank & 0x3F) * 65536;
    if (!Cart->HiROM)
        Offset += 0x200000;
    FitROMWindow(Offset % ROMSize, ROMSize, Address, Size);
    Ptr = ROM + Offset % ROMSize;
    return true;
}

void tSNES::Notify(const void*, tNote Msg)
{
    if (Msg == Note::NewSNES)
        DecodeDMA();
    else if (Msg == Note::Startup)
        LoadDefaultPalette();
}

void RegisterSavestateFormat(uint8_t Format, tSavestateFormat* Handler)
{
    if (Format >= FormatZST && Format <= FormatSSL)
        Formats[Format] = Handler;
}

tSavestateFormat* SavestateFormat(uint8_t Format) { return Format < Formats.size() ? Formats[Format] : nullptr; }

uint8_t DetectFormat(const std::string& FileName)
{
    const std::string Ext = std::filesystem::path(FileName).extension().string();
    if (IsZSNESExtension(Ext)) {
        if (!Options().CBox_OptionsCheckZST)
            return FormatZST;
        return Accepts(FormatZST, FileName) ? FormatZST : FormatNone;
    }
    if (Ext.size() != 4)
        return FormatNone;
    if (AllDigits(Ext.substr(1)) && Accepts(FormatS9X, FileName))
        return FormatS9X;
    if ((Ext[1] == 'S' || Ext[1] == 's') && AllDigits(Ext.substr(2)) && Accepts(FormatSSL, FileName))
        return FormatSSL;
    if ((Ext[1] == 'S' || Ext[1] == 's') && (Ext[2] == 'V' || Ext[2] == 'v') && AllDigits(Ext.substr(3)) &&
        Accepts(FormatSGT, FileName))
        return FormatSGT;
    return FormatNone;
}

std::string UndetectedReason(const std::string& FileName)
{
    std::vector<uint8_t> Head;
    std::string Error;
    if (!ReadFileHead(FileName, 1, Head, Error))
        return "cannot read the file: " + Error;
    const std::string Not = "not a savestate this program reads: ";
    std::error_code Ec;
    const uint64_t Size = std::filesystem::file_size(FileName, Ec);
    if (Head.empty())
        return Not + "the file is empty";
    if (!Ec && Size > MaxInputFileSize)
        return Not + "the file is too large (" + std::to_string(Size) + " bytes, at most " +
               std::to_string(MaxInputFileSize) + ")";
    const std::string Ext = std::filesystem::path(FileName).extension().string();
    const char* Kind = nullptr;
    if (IsZSNESExtension(Ext))
        Kind = "ZSNES savestate or movie";
    else if (Ext.size() == 4 && AllDigits(Ext.substr(1)))
        Kind = "Snes9x savestate";
    else if (Ext.size() == 4 && (Ext[1] == 'S' || Ext[1] == 's') && AllDigits(Ext.substr(2)))
        Kind = "Super Sleuth savestate";
    else if (Ext.size() == 4 && Lower(Ext.substr(1, 2)) == "sv" && AllDigits(Ext.substr(3)))
        Kind = "SNESGT savestate";
    if (!Kind)
        return Not + "no savestate format uses the extension \"" + Ext + "\"";
    return Not + "the content is not a " + Kind;
}

bool LoadSavestate(const std::string& FileName)
{
    if (FileName.empty())
        return false;
    SNES->Clear();

    const std::filesystem::path P(FileName);
    StateFileName = FileName;
    StateFileExt = P.has_extension() ? Lower(P.extension().string().substr(1)) : std::string();
    StateFileBase = P.has_extension() ? FileName.substr(0, FileName.size() - P.extension().string().size()) : FileName;
    StateFileDir = P.has_parent_path() ? P.parent_path().string() + "/" : std::string();
    StateFileTitle = P.stem().string();
    StateSlot = StateFileExt;
    StateFormat = DetectFormat(FileName);

    const std::string& E = StateFileExt;
    switch (StateFormat) {
    case FormatZST:
        // .zst and .zmv are slot 0, .zs5 is slot 5.
        StateSlot = std::string(1, (E[2] == 't' || E[2] == 'v') ? '0' : E[2]);
        StateKind = E[1] == 'm' ? KindMovie : (E[1] == 's' ? KindSavestate : KindNone);
        break;
    case FormatS9X:
        StateSlot = std::to_string(std::stoi(E));
        StateKind = KindSavestate;
        break;
    case FormatSGT:
        StateSlot = std::string(1, E[2]);
        StateKind = KindSavestate;
        break;
    case FormatSSL:
        StateSlot = std::to_string(std::stoi(E.substr(1, 2)));
        StateKind = KindSavestate;
        break;
    default:
        break;
    }

    tSavestateFormat* Reader = StateFormat != FormatNone ? Formats[StateFormat] : nullptr;
    bool Ok = Reader && Reader->LoadFromFile(FileName);
    // Receivers recognise their own broadcasts by their object's address.
    const void* Sender = Reader ? dynamic_cast<const void*>(Reader) : nullptr;
    Broadcast(Sender, Note::NewSavestate);
    Broadcast(Sender, Note::NewSNES);
    return Ok;
}
