#include "cart/IPS.h"

#include <algorithm>

#include "cart/SNESCart.h"
#include "core/ByteReader.h"
#include "core/FileIO.h"
#include "core/Messages.h"
#include "core/Options.h"

namespace
{
// Makes room for Count bytes at Offset. Both come from 24- and 16-bit fields,
// so the end never passes MaxPatchedROMSize.
void Reserve(std::vector<uint8_t>& ROM, uint32_t Offset, uint32_t Count, tIPSResult& Res)
{
    const uint64_t End = static_cast<uint64_t>(Offset) + Count;
    if (Count > 0 && End > ROM.size() && End <= MaxPatchedROMSize) {
        Res.GrownBy += static_cast<uint32_t>(End - ROM.size());
        ROM.resize(static_cast<size_t>(End), 0);
    }
}
} // namespace

tIPSResult ApplyIPS(std::span<const uint8_t> Patch, std::vector<uint8_t>& ROM)
{
    tIPSResult Res;
    tByteReader R(Patch);
    uint8_t Sig[5];
    if (!R.Read(Sig, 5) || std::string_view(reinterpret_cast<const char*>(Sig), 5) != "PATCH")
        return Res;
    Res.Signature = true;
    while (!R.AtEnd()) {
        uint8_t Off[3];
        if (!R.Read(Off, 3)) {
            Res.Truncated = true;
            break;
        }
        if (Off[0] == 'E' && Off[1] == 'O' && Off[2] == 'F') {
            Res.EndMarker = true;
            break;
        }
        const uint32_t Offset = static_cast<uint32_t>(Off[0]) << 16 | static_cast<uint32_t>(Off[1]) << 8 | Off[2];
        uint16_t Size = 0;
        if (!R.U16BE(Size)) {
            Res.Truncated = true;
            break;
        }
        if (Size != 0) {
            // A cut data block still writes what it has.
            const uint32_t Have = static_cast<uint32_t>(std::min<size_t>(Size, R.Remaining()));
            std::span<const uint8_t> Data;
            R.Take(Have, Data);
            Reserve(ROM, Offset, Have, Res);
            std::copy(Data.begin(), Data.end(), ROM.begin() + Offset);
            if (Have > 0)
                ++Res.Records;
            if (Have < Size) {
                Res.Truncated = true;
                break;
            }
        } else {
            uint16_t Run = 0;
            uint8_t Value = 0;
            if (!R.U16BE(Run) || !R.U8(Value)) {
                Res.Truncated = true;
                break;
            }
            Reserve(ROM, Offset, Run, Res);
            std::fill_n(ROM.begin() + Offset, Run, Value);
            ++Res.Records;
        }
    }
    return Res;
}

bool tIPS::ApplyPatch(const std::string& CartFileName, tError& Error)
{
    LastPatchName.clear();
    LastResult = {};
    const std::string PatchName = ReplaceExtension(CartFileName, ".ips");
    if (!FileExists(PatchName))
        return false;
    std::vector<uint8_t> Patch;
    if (!ReadWholeFile(PatchName, Patch, Error, MaxIPSFileSize)) {
        Error.Reason = "IPS patch not applied: " + Error.Reason;
        return false;
    }
    LastPatchName = PatchName;
    if (Cart)
        LastResult = ApplyIPS(Patch, Cart->ROM);
    return true;
}

void tIPS::Notify(const void*, tNote Msg)
{
    if (Msg != Note::NewCart || !Options().CBox_OpenIPS || !Cart || Cart->FileName.empty())
        return;
    tError Error;
    if (ApplyPatch(Cart->FileName, Error)) {
        if (Options().CBox_OpenIPSMsg)
            Messages().Notice("An IPS file has been applied to the ROM.", "OK");
    } else if (!Error.Empty()) {
        Messages().Error(Error.Describe(ReplaceExtension(Cart->FileName, ".ips")));
    }
}
