#include "savestates/S9X.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "cart/SNESCart.h"
#include "core/ByteReader.h"
#include "core/FileIO.h"
#include "core/Gzip.h"
#include "core/Messages.h"
#include "render/PPU.h"

using namespace S9XLayout;

namespace
{
std::string Quoted(std::string_view Name)
{
    return "\"" + std::string(Name) + "\"";
}

bool IsDigit(uint8_t C)
{
    return C >= '0' && C <= '9';
}

// Telling a Snes9x state by its header means inflating it, and loading it
// right after would inflate the same bytes again. The last file that passed
// the test keeps its bytes and content; a load of exactly those bytes takes
// the content instead of inflating once more.
struct tInflatedFile {
    std::vector<uint8_t> Packed;
    std::vector<uint8_t> Content;
};

tInflatedFile& LastTested()
{
    static tInflatedFile File;
    return File;
}

bool GoodHeader(std::span<const uint8_t> H)
{
    return H.size() >= HeaderSize && !std::memcmp(H.data(), Magic, 8) && H[8] == ':' && IsDigit(H[9]) &&
           IsDigit(H[10]) && IsDigit(H[11]) && IsDigit(H[12]) && H[13] == '\n';
}

// Reads a block header with the given name without consuming it when it is
// something else, so that an absent optional block leaves the next one
// readable.
bool ReadBlockHeader(tByteReader& In, const char* Name, uint32_t& Length)
{
    Length = 0;
    if (In.Remaining() < BlockHeaderSize)
        return false;
    uint8_t H[BlockHeaderSize];
    const size_t At = In.Pos();
    In.Read(H, BlockHeaderSize);
    bool Ok = !std::memcmp(H, Name, 3) && H[3] == ':' && H[10] == ':';
    uint32_t Value = 0;
    for (int i = 4; i < 10 && Ok; ++i) {
        Ok = IsDigit(H[i]);
        Value = Value * 10 + (H[i] - '0');
    }
    if (!Ok) {
        In.Seek(At);
        return false;
    }
    Length = Value;
    return true;
}

// Reads a block of the program's size. A longer block (Snes9x writes its
// structures' in-memory lengths) has its excess skipped; a shorter one is
// taken as far as it goes, the rest zero, as Snes9x itself accepts it.
bool ReadBlockData(tByteReader& In, std::vector<uint8_t>& Buffer, uint32_t Length)
{
    const size_t Take = std::min<size_t>(Length, Buffer.size());
    std::fill(Buffer.begin(), Buffer.end(), 0);
    return In.Read(Buffer.data(), Take) && In.Skip(Length - Take);
}

void WriteBlock(std::vector<uint8_t>& Out, const char* Name, const uint8_t* Data, size_t Size)
{
    char Head[BlockHeaderSize + 1];
    std::snprintf(Head, sizeof Head, "%.3s:%06u:", Name, static_cast<unsigned>(Size));
    Out.insert(Out.end(), Head, Head + BlockHeaderSize);
    Out.insert(Out.end(), Data, Data + Size);
}
} // namespace

bool tS9X::IsS9XFile(const std::string& FileName)
{
    tInflatedFile& Last = LastTested();
    Last.Packed.clear();
    Last.Content.clear();
    std::vector<uint8_t> Data;
    std::string Error;
    if (!ReadWholeFile(FileName, Data, Error, MaxFileSize))
        return false;
    std::vector<uint8_t> Content = Data;
    if (!GunzipStream(Content, Error, MaxContentSize) || !GoodHeader(Content))
        return false;
    Last.Packed = std::move(Data);
    Last.Content = std::move(Content);
    return true;
}

bool tS9X::LoadFromFile(const std::string& FileName)
{
    std::vector<uint8_t> Data;
    std::string Error;
    if (!ReadWholeFile(FileName, Data, Error, MaxFileSize)) {
        ClearBlocks();
        Messages().Error("can't gzopen " + Quoted(FileName) + ": " + Error + ".");
        return false;
    }
    return LoadFromStream(Data, FileName);
}

bool tS9X::LoadFromStream(std::span<const uint8_t> Data, std::string_view Name)
{
    std::vector<uint8_t> Content;
    std::string Error;
    tInflatedFile& Last = LastTested();
    const bool Tested = !Last.Packed.empty() && Data.size() == Last.Packed.size() &&
                        std::equal(Data.begin(), Data.end(), Last.Packed.begin());
    if (Tested)
        Content = std::move(Last.Content);
    else
        Content.assign(Data.begin(), Data.end());
    Last.Packed.clear();
    Last.Content.clear();
    if (!Tested && !GunzipStream(Content, Error, MaxContentSize)) {
        ClearBlocks();
        Messages().Error("gzclose error: " + Quoted(Name) + ": " + Error + ".");
        return false;
    }
    if (!ParseBlocks(Content, Error)) {
        Messages().Error(Quoted(Name) + " is not a readable Snes9x savestate: " + Error + ".");
        return false;
    }
    BlocksToMachine();
    return true;
}

