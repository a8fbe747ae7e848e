#include "app/Loader.h"
#include "savestates/StateFixtures.h"

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <memory>

#include "core/Broadcast.h"
#include "core/Gzip.h"
#include "core/SNES.h"
#include "render/PPU.h"
#include "savestates/S9X.h"

namespace fs = std::filesystem;
using namespace S9XLayout;

namespace
{

std::vector<uint8_t> Inflate(std::vector<uint8_t> Data)
{
    std::string Error;
    EXPECT_TRUE(GunzipStream(Data, Error)) << Error;
    return Data;
}

// The blocks of a decompressed state by name, as the file holds them.
std::map<std::string, std::vector<uint8_t>> SplitBlocks(const std::vector<uint8_t>& C)
{
    std::map<std::string, std::vector<uint8_t>> Out;
    size_t P = HeaderSize;
    while (P + BlockHeaderSize <= C.size()) {
        const std::string Name(C.begin() + static_cast<long>(P), C.begin() + static_cast<long>(P) + 3);
        const size_t Len =
            std::stoul(std::string(C.begin() + static_cast<long>(P) + 4, C.begin() + static_cast<long>(P) + 10));
        P += BlockHeaderSize;
        Out[Name].assign(C.begin() + static_cast<long>(P), C.begin() + static_cast<long>(std::min(C.size(), P + Len)));
        P += Len;
    }
    return Out;
}

uint16_t BE16(const std::vector<uint8_t>& B, size_t O)
{
    return static_cast<uint16_t>(B[O] << 8 | B[O + 1]);
}

// A plain (uncompressed) state with every block at the program's size.
std::vector<uint8_t> PlainState(bool WithAPU, const std::string& Name = "GAME.SFC")
{
    std::string S = "#!snes9x:0001\n";
    auto Add = [&](const char* Id, size_t Len, char Fill) {
        char H[12];
        std::snprintf(H, sizeof H, "%s:%06zu:", Id, Len);
        S += H;
        S.append(Len, Fill);
    };
    S += "NAM:" + std::string(6 - std::to_string(Name.size()).size(), '0') + std::to_string(Name.size()) + ":" + Name;
    for (int b = BlockCPU; b <= BlockFIL; ++b)
        Add(Blocks[b].Name, Blocks[b].Size, 0);
    if (WithAPU)
        for (int b = BlockAPU; b <= BlockSOU; ++b)
            Add(Blocks[b].Name, Blocks[b].Size, 1);
    return std::vector<uint8_t>(S.begin(), S.end());
}

} // namespace

class S9XTest : public tModelTest
{
};

