#include "savestates/ZST.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <fstream>

#include "cart/SNESCart.h"
#include "core/Broadcast.h"
#include "core/FileIO.h"
#include "core/LittleEndian.h"
#include "core/Messages.h"
#include "core/Routines.h"
#include "core/StateNames.h"
#include "savestates/ZSTImage.h"

using namespace ZSTLayout;

namespace
{
// What follows the signature: ZSNES up to 1.42 writes "0.6", 1.50/1.51
// "143". Later forks use other layouts under other version texts.
bool KnownVersion(const uint8_t* V)
{
    return !std::memcmp(V, "0.6", 3) || !std::memcmp(V, "143", 3);
}

// SRAM follows the extra data in sizes of 1 KiB shl n.
bool SRAMSize(size_t Bytes)
{
    return Bytes == 0 || (Bytes >= 1024 && Bytes <= (128u << 10) && std::has_single_bit(Bytes));
}
} // namespace

bool ZSTExtraFollowsImage(const tZSTImage& I)
{
    // Chip data, when the cartridge has a chip, comes first; the extra data
    // is recognised by its copies of A and S and by what follows it.
    const auto& Im = I.StateImage;
    return !std::memcmp(&Im[VersionText], "143", 3) && I.Rest.size() >= ExtraSize &&
           ReadLE16(&I.Rest[ExtraCPURegs]) == ReadLE16(&Im[A]) &&
           ReadLE16(&I.Rest[ExtraCPURegs + 12]) == ReadLE16(&Im[ZSTLayout::S]) &&
           (I.Movie || SRAMSize(I.Rest.size() - ExtraSize));
}

std::optional<std::vector<uint8_t>> ZSTStateSRAM(const tZSTImage& I)
{
    if (I.Movie || !ZSTExtraFollowsImage(I))
        return std::nullopt;
    return std::vector<uint8_t>(I.Rest.begin() + ExtraSize, I.Rest.end());
}

bool tZST::IsZSTFile(const std::string& FileName)
{
    std::vector<uint8_t> Head;
    tError Error;
    if (!ReadFileHead(FileName, 27, Head, Error) || Head.size() < 27)
        return false;
    return !std::memcmp(Head.data(), Signature, SignatureLength) && Head[Eof] == 0x1A;
}

bool ReadZSTFile(const std::string& FileName, tSNES& S, tZSTImage& Image, tError& Error)
{
    std::vector<uint8_t> Data;
    if (!ReadWholeFile(FileName, Data, Error, tZST::MaxFileSize)) {
        Error.Reason = "cannot read the file: " + Error.Reason;
        return false;
    }
    Image.SourceName = FileName;
    return ParseZST(Data, StateNameOf(FileName).Kind == KindMovie, S, Image, Error);
}

bool ParseZST(std::span<const uint8_t> Data, bool Movie, tSNES& S, tZSTImage& Image, tError& Error)
{
    if (Data.size() >= VersionText + 3 && !std::memcmp(Data.data(), Signature, SignatureLength) &&
        !KnownVersion(Data.data() + VersionText)) {
        const std::string Version(reinterpret_cast<const char*>(Data.data() + VersionText), 3);
        Error = tError("a ZSNES savestate of version " + Quoted("V" + Version) +
                           ", which has another layout; only V0.6 (ZSNES up to 1.42) and V143 (ZSNES 1.50 and 1.51) "
                           "can be read",
                       VersionText);
        return false;
    }
    Image.FileStream.assign(Data.begin(), Data.end());
    Image.Movie = Movie;
    const bool Complete = SplitZSTStream(Image, Error);
    ZSTFileToMachine(Image, S);
    return Complete;
}

