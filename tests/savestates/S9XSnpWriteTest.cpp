#include "savestates/StateFixtures.h"

#include <tuple>
#include <map>

#include "app/SaveState.h"
#include "core/Gzip.h"
#include "savestates/RAState.h"
#include "savestates/S9XSnpWrite.h"

namespace fs = std::filesystem;

namespace
{
using tBlocks = std::map<std::string, std::span<const uint8_t>>;

tBlocks Split(const Bytes& C)
{
    tBlocks Out;
    for (size_t P = S9XSnp::HeaderSize; P + 11 <= C.size();) {
        const size_t Len = std::stoul(std::string(C.begin() + long(P) + 4, C.begin() + long(P) + 10));
        Out[std::string(C.begin() + long(P), C.begin() + long(P) + 3)] =
            std::span<const uint8_t>(C).subspan(P + 11, Len);
        P += 11 + Len;
    }
    return Out;
}

// Byte ranges a written block may differ in from the emulator's own: what
// no machine state holds (the emulator's event and sync internals, the S-DSP
// pipeline, latches of the frame just drawn).
struct tAllowed {
    const char* Block;
    size_t From, To; // [From, To)
    const char* Why;
};
constexpr tAllowed SameScene[] = {
    {"CPU", 4, 8, "PrevCycles"},
    {"CPU", 12, 16, "Flags"},
    {"PPU", 29, 30, "BG2 scroll bits the PPU ignores"},
    {"PPU", 40, 41, "BG3 scroll bits the PPU ignores"},
    {"PPU", 51, 52, "BG4 scroll bits the PPU ignores"},
    {"PPU", 63, 64, "CGRAM low byte held"},
    {"PPU", 1999, 2003, "OAMTileAddress, OAM low byte held"},
    {"PPU", 2589, 2590, "Mosaic before the first write"},
    {"PPU", 2599, 2636, "window span cache"},
    {"PPU", 2643, 2652, "write latches, open bus, HDMAEnded, VRAM prefetch"},
    {"FIL", 0x2116, 0x2118, "VRAM address: the running one is kept, not the one written"},
    {"FIL", 0x2121, 0x2122, "CGRAM address, likewise"},
    {"FIL", 0x2181, 0x2184, "WRAM port address, likewise"},
    {"FIL", 0x4207, 0x420B, "timer positions, kept in the PPU block"},
    {"FIL", 0x4300, 0x4380, "open bus where Snes9x keeps no DMA mirror"},
    {"SND", 65536, 65548, "S-SMP clock and opcode position"},
    {"SND", 65676, 65700, "S-SMP internals"},
    {"SND", 65620, 65636, "timer 0 stage counters"},
    {"SND", 65640, 65656, "timer 1 stage counters"},
    {"SND", 65660, 65676, "timer 2 stage counters"},
    {"SND", 65828, 66213, "S-DSP voices and pipeline"},
    {"SND", 66213, 66341, "DSP registers as the S-SMP reads them (power-on noise)"},
    {"SND", 66342, 66354, "sync reference and remainder"},
    {"CTL", 1, 26, "controller read positions"},
    {"TIM", 32, 36, "NMITriggerPos"},
    {"TIM", 36, 40, "WRAM refresh position, 534 or 538"},
    {"TIM", 44, 45, "interlace field"},
    {"TIM", 66, 70, "next timer IRQ"},
};

bool Allowed(const std::string& Block, size_t At)
{
    return std::any_of(std::begin(SameScene), std::end(SameScene),
                       [&](const tAllowed& A) { return Block == A.Block && At >= A.From && At < A.To; });
}
} // namespace

class S9XSnpWriteTest : public tStateTest
{
};