TEST_F(S9XTest, EveryRealFileLoadsWithItsBlocks)
{
    REQUIRE_FIXTURES();
    const auto Files = FixtureFiles("snes9x", ".000");
    ASSERT_GE(Files.size(), 30u);
    for (const std::string& Name : Files) {
        SCOPED_TRACE(Name);
        auto B = SplitBlocks(Inflate(ReadBytes(Name)));
        ASSERT_TRUE(LoadSavestate(Name));
        EXPECT_TRUE(S9X->Blocks.HasAPU);
        EXPECT_TRUE(std::equal(SNES->VRAM.begin(), SNES->VRAM.end(), B["VRA"].begin()));
        EXPECT_TRUE(std::equal(SNES->WRAM.begin(), SNES->WRAM.end(), B["RAM"].begin()));
        EXPECT_TRUE(std::equal(SNES->APU_RAM.begin(), SNES->APU_RAM.end(), B["ARA"].begin()));
        EXPECT_TRUE(std::equal(SNES->DSP.begin(), SNES->DSP.begin() + 128, B["APU"].begin() + APUDSP));
        EXPECT_TRUE(std::equal(SNES->OAM.begin(), SNES->OAM.end(), B["PPU"].begin() + PPUOAMData));
        for (int c = 0; c < 256; ++c)
            ASSERT_EQ(SNES->CGRAM[c], BE16(B["PPU"], PPUCGData + 2 * c));
        // The data ports' addresses are the live ones, advanced by the port
        // accesses since they were last written.
        const auto& P = B["PPU"];
        EXPECT_EQ(SNES->Reg16(0x2116), BE16(P, PPUVMAAddress));
        EXPECT_EQ(SNES->Regs[0x2121], P[PPUCGADD]);
        // Saved at line 0, with HDMA started: each enabled channel at the
        // start of its table.
        for (uint16_t c = 0; c < 8; ++c)
            if (SNES->Regs[0x420C] >> c & 1) {
                EXPECT_EQ(SNES->Reg16(static_cast<uint16_t>(0x4308 + 16 * c)),
                          SNES->Reg16(static_cast<uint16_t>(0x4302 + 16 * c)));
            }
        EXPECT_EQ(SNES->Reg16(0x2181) | (SNES->Regs[0x2183] & 1) << 16, BE16(P, PPUWRAM + 2) | (P[PPUWRAM + 1] & 1)
                                                                                                   << 16);
        for (size_t A = 0; A < 0x8000; ++A) {
            const bool HDMAPosition = A >= 0x4300 && A < 0x4380 && (A & 0xF) >= 7 && (A & 0xF) <= 10;
            if ((A < 0x2140 || A > 0x2143) && A != 0x2116 && A != 0x2117 && A != 0x2121 && (A < 0x2181 || A > 0x2183) &&
                !HDMAPosition) {
                ASSERT_EQ(SNES->Regs[A], B["FIL"][A]) << std::hex << A;
            }
        }
        EXPECT_TRUE(std::equal(&SNES->Regs[0x2140], &SNES->Regs[0x2144], B["APU"].begin() + APUOutPorts));
        const auto& R = B["REG"];
        EXPECT_EQ(SNES->CPU_PC, static_cast<uint32_t>(R[0]) << 16 | BE16(R, REGPC));
        EXPECT_EQ(SNES->CPU_A, BE16(R, REGA));
        EXPECT_EQ(SNES->CPU_DB, static_cast<uint32_t>(R[1]) << 16);
        EXPECT_EQ(SNES->CPU_P, BE16(R, REGP));
        EXPECT_EQ(SNES->SPC_PC, BE16(B["ARE"], AREPC));
        EXPECT_EQ(SNES->SPC_YA, BE16(B["ARE"], AREYA));
        // The BG mode is in the file's name (m0_... to m7_...).
        const char Mode = fs::path(Name).filename().string()[1];
        EXPECT_EQ(SNES->Regs[0x2105] & 7, Mode - '0');
    }
}

