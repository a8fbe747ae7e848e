#include "savestates/SGT.h"
#include "savestates/Chunks.h"

#include <algorithm>
#include <cstring>

#include "cart/SNESCart.h"
#include "core/Broadcast.h"
#include "core/ByteReader.h"
#include "core/FileIO.h"
#include "core/LittleEndian.h"
#include "core/Routines.h"
#include "sound/SPC.h"

namespace
{
constexpr char Magic[4] = {'G', 'T', 'S', 'F'};

// "CPUR" offsets of the registers the program uses.
namespace CPUR
{
constexpr size_t A = 0, X = 2, Y = 4, S = 8, PC = 11, DB = 15, PB = 19, P = 21;
}
} // namespace

bool tSGT::IsSGTData(std::span<const uint8_t> Data)
{
    return Data.size() >= sizeof Magic && std::memcmp(Data.data(), Magic, sizeof Magic) == 0;
}

bool tSGT::IsSGTFile(const std::string& FileName)
{
    std::vector<uint8_t> Head;
    tError Error;
    return ReadFileHead(FileName, sizeof Magic, Head, Error) && IsSGTData(Head);
}

bool tSGT::ParseFile(const std::string& FileName, tSNES& S, tParsedFile& Out, tError& Error)
{
    return ParseChunkFile<tSGTImage>(FileName, S, Out, Error, ParseSGT);
}

void tSGT::Adopt(tSavestateImage& Image)
{
    static_cast<tSGTImage&>(*this) = std::move(static_cast<tSGTImage&>(Image));
    TakeSound();
}

void tSGT::TakeSound()
{
    if (!Sound)
        return;
    if (SPC) {
        SPC->TakeFile(*Sound);
        Broadcast(nullptr, Note::NewSPC);
    }
    Sound.reset();
}

bool ParseSGT(std::span<const uint8_t> Data, tSNES& S, tSGTImage& Image, std::string& Error)
{
    if (!tSGT::IsSGTData(Data)) {
        Error = "not an SNESGT savestate (no \"GTSF\" signature)";
        return false;
    }
    Image.ClearChunks();
    Image.Sound.reset();
    tByteReader R(Data);
    R.Skip(8); // the signature and a u32 the program does not use
    const tChunkBuffer Buffers[] = {{ChunkID("WRAM"), Image.WRAM}, {ChunkID("VRAM"), Image.VRAM},
                                    {ChunkID("OAM "), Image.OAM},  {ChunkID("PAL "), Image.PAL},
                                    {ChunkID("SREG"), Image.SREG}, {ChunkID("INST"), Image.INST},
                                    {ChunkID("HDST"), Image.HDST}, {ChunkID("SPCP"), Image.SPCP},
                                    {ChunkID("CPUR"), Image.CPUR}, {ChunkID("PPUR"), Image.PPUR}};
    const auto Other = [&](const tChunkID& Id, std::span<const uint8_t> Body) {
        if (Id != ChunkID("SPCF"))
            return;
        // A damaged sound snapshot costs the sound only.
        tByteReader SoundIn(Body);
        tError SoundError;
        auto Sound = std::make_shared<tSPC>();
        if (Sound->ReadStream(SoundIn, SoundError)) {
            Sound->CopyToSNES(S);
            Image.Sound = std::move(Sound);
        } else {
            Error = "the sound snapshot in chunk \"SPCF\" is unusable: " + SoundError.Reason;
        }
    };
    const bool Ok = ReadChunks(R, Buffers, Image.SRAMStream, Other, true, Error);
    Image.ChunksToMachine(S);
    return Ok;
}

void tSGTImage::ChunksToMachine(tSNES& S) const
{
    for (size_t i = 0; i < S.CGRAM.size(); ++i)
        S.CGRAM[i] = ReadLE16(&PAL[2 * i]);
    std::copy(OAM.begin(), OAM.end(), S.OAM.begin());
    std::copy(VRAM.begin(), VRAM.end(), S.VRAM.begin());
    std::copy(WRAM.begin(), WRAM.end(), S.WRAM.begin());
    std::copy(PPUR.begin(), PPUR.end(), S.Regs.begin() + 0x2100);

    // The format has no direct page register, cycle counts or interrupt
    // flags; P has no emulation bit.
    S.ClearCPU();
    S.CPU_A = GetLE16<CPUR::A>(CPUR);
    S.CPU_X = GetLE16<CPUR::X>(CPUR);
    S.CPU_Y = GetLE16<CPUR::Y>(CPUR);
    S.CPU_S = GetLE16<CPUR::S>(CPUR);
    S.CPU_DB = static_cast<uint32_t>(CPUR[CPUR::DB]) << 16;
    S.CPU_P = CPUR[CPUR::P];
    S.CPU_PC = static_cast<uint32_t>(CPUR[CPUR::PB]) << 16 | GetLE16<CPUR::PC>(CPUR);
}

void tSGTImage::MachineToChunks(const tSNES& S)
{
    for (size_t i = 0; i < S.CGRAM.size(); ++i)
        WriteLE<2>(&PAL[2 * i], S.CGRAM[i]);
    std::copy(S.OAM.begin(), S.OAM.end(), OAM.begin());
    std::copy(S.VRAM.begin(), S.VRAM.end(), VRAM.begin());
    std::copy(S.WRAM.begin(), S.WRAM.end(), WRAM.begin());
    std::copy_n(S.Regs.begin() + 0x2100, PPUR.size(), PPUR.begin());
    SetLE<CPUR::A, 2>(CPUR, S.CPU_A);
    SetLE<CPUR::X, 2>(CPUR, S.CPU_X);
    SetLE<CPUR::Y, 2>(CPUR, S.CPU_Y);
    SetLE<CPUR::S, 2>(CPUR, S.CPU_S);
    SetLE<CPUR::PC, 2>(CPUR, S.CPU_PC);
    CPUR[CPUR::DB] = static_cast<uint8_t>(S.CPU_DB >> 16);
    CPUR[CPUR::PB] = static_cast<uint8_t>(S.CPU_PC >> 16);
    CPUR[CPUR::P] = static_cast<uint8_t>(S.CPU_P);
}

void tSGTImage::ClearChunks()
{
    SRAMStream.clear();
    PAL.fill(0);
    OAM.fill(0);
    VRAM.fill(0);
    WRAM.fill(0);
}

void tSGT::Notify(const void* Sender, tNote Msg)
{
    const bool FromOther = Sender != static_cast<const void*>(this);
    if (Msg == Note::NewSNES && FromOther) {
        if (!SNES)
            return;
        MachineToChunks(*SNES);
        Broadcast(this, Note::NewSGT);
    } else if (Msg == Note::NewSavestate && FromOther) {
        ClearChunks();
    } else if (Msg == Note::NewCart || Msg == Note::NewSRAM) {
        SRAMStream = Cart ? Cart->SRAM : std::vector<uint8_t>{};
    }
}
