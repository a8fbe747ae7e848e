#include "savestates/S9X.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>

#include "cart/SNESCart.h"
#include "core/Broadcast.h"
#include "core/ByteReader.h"
#include "core/FileIO.h"
#include "core/Gzip.h"
#include "core/Routines.h"
#include "core/StateChanges.h"
#include "savestates/RAState.h"
#include "savestates/S9XSnp.h"
#include "savestates/S9XSnpWrite.h"
#include "core/Messages.h"

using namespace S9XLayout;

namespace
{
// Reads a block header with the given name without consuming it when it is
// something else, so that an absent optional block leaves the next one
// readable.
bool ReadBlockHeader(tByteReader& In, const char* Name, uint32_t& Length)
{
    Length = 0;
    const size_t At = In.Pos();
    std::span<const uint8_t> H;
    if (!In.Take(BlockHeaderSize, H))
        return false;
    if (std::memcmp(H.data(), Name, 3) || !S9XBlockLength(H.data(), Length, false)) {
        In.Seek(At);
        return false;
    }
    return true;
}

// Reads a block of the program's size. A longer block (Snes9x writes its
// structures' in-memory lengths) has its excess skipped; a shorter one is
// taken as far as it goes, the rest zero, as Snes9x itself accepts it.
bool ReadBlockData(tByteReader& In, std::vector<uint8_t>& Buffer, uint32_t Length)
{
    const size_t Take = std::min<size_t>(Length, Buffer.size());
    std::fill(Buffer.begin() + static_cast<std::ptrdiff_t>(Take), Buffer.end(), 0);
    return In.Read(Buffer.data(), Take) && In.Skip(Length - Take);
}

void WriteBlock(std::vector<uint8_t>& Out, const char* Name, const uint8_t* Data, size_t Size)
{
    char Head[BlockHeaderSize + 1];
    std::snprintf(Head, sizeof Head, "%.3s:%06u:", Name, static_cast<unsigned>(Size));
    Out.insert(Out.end(), Head, Head + BlockHeaderSize);
    Out.insert(Out.end(), Data, Data + Size);
}
// A newer Snes9x's stream: read into the machine state, then held as the
// blocks of a state converted to this program's Snes9x format.
bool ParseS9XSnpInto(std::span<const uint8_t> Content, tSNES& S, tS9XImage& Image, std::vector<uint8_t>& SRAM,
                     tError& Error)
{
    Image.ClearBlocks();
    tS9XSnpInfo Info;
    std::string Why;
    if (!ParseS9XSnp(Content, S, SRAM, Info, Why)) {
        Error = tError("not a readable Snes9x savestate: " + Why);
        return false;
    }
    S9XMachineToBlocks(Image.Blocks, S, &SRAM, true);
    // A name with folders of another machine is not carried on.
    Image.Blocks.Name = S9XSnpName(Info.Name);
    Image.LoadNote = std::move(Info.Note);
    // What the file was: its header line and blocks, for the user.
    std::copy_n(Content.begin(), S9XSnp::HeaderSize, Image.Blocks.Header.begin());
    Image.SnpVersion = Info.Version;
    Image.SnpPlaces = S9XSnpPlaces(Info.Version, Info.Blocks, Content.size());
    Image.SnpValues = S9XSnpFieldValues(Content, Image.SnpPlaces);
    Image.FileBlocks = std::move(Info.Blocks);
    return true;
}
} // namespace

bool tS9X::IsS9XFile(const std::string& FileName)
{
    std::vector<uint8_t> Head, Content;
    tError Error;
    if (!ReadFileHead(FileName, SignatureHeadSize, Head, Error))
        return false;
    std::span<const uint8_t> Mem;
    tInflated Inner;
    std::string Why;
    // A replay before the state may run past the head: the reader decides.
    if (!RetroArchStream(Head, Mem, Inner, Why, SignatureHeadSize, true))
        return Why.find("cut short") != std::string::npos;
    return GunzipHead(Mem, HeaderSize, Content) && (IsS9XStreamHeader(Content, "#!snes9x:") || IsS9XSnpHeader(Content));
}

