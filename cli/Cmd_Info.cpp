// orlik-cli info: what a savestate holds at a glance: format, kind and slot,
// the CPU and SPC700 registers, the PPU's mode and screen, and which parts
// or blocks the file carries.

#include <cstdio>
#include <string>
#include <vector>

#include "Commands.h"
#include "Json.h"
#include "app/Cartridge.h"
#include "app/Loader.h"
#include "cart/SNESCart.h"
#include "core/Options.h"
#include "SpcTags.h"
#include "core/FileIO.h"
#include "core/Gzip.h"
#include "core/SNES.h"
#include "render/PPU.h"
#include "render/ScreenSize.h"
#include "savestates/RAState.h"
#include "savestates/S9X.h"
#include "savestates/ZST.h"
#include "sound/SPC.h"

namespace
{
constexpr const char* Usage = "usage: orlik-cli info [--cart ROM] FILE... [--json]\n";
constexpr const char* LongFormatNames[] = {"unknown", "ZSNES", "Snes9x", "SNESGT", "Super Sleuth"};

std::string Hex(unsigned V, int Digits)
{
    char Buf[16];
    std::snprintf(Buf, sizeof Buf, "%0*X", Digits, V);
    return Buf;
}

// One line of the report: its text form and its JSON value.
struct tField {
    std::string Key, Text, Json;
};

struct tReport {
    std::vector<tField> Fields;
    void Text(const std::string& Key, const std::string& Value) { Fields.push_back({Key, Value, JsonString(Value)}); }
    void Number(const std::string& Key, long long Value)
    {
        Fields.push_back({Key, std::to_string(Value), std::to_string(Value)});
    }
    void Flag(const std::string& Key, bool Value)
    {
        Fields.push_back({Key, Value ? "yes" : "no", Value ? "true" : "false"});
    }
    // A group of "name=value" pairs: one text line, one JSON object.
    void Group(const std::string& Key, const std::vector<std::pair<std::string, std::string>>& Items)
    {
        std::string T, J = "{";
        for (const auto& [Name, Value] : Items) {
            T += (T.empty() ? "" : " ") + Name + "=" + Value;
            J += (J.size() > 1 ? ", " : "") + JsonString(Name) + ": " + JsonString(Value);
        }
        Fields.push_back({Key, T, J + "}"});
    }
};

std::vector<uint8_t> FileHead(const std::string& Name)
{
    std::vector<uint8_t> Head;
    tError Error;
    ReadFileHead(Name, 2, Head, Error);
    return Head;
}

tReport Describe(const std::string& Name)
{
    const tSNES& S = *SNES;
    const auto& R = S.Regs;
    tReport Rep;
    Rep.Text("file", Name);
    Rep.Text("format", FormatNames[StateFormat]);
    Rep.Text("emulator", LongFormatNames[StateFormat]);
    Rep.Text("kind", KindNames[StateKind]);
    Rep.Text("slot", StateSlot);

    Rep.Group("cpu", {{"PC", Hex(S.CPU_PC >> 16, 2) + ":" + Hex(S.CPU_PC & 0xFFFF, 4)},
                      {"A", Hex(S.CPU_A, 4)},
                      {"X", Hex(S.CPU_X, 4)},
                      {"Y", Hex(S.CPU_Y, 4)},
                      {"S", Hex(S.CPU_S, 4)},
                      {"D", Hex(S.CPU_D, 4)},
                      {"DB", Hex(S.CPU_DB >> 16, 2)},
                      {"P", Hex(S.CPU_P & 0xFF, 2)},
                      {"E", std::to_string((S.CPU_P >> 8) & 1)},
                      {"line", std::to_string(S.CPU_VCounter)}});
    Rep.Group("spc700", {{"PC", Hex(S.SPC_PC, 4)},
                         {"A", Hex(S.SPC_YA & 0xFF, 2)},
                         {"X", Hex(S.SPC_X, 2)},
                         {"Y", Hex(S.SPC_Y, 2)},
                         {"SP", Hex(S.SPC_SP, 2)},
                         {"PSW", Hex(S.SPC_PSW, 2)}});

    const unsigned Mode = R[0x2105] & 7, SETINI = R[0x2133];
    Rep.Number("bg_mode", Mode);
    Rep.Flag("bg3_priority", (R[0x2105] & 0x08) != 0);
    Rep.Number("brightness", R[0x2100] & 0x0F);
    Rep.Flag("forced_blank", (R[0x2100] & 0x80) != 0);
    Rep.Text("main_screen", "$" + Hex(R[0x212C], 2));
    Rep.Text("sub_screen", "$" + Hex(R[0x212D], 2));
    // The size the renderer composes (without --scale512), so that info and render agree.
    const tScreenSize Size = ComposedScreenSize(static_cast<uint8_t>(Mode), static_cast<uint8_t>(SETINI));
    Rep.Text("screen", std::to_string(Size.Width) + "x" + std::to_string(Size.Height));
    auto Scroll = [&](int n) { return std::to_string(S.BGHScroll[n]) + "," + std::to_string(S.BGVScroll[n]); };
    Rep.Group("scroll", {{"BG1", Scroll(0)}, {"BG2", Scroll(1)}, {"BG3", Scroll(2)}, {"BG4", Scroll(3)}});

    if (StateFormat == FormatZST) {
        Rep.Text("version",
                 "V" + std::string(reinterpret_cast<const char*>(&ZST->StateImage[ZSTLayout::VersionText]), 3));
        Rep.Number("image_bytes", static_cast<long long>(ZST->ImageLength()));
        Rep.Flag("sound_part", ZST->StateImage[ZSTLayout::SPCOn] != 0);
        Rep.Number("remainder_bytes", static_cast<long long>(ZST->Rest.size()));
        Rep.Flag("preview", ZST->HasPreview);
    } else if (StateFormat == FormatS9X) {
        Rep.Text("version", std::string(S9X->Blocks.Header.data() + 9, 4));
        Rep.Flag("compressed", IsGzipData(FileHead(Name)));
        // The wrapping around the stream: RetroArch's container and rzip.
        std::vector<uint8_t> Head;
        tInflated Inner;
        tError Error;
        ReadFileHead(Name, 256, Head, Error);
        const bool RZip = IsRZipData(Head) && RZipHead(Head, 16, Inner);
        const bool Container = IsRAStateData(RZip ? Inner.View() : Head);
        Rep.Text("form", std::string(Container          ? "RetroArch container"
                                     : IsGzipData(Head) ? "gzip"
                                                        : "plain") +
                             (RZip ? ", rzip" : ""));
        Rep.Flag("preview", S9X->HasPreview);
        std::vector<std::pair<std::string, std::string>> Blocks;
        for (const auto& [Block, Length] : S9X->FileBlocks)
            Blocks.emplace_back(Block, std::to_string(Length));
        Rep.Group("blocks", Blocks);
    } else if (StateFormat == FormatSGT && SPC->Loaded) {
        // The sound snapshot SNESGT embeds as a whole SPC file.
        for (const auto& [Key, Value] : SPCTagFields(*SPC))
            Rep.Text("spc_" + Key, Value);
    }
    return Rep;
}

int Info(const std::vector<std::string>& Args)
{
    bool Json = false;
    std::string ROM;
    std::vector<std::string> Files;
    for (size_t i = 0; i < Args.size(); ++i) {
        const std::string& A = Args[i];
        if (A == "--json")
            Json = true;
        else if (A == "--cart" && i + 1 < Args.size())
            ROM = Args[++i];
        else if (A.size() > 1 && A[0] == '-') {
            std::fprintf(stderr, "orlik-cli info: unknown option \"%s\"\n", A.c_str());
            return UsageError;
        } else
            Files.push_back(A);
    }
    if (Files.empty()) {
        return UsageError;
    }
    StartCore();
    int Result = 0;
    bool FirstJson = true;
    if (Json)
        std::printf("[");
    for (const std::string& Name : Files) {
        SetMessageContext(Name);
        tReport Rep;
        // An SNESGT state brings its own sound snapshot; no other may linger.
        SPC->Reset();
        if (IsSPCFileName(Name)) {
            // A sound snapshot, not a savestate: its header and tags.
            if (!LoadSoundFile(Name)) {
                Result = 1;
                continue;
            }
            Rep.Text("file", Name);
            Rep.Text("format", "SPC");
            for (const auto& [Key, Value] : SPCTagFields(*SPC))
                Rep.Text(Key, Value);
        } else {
            if (!LoadStateFile(Name)) {
                Result = 1;
                continue;
            }
            if (!ROM.empty()) {
                SetMessageContext(ROM);
                if (!OpenCartridge(ROM))
                    return 1;
                SetMessageContext(Name);
            }
            Rep = Describe(Name);
            if (!Cart->FileName.empty()) {
                const tCartHeader H = Cart->HeaderFields();
                Rep.Text("cartridge", Cart->FileName);
                Rep.Text("cart_title", H.ROMName);
                Rep.Text("cart_map_mode", MapModeName(Cart->MapMode));
                Rep.Flag("cart_checksum_matches", H.ChecksumMatches());
                Rep.Number("cart_sram_bytes", static_cast<long long>(Cart->SRAM.size()));
            }
        }
        if (Json) {
            std::printf("%s\n  {", FirstJson ? "" : ",");
            FirstJson = false;
            for (size_t i = 0; i < Rep.Fields.size(); ++i)
                std::printf("%s%s: %s", i ? ", " : "", JsonString(Rep.Fields[i].Key).c_str(),
                            Rep.Fields[i].Json.c_str());
            std::printf("}");
        } else {
            for (const tField& F : Rep.Fields)
                std::printf("%-16s %s\n", (F.Key + ":").c_str(), F.Text.c_str());
            std::printf("\n");
        }
    }
    if (Json)
        std::printf("\n]\n");
    SetMessageContext("");
    return Result;
}

tCommandRegistrar Reg({"info", "info [--cart ROM] FILE... [--json]",
                       "format, registers, screen and parts of savestates; SPC tags", Info, Usage});
} // namespace
