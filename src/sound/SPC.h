#pragma once
// The SPC sound snapshot: the SPC700 registers and RAM and the S-DSP
// registers with an ID666 tag, as one SPC file image. The image follows the
// machine state ("new SNES"); its header and tags change only by loading an
// SPC file or by saving with the editor's values.
//
// SPC.cpp: loading, saving, the machine state mapping, notifications.
// SPC_Tag.cpp: the ID666 tag in its text and binary layouts, editor fields.
// SPC_ExtTags.cpp: the extended tag block and its records.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Receiver.h"
#include "core/ByteReader.h"
#include "core/Error.h"
#include "sound/SPC_EditorFields.h"
#include "sound/SPC_ExtTags.h"

class tSNES;

// File offsets of the fixed part.
namespace SPCLayout
{
inline constexpr size_t Signature = 0x00; // 33 characters, no terminator
inline constexpr size_t SignatureSize = 33;
inline constexpr size_t Marker26 = 0x21;  // two bytes 26, 26
inline constexpr size_t TagMarker = 0x23; // 26 tag present, 27 none
inline constexpr size_t VersionMinor = 0x24;
inline constexpr size_t PC = 0x25;
inline constexpr size_t A = 0x27;
inline constexpr size_t X = 0x28;
inline constexpr size_t Y = 0x29;
inline constexpr size_t PSW = 0x2A;
inline constexpr size_t SP = 0x2B;
inline constexpr size_t TagArea = 0x2E; // 210 bytes of ID666
inline constexpr size_t TagSize = 210;
inline constexpr size_t RAM = 0x100;         // 64 KiB SPC700 RAM
inline constexpr size_t DSP = 0x10100;       // 128 DSP registers
inline constexpr size_t ExtraRAM = 0x101C0;  // 64 bytes under the IPL ROM
inline constexpr size_t FixedSize = 0x10200; // the extended block follows
} // namespace SPCLayout

// ID666 fields of the text layout, as file offsets and widths.
struct tSPC_TagField {
    size_t Offset;
    size_t Size;
    // Index of the field in the 210-byte tag copy.
    size_t TagIndex() const { return Offset - SPCLayout::TagArea; }
};
namespace ID666
{
inline constexpr tSPC_TagField Song{0x2E, 32};
inline constexpr tSPC_TagField Game{0x4E, 32};
inline constexpr tSPC_TagField Dumper{0x6E, 16};
inline constexpr tSPC_TagField Comments{0x7E, 32};
inline constexpr tSPC_TagField Date{0x9E, 11}; // MM/DD/YYYY and a NUL
inline constexpr tSPC_TagField Seconds{0xA9, 3};
inline constexpr tSPC_TagField Fade{0xAC, 5};
inline constexpr tSPC_TagField Artist{0xB1, 32};
inline constexpr tSPC_TagField Muted{0xD1, 1};
inline constexpr tSPC_TagField Emulator{0xD2, 1};
} // namespace ID666

inline constexpr const char* SPCSignatureText = "SNES-SPC700 Sound File Data v0.30";

class tSPC : public tReceiver
{
  public:
    std::array<uint8_t, SPCLayout::FixedSize> Image{};
    tSPC_ExtTags ExtTags;
    std::array<uint8_t, SPCLayout::TagSize> Tag{}; // always the text layout
    bool TextTag = false;
    // True once an SPC file (or an embedded one) has been read; until then a
    // saved file gets the standard signature so that players accept it.
    bool Loaded = false;
    // Counts the files held: it changes whenever header and tags are
    // replaced (a file read, taken over or forgotten), but not when only the
    // sound part follows the machine state. The editor keeps what the user
    // typed while it stays the same.
    uint32_t FileSerial = 0;

    // Forgets the held file: header, tags and image back to the start state.
    void Reset();

    // Reads an SPC file, then writes its sound state into the machine state.
    // On failure Error says why and the held SPC is unchanged.
    bool LoadFromFile(const std::string& FileName, tError& Error);
    // Reads an SPC file image from the cursor (an embedded one in another
    // file, or a whole file in memory). On failure Error holds the reason
    // and nothing changes. On success broadcasts "new SPC" and, through
    // WriteToSNES, "new SNES".
    bool LoadFromStream(tByteReader& Stream, tError& Error);
    bool LoadFromMemory(std::span<const uint8_t> Data, tError& Error);
    // The reading alone: the image, the extended tags and the tag from the
    // cursor, broadcasting nothing (a savestate reader's embedded snapshot).
    bool ReadStream(tByteReader& Stream, tError& Error);
    // Takes over the file another snapshot object read: image, tags (moved), flags.
    void TakeFile(tSPC& Other);

    // Folds the editor's values into the image and writes the file.
    bool SaveToFile(const std::string& FileName, const tSPC_EditorFields& Fields, tError& Error);
    void SaveToStream(std::vector<uint8_t>& Out, const tSPC_EditorFields& Fields);

    // Copies the sound state between the image and a machine state.
    void CopyFromSNES(const tSNES& S);
    void CopyToSNES(tSNES& S) const;
    // CopyFromSNES from the global machine state, then broadcasts "new SPC".
    void ReadFromSNES();
    // CopyToSNES into the global machine state, then broadcasts "new SNES".
    void WriteToSNES();

    // ID666 layout detection and conversion (SPC_Tag.cpp).
    static int DigitRunLength(std::span<const uint8_t> Field);
    static bool IsTextTag(std::span<const uint8_t, SPCLayout::FixedSize> Img);
    bool IsTextTag() const { return IsTextTag(Image); }
    void DecodeTag();
    void EncodeBinaryTag();
    void ApplyEditorFields(const tSPC_EditorFields& Fields);
    // What the editor shows for the held tag (normalises the date first).
    tSPC_EditorFields EditorFieldsFromTag();
    void NormalizeDate();
    static void NormalizeDate(std::span<uint8_t, 11> Date);
    // A text field of the held tag, up to its first NUL.
    std::string TagText(const tSPC_TagField& Field) const;
    bool HasTag() const { return Image[SPCLayout::TagMarker] == 26; }

    // The extended tag block (SPC_ExtTags.cpp).
    void ReadExtTags(tByteReader& Stream);
    void WriteExtTags(std::vector<uint8_t>& Out) const;

    void Notify(const void* Sender, tNote Msg) override;
};

extern tSPC* SPC;
