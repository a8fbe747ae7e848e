#include "savestates/ZST.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "core/FileIO.h"
#include "core/Messages.h"
#include "render/PPU.h"
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

std::string Quoted(std::string_view Name)
{
    return "\"" + std::string(Name) + "\"";
}
} // namespace

const std::vector<std::string>& tZST::Extensions()
{
    static const std::vector<std::string> List = [] {
        std::vector<std::string> L{".zmv"};
        for (char c = '1'; c <= '9'; ++c)
            L.push_back(std::string(".zm") + c);
        L.push_back(".zst");
        for (char c = '1'; c <= '9'; ++c)
            L.push_back(std::string(".zs") + c);
        return L;
    }();
    return List;
}

int tZST::ExtensionIndex(const std::string& FileName)
{
    std::string Ext = std::filesystem::path(FileName).extension().string();
    for (char& C : Ext)
        C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
    const auto& L = Extensions();
    auto It = std::find(L.begin(), L.end(), Ext);
    return It == L.end() ? -1 : static_cast<int>(It - L.begin());
}

bool tZST::IsZSTFile(const std::string& FileName)
{
    std::vector<uint8_t> Head;
    std::string Error;
    if (!ReadFileHead(FileName, 27, Head, Error) || Head.size() < 27)
        return false;
    return !std::memcmp(Head.data(), Signature, SignatureLength) && Head[Eof] == 0x1A;
}

bool tZST::LoadFromFile(const std::string& FileName)
{
    std::vector<uint8_t> Data;
    std::string Error;
    if (!ReadWholeFile(FileName, Data, Error, MaxFileSize)) {
        Messages().Error("Could not read " + Quoted(FileName) + ": " + Error + ".");
        return false;
    }
    const int Index = ExtensionIndex(FileName);
    return LoadFromMemory(Data, FileName, Index >= 0 && Index < 10);
}

bool tZST::LoadFromMemory(std::span<const uint8_t> Data, std::string_view Name, bool Movie)
{
    if (Data.size() >= VersionText + 3 && !std::memcmp(Data.data(), Signature, SignatureLength) &&
        !KnownVersion(Data.data() + VersionText)) {
        const std::string Version(reinterpret_cast<const char*>(Data.data() + VersionText), 3);
        Messages().Error(Quoted(Name) + " is a ZSNES savestate of version \"V" + Version +
                         "\", which has another layout; only V0.6 (ZSNES up to 1.42) and V143 (ZSNES 1.50 and 1.51) "
                         "can be read.");
        return false;
    }
    FileStream.assign(Data.begin(), Data.end());
    const bool Complete = Split(Movie, Name);
    ImageToMachine();
    Broadcast(this, Note::NewZSTPreview);
    return Complete;
}

size_t tZST::ImageLength() const
{
    return StateImage[SPCOn] ? ImageSize : ImageSizeNoSound;
}

bool tZST::Split(bool Movie, std::string_view Name)
{
    StateImage.fill(0);
    // Byte 36 decides how long the image is, so it is read before the rest.
    size_t Length = ImageSize;
    if (FileStream.size() > SPCOn && FileStream[SPCOn] == 0)
        Length = ImageSizeNoSound;
    const size_t Got = std::min(Length, FileStream.size());
    std::copy_n(FileStream.begin(), Got, StateImage.begin());

    Rest.clear();
    const size_t Remaining = FileStream.size() - Got;
    HasPreview = !Movie && Remaining >= PreviewSize;
    const size_t RestSize = Remaining - (HasPreview ? PreviewSize : 0);
    Rest.assign(FileStream.begin() + static_cast<std::ptrdiff_t>(Got),
                FileStream.begin() + static_cast<std::ptrdiff_t>(Got + RestSize));
    if (HasPreview)
        std::copy_n(FileStream.end() - static_cast<std::ptrdiff_t>(PreviewSize), PreviewSize, Preview.begin());
    else
        Preview.fill(0);

    if (Got < Length) {
        Messages().Error(Quoted(Name) + " is too short for a ZSNES savestate: " + std::to_string(FileStream.size()) +
                         " of " + std::to_string(Length) + " bytes; the missing part is read as zero.");
        return false;
    }
    return true;
}

void tZST::SplitStream(bool FromFile, bool Movie)
{
    Split(Movie, StateFileName);
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

bool tZST::SaveToFile(const std::string& FileName)
{
    BuildStream();
    std::string Error;
    if (!WriteFileAtomic(FileName, FileStream, Error)) {
        Messages().Error("Could not write " + Quoted(FileName) + ": " + Error + ".");
        return false;
    }
    return true;
}

void tZST::ImageToMachine()
{
    ZSTImageToMachine(StateImage, *SNES, *PPU);
    // The image keeps only the sprite size pair, in which codes 6 and 7 look
    // like code 0; ZSNES 1.50 and later also keep the raw OBSEL in their extra
    // data after the image.
    if (!std::memcmp(&StateImage[VersionText], "143", 3) && Rest.size() > ExtraOBSEL) {
        const uint8_t Raw = Rest[ExtraOBSEL];
        uint8_t& OBSEL = SNES->Regs[0x2101];
        if ((Raw >> 5) >= 6 && (OBSEL >> 5) == 0)
            OBSEL = static_cast<uint8_t>((OBSEL & 0x1F) | (Raw & 0xE0));
    }
}

void tZST::MachineToImage()
{
    ZSTMachineToImage(StateImage, *SNES, *PPU);
}

void tZST::ClearImage()
{
    StateImage.fill(0);
    Preview.fill(0);
    HasPreview = false;
    // The remainder belongs to the file that was loaded (its chip data and
    // SRAM); a converted state must not carry it.
    Rest.clear();
}

bool tZST::LoadPreview(const std::string& FileName, std::array<uint16_t, 64 * 56>& Pixels)
{
    const int Index = ExtensionIndex(FileName);
    // A named pipe would block the stream's open.
    if (FileName.empty() || Index < 0 || !FileExists(FileName))
        return false;
    std::ifstream In(FileName, std::ios::binary | std::ios::ate);
    if (!In)
        return false;
    const auto End = In.tellg();
    if (End < 0)
        return false;
    const uint64_t Size = static_cast<uint64_t>(End);
    if (Size < PreviewSize)
        return false;
    if (Index < 10 && (Size < ImageSize || Size - ImageSize < PreviewSize))
        return false;
    uint8_t Bytes[PreviewSize];
    In.seekg(static_cast<std::streamoff>(Size - PreviewSize));
    if (!In.read(reinterpret_cast<char*>(Bytes), PreviewSize))
        return false;
    for (size_t i = 0; i < Pixels.size(); ++i)
        Pixels[i] = static_cast<uint16_t>(Bytes[2 * i] | Bytes[2 * i + 1] << 8);
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
        SplitStream(false, StateKind == KindMovie);
    } else if (Msg == Note::NewSavestate) {
        if (!IsSelf(Sender))
            ClearImage();
    }
}
