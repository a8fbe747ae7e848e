#pragma once
// Snes9x savestates (Snes9x 1.43, "#!snes9x:0001"), gzip-compressed or plain.
// Every block the program knows is kept in its own buffer; blocks and fields
// it does not interpret are written back as they were read.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Receiver.h"
#include "core/Error.h"
#include "core/SavestateFormat.h"
#include "core/Picture32.h"
#include "core/SNES.h"
#include "savestates/S9XBlocks.h"
#include "savestates/S9XSnpFields.h"

// A Snes9x file as the program holds it.
struct tS9XImage : tSavestateImage {
    tS9XBlocks Blocks;
    // The length field of the last block header read.
    uint32_t BlockLength = 0;
    // Names and lengths of the blocks the last file held, in file order.
    std::vector<std::pair<std::string, uint32_t>> FileBlocks;
    // True when the blocks hold a file that was read, not a converted state.
    bool ReadFromFile = false;
    // A newer Snes9x's file carries its own picture ("SHO"); it is kept as
    // the file holds it and decoded only when shown (ShotPicture). A file cut
    // in that block has a picture that cannot be shown.
    bool HasPreview = false;
    std::vector<uint8_t> Shot;
    // A newer Snes9x's stream: where its fields lay in the stream as it was
    // read (inflated, out of any container) and their values, numbers in
    // machine order. Version 0: the file was not such a stream.
    unsigned SnpVersion = 0;
    std::vector<tS9XSnpPlace> SnpPlaces;
    std::vector<uint8_t> SnpValues;
    // The stream itself, as far as the machine state goes (a picture after
    // it is not kept): edits of its fields and blocks are read from it into
    // the machine state again.
    std::vector<uint8_t> SnpStream;

    void ClearBlocks();
};

// The pure reader. Content is the inflated file; on failure the blocks are
// cleared and Error says which block failed.
bool ParseS9XBlocks(std::span<const uint8_t> Content, tS9XImage& Image, std::string& Error);
// File bytes (gzip or plain) into a machine state, an image and the save RAM
// the file carries.
bool ParseS9X(std::span<const uint8_t> Data, tSNES& S, tS9XImage& Image, std::vector<uint8_t>& SRAM, tError& Error);
bool ReadS9XFile(const std::string& FileName, tSNES& S, tS9XImage& Image, std::vector<uint8_t>& SRAM, tError& Error);

class tS9X : public tS9XImage, public tReceiver, public tSavestateFormat
{
  public:
    // A real state is about 90 KiB compressed and under 600 KiB inflated,
    // whatever build wrote it; these bounds leave room and refuse bombs.
    static constexpr uint64_t MaxFileSize = 16ull << 20;
    static constexpr size_t MaxContentSize = 4u << 20;
    // RetroArch's container may carry a replay beside the state.
    static constexpr size_t MaxRetroArchSize = 16u << 20;
    // The signature test reads this much of a file: the gzip header and the
    // deflate data of the first bytes fit many times over.
    static constexpr size_t SignatureHeadSize = 4096;

    tS9X()
    {
        ClearBlocks();
        KeepStateBlocks();
    }

    // The file the machine state came from: a converted state is named after it.
    std::string SourceName;
    // The name a converted state carries: the cartridge's file name when one
    // is loaded, else the base name of the state converted; never a folder.
    std::string ConvertedName() const;

    static bool IsS9XFile(const std::string& FileName);
    // The picture a newer Snes9x's file carries; false when it has none.
    static bool LoadPreview(const std::string& FileName, tPicture32& Picture);
    // The picture of the state that was loaded; false when it has none.
    bool ShotPicture(tPicture32& Picture) const;
    bool IsFormatFile(const std::string& FileName) override { return IsS9XFile(FileName); }
    bool Parse(const std::string& FileName, tSNES& S, tParsedFile& Out, tError& Error) const override
    {
        return ParseFile(FileName, S, Out, Error);
    }
    // Parse without the object, which a file is read before it is made.
    static bool ParseFile(const std::string& FileName, tSNES& S, tParsedFile& Out, tError& Error);
    void Adopt(tSavestateImage& Image) override;

    // The file as Snes9x reads it, gzip-compressed at level 9.
    bool SaveToStream(std::vector<uint8_t>& Out, std::string& Error) const;
    // Error holds the reason on failure; the caller reports it.
    bool SaveToFile(const std::string& FileName, tError& Error) const;

    bool ParseBlocks(std::span<const uint8_t> Content, std::string& Error)
    {
        return ParseS9XBlocks(Content, *this, Error);
    }
    void BlocksToMachine();
    void MachineToBlocks();
    bool FromFile() const { return ReadFromFile; }

    // A newer Snes9x's stream as an editor sees it: part 0 is the whole
    // stream, part n the payload of its n-th block in file order. Empty past
    // the last block, and without such a stream. Handing out the bytes keeps
    // a copy of them as they are, to go back to when an edit is refused.
    std::span<uint8_t> SnpEditPart(size_t Part);
    // The part's name: "[stream]" or the block's name; "" past the last.
    std::string SnpPartName(size_t Part) const;
    // Takes the edits of such a stream: values the list editor wrote into
    // SnpValues go to their fields' places in the stream (in the file's byte
    // order), then the machine state is read from the stream again by the
    // reader a load uses and "new SNES" is broadcast. When the reader refuses
    // the stream, or the machine state was changed elsewhere since the stream
    // was read (reading it again would undo that), the stream and the values
    // go back to what they were, Why says why and false is returned. Nothing
    // to take: true.
    bool CommitSnpEdits(std::string& Why);
    // The machine state is what the stream was last read into: not changed
    // elsewhere since (false too without such a stream).
    bool SnpMatchesState() const;
    // Takes the edits of a Snes9x 1.43 state's blocks: what the editors
    // changed since the blocks last agreed with the machine state goes into
    // the machine state and the cartridge's save RAM, everything else there
    // stays, and "new SNES" is broadcast. An edit of a value the machine
    // state does not hold stays in the blocks only. True when the machine
    // state changed.
    bool CommitBlockEdits();

    void Notify(const void* Sender, tNote Msg) override;

  private:
    bool IsSelf(const void* Sender) const { return Sender == static_cast<const void*>(this); }
    // The payloads of the stream's blocks that it holds whole: offset, length.
    std::vector<std::pair<size_t, size_t>> SnpParts() const;
    void RefreshSnpValues();
    // The stream as the machine state was last read from it, kept while an
    // editor holds the stream's bytes (empty: SnpStream is that stream).
    std::vector<uint8_t> SnpBefore;
    // The blocks as they last agreed with the machine state: read from it,
    // made from it or taken into it.
    tS9XBlocks StateBlocks;
    void KeepStateBlocks() { StateBlocks = Blocks; }
    // Snes9x draws from the PPU block's decoded copies of the registers: an
    // edit of the register mirror that reached the machine state (Was before
    // it) is copied there too.
    void MirrorToCopies(const tSNES& Was);
};

extern tS9X* S9X;