// A modern state loaded and written again has the emulator's blocks and
// lengths, equal but for the internals no machine state holds; converted to
// every other form it loads back the same.
TEST_F(S9XSnpWriteTest, WrittenStreamsMatchTheEmulatorsBlockByBlock)
{
    const auto Files = FixtureFiles("snes9x-modern", ".000");
    if (Files.empty())
        GTEST_SKIP() << "no modern Snes9x fixtures";
    for (const std::string& F : Files) {
        Bytes Real = ReadBytes(F);
        std::string Why;
        ASSERT_TRUE(GunzipStream(Real, Why)) << Why;
        ASSERT_TRUE(LoadSavestate(F)) << F;
        const Bytes Mine = BuildS9XSnp(*SNES, Cart ? Cart->SRAM : Bytes(), "Removed", nullptr);
        const tBlocks A = Split(Real), B = Split(Mine);
        for (const auto& [Name, Data] : A) {
            if (Name == "SHO")
                continue;
            ASSERT_TRUE(B.count(Name)) << Name;
            ASSERT_EQ(B.at(Name).size(), Data.size()) << F << " " << Name;
            for (size_t i = 0; i < Data.size(); ++i)
                if (Data[i] != B.at(Name)[i] && !Allowed(Name, i))
                    ADD_FAILURE() << fs::path(F).filename() << " " << Name << "[" << i << "] " << int(Data[i])
                                  << " written " << int(B.at(Name)[i]);
        }
        // The same scene saved by Snes9x 1.43 and converted: the same blocks,
        // and the same pictures' memories where no HDMA or hi-colour trick
        // rewrites them per line.
        const std::string Twin = FixturePath("snes9x/" + fs::path(F).filename().string());
        if (Twin.empty() || !fs::exists(Twin) || SNES->Regs[0x420C] || (SNES->Regs[0x2133] & 8) || !LoadSavestate(Twin))
            continue;
        const Bytes Converted = BuildS9XSnp(*SNES, Bytes(), "Removed", nullptr);
        const tBlocks T = Split(Converted);
        for (const auto& [Name, Data] : A)
            EXPECT_TRUE(Name == "SHO" || T.at(Name).size() == Data.size()) << Name;
        for (const auto& [Name, From, To] : {std::tuple{"VRA", 0, 65536}, {"PPU", 64, 576}, {"PPU", 2003, 2547}})
            EXPECT_TRUE(std::ranges::equal(A.at(Name).subspan(From, To - From), T.at(Name).subspan(From, To - From)))
                << F << " " << Name << " " << From;
    }
}

namespace
{
// What a machine state holds that savestate formats carry, by name: the
// memories, the CPU and SPC700 registers and the mapped registers.
std::vector<std::string> Differences(const tSNES& A, const tSNES& B)
{
    std::vector<std::string> D;
    auto Check = [&D](bool Same, const char* Name) {
        if (!Same)
            D.push_back(Name);
    };
    Check(A.VRAM == B.VRAM, "VRAM");
    Check(A.WRAM == B.WRAM, "WRAM");
    Check(A.CGRAM == B.CGRAM, "CGRAM");
    Check(A.OAM == B.OAM, "OAM");
    Check(std::equal(A.APU_RAM.begin(), A.APU_RAM.begin() + 0xF0, B.APU_RAM.begin()) &&
              std::equal(A.APU_RAM.begin() + 0x100, A.APU_RAM.end(), B.APU_RAM.begin() + 0x100) &&
              A.APU_ExtraRAM == B.APU_ExtraRAM,
          "SPC700 RAM");
    Check(std::equal(A.DSP.begin(), A.DSP.begin() + 128, B.DSP.begin()), "DSP");
    Check(std::tie(A.SPC_PC, A.SPC_PSW, A.SPC_SP, A.SPC_X, A.SPC_YA) ==
              std::tie(B.SPC_PC, B.SPC_PSW, B.SPC_SP, B.SPC_X, B.SPC_YA),
          "SPC700 registers");
    Check(std::tie(A.CPU_A, A.CPU_X, A.CPU_Y, A.CPU_S, A.CPU_D, A.CPU_DB, A.CPU_P, A.CPU_PC) ==
              std::tie(B.CPU_A, B.CPU_X, B.CPU_Y, B.CPU_S, B.CPU_D, B.CPU_DB, B.CPU_P, B.CPU_PC),
          "CPU registers");
    // The mapped registers by address; the write-twice ports are compared
    // as the values the machine state keeps apart, $420B is a strobe.
    for (unsigned R = 0x2100; R < 0x4380; ++R) {
        const bool Port = R == 0x2104 || (R >= 0x210D && R <= 0x2114) || (R >= 0x211B && R <= 0x2120) || R == 0x2132;
        if ((R < 0x2134 || (R >= 0x4200 && R < 0x420E && R != 0x420B) || R >= 0x4300) && !Port &&
            A.Regs[R] != B.Regs[R]) {
            char N[8];
            std::snprintf(N, sizeof N, "$%04X", R);
            D.push_back(N);
        }
    }
    Check(std::tie(A.BGHScroll, A.BGVScroll, A.M7, A.FixedColour) ==
              std::tie(B.BGHScroll, B.BGVScroll, B.M7, B.FixedColour),
          "scrolls, matrix, fixed colour");
    return D;
}
} // namespace