bool SplitZSTStream(tZSTImage& Image, tError& Error)
{
    const auto& Stream = Image.FileStream;
    Image.StateImage.fill(0);
    // Byte 36 decides how long the image is, so it is read before the rest.
    size_t Length = ImageSize;
    if (Stream.size() > SPCOn && Stream[SPCOn] == 0)
        Length = ImageSizeNoSound;
    const size_t Got = std::min(Length, Stream.size());
    std::copy_n(Stream.begin(), Got, Image.StateImage.begin());

    Image.Rest.clear();
    const size_t Remaining = Stream.size() - Got;
    Image.HasPreview = !Image.Movie && Remaining >= PreviewSize;
    const size_t RestSize = Remaining - (Image.HasPreview ? PreviewSize : 0);
    Image.Rest.assign(Stream.begin() + static_cast<std::ptrdiff_t>(Got),
                      Stream.begin() + static_cast<std::ptrdiff_t>(Got + RestSize));
    if (Image.HasPreview)
        std::copy_n(Stream.end() - static_cast<std::ptrdiff_t>(PreviewSize), PreviewSize, Image.Preview.begin());
    else
        Image.Preview.fill(0);

    if (Got < Length) {
        Error = tError("too short for a ZSNES savestate: " + std::to_string(Stream.size()) + " of " +
                       std::to_string(Length) + " bytes");
        return false;
    }
    return true;
}

void ZSTFileToMachine(const tZSTImage& Image, tSNES& S)
{
    const auto& StateImage = Image.StateImage;
    ZSTImageToMachine(StateImage, S);
    // The image keeps only the sprite size pair, in which codes 6 and 7 look
    // like code 0; ZSNES 1.50 and later also keep the raw OBSEL in their extra
    // data after the image.
    if (ZSTExtraFollowsImage(Image)) {
        const uint8_t Raw = Image.Rest[ExtraOBSEL];
        uint8_t& OBSEL = S.Regs[0x2101];
        if ((Raw >> 5) >= 6 && (OBSEL >> 5) == 0)
            OBSEL = static_cast<uint8_t>((OBSEL & 0x1F) | (Raw & 0xE0));
    }
}

bool tZST::ParseFile(const std::string& FileName, tSNES& S, tParsedFile& Out, tError& Error)
{
    auto Image = std::make_unique<tZSTImage>();
    const bool Ok = ReadZSTFile(FileName, S, *Image, Error);
    Out.SRAM = ZSTStateSRAM(*Image);
    Out.Image = std::move(Image);
    return Ok;
}

void tZST::Adopt(tSavestateImage& Image)
{
    static_cast<tZSTImage&>(*this) = std::move(static_cast<tZSTImage&>(Image));
    PreviewFromScreen = false; // a file's own preview stays
    Broadcast(this, Note::NewZSTPreview);
}

size_t tZST::ImageLength() const
{
    return StateImage[SPCOn] ? ImageSize : ImageSizeNoSound;
}

void tZST::SplitStream(bool FromFile, bool AsMovie)
{
    tError Error;
    Movie = AsMovie;
    if (!SplitZSTStream(*this, Error))
        Messages().Error(Error.Describe(SourceName));
    if (FromFile)
        return;
    ImageToMachine();
    Broadcast(this, Note::NewSNES);
    Broadcast(this, Note::NewZSTPreview);
}

void tZST::BuildStream()
{
    const size_t Length = ImageLength();
    FileStream.clear();
    FileStream.reserve(Length + Rest.size() + (HasPreview ? PreviewSize : 0));
    FileStream.insert(FileStream.end(), StateImage.begin(), StateImage.begin() + static_cast<std::ptrdiff_t>(Length));
    FileStream.insert(FileStream.end(), Rest.begin(), Rest.end());
    if (HasPreview)
        FileStream.insert(FileStream.end(), Preview.begin(), Preview.end());
}

bool tZST::SaveToFile(const std::string& FileName, tError& Error)
{
    // A converted state's preview is drawn when it is written, not on every
    // load of a state in another format.
    if (PreviewFromScreen && PreviewMaker)
        PreviewMaker(Preview);
    BuildStream();
    return WriteFileAtomic(FileName, FileStream, Error);
}

void tZST::ImageToMachine()
{
    if (SNES)
        ZSTFileToMachine(*this, *SNES);
}