// That a written file reloads to the same state is the format suite's
// (FormatSuiteTest.cpp); here, how it is written.
TEST_F(S9XTest, SavedFilesArePackedAsSnes9xWritesThem)
{
    REQUIRE_FIXTURES();
    const std::string Out = TempDir() + "/again.000";
    for (const std::string& Name : FixtureFiles("snes9x", ".000")) {
        SCOPED_TRACE(Name);
        ASSERT_TRUE(LoadSavestate(Name));
        ASSERT_TRUE(SaveState(*S9X, Out));
        ASSERT_TRUE(tS9X::IsS9XFile(Out));
        // Written at the packed sizes, gzip-compressed, with the name's NUL.
        auto C = Inflate(ReadBytes(Out));
        EXPECT_EQ(std::string(C.begin(), C.begin() + 14), "#!snes9x:0001\n");
        auto B = SplitBlocks(C);
        EXPECT_EQ(B["PPU"].size(), 2625u);
        EXPECT_EQ(B["NAM"].back(), 0);
    }

    // A converted state names the state it came from, without its folder,
    // and a line counter past the frame (saved while paused) is brought into it.
    ASSERT_TRUE(LoadSavestate(FixturePath("zsnes/zsnes151_wavehdma_paused.zst")));
    ASSERT_GE(SNES->CPU_VCounter, 262);
    ASSERT_TRUE(SaveState(*S9X, Out));
    auto B = SplitBlocks(Inflate(ReadBytes(Out)));
    EXPECT_EQ(std::string(B["NAM"].begin(), B["NAM"].end()), std::string("zsnes151_wavehdma_paused\0", 25));
    EXPECT_LT(BE16(B["CPU"], CPUVCounter + 2), 262);
    // ZSNES's RAM copy of $F1 says all timers on; they are off.
    EXPECT_EQ(std::count(&B["APU"][APUTimerEnabled], &B["APU"][APUTimerEnabled + 3], 0), 3);

    // With its SPC700 off, a state converts with the SPC700 powering on.
    ASSERT_TRUE(LoadSavestate(FixturePath("zsnes/zsnes151_hicolor3840_spcoff.zst")));
    ASSERT_TRUE(SaveState(*S9X, Out));
    B = SplitBlocks(Inflate(ReadBytes(Out)));
    EXPECT_EQ(BE16(B["ARE"], AREPC), 0xFFC0);
    EXPECT_TRUE(std::equal(IPLROM.begin(), IPLROM.end(), &B["ARA"][0xFFC0]));
    EXPECT_EQ(B["APU"][APUShowROM], 1);
}

TEST_F(S9XTest, PlainStatesLoadAndOptionalBlocksMayBeAbsent)
{
    const std::string Dir = TempDir();
    auto Plain = PlainState(false);
    WriteBytes(Dir + "/plain.001", Plain);
    ASSERT_TRUE(LoadSavestate(Dir + "/plain.001"));
    EXPECT_EQ(StateSlot, "1");
    ASSERT_TRUE(SaveState(*S9X, Dir + "/out.001"));
    auto B = SplitBlocks(Inflate(ReadBytes(Dir + "/out.001")));
    EXPECT_EQ(B.count("APU"), 0u);
    EXPECT_EQ(B["NAM"], (std::vector<uint8_t>{'G', 'A', 'M', 'E', '.', 'S', 'F', 'C', 0}));

    // Sound blocks present: the sound part is read; trailing padding is ignored.
    auto WithSound = PlainState(true);
    WithSound.resize(WithSound.size() + 100, 0);
    WriteBytes(Dir + "/sound.002", WithSound);
    ASSERT_TRUE(LoadSavestate(Dir + "/sound.002"));
    EXPECT_TRUE(S9X->Blocks.HasAPU);
    EXPECT_EQ(SNES->APU_RAM[5], 1);
    EXPECT_EQ(SNES->SPC_PC, 0x0101);
    EXPECT_TRUE(Errors(Recorder).empty());

    // An empty name is still written as one NUL.
    WriteBytes(Dir + "/noname.000", PlainState(false, ""));
    ASSERT_TRUE(LoadSavestate(Dir + "/noname.000"));
    ASSERT_TRUE(SaveState(*S9X, Dir + "/noname.001"));
    const auto C = Inflate(ReadBytes(Dir + "/noname.001"));
    EXPECT_EQ(std::string(C.begin() + 14, C.begin() + 26), std::string("NAM:000001:\0", 12));
}

