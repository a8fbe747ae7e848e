#include "savestates/SSL.h"
#include "savestates/Chunks.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>

#include "cart/SNESCart.h"
#include "core/Broadcast.h"
#include "core/ByteReader.h"
#include "core/FileIO.h"
#include "core/LittleEndian.h"
#include "core/Routines.h"
#include "core/StateChanges.h"

namespace
{

// The chunks a Super Sleuth state must hold besides "BPS2".
constexpr std::array<tChunkID, 8> RequiredIDs = {ChunkID("SAPU"), ChunkID("SCPU"), ChunkID("SDMA"), ChunkID("SDSP"),
                                                 ChunkID("SPPU"), ChunkID("VRAM"), ChunkID("WRAM"), ChunkID("SRST")};

void WriteChunk(std::vector<uint8_t>& Out, const char (&Id)[5], std::span<const uint8_t> Data)
{
    Out.insert(Out.end(), Id, Id + 4);
    AppendLE<4>(Out, static_cast<uint32_t>(Data.size()));
    Out.insert(Out.end(), Data.begin(), Data.end());
}

} // namespace

uint32_t CurrentDosDateTime()
{
    const std::time_t Now = std::time(nullptr);
    std::tm T{};
    localtime_r(&Now, &T);
    // DOS dates count years from 1980 and times in two-second steps.
    const uint32_t Date = static_cast<uint32_t>(std::max(T.tm_year - 80, 0)) << 9 |
                          static_cast<uint32_t>(T.tm_mon + 1) << 5 | static_cast<uint32_t>(T.tm_mday);
    const uint32_t Time = static_cast<uint32_t>(T.tm_hour) << 11 | static_cast<uint32_t>(T.tm_min) << 5 |
                          static_cast<uint32_t>(T.tm_sec / 2);
    return Date << 16 | Time;
}

namespace
{
// Checks the chunks of a state of Size bytes, Read(At, H) reading the 8-byte
// header at offset At; Why says what is wrong. The walk ends at the end of
// the data, at a chunk that runs past it, or after MaxCount chunks.
template <class tRead> bool CheckChunks(uint64_t Size, const tRead& Read, int MaxCount, std::string* Why)
{
    auto Fail = [Why](std::string Reason) {
        if (Why)
            *Why = std::move(Reason);
        return false;
    };
    if (Size < MinSSLFileSize)
        return Fail("too short (" + std::to_string(Size) + " bytes, a state holds at least " +
                    std::to_string(MinSSLFileSize) + ")");
    tChunkID Id{};
    uint32_t Length = 0;
    const auto Header = [&](uint64_t At) {
        uint8_t H[8];
        if (Size - At < 8 || !Read(At, H))
            return false;
        std::copy_n(H, 4, Id.begin());
        Length = ReadLE<4>(&H[4]);
        return true;
    };
    if (!Header(0) || Id != ChunkID("BPS2") || Length < SSLSize::BPS2)
        return Fail("no \"BPS2\" header chunk at the start");
    std::array<bool, RequiredIDs.size()> Seen{};
    uint64_t At = 0;
    for (int Count = 0; Count < MaxCount && Size - At - 8 >= Length; ++Count) {
        At += 8 + static_cast<uint64_t>(Length);
        if (!Header(At))
            break;
        auto It = std::find(RequiredIDs.begin(), RequiredIDs.end(), Id);
        if (It != RequiredIDs.end())
            Seen[It - RequiredIDs.begin()] = true;
    }
    for (size_t i = 0; i < RequiredIDs.size(); ++i)
        if (!Seen[i])
            return Fail("the " + ChunkIDText(RequiredIDs[i]) + " chunk is missing");
    return true;
}
} // namespace

