#include "SpcTags.h"

#include <cctype>
#include <string>

#include "core/LittleEndian.h"
#include "core/Routines.h"
#include "sound/SPC.h"
#include "sound/SPC_Editor.h"

namespace
{
// The dumping emulators by their ID666 code.
constexpr const char* EmulatorNames[] = {"[unknown]", "ZSNES", "SNES9x", "ZST2SPC", "ETC", "SNEShout", "ZSNESW"};

std::string Hex2(unsigned V)
{
    char B[8];
    std::snprintf(B, sizeof B, "%02Xh", V & 0xFF);
    return B;
}

std::string ExtValue(const tSPC_ExtTag& T)
{
    const uint32_t Int = ExtTagNumber(T);
    switch (T.ID) {
    case 0x05: { // year, month, day
        const tExtDate D = ExtTagDate(T);
        return std::to_string(D.Year) + "-" + std::to_string(D.Month) + "-" + std::to_string(D.Day);
    }
    case 0x30:
    case 0x31:
    case 0x32:
    case 0x33:
        return std::to_string(Int) + " (" + std::to_string(Int / 64000.0).substr(0, 8) + " s)";
    case 0x35:
    case 0x36:
        return std::to_string(Int);
    default:
        break;
    }
    if (ExtTagPage(T.ID) != tExtTagPage::Text || ExtTagDataBytes(T) == 0)
        return std::to_string(ExtTagNumber(T));
    return Quoted(ExtTagText(T));
}
} // namespace

tSPCTagFields SPCTagFields(const tSPC& S)
{
    tSPCTagFields F;
    std::string Sig(S.Image.begin(), S.Image.begin() + SPCLayout::SignatureSize);
    F.emplace_back("signature", Sig.substr(0, Sig.find('\0')));
    F.emplace_back("version", std::to_string(S.Image[SPCLayout::VersionMinor]));
    if (!S.HasTag()) {
        F.emplace_back("id666", "none");
    } else {
        F.emplace_back("id666", S.TextTag ? "text" : "binary");
        F.emplace_back("song", S.TagText(ID666::Song));
        F.emplace_back("game", S.TagText(ID666::Game));
        F.emplace_back("artist", S.TagText(ID666::Artist));
        F.emplace_back("dumper", S.TagText(ID666::Dumper));
        F.emplace_back("comments", S.TagText(ID666::Comments));
        F.emplace_back("date", S.TagText(ID666::Date));
        F.emplace_back("length_seconds", S.TagText(ID666::Seconds));
        F.emplace_back("fade_ms", S.TagText(ID666::Fade));
        F.emplace_back("muted_voices", Hex2(S.Tag[ID666::Muted.TagIndex()]));
        const int Emu = S.Tag[ID666::Emulator.TagIndex()] - '0';
        F.emplace_back("dumped_with", Emu >= 0 && Emu <= 6 ? EmulatorNames[Emu] : "[unknown]");
    }
    F.emplace_back("extended_tags", std::to_string(S.ExtTags.Count()));
    for (size_t i = 0; i < S.ExtTags.Count(); ++i) {
        const tSPC_ExtTag& T = S.ExtTags[i];
        const char* Desc = ExtTagDescription(T.ID);
        F.emplace_back("xid6_" + Hex2(T.ID), std::string(Desc ? Desc : "unknown") + " (type " +
                                                 std::to_string(T.TagType) + "): " + ExtValue(T));
    }
    return F;
}

void PrintSPCTags(const tSPC& S, std::FILE* Out)
{
    for (const auto& [Name, Value] : SPCTagFields(S))
        std::fprintf(Out, "%-16s %s\n", (Name + ":").c_str(), Value.c_str());
}

bool IsSPCFileName(const std::string& Name)
{
    const size_t Dot = Name.find_last_of("./");
    if (Dot == std::string::npos || Name[Dot] != '.' || Name.size() - Dot != 4)
        return false;
    return std::tolower(static_cast<unsigned char>(Name[Dot + 1])) == 's' &&
           std::tolower(static_cast<unsigned char>(Name[Dot + 2])) == 'p';
}