bool tS9X::ParseBlocks(std::span<const uint8_t> Content, std::string& Error)
{
    ClearBlocks();
    tByteReader In(Content);
    std::span<const uint8_t> Head;
    if (!In.Take(HeaderSize, Head) || std::memcmp(Head.data(), Magic, 8) != 0) {
        Error = "the \"#!snes9x\" header is missing";
        return false;
    }
    std::copy(Head.begin(), Head.end(), Blocks.Header.begin());

    auto Fail = [&](const char* Name) {
        Error =
            std::string("block \"") + Name + "\" is missing or cut short (at byte " + std::to_string(In.Pos()) + ")";
        ClearBlocks();
        return false;
    };
    enum tRead { Absent, Read, Short };
    auto Block = [&](tBlockId Id) {
        if (!ReadBlockHeader(In, S9XLayout::Blocks[Id].Name, BlockLength))
            return Absent;
        FileBlocks.emplace_back(S9XLayout::Blocks[Id].Name, BlockLength);
        return ReadBlockData(In, Blocks[Id], BlockLength) ? Read : Short;
    };

    std::span<const uint8_t> Text;
    if (!ReadBlockHeader(In, "NAM", BlockLength) || !In.Take(BlockLength, Text))
        return Fail("NAM");
    FileBlocks.emplace_back("NAM", BlockLength);
    Blocks.Name.assign(Text.begin(), Text.end());

    for (tBlockId Id : {BlockCPU, BlockREG, BlockPPU, BlockDMA, BlockVRA, BlockRAM, BlockSRA, BlockFIL})
        if (Block(Id) != Read)
            return Fail(S9XLayout::Blocks[Id].Name);
    // Optional groups: an absent first block leaves the next header unread.
    const tRead Apu = Block(BlockAPU);
    if (Apu == Short)
        return Fail("APU");
    Blocks.HasAPU = Apu == Read;
    if (Blocks.HasAPU)
        for (tBlockId Id : {BlockARE, BlockARA, BlockSOU})
            if (Block(Id) != Read)
                return Fail(S9XLayout::Blocks[Id].Name);
    const tRead Sa1 = Block(BlockSA1);
    if (Sa1 == Short || (Sa1 == Read && Block(BlockSAR) != Read))
        return Fail(Sa1 == Short ? "SA1" : "SAR");
    Blocks.HasSA1 = Sa1 == Read;
    const tRead Sp7 = Block(BlockSP7);
    if (Sp7 == Short)
        return Fail("SP7");
    Blocks.HasSP7 = Sp7 == Read;
    const tRead Rtc = Block(BlockRTC);
    if (Rtc == Short)
        return Fail("RTC");
    Blocks.HasRTC = Rtc == Read;
    Blocks.SwapByteOrder();
    FromFile_ = true;
    return true;
}

void tS9X::BlocksToMachine()
{
    S9XBlocksToMachine(Blocks, *SNES, *PPU, Cart ? &Cart->SRAM : nullptr);
}

void tS9X::MachineToBlocks()
{
    S9XMachineToBlocks(Blocks, *SNES, *PPU, Cart ? &Cart->SRAM : nullptr, !FromFile_);
    // A converted state is named after the file it came from.
    if (!FromFile_)
        Blocks.Name = StateFileName;
    Broadcast(this, Note::NewS9X);
}

void tS9X::ClearBlocks()
{
    Blocks.Clear();
    BlockLength = 0;
    FileBlocks.clear();
    FromFile_ = false;
}

bool tS9X::SaveToStream(std::vector<uint8_t>& Out, std::string& Error) const
{
    tS9XBlocks FileOrder = Blocks;
    FileOrder.SwapByteOrder();
    Out.clear();
    Out.insert(Out.end(), {'#', '!', 's', 'n', 'e', 's', '9', 'x', ':', '0', '0', '0', '1', '\n'});
    // Snes9x refuses a name block of length 0; its own name is followed by a
    // NUL that the length counts.
    std::string Name = Blocks.Name;
    if (Name.empty() || Name.back() != '\0')
        Name.push_back('\0');
    WriteBlock(Out, "NAM", reinterpret_cast<const uint8_t*>(Name.data()), Name.size());
    auto Put = [&](tBlockId Id) {
        WriteBlock(Out, S9XLayout::Blocks[Id].Name, FileOrder[Id].data(), FileOrder[Id].size());
    };
    for (tBlockId Id : {BlockCPU, BlockREG, BlockPPU, BlockDMA, BlockVRA, BlockRAM, BlockSRA, BlockFIL})
        Put(Id);
    if (Blocks.HasAPU)
        for (tBlockId Id : {BlockAPU, BlockARE, BlockARA, BlockSOU})
            Put(Id);
    if (Blocks.HasSA1) {
        Put(BlockSA1);
        Put(BlockSAR);
    }
    if (Blocks.HasSP7)
        Put(BlockSP7);
    if (Blocks.HasRTC)
        Put(BlockRTC);
    return GzipStream(Out, Error);
}

bool tS9X::SaveToFile(const std::string& FileName)
{
    std::vector<uint8_t> Out;
    std::string Error;
    if (!SaveToStream(Out, Error) || !WriteFileAtomic(FileName, Out, Error)) {
        Messages().Error("Could not write " + Quoted(FileName) + ": " + Error + ".");
        return false;
    }
    return true;
}

void tS9X::Notify(const void* Sender, tNote Msg)
{
    if (Msg == Note::NewSNES) {
        if (!IsSelf(Sender))
            MachineToBlocks();
    } else if (Msg == Note::NewSavestate) {
        if (!IsSelf(Sender))
            ClearBlocks();
    } else if (Msg == Note::NewCart) {
        auto& Sra = Blocks[BlockSRA];
        std::fill(Sra.begin(), Sra.end(), 0);
        if (Cart)
            std::copy_n(Cart->SRAM.begin(), std::min(Cart->SRAM.size(), Sra.size()), Sra.begin());
    }
}
