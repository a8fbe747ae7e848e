#include "SpcTags.h"

#include <string>

#include "sound/SPC.h"

namespace {
// The dumping emulators by their ID666 code.
constexpr const char* EmulatorNames[] = {"[unknown]", "ZSNES", "SNES9x", "ZST2SPC", "ETC", "SNEShout", "ZSNESW"};

void Row(std::FILE* Out, const char* Name, const std::string& Value)
{
    std::fprintf(Out, "%-16s %s\n", Name, Value.c_str());
}

std::string Quoted(const std::string& S) { return "\"" + S + "\""; }

std::string Hex2(unsigned V)
{
    char B[8];
    std::snprintf(B, sizeof B, "%02Xh", V & 0xFF);
    return B;
}

std::string ExtValue(const tSPC_ExtTag& T)
{
    const uint32_t Int = T.Data[0] | T.Data[1] << 8 | T.Data[2] << 16 | static_cast<uint32_t>(T.Data[3]) << 24;
    switch (T.ID) {
    case 0x05: // year, month, day
        return std::to_string(T.Data[0] | T.Data[1] << 8) + "-" + std::to_string(T.Data[2]) + "-" +
               std::to_string(T.Data[3]);
    case 0x30: case 0x31: case 0x32: case 0x33:
        return std::to_string(Int) + " (" + std::to_string(Int / 64000.0).substr(0, 8) + " s)";
    case 0x35: case 0x36:
        return std::to_string(Int);
    default:
        break;
    }
    if (ExtTagDataBytes(T.ID, T.Length) == 0)
        return std::to_string(T.Length);
    // Text: up to the first NUL within what the record holds.
    const size_t N = std::min<size_t>(T.Length, T.Data.size());
    size_t End = 0;
    while (End < N && T.Data[End] != 0)
        ++End;
    return Quoted(std::string(T.Data.begin(), T.Data.begin() + static_cast<long>(End)));
}
} // namespace

void PrintSPCTags(const tSPC& S, std::FILE* Out)
{
    std::string Sig(S.Image.begin(), S.Image.begin() + SPCLayout::SignatureSize);
    Sig = Sig.substr(0, Sig.find('\0'));
    Row(Out, "signature:", Quoted(Sig));
    Row(Out, "version:", std::to_string(S.Image[SPCLayout::VersionMinor]));
    if (!S.HasTag()) {
        Row(Out, "ID666 tag:", "none");
    } else {
        Row(Out, "ID666 tag:", S.TextTag ? "text" : "binary");
        Row(Out, "song:", Quoted(S.TagText(ID666::Song)));
        Row(Out, "game:", Quoted(S.TagText(ID666::Game)));
        Row(Out, "artist:", Quoted(S.TagText(ID666::Artist)));
        Row(Out, "dumper:", Quoted(S.TagText(ID666::Dumper)));
        Row(Out, "comments:", Quoted(S.TagText(ID666::Comments)));
        Row(Out, "date:", Quoted(S.TagText(ID666::Date)));
        Row(Out, "length:", Quoted(S.TagText(ID666::Seconds)) + " seconds");
        Row(Out, "fade:", Quoted(S.TagText(ID666::Fade)) + " ms");
        Row(Out, "muted voices:", Hex2(S.Tag[ID666::Muted.TagIndex()]));
        const int Emu = S.Tag[ID666::Emulator.TagIndex()] - '0';
        Row(Out, "emulator:", Emu >= 0 && Emu <= 6 ? EmulatorNames[Emu] : "[unknown]");
    }
    Row(Out, "extended tags:", std::to_string(S.ExtTags.Count()));
    for (size_t i = 0; i < S.ExtTags.Count(); ++i) {
        const tSPC_ExtTag& T = S.ExtTags[i];
        const char* Desc = ExtTagDescription(T.ID);
        std::fprintf(Out, "  %s %-15s type %u: %s\n", Hex2(T.ID).c_str(), Desc ? Desc : "", T.TagType,
                     ExtValue(T).c_str());
    }
}