namespace
{
bool ParseS9XData(std::span<const uint8_t> Data, std::vector<uint8_t>* Own, tSNES& S, tS9XImage& Image,
                  std::vector<uint8_t>& SRAM, tError& Error)
{
    // The stream is read where it lies; only unpacking makes a copy, into
    // room kept from one read to the next: fresh pages for a megabyte and a
    // half cost about as much as inflating it. Room past what a real state
    // needs (a hostile size claim) is given back.
    thread_local tInflated Room[2];
    struct tGiveBack {
        ~tGiveBack()
        {
            for (tInflated& R : Room)
                if (R.Room > tS9X::MaxContentSize)
                    R = {};
        }
    } GiveBack;
    std::vector<uint8_t> Content;
    std::span<const uint8_t> View;
    std::string Why;
    auto Refuse = [&](const std::string& Text) {
        Image.ClearBlocks();
        Error = tError(Text + Why);
        return false;
    };
    if (!RetroArchStream(Data, View, Room[0], Why, tS9X::MaxRetroArchSize))
        return Refuse("not a readable RetroArch savestate: ");
    uint32_t ShotLength = 0;
    bool Cut = false;
    if (IsGzipData(View)) {
        // The whole stream, in one fast pass.
        if (GunzipWhole(View, Room[1], Why, tS9X::MaxContentSize)) {
            View = Room[1].View();
        } else {
            // A newer Snes9x's picture is the last block a state needs and
            // half the stream: a stream cut or damaged in it is inflated
            // again, step by step, as far as the picture's header.
            std::vector<uint8_t> Signature;
            if (!GunzipHead(View, HeaderSize, Signature) || !IsS9XSnpHeader(Signature))
                return Refuse("gzclose error: ");
            const auto BeforeShot = [&](std::span<const uint8_t> Head) {
                const size_t At = S9XSnpShotStart(Head, ShotLength);
                Cut = At != 0;
                return At;
            };
            Content.assign(View.begin(), View.end());
            Why.clear();
            if (!GunzipStream(Content, Why, tS9X::MaxContentSize, BeforeShot))
                return Refuse("gzclose error: ");
            View = Content;
        }
    }
    if (IsS9XSnpHeader(View)) {
        if (!ParseS9XSnpInto(View, S, Image, SRAM, Error))
            return false;
        const auto Shot = S9XSnpShotBlock(View);
        Image.Shot.assign(Shot.begin(), Shot.end());
        // The stream is kept for editing. The buffer of a file read whole is
        // handed over; an unpacked stream is copied, its room staying for the
        // next read.
        const auto Keep = [&](std::vector<uint8_t>& Buffer) {
            const std::less<const uint8_t*> Before;
            if (Buffer.empty() || Before(View.data(), Buffer.data()) ||
                Before(Buffer.data() + Buffer.size(), View.data() + View.size()))
                return false;
            const size_t From = static_cast<size_t>(View.data() - Buffer.data()), Size = View.size();
            if (From)
                std::memmove(Buffer.data(), Buffer.data() + From, Size);
            Buffer.resize(Size);
            Image.SnpStream = std::move(Buffer);
            return true;
        };
        if (!(Own && Keep(*Own)))
            Image.SnpStream.assign(View.begin(), View.end());
        Image.HasPreview = Cut || std::ranges::any_of(Image.FileBlocks, [](const auto& B) { return B.first == "SHO"; });
        if (Cut)
            Image.FileBlocks.emplace_back("SHO", ShotLength);
        return true;
    }
    if (!ParseS9XBlocks(View, Image, Why)) {
        Error = tError("not a readable Snes9x savestate: " + Why);
        return false;
    }
    S9XBlocksToMachine(Image.Blocks, S, &SRAM);
    return true;
}

} // namespace

bool ReadS9XFile(const std::string& FileName, tSNES& S, tS9XImage& Image, std::vector<uint8_t>& SRAM, tError& Error)
{
    // A packed file's bytes go into room kept from one read to the next, as
    // the unpacked streams do; a bare stream hands it over to be kept.
    thread_local std::vector<uint8_t> Data;
    const bool Read = ReadWholeFile(FileName, Data, Error, tS9X::MaxFileSize);
    const bool Ok = Read && ParseS9XData(Data, &Data, S, Image, SRAM, Error);
    if (Data.capacity() > tS9X::MaxContentSize)
        Data = {};
    if (!Read) {
        Image.ClearBlocks();
        Error.Reason = "can't gzopen: " + Error.Reason;
    }
    return Ok;
}

bool ParseS9X(std::span<const uint8_t> Data, tSNES& S, tS9XImage& Image, std::vector<uint8_t>& SRAM, tError& Error)
{
    return ParseS9XData(Data, nullptr, S, Image, SRAM, Error);
}