TEST_F(S9XTest, DamagedFilesAreRefusedWithTheBlockAndNeverCrash)
{
    const std::string Dir = TempDir();
    const auto Good = PlainState(true);

    // Cut inside every block: the failing block is named, nothing is kept.
    std::string Error;
    for (auto [Cut, Block] : {std::pair<size_t, const char*>{5, "header"},
                              {20, "NAM"},
                              {40, "CPU"},
                              {2700, "PPU"},
                              {Good.size() - 1, "SOU"}}) {
        EXPECT_FALSE(
            S9X->ParseBlocks(std::vector<uint8_t>(Good.begin(), Good.begin() + static_cast<long>(Cut)), Error));
        EXPECT_NE(Error.find(Block), std::string::npos) << Error;
        EXPECT_FALSE(S9X->Blocks.HasAPU);
    }

    // A length field with a letter in it (one larger than the data, and
    // packed data cut short, are the format suite's).
    auto Hostile = Good;
    const std::string Letter = "PPU:00x625:";
    auto At = std::search(Hostile.begin(), Hostile.end(), Letter.begin(), Letter.begin() + 4);
    std::copy(Letter.begin(), Letter.end(), At);
    EXPECT_FALSE(S9X->ParseBlocks(Hostile, Error));

    const auto S = std::make_unique<tSNES>();
    tS9XImage Image;
    std::vector<uint8_t> SRAM;
    tError Why;
    EXPECT_FALSE(ReadS9XFile(Dir + "/missing.000", *S, Image, SRAM, Why));
    EXPECT_EQ(Why.Reason.rfind("can't gzopen", 0), 0u) << Why.Reason;
    // Garbage and empty files are the loader test's.
}

TEST_F(S9XTest, WrittenFieldsAreWhatSnes9xReads)
{
    SNES->Regs[0x2123] = 0x2B; // BG1: W1 on, inverted; W2 on. BG2: W1 on
    SNES->Regs[0x2125] = 0x80; // colour window: W2 on
    SNES->Regs[0x212A] = 0x09; // BG1 AND, BG2 XOR
    SNES->Regs[0x212B] = 0x0C; // colour window XNOR
    SNES->Regs[0x2101] = 0xB9; // base 1, name select 3, size 5
    SNES->Regs[0x420D] = 1;
    SNES->Regs[0x2181] = 0x34;
    SNES->Regs[0x2182] = 0x12;
    SNES->Regs[0x2183] = 0xFF;
    SNES->Regs[0x2106] = 0x35;
    SNES->Regs[0x211A] = 0x40;
    SNES->OAM[0] = 0xF0;
    SNES->OAM[512] = 0x03; // sprite 0: X bit 8, large
    SNES->FixedColour = {0, 0, 248, 0};
    const int Other = 0;
    Broadcast(&Other, Note::NewSavestate);
    Broadcast(&Other, Note::NewSNES);
    EXPECT_TRUE(S9X->Blocks.HasAPU);

    std::vector<uint8_t> Out;
    std::string Error;
    ASSERT_TRUE(S9X->SaveToStream(Out, Error));
    auto B = SplitBlocks(Inflate(Out));
    const auto& P = B["PPU"];
    const std::vector<uint8_t> Windows(P.begin() + PPUWindows, P.begin() + PPUWindows + 30);
    EXPECT_EQ(Windows, (std::vector<uint8_t>{1,         1, 1, 0, 1, /*BG2*/ 2, 1, 0, 1, 1, /*BG3*/ 0, 0, 0, 1, 1,
                                             /*BG4*/ 0, 0, 0, 1, 1, /*OBJ*/ 0, 0, 0, 1, 1, /*col*/ 3, 0, 1, 1, 1}));
    EXPECT_EQ(BE16(P, PPUOBJNameSelect), 0x6000);
    EXPECT_EQ(P[PPUOBJSizeSelect], 5);
    EXPECT_EQ(BE16(P, PPUOBJNameBase), 0x4000);
    EXPECT_EQ(P[PPUFixedColourRed], 31);
    EXPECT_EQ(std::vector<uint8_t>(P.begin() + PPUWRAM, P.begin() + PPUWRAM + 4),
              (std::vector<uint8_t>{0, 1, 0x12, 0x34}));
    EXPECT_EQ(P[PPUMosaic], 4);
    EXPECT_EQ(P[PPUBGMosaic], 1);
    EXPECT_EQ(BE16(P, PPUOBJ), 0xFFF0); // X = -16
    EXPECT_EQ(P[PPUOBJ + 10], 2);
    const auto& C = B["CPU"];
    EXPECT_EQ(std::vector<uint8_t>(C.begin() + 21, C.end()),
              (std::vector<uint8_t>{0, 0, 0, 6, 0, 0, 0, 12, 0, 0, 0, 6}));
    SNES->Regs[0x420D] = 0;
    Broadcast(&Other, Note::NewSNES);
    ASSERT_TRUE(S9X->SaveToStream(Out, Error));
    B = SplitBlocks(Inflate(Out));
    EXPECT_EQ(B["CPU"][24], 8);
    EXPECT_EQ(B["CPU"][28], 16);

    // The red byte 248 comes back as 248.
    const std::string Dir = TempDir();
    ASSERT_TRUE(SaveState(*S9X, Dir + "/fresh.000"));
    ASSERT_TRUE(LoadSavestate(Dir + "/fresh.000"));
    EXPECT_EQ(SNES->FixedColour[2], 248);
}