void tZST::MachineToImage()
{
    const bool New = StateImage[VersionByte] == 0;
    const bool HasExtra = !New && ZSTExtraFollowsImage(*this);
    ZSTMachineToImage(StateImage, *SNES);
    if (New) {
        // A converted state is written as ZSNES 1.50 and later write theirs:
        // V143, whose extra data keeps every sprite size code, then the SRAM.
        std::memcpy(&StateImage[VersionText], "143", 3);
        StateImage[VersionByte] = VersionByteV143;
        const auto Extra = ZSTExtraData(*SNES);
        Rest.assign(Extra.begin(), Extra.end());
        const std::vector<uint8_t> SRAM = SRAMToWrite();
        Rest.insert(Rest.end(), SRAM.begin(), SRAM.end());
        // ZSNES ends every state with its 64 x 56 preview; readers take the
        // last bytes of a file for it, so a file without one would lose the
        // end of its SRAM. This one shows the composed screen.
        HasPreview = true;
        Preview.fill(0);
        PreviewFromScreen = true;
    } else if (HasExtra) {
        // The extra data's register copies and raw OBSEL follow the edits.
        const auto Extra = ZSTExtraData(*SNES);
        std::copy_n(&Extra[ExtraCPURegs], 28, &Rest[ExtraCPURegs]);
        Rest[ExtraOBSEL] = Extra[ExtraOBSEL];
    }
}

std::vector<uint8_t> tZST::SRAMToWrite() const
{
    if (!Cart)
        return {};
    std::vector<uint8_t> SRAM = Cart->SRAM;
    // ZSNES reads as many bytes as the cartridge's header gives; without a
    // cartridge, as many as hold every byte that is not zero.
    if (!Cart->FileName.empty()) {
        SRAM.resize(Cart->HeaderFields().SRAMBytes(), 0);
        return SRAM;
    }
    const auto Last = std::find_if(SRAM.rbegin(), SRAM.rend(), [](uint8_t B) { return B != 0; });
    const size_t Used = static_cast<size_t>(SRAM.rend() - Last);
    SRAM.resize(Used == 0 ? 0 : std::min<size_t>(std::bit_ceil(std::max<size_t>(Used, 2048)), 128u << 10), 0);
    return SRAM;
}

void tZST::ClearImage()
{
    Movie = false;
    StateImage.fill(0);
    Preview.fill(0);
    HasPreview = false;
    PreviewFromScreen = false;
    // The remainder belongs to the file that was loaded (its chip data and
    // SRAM); a converted state must not carry it.
    Rest.clear();
}

bool tZST::LoadPreview(const std::string& FileName, std::array<uint16_t, 64 * 56>& Pixels)
{
    const tStateName Name = StateNameOf(FileName);
    // A named pipe would block the stream's open.
    if (Name.Format != FormatZST || !FileExists(FileName))
        return false;
    std::ifstream In(FileName, std::ios::binary | std::ios::ate);
    if (!In)
        return false;
    const auto End = In.tellg();
    if (End < 0)
        return false;
    const uint64_t Size = static_cast<uint64_t>(End);
    // The picture follows the state image; a file without room for both
    // (every state this program converts from another format) has none, and
    // its last bytes are state, not picture. Byte SPCOn says how long the
    // image is.
    uint8_t SoundOn = 1;
    if (Size <= SPCOn || !In.seekg(static_cast<std::streamoff>(SPCOn)) ||
        !In.read(reinterpret_cast<char*>(&SoundOn), 1))
        return false;
    const uint64_t Length = SoundOn == 0 ? ImageSizeNoSound : ImageSize;
    if (Size < Length || Size - Length < PreviewSize)
        return false;
    uint8_t Bytes[PreviewSize];
    In.seekg(static_cast<std::streamoff>(Size - PreviewSize));
    if (!In.read(reinterpret_cast<char*>(Bytes), PreviewSize))
        return false;
    for (size_t i = 0; i < Pixels.size(); ++i)
        Pixels[i] = ReadLE16(&Bytes[2 * i]);
    return true;
}

void tZST::Notify(const void* Sender, tNote Msg)
{
    if (Msg == Note::NewSNES) {
        if (!IsSelf(Sender))
            MachineToImage();
    } else if (Msg == Note::NewZSTData) {
        if (!IsSelf(Sender))
            BuildStream();
        ImageToMachine();
        Broadcast(this, Note::NewSNES);
    } else if (Msg == Note::NewZSTPreview) {
        if (!IsSelf(Sender))
            BuildStream();
    } else if (Msg == Note::NewZSTStream) {
        SplitStream(false, Movie);
    } else if (Msg == Note::NewSavestate) {
        if (!IsSelf(Sender))
            ClearImage();
    }
}