bool tS9X::ParseFile(const std::string& FileName, tSNES& S, tParsedFile& Out, tError& Error)
{
    auto Image = std::make_unique<tS9XImage>();
    std::vector<uint8_t> SRAM;
    const bool Ok = ReadS9XFile(FileName, S, *Image, SRAM, Error);
    Out.Image = std::move(Image);
    // The cartridge takes the file's save RAM when there is a cartridge.
    Out.SRAM = std::move(SRAM);
    return Ok;
}

void tS9X::Adopt(tSavestateImage& Image)
{
    static_cast<tS9XImage&>(*this) = std::move(static_cast<tS9XImage&>(Image));
    SnpBefore = {};
    if (!ReadFromFile)
        Blocks.Name = ConvertedName();
    KeepStateBlocks();
    if (HasPreview)
        Broadcast(this, Note::NewS9XPreview);
}

namespace
{
bool ShotToPicture(std::span<const uint8_t> Shot, tPicture32& Picture)
{
    uint32_t W = 0, H = 0;
    std::vector<uint32_t> Pixels;
    if (!S9XSnpShotPicture(Shot, W, H, Pixels))
        return false;
    Picture.Width = static_cast<int32_t>(W);
    Picture.Height = static_cast<int32_t>(H);
    Picture.Pixels = std::move(Pixels);
    return true;
}
} // namespace

bool tS9X::LoadPreview(const std::string& FileName, tPicture32& Picture)
{
    std::vector<uint8_t> Data;
    tError Error;
    if (!ReadWholeFile(FileName, Data, Error, MaxFileSize))
        return false;
    std::span<const uint8_t> Content = Data;
    tInflated Inflated;
    std::string Why;
    if (IsGzipData(Data)) {
        if (!GunzipWhole(Data, Inflated, Why, MaxContentSize))
            return false;
        Content = Inflated.View();
    }
    return ShotToPicture(S9XSnpShotBlock(Content), Picture);
}

bool tS9X::ShotPicture(tPicture32& Picture) const
{
    return ShotToPicture(Shot, Picture);
}

std::string tS9X::ConvertedName() const
{
    const std::string& From = Cart && !Cart->FileName.empty() ? Cart->FileName : SourceName;
    std::filesystem::path Name = std::filesystem::path(From).filename();
    if (From == SourceName)
        Name = Name.stem();
    return Name.string();
}