// Snes9x keeps a voice's sample position, flags, decoded block and filter
// history, ZSNES all but the decoded block and the place in it; a voice in
// flight goes silent in both, as no file pins down their rates' units.
TEST_F(S9XTest, VoicesKeepTheirSamplesAndGoSilentWithoutTheirRates)
{
    tVoice V{VoiceSustain, 90, 0x1234, 5, 1, 1, 1, 1, {}, {-300, 77}};
    V.Decoded.fill(-7000);
    SNES->Voices.fill(V);
    SNES->SPC_PC = 0x0400;
    const int Other = 0;
    Broadcast(&Other, Note::NewSavestate);
    Broadcast(&Other, Note::NewSNES);
    const std::string Dir = TempDir();
    ASSERT_TRUE(SaveState(*S9X, Dir + "/v.000") && LoadSavestate(Dir + "/v.000"));
    V.Phase = V.Level = V.KeyedOn = 0;
    EXPECT_TRUE(SNES->Voices[7] == V);
    ASSERT_TRUE(SaveState(*ZST, Dir + "/v.zst") && LoadSavestate(Dir + "/v.zst"));
    V.Position = 0;
    V.Decoded.fill(0);
    EXPECT_TRUE(SNES->Voices[7] == V);
}

// The format test keeps what it inflated for the load that follows; a file
// replaced in between, or other bytes, must still load as they are.
// The signature test reads a head of the file and keeps nothing: a load
// right after it reads the bytes the file holds by then.
TEST_F(S9XTest, ALoadAfterTheFormatTestReadsTheBytesAsTheyAreNow)
{
    REQUIRE_FIXTURES();
    const auto Files = FixtureFiles("snes9x", ".000");
    ASSERT_GE(Files.size(), 2u);
    const std::string Name = TempDir() + "/changing.000";
    WriteBytes(Name, ReadBytes(Files[1]));
    ASSERT_TRUE(LoadSavestate(Name));
    const auto Second = std::make_unique<tSNES>(*SNES);
    WriteBytes(Name, ReadBytes(Files[0]));
    ASSERT_TRUE(tS9X::IsS9XFile(Name));
    WriteBytes(Name, ReadBytes(Files[1]));
    ASSERT_TRUE(LoadSavestate(Name));
    EXPECT_TRUE(*SNES == *Second);
}