// Round trips between the newer Snes9x forms and the formats read and
// written before keep everything both hold; the lists name what a format
// cannot hold.
TEST_F(S9XSnpWriteTest, RoundTripsKeepWhatBothFormatsHold)
{
    auto Files = FixtureFiles("snes9x-modern", ".000");
    for (const std::string& Z : FixtureFiles("zsnes", ".zst"))
        Files.push_back(Z);
    if (Files.empty())
        GTEST_SKIP() << "no fixtures";
    const tStateTarget& Snp = *FindStateTarget("s9xsnp");
    for (const std::string& F : Files) {
        ASSERT_TRUE(LoadSavestate(F)) << F;
        const tSNES Start = *SNES;
        const bool FromZST = fs::path(F).extension() == ".zst";
        // Target, file, and what the target cannot hold: a state with its
        // SPC700 off gets the sound of power-on in Snes9x 1.43; ZSNES keeps
        // no bit 7 of the map bases and the VRAM address, no data port
        // mirrors and not every $2133 bit.
        const std::tuple<const char*, const char*, std::vector<std::string>> Trips[] = {
            {"s9xsnp", "modern.000", {}},
            {"rastate", "container.state", {}},
            {"s9x", "old.000", {"SPC700 RAM", "DSP", "SPC700 registers"}},
            {"zst", "zsnes.zst", {"$2107", "$2108", "$2109", "$210A", "$2117", "$2119", "$2122", "$2133"}},
        };
        for (bool RZip : {false, true}) {
            Options().CBox_MainRZip = RZip;
            for (const auto& [Target, Name, CannotHold] : Trips) {
                if ((FromZST && Target == std::string("zst")) || (RZip && Target != std::string("rastate")))
                    continue;
                ASSERT_TRUE(LoadSavestate(F));
                const std::string Out = Dir + "/" + Name;
                ASSERT_TRUE(SaveStateAs(*FindStateTarget(Target), Out) && LoadSavestate(Out)) << F << " " << Name;
                // Back into the format the trip started from.
                ASSERT_TRUE(FromZST ? SaveStateAs(FormatZST, Dir + "/back.zst") : SaveStateAs(Snp, Dir + "/back.000"));
                ASSERT_TRUE(LoadSavestate(FromZST ? Dir + "/back.zst" : Dir + "/back.000"));
                for (const std::string& D : Differences(Start, *SNES))
                    EXPECT_TRUE(std::ranges::count(CannotHold, D))
                        << fs::path(F).filename() << " via " << Name << ": " << D;
            }
        }
    }
}

// A name with another machine's folders is not carried on, save RAM past
// 128 KiB is kept, a RetroArch file with a replay past 4 MiB loads, and
// versions 6-7 load without their sound, saying so.
TEST_F(S9XSnpWriteTest, NamesSaveRAMLargeFilesAndOldVersions)
{
    const std::string Good = FixturePath("snes9x-modern/m0_helloworld.000");
    if (Good.empty() || !fs::exists(Good))
        GTEST_SKIP() << "m0_helloworld fixture absent";
    Bytes C = ReadBytes(Good);
    std::string Why;
    ASSERT_TRUE(GunzipStream(C, Why));
    auto Rebuilt = [&C](const char* Version, const std::string& Name, size_t SoundLength) {
        Bytes D(C.begin(), C.begin() + 14);
        std::copy_n(Version, 4, D.begin() + 9);
        for (size_t P = 14; P + 11 <= C.size();) {
            const std::string Block(C.begin() + long(P), C.begin() + long(P) + 3);
            const size_t Len = std::stoul(std::string(C.begin() + long(P) + 4, C.begin() + long(P) + 10));
            Bytes Data(C.begin() + long(P) + 11, C.begin() + long(P + 11 + Len));
            if (Block == "NAM")
                Data.assign(Name.begin(), Name.end() + 1);
            if (Block == "SRA")
                Data[0x30000] = 0x5A;
            if (Block == "SND")
                Data.resize(SoundLength);
            char H[12];
            std::snprintf(H, sizeof H, "%s:%06zu:", Block.c_str(), Data.size());
            D.insert(D.end(), H, H + 11);
            D.insert(D.end(), Data.begin(), Data.end());
            P += 11 + Len;
        }
        return D;
    };
    ASSERT_TRUE(LoadBytes(Rebuilt("0012", "C:\\roms\\games/Game.sfc", 66560), ".000"));
    EXPECT_EQ(S9X->Blocks.Name, "state");
    ASSERT_TRUE(Cart);
    ASSERT_EQ(Cart->SRAM.size(), 0x80000u);
    EXPECT_EQ(Cart->SRAM[0x30000], 0x5A);

    // A replay of 5 MiB before the state, the whole rzip-compressed.
    Bytes Container = WrapRAState(C), Packed;
    Bytes Replay = {'R', 'P', 'L', 'Y', 0, 0, 0x50, 0};
    Replay.resize(Replay.size() + (5u << 20), 0x11);
    Container.insert(Container.begin() + 8, Replay.begin(), Replay.end());
    ASSERT_TRUE(PackRZip(Container, Packed));
    std::string Reason;
    EXPECT_TRUE(LoadBytes(Packed, ".state", &Reason)) << Reason;

    for (const char* Old : {"0006", "0007"}) {
        Recorder.Log.clear();
        ASSERT_TRUE(LoadBytes(Rebuilt(Old, "Game.sfc", 100), ".000", &Reason)) << Old << Reason;
        EXPECT_EQ(SNES->SPC_PC, 0);
        ASSERT_FALSE(Recorder.Log.empty());
        EXPECT_NE(Recorder.Log.back().Text.find("not read"), std::string::npos);
    }
}