bool tSSL::IsSSLFile(const std::string& FileName)
{
    // ReadFileHead takes regular files only, so the stream below cannot
    // block on a pipe.
    std::vector<uint8_t> Head;
    tError Error;
    if (!ReadFileHead(FileName, 8, Head, Error) || Head.size() < 8)
        return false;
    std::error_code Ec;
    const uint64_t Size = std::filesystem::file_size(FileName, Ec);
    if (Ec || Size > MaxInputFileSize)
        return false;
    // Every header is a seek and a read: a file of many tiny chunks is
    // given up after MaxChunks of them.
    std::ifstream In(FileName, std::ios::binary);
    const auto Read = [&In](uint64_t At, uint8_t* H) {
        return static_cast<bool>(In.seekg(static_cast<std::streamoff>(At)) && In.read(reinterpret_cast<char*>(H), 8));
    };
    return CheckChunks(Size, Read, MaxChunks, nullptr);
}

bool tSSL::IsSSLData(std::span<const uint8_t> Data, std::string* Why)
{
    const auto Read = [Data](uint64_t At, uint8_t* H) {
        std::copy_n(Data.begin() + static_cast<std::ptrdiff_t>(At), 8, H);
        return true;
    };
    return CheckChunks(Data.size(), Read, std::numeric_limits<int>::max(), Why);
}

bool tSSL::ParseFile(const std::string& FileName, tSNES& S, tParsedFile& Out, tError& Error)
{
    return ParseChunkFile<tSSLImage>(FileName, S, Out, Error, ParseSSL);
}

void tSSL::Adopt(tSavestateImage& Image)
{
    static_cast<tSSLImage&>(*this) = std::move(static_cast<tSSLImage&>(Image));
    KeepStateChunks();
    Broadcast(this, Note::NewSSLPreview);
}

bool ParseSSL(std::span<const uint8_t> Data, tSNES& S, tSSLImage& Image, std::string& Error)
{
    std::string Why;
    if (!tSSL::IsSSLData(Data, &Why)) {
        Error = "not a Super Sleuth savestate: " + Why;
        return false;
    }
    Image.ClearChunks();
    tByteReader R(Data);
    const tChunkBuffer Buffers[] = {{ChunkID("BPS2"), Image.BPS2}, {ChunkID("SAPU"), Image.SAPU},
                                    {ChunkID("SCPU"), Image.SCPU}, {ChunkID("SDMA"), Image.SDMA},
                                    {ChunkID("SDSP"), Image.SDSP}, {ChunkID("SPPU"), Image.SPPU},
                                    {ChunkID("VRAM"), Image.VRAM}, {ChunkID("WRAM"), Image.WRAM}};
    const auto Other = [&](const tChunkID& Id, std::span<const uint8_t> Body) {
        if (Id == ChunkID("SAS1")) {
            Image.HasSAS1 = true;
            FillFromChunk(Image.SAS1, Body);
        } else if (Id == ChunkID("SBMP")) {
            // A damaged picture only costs the preview.
            ReadSBMP(Body, Image.PreviewBitmap);
        }
    };
    const bool Ok = ReadChunks(R, Buffers, Image.SRAMStream, Other, false, Error);
    Image.ChunksToMachine(S);
    return Ok;
}

void tSSL::SaveToStream(std::vector<uint8_t>& Out) const
{
    Out.reserve(Out.size() + MinSSLFileSize + SRAMStream.size() + PreviewBitmap.Pixels.size() + 64);
    WriteChunk(Out, "BPS2", BPS2);
    if (PreviewBitmap.Height != 0) {
        std::vector<uint8_t> Body;
        AppendSBMP(PreviewBitmap, Body);
        WriteChunk(Out, "SBMP", Body);
    }
    WriteChunk(Out, "SCPU", SCPU);
    WriteChunk(Out, "SDMA", SDMA);
    WriteChunk(Out, "WRAM", WRAM);
    WriteChunk(Out, "SPPU", SPPU);
    WriteChunk(Out, "VRAM", VRAM);
    WriteChunk(Out, "SAPU", SAPU);
    WriteChunk(Out, "SDSP", SDSP);
    if (!SRAMStream.empty())
        WriteChunk(Out, "SRAM", SRAMStream);
    if (HasSAS1)
        WriteChunk(Out, "SAS1", SAS1);
    WriteChunk(Out, "SRST", {});
}