// Every field Snes9x saves, compared between a fixture and its copy through
// ZSNES: only what a ZSNES file has no place for may change.
TEST_F(S9XTest, ARoundTripThroughZSNESKeepsEveryFieldZSNESCanHold)
{
    REQUIRE_FIXTURES();
    std::ifstream Table(FixturesDir() + "/../reference/s9x-fields.tsv");
    if (!Table)
        GTEST_SKIP() << "no field table beside the fixtures";
    // Snes9x's own timing and counters (ZSNES counts in other units), its
    // joypad read positions, mixer volume, reset values of registers never
    // written and translation mask, the DMA count that shares its register
    // with the HDMA indirect address, scroll and address bits no mode reads,
    // and the SPC700 timers ZSNES keeps in variables of its own. Of a voice
    // ZSNES holds no decoded block nor a place inside it, and no envelope
    // of a voice in flight (its rates are in units of its own): written silent.
    const std::set<std::string> Lost = {"APU KeyedChannels",
                                        "CPU Cycles",
                                        "CPU NextEvent",
                                        "CPU WhichEvent",
                                        "APU Cycles",
                                        "APU Timer",
                                        "APU TimerTarget",
                                        "DMA DMA[n].TransferBytes",
                                        "PPU BG[n].VOffset",
                                        "PPU Joypad1ButtonReadPos",
                                        "PPU Joypad2ButtonReadPos",
                                        "PPU Joypad3ButtonReadPos",
                                        "PPU Mosaic",
                                        "PPU Need16x8Mulitply",
                                        "PPU OAMAddr",
                                        "PPU VMA.Address",
                                        "PPU VMA.Mask1",
                                        "PPU Window1Left",
                                        "PPU Window2Left",
                                        "SOU master_volume[0]",
                                        "SOU master_volume[1]"};
    // In the register mirror: the last byte written to write-twice, data
    // and address ports (the machine state holds the values in effect), the
    // status and port bytes, and other chips' registers.
    auto MirrorOnly = [](size_t A) {
        static const std::set<size_t> Ports = {0x2104, 0x2107, 0x2108, 0x210A, 0x2119, 0x2122, 0x2132,
                                               0x2133, 0x213E, 0x2140, 0x2141, 0x2200, 0x420B, 0x4210};
        return Ports.count(A) || (A >= 0x210D && A <= 0x2121) || (A >= 0x2181 && A <= 0x2183) ||
               (A >= 0x2220 && A <= 0x2228) || (A >= 0x4300 && A < 0x4380 && (A & 0xF) >= 7 && (A & 0xF) <= 10);
    };
    struct tField {
        std::string Block, Name;
        size_t Offset, Width, Count, Stride;
    };
    static const std::regex VoiceKept(
        "channels\\[n\\]\\.(block_pointer|loop|last_block|needs_decode|previous16.*|volume_.*)");
    auto VoiceLost = [](const tField& F) {
        return F.Block == "SOU" && F.Name.rfind("channels", 0) == 0 && !std::regex_match(F.Name, VoiceKept);
    };
    std::vector<tField> Fields;
    for (std::string Line; std::getline(Table, Line);) {
        std::istringstream L(Line);
        tField F;
        std::string Big;
        if (L >> F.Block >> F.Offset >> F.Width >> F.Count >> F.Stride >> Big >> F.Name)
            Fields.push_back(F);
    }
    ASSERT_GT(Fields.size(), 200u);
    const std::string Dir = TempDir();
    for (const std::string& Name : FixtureFiles("snes9x", ".000")) {
        SCOPED_TRACE(Name);
        ASSERT_TRUE(LoadSavestate(Name));
        ASSERT_TRUE(SaveState(*ZST, Dir + "/via.zst"));
        ASSERT_TRUE(LoadSavestate(Dir + "/via.zst"));
        ASSERT_TRUE(SaveState(*S9X, Dir + "/back.000"));
        auto A = SplitBlocks(Inflate(ReadBytes(Name))), B = SplitBlocks(Inflate(ReadBytes(Dir + "/back.000")));
        for (const tField& F : Fields) {
            const auto &From = A[F.Block], &To = B[F.Block];
            for (size_t i = 0; i < F.Count; ++i) {
                const size_t At = F.Offset + i * F.Stride, End = At + F.Width;
                if (End > From.size() || Lost.count(F.Block + " " + F.Name) || VoiceLost(F) ||
                    (F.Block == "FIL" && MirrorOnly(At)))
                    continue;
                ASSERT_LE(End, To.size()) << F.Block;
                EXPECT_TRUE(std::equal(&From[At], &From[End], &To[At])) << F.Block << " " << F.Name << " at " << At;
            }
        }
    }
}