bool ParseS9XBlocks(std::span<const uint8_t> Content, tS9XImage& Image, std::string& Error)
{
    Image.ClearBlocks();
    tS9XBlocks& Blocks = Image.Blocks;
    uint32_t& BlockLength = Image.BlockLength;
    auto& FileBlocks = Image.FileBlocks;
    tByteReader In(Content);
    std::span<const uint8_t> Head;
    if (!In.Take(HeaderSize, Head) || std::memcmp(Head.data(), Magic, 8) != 0) {
        Error = "the \"#!snes9x\" header is missing";
        return false;
    }
    std::copy(Head.begin(), Head.end(), Blocks.Header.begin());

    auto Fail = [&](const char* Name) {
        Error = "block " + Quoted(Name) + " is missing or cut short (at byte " + std::to_string(In.Pos()) + ")";
        Image.ClearBlocks();
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
    Image.ReadFromFile = true;
    return true;
}

void tS9X::BlocksToMachine()
{
    if (SNES)
        S9XBlocksToMachine(Blocks, *SNES, Cart ? &Cart->SRAM : nullptr);
    KeepStateBlocks();
}

void tS9X::MachineToBlocks()
{
    if (!SNES)
        return;
    S9XMachineToBlocks(Blocks, *SNES, Cart ? &Cart->SRAM : nullptr, !ReadFromFile);
    // Snes9x keeps the ROM's file name here: the cartridge's when one is
    // loaded, else the base name of the state converted. Never a folder of
    // this machine.
    if (!ReadFromFile)
        Blocks.Name = ConvertedName();
    KeepStateBlocks();
    Broadcast(this, Note::NewS9X);
}

void tS9XImage::ClearBlocks()
{
    Blocks.Clear();
    BlockLength = 0;
    FileBlocks.clear();
    ReadFromFile = false;
    LoadNote.clear();
    HasPreview = false;
    Shot = {};
    SnpVersion = 0;
    SnpValues = {};
    SnpPlaces = {};
    SnpStream = {};
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

bool tS9X::SaveToFile(const std::string& FileName, tError& Error) const
{
    std::vector<uint8_t> Out;
    if (!SaveToStream(Out, Error.Reason))
        return false;
    return WriteFileAtomic(FileName, Out, Error);
}

void tS9X::Notify(const void* Sender, tNote Msg)
{
    if (Msg == Note::NewSNES) {
        if (!IsSelf(Sender))
            MachineToBlocks();
    } else if (Msg == Note::NewSavestate) {
        // The blocks agree with the state again at the "new SNES" that follows.
        if (!IsSelf(Sender)) {
            ClearBlocks();
            SnpBefore = {};
        }
    } else if (Msg == Note::NewS9X) {
        // An editor wrote into a newer Snes9x's stream or its fields, or
        // into the blocks of a 1.43 state.
        std::string Why;
        if (!IsSelf(Sender) && !SnpVersion)
            CommitBlockEdits();
        else if (!IsSelf(Sender) && !CommitSnpEdits(Why)) {
            Messages().Error("The edit of the Snes9x savestate was not taken: " + Why);
            // The editors show the bytes as they are again.
            Broadcast(this, Note::NewS9X);
        }
    } else if (Msg == Note::NewCart || Msg == Note::NewSRAM) {
        auto& Sra = Blocks[BlockSRA];
        std::fill(Sra.begin(), Sra.end(), 0);
        if (Cart)
            std::copy_n(Cart->SRAM.begin(), std::min(Cart->SRAM.size(), Sra.size()), Sra.begin());
        StateBlocks[BlockSRA] = Sra;
    }
}

std::vector<std::pair<size_t, size_t>> tS9X::SnpParts() const
{
    std::vector<std::pair<size_t, size_t>> Parts;
    if (!SnpVersion)
        return Parts;
    Parts.emplace_back(0, SnpStream.size());
    size_t Start = S9XSnp::HeaderSize;
    for (const auto& Block : FileBlocks) {
        const size_t Data = Start + S9XSnp::BlockHeaderSize;
        if (Data > SnpStream.size() || Block.second > SnpStream.size() - Data)
            break; // the picture, which is not kept
        Parts.emplace_back(Data, Block.second);
        Start = Data + Block.second;
    }
    return Parts;
}

std::span<uint8_t> tS9X::SnpEditPart(size_t Part)
{
    const auto Parts = SnpParts();
    if (Part >= Parts.size())
        return {};
    if (SnpBefore.empty())
        SnpBefore = SnpStream;
    return std::span<uint8_t>(SnpStream).subspan(Parts[Part].first, Parts[Part].second);
}

std::string tS9X::SnpPartName(size_t Part) const
{
    if (Part >= SnpParts().size())
        return {};
    return Part == 0 ? "[stream]" : FileBlocks[Part - 1].first;
}

void tS9X::RefreshSnpValues()
{
    std::vector<uint8_t> Values = S9XSnpFieldValues(SnpStream, SnpPlaces);
    // The register tab's rows point into the values: they stay where they are.
    if (Values.size() == SnpValues.size())
        std::copy(Values.begin(), Values.end(), SnpValues.begin());
    else
        SnpValues = std::move(Values);
}

bool tS9X::SnpMatchesState() const
{
    if (!SnpVersion || !SNES)
        return false;
    auto Read = std::make_unique<tSNES>();
    std::vector<uint8_t> SRAM;
    tS9XSnpInfo Info;
    std::string Error;
    if (!ParseS9XSnp(SnpBefore.empty() ? SnpStream : SnpBefore, *Read, SRAM, Info, Error))
        return false;
    // The channels are decoded from the registers on "new SNES".
    Read->DMA = SNES->DMA;
    return *Read == *SNES;
}

bool tS9X::CommitSnpEdits(std::string& Why)
{
    Why.clear();
    if (!SnpVersion || !SNES)
        return true;
    if (SnpBefore.empty())
        SnpBefore = SnpStream;
    // The values the list editor changed go to their places, in the file's
    // byte order; the others leave what the hex editor may have written.
    const std::vector<uint8_t> Read = S9XSnpFieldValues(SnpBefore, SnpPlaces);
    for (const tS9XSnpPlace& P : SnpPlaces) {
        const size_t Width = P.Field->Width;
        if (P.Copy + Width > SnpValues.size() || P.Copy + Width > Read.size() || P.At + Width > SnpStream.size())
            continue;
        const uint8_t* From = SnpValues.data() + P.Copy;
        if (std::equal(From, From + Width, Read.data() + P.Copy))
            continue;
        if (P.Field->Order == 'B')
            std::reverse_copy(From, From + Width, SnpStream.data() + P.At);
        else
            std::copy_n(From, Width, SnpStream.data() + P.At);
    }
    if (SnpStream == SnpBefore)
        return true;
    auto Refuse = [&](std::string Reason) {
        SnpStream = SnpBefore;
        RefreshSnpValues();
        Why = std::move(Reason);
        return false;
    };
    // Reading the stream replaces the whole machine state: a change made
    // elsewhere since it was read (another list, the palette or hex editor)
    // would be lost without a word.
    auto Was = std::make_unique<tSNES>();
    std::vector<uint8_t> WasSRAM;
    tS9XSnpInfo Info;
    std::string Error;
    if (!ParseS9XSnp(SnpBefore, *Was, WasSRAM, Info, Error))
        return Refuse("the stream as it was cannot be read: " + Error);
    Was->DMA = SNES->DMA;
    if (!(*Was == *SNES))
        return Refuse("the machine state was changed elsewhere since the stream was read; save the state and load it "
                      "again to edit its Snes9x fields");
    auto Now = std::make_unique<tSNES>();
    std::vector<uint8_t> SRAM;
    if (!ParseS9XSnp(SnpStream, *Now, SRAM, Info, Error))
        return Refuse(Error);
    // As a load takes a state (the channels are decoded again on "new SNES").
    Now->DMA = SNES->DMA;
    *SNES = *Now;
    const std::string Name = Blocks.Name;
    const auto Header = Blocks.Header;
    S9XMachineToBlocks(Blocks, *SNES, &SRAM, true);
    Blocks.Name = Name;
    Blocks.Header = Header;
    // A header edit may have moved the blocks or changed the version.
    const bool Cut = !FileBlocks.empty() && FileBlocks.back().first == "SHO" &&
                     (Info.Blocks.empty() || Info.Blocks.back().first != "SHO");
    if (Cut)
        Info.Blocks.push_back(FileBlocks.back());
    if (Info.Blocks != FileBlocks || Info.Version != SnpVersion) {
        SnpVersion = Info.Version;
        FileBlocks = std::move(Info.Blocks);
        SnpPlaces = S9XSnpPlaces(SnpVersion, FileBlocks, SnpStream.size());
        SnpValues = S9XSnpFieldValues(SnpStream, SnpPlaces);
    } else {
        RefreshSnpValues();
    }
    SnpBefore = {};
    KeepStateBlocks();
    const bool SRAMChanged = Cart && SRAM != WasSRAM;
    if (SRAMChanged)
        Cart->SRAM = std::move(SRAM);
    Broadcast(this, Note::NewSNES);
    if (SRAMChanged)
        Broadcast(this, Note::NewSRAM);
    return true;
}

bool tS9X::CommitBlockEdits()
{
    if (!SNES || SnpVersion)
        return false;
    // Both readings start from the state as it is, so what the blocks cannot
    // hold (a ZSNES state's timing, the upper DSP half) is the same in both
    // and stays.
    auto Before = std::make_unique<tSNES>(*SNES), After = std::make_unique<tSNES>(*SNES);
    std::vector<uint8_t> WasSRAM, SRAM;
    const bool MirrorEdited = Blocks[BlockFIL] != StateBlocks[BlockFIL];
    S9XBlocksToMachine(StateBlocks, *Before, &WasSRAM);
    S9XCopiesToMirror(Blocks, StateBlocks);
    S9XBlocksToMachine(Blocks, *After, &SRAM);
    const auto Was = std::make_unique<tSNES>(*SNES);
    const bool Changed = TakeChanges(*SNES, *Before, *After);
    if (Changed && MirrorEdited)
        MirrorToCopies(*Was);
    const bool SRAMChanged = Cart && TakeChangedBytes(Cart->SRAM, WasSRAM, SRAM);
    KeepStateBlocks();
    // The blocks are not made again from the state: they hold the edit already,
    // also where the state has no room for it.
    if (Changed)
        Broadcast(this, Note::NewSNES);
    if (SRAMChanged)
        Broadcast(this, Note::NewSRAM);
    return Changed;
}

void tS9X::MirrorToCopies(const tSNES& Was)
{
    // The PPU block written from the state as it was and as it is: the bytes
    // that differ are the copies of the registers the edit wrote.
    tS9XBlocks Old = Blocks, Now = Blocks;
    S9XMachineToBlocks(Old, Was, nullptr, !ReadFromFile);
    S9XMachineToBlocks(Now, *SNES, nullptr, !ReadFromFile);
    auto& Ppu = Blocks[BlockPPU];
    for (size_t i = 0; i < Ppu.size(); ++i)
        if (Old[BlockPPU][i] != Now[BlockPPU][i])
            Ppu[i] = Now[BlockPPU][i];
}
