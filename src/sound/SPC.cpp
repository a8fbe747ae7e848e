#include "sound/SPC.h"

#include <algorithm>
#include <cstring>

#include "core/Broadcast.h"
#include "core/FileIO.h"
#include "core/LittleEndian.h"
#include "core/SNES.h"

namespace
{
// Every SPC writer since the format's first version starts with these words;
// the version digits after them vary.
constexpr std::string_view SignatureWords = "SNES-SPC700 Sound File Data";

bool HasSignature(std::span<const uint8_t> Data)
{
    if (Data.size() < SignatureWords.size())
        return false;
    if (std::equal(SignatureWords.begin(), SignatureWords.end(), Data.begin()))
        return true;
    // Files saved by earlier versions of this program before any SPC had been
    // loaded carry no signature at all.
    return std::all_of(Data.begin(), Data.begin() + SPCLayout::SignatureSize, [](uint8_t B) { return B == 0; });
}
} // namespace

void tSPC::Reset()
{
    Image.fill(0);
    ExtTags.Clear();
    Tag.fill(0);
    TextTag = false;
    Loaded = false;
    ++FileSerial;
}

bool tSPC::LoadFromFile(const std::string& FileName, tError& Error)
{
    std::vector<uint8_t> Data;
    return ReadWholeFile(FileName, Data, Error) && LoadFromMemory(Data, Error);
}

bool tSPC::LoadFromMemory(std::span<const uint8_t> Data, tError& Error)
{
    if (Data.size() >= SPCLayout::SignatureSize && !HasSignature(Data)) {
        Error = tError("not an SPC file (no \"SNES-SPC700 Sound File Data\" signature)");
        return false;
    }
    tByteReader Stream(Data);
    return LoadFromStream(Stream, Error);
}

bool tSPC::LoadFromStream(tByteReader& Stream, tError& Error)
{
    if (!ReadStream(Stream, Error))
        return false;
    Broadcast(nullptr, Note::NewSPC);
    WriteToSNES();
    return true;
}

void tSPC::TakeFile(tSPC& Other)
{
    Image = Other.Image;
    ExtTags = std::move(Other.ExtTags);
    Tag = Other.Tag;
    TextTag = Other.TextTag;
    Loaded = Other.Loaded;
    ++FileSerial;
}

bool tSPC::ReadStream(tByteReader& Stream, tError& Error)
{
    // A shorter file would leave part of the old image in place, mixing two
    // snapshots; it is refused instead.
    if (SPCLayout::FixedSize > Stream.Remaining()) {
        Error = tError("truncated SPC file: " + std::to_string(Stream.Remaining()) + " bytes, a sound snapshot holds " +
                       std::to_string(SPCLayout::FixedSize));
        return false;
    }
    Stream.Read(Image.data(), Image.size());
    ReadExtTags(Stream);
    DecodeTag();
    Loaded = true;
    ++FileSerial;
    return true;
}

bool tSPC::SaveToFile(const std::string& FileName, const tSPC_EditorFields& Fields, tError& Error)
{
    std::vector<uint8_t> Out;
    SaveToStream(Out, Fields);
    return WriteFileAtomic(FileName, Out, Error);
}

void tSPC::SaveToStream(std::vector<uint8_t>& Out, const tSPC_EditorFields& Fields)
{
    if (!Loaded) {
        // Without a loaded file the header is still empty; players refuse a
        // file without the signature, so write the standard one.
        std::memcpy(Image.data() + SPCLayout::Signature, SPCSignatureText, SPCLayout::SignatureSize);
        Image[SPCLayout::Marker26] = 26;
        Image[SPCLayout::Marker26 + 1] = 26;
        if (Image[SPCLayout::VersionMinor] == 0)
            Image[SPCLayout::VersionMinor] = 30;
    }
    ApplyEditorFields(Fields);
    Out.insert(Out.end(), Image.begin(), Image.end());
    if (Fields.Extended)
        WriteExtTags(Out);
}

void tSPC::CopyFromSNES(const tSNES& S)
{
    Image[SPCLayout::PC] = static_cast<uint8_t>(S.SPC_PC);
    Image[SPCLayout::PC + 1] = static_cast<uint8_t>(S.SPC_PC >> 8);
    Image[SPCLayout::A] = static_cast<uint8_t>(S.SPC_YA);
    Image[SPCLayout::X] = S.SPC_X;
    Image[SPCLayout::Y] = S.SPC_Y;
    Image[SPCLayout::PSW] = S.SPC_PSW;
    Image[SPCLayout::SP] = S.SPC_SP;
    std::copy(S.APU_RAM.begin(), S.APU_RAM.end(), Image.begin() + SPCLayout::RAM);
    std::copy_n(S.DSP.begin(), 128, Image.begin() + SPCLayout::DSP);
    std::copy(S.APU_ExtraRAM.begin(), S.APU_ExtraRAM.end(), Image.begin() + SPCLayout::ExtraRAM);
}

void tSPC::CopyToSNES(tSNES& S) const
{
    S.SPC_PC = static_cast<uint16_t>(GetLE<SPCLayout::PC, 2>(Image));
    S.SPC_X = Image[SPCLayout::X];
    S.SPC_Y = Image[SPCLayout::Y];
    S.SPC_YA = static_cast<uint16_t>(Image[SPCLayout::Y] << 8 | Image[SPCLayout::A]);
    S.SPC_PSW = Image[SPCLayout::PSW];
    S.SPC_SP = Image[SPCLayout::SP];
    std::copy_n(Image.begin() + SPCLayout::RAM, S.APU_RAM.size(), S.APU_RAM.begin());
    // Only ZSNES states carry the upper DSP half; an SPC has none.
    S.DSP.fill(0);
    std::copy_n(Image.begin() + SPCLayout::DSP, 128, S.DSP.begin());
    std::copy_n(Image.begin() + SPCLayout::ExtraRAM, S.APU_ExtraRAM.size(), S.APU_ExtraRAM.begin());
}

void tSPC::ReadFromSNES()
{
    if (SNES)
        CopyFromSNES(*SNES);
    Broadcast(nullptr, Note::NewSPC);
}

void tSPC::WriteToSNES()
{
    if (!SNES)
        return;
    CopyToSNES(*SNES);
    Broadcast(this, Note::NewSNES);
}

void tSPC::Notify(const void* Sender, tNote Msg)
{
    if (Msg == Note::NewSNES && Sender != static_cast<const void*>(this))
        ReadFromSNES();
}