bool tSSL::SaveToFile(const std::string& FileName, tError& Error) const
{
    std::vector<uint8_t> Out;
    SaveToStream(Out);
    return WriteFileAtomic(FileName, Out, Error);
}

std::optional<tSSL_Bitmap565> tSSL::LoadPreview(const std::string& FileName, uint32_t Width, uint32_t Height)
{
    const auto First = FileName.find_first_not_of(" \t");
    const auto Last = FileName.find_last_not_of(" \t");
    if (First == std::string::npos)
        return std::nullopt;
    std::vector<uint8_t> Data;
    tError Error;
    if (!ReadWholeFile(FileName.substr(First, Last - First + 1), Data, Error))
        return std::nullopt;
    return LoadPreview(Data, Width, Height);
}

std::optional<tSSL_Bitmap565> tSSL::LoadPreview(std::span<const uint8_t> Data, uint32_t Width, uint32_t Height)
{
    if (!IsSSLData(Data))
        return std::nullopt;
    tByteReader R(Data);
    tChunkID Id{};
    std::span<const uint8_t> Body;
    std::string Why;
    while (NextChunk(R, Id, Body, Why)) {
        if (Id != ChunkID("SBMP"))
            continue;
        tSSL_Bitmap24 Picture;
        if (!ReadSBMP(Body, Picture) || Picture.Height == 0)
            return std::nullopt;
        tSSL_Bitmap565 Scaled = ScaleTo565(Picture, Width, Height);
        if (Scaled.Height == 0)
            return std::nullopt;
        return Scaled;
    }
    return std::nullopt;
}

void tSSLImage::ClearChunks()
{
    HasSAS1 = false;
    PreviewBitmap = {};
    SRAMStream.clear();
    BPS2.fill(0);
    SAPU.fill(0);
    SCPU.fill(0);
    SDMA.fill(0);
    SDSP.fill(0);
    SPPU.fill(0);
    VRAM.fill(0);
    WRAM.fill(0);
    SAS1.fill(0);
}

void tSSL::Notify(const void* Sender, tNote Msg)
{
    const bool FromOther = Sender != static_cast<const void*>(this);
    if (Msg == Note::NewSNES && FromOther) {
        if (!SNES)
            return;
        MachineToChunks(*SNES, Cart, CurrentDosDateTime());
        KeepStateChunks();
        Broadcast(this, Note::NewSSL);
    } else if (Msg == Note::NewSSL && FromOther) {
        // An editor wrote into the chunks.
        CommitChunkEdits();
    } else if (Msg == Note::NewSavestate && FromOther) {
        // The chunks agree with the state again at the "new SNES" that follows.
        ClearChunks();
    } else if (Msg == Note::NewCart || Msg == Note::NewSRAM) {
        SRAMStream = Cart ? Cart->SRAM : std::vector<uint8_t>{};
        StateChunks.SRAMStream = SRAMStream;
    }
}

void tSSL::KeepStateChunks()
{
    StateChunks = static_cast<const tSSLImage&>(*this);
    // The picture is not read into the machine state.
    StateChunks.PreviewBitmap = {};
}

bool tSSL::CommitChunkEdits()
{
    if (!SNES)
        return false;
    // Both readings start from the state as it is, so what the chunks cannot
    // hold is the same in both and stays.
    auto Before = std::make_unique<tSNES>(*SNES), After = std::make_unique<tSNES>(*SNES);
    StateChunks.ChunksToMachine(*Before);
    ChunksToMachine(*After);
    const bool Changed = TakeChanges(*SNES, *Before, *After);
    const bool SRAMChanged = Cart && TakeChangedBytes(Cart->SRAM, StateChunks.SRAMStream, SRAMStream);
    KeepStateChunks();
    // The chunks are not made again from the state: they hold the edit
    // already, also where the state has no room for it.
    if (Changed)
        Broadcast(this, Note::NewSNES);
    if (SRAMChanged)
        Broadcast(this, Note::NewSRAM);
    return Changed;
}
