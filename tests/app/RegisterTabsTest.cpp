// The register tabs with the program's own "SNES.txt".

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "TestSupport.h"
#include "app/Loader.h"
#include "app/RegisterTabs.h"
#include "app/SaveState.h"
#include "cart/SNESCart.h"
#include "core/Broadcast.h"
#include "core/LittleEndian.h"
#include "core/Options.h"
#include "core/SNES.h"
#include "render/PPU.h"
#include "savestates/S9X.h"
#include "savestates/SSL.h"
#include "tools/ListEditModel.h"

namespace
{
class tRegisterTabsTest : public tModelTest
{
  protected:
    tRegisterFile File;
    // Stand-in images, large enough for every field.
    std::vector<uint8_t> ZSTImage = std::vector<uint8_t>(266879);
    std::vector<uint8_t> Block = std::vector<uint8_t>(65600);

    void SetUp() override
    {
        tModelTest::SetUp();
        tError Error;
        ASSERT_TRUE(LoadRegisterDescriptions(File, Error)) << Error.Reason;
    }

    tRegisterSources Sources(uint8_t Format)
    {
        tRegisterSources Src;
        Src.SNES = SNES;
        Src.PPU = PPU;
        Src.StateFormat = Format;
        Src.ZST = [this](std::string_view) { return std::span<uint8_t>(ZSTImage); };
        Src.S9X = [this](std::string_view) { return std::span<uint8_t>(Block); };
        Src.SSL = Src.S9X;
        return Src;
    }

    tRegisterTab Filled(int Page, uint8_t Format = FormatNone)
    {
        tRegisterTab Tab;
        Tab.Build(File.Sections[static_cast<size_t>(Page)], File.FileName);
        FillRegisterTab(Tab, Page, Sources(Format), false);
        return Tab;
    }
};

const tRegisterRow& Row(const tRegisterTab& Tab, const std::string& Name)
{
    for (const tRegisterRow& R : Tab.Rows)
        if (R.Name == Name)
            return R;
    static tRegisterRow None;
    ADD_FAILURE() << "no row " << Name;
    return None;
}

// Writes a value back through a row, as the list editor does.
void Write(const tRegisterTab& Tab, const std::string& Name, uint64_t Value)
{
    tRegisterRow R = Row(Tab, Name);
    WriteBlock(R.Block, Value);
}
} // namespace

TEST_F(tRegisterTabsTest, EveryDataRowTakesExactlyOneValue)
{
    for (int Page = 0; Page < RegisterPageCount; ++Page)
        for (uint8_t Format = FormatNone; Format <= FormatSSL; ++Format) {
            tRegisterTab Tab = Filled(Page, Format);
            EXPECT_EQ(Tab.ValueCount, Tab.DataRowCount()) << "page " << Page << ", format " << int(Format);
        }
    EXPECT_EQ(ImageFields(PageZST).size(), 477u);
}

TEST_F(tRegisterTabsTest, ImageRowsAreAsWideAsTheirFields)
{
    for (int Page : {PageZST, PageS9X, PageSSL}) {
        tRegisterTab Tab = Filled(Page);
        auto Fields = ImageFields(Page);
        size_t I = 0;
        for (const tRegisterRow& R : Tab.Rows)
            if (!R.IsText && I < Fields.size()) {
                EXPECT_EQ(R.Block.Bits, Fields[I].Width * 8) << "page " << Page << " line " << R.Line;
                ++I;
            }
    }
}

TEST_F(tRegisterTabsTest, ZSNESLacksSomeCPURegisters)
{
    SNES->Regs[0x420B] = 0x01;
    SNES->Regs[0x4218] = 0x80;
    tRegisterTab Z = Filled(PageCPU, FormatZST);
    for (const char* Name :
         {"WRMPYB", "WRDIVB", "MDMAEN", "JOY1L", "JOY1H", "JOY2L", "JOY2H", "JOY3L", "JOY3H", "JOY4L", "JOY4H"}) {
        EXPECT_EQ(Row(Z, Name).Dec, "?") << Name;
        EXPECT_EQ(Row(Z, Name).Bin, "????????") << Name;
        EXPECT_EQ(Row(Z, Name).Block.Address, nullptr) << Name;
    }
    EXPECT_EQ(Filled(PageDMA, FormatZST).Rows[0].Dec, "?");

    tRegisterTab S = Filled(PageCPU, FormatS9X);
    EXPECT_EQ(Row(S, "MDMAEN").Dec, "1");
    EXPECT_EQ(Row(S, "JOY1L").Dec, "128");
    // Snes9x in turn keeps no VRAM port control.
    EXPECT_EQ(Row(Filled(PagePPU, FormatS9X), "VMAIN").Dec, "?");
}

TEST_F(tRegisterTabsTest, CPURowsSplitTheRegisters)
{
    SNES->CPU_A = 0x1234;
    SNES->CPU_P = 0x0180;
    SNES->CPU_PC = 0x808255;
    SNES->CPU_DB = 0x7E0000;
    SNES->CPU_ZTiming = {45, 167, 3}; // curcyc is the third
    tRegisterTab Tab = Filled(PageCPU);
    EXPECT_EQ(Row(Tab, "B").Hex, "12");
    EXPECT_EQ(Row(Tab, "P.V").Dec, "0");
    EXPECT_EQ(Row(Tab, "E").Dec, "1");
    EXPECT_EQ(Row(Tab, "PB").Hex, "80");
    EXPECT_EQ(Row(Tab, "DB").Hex, "7E");
    EXPECT_EQ(Row(Tab, "curcyc").Dec, "3");
}

TEST_F(tRegisterTabsTest, PPUPortsShowTheMemoryTheyReach)
{
    // OAM word address $105: byte $20A, in the high table.
    SNES->Regs[0x2102] = 0x05;
    SNES->Regs[0x2103] = 0x01;
    SNES->OAM[512 + 10] = 0x77;
    // Bit 15 of the VRAM address reaches nothing: word $7FFF.
    SNES->SetReg16(0x2116, 0xFFFF);
    SNES->VRAM[0xFFFE] = 0x34;
    SNES->VRAM[0xFFFF] = 0x12;
    SNES->Regs[0x2121] = 0x10;
    SNES->CGRAM[0x10] = 0x7C1F;
    SNES->Regs[0x2181] = 0x34;
    SNES->Regs[0x2182] = 0x12;
    SNES->Regs[0x2183] = 0xFF; // only bit 0 counts
    SNES->WRAM[0x11234] = 0x99;
    SNES->FixedColour = {248, 8, 16, 0}; // blue, green, red
    SNES->BGHScroll[0] = 0x1FFF;
    tRegisterTab Tab = Filled(PagePPU);
    EXPECT_EQ(Row(Tab, "RDOAM").Dec, "119");
    EXPECT_EQ(Row(Tab, "VMADD*2").Hex, "FFFE");
    EXPECT_EQ(Row(Tab, "RDVRAM").Hex, "1234");
    EXPECT_EQ(Row(Tab, "CGDATA").Hex, "7C1F");
    EXPECT_EQ(Row(Tab, "WMDATA").Hex, "99");
    EXPECT_EQ(Row(Tab, "WMADD").Hex, "00011234");
    EXPECT_EQ(Row(Tab, "COLDATA").Hex, "7C22");
    EXPECT_EQ(Row(Tab, "BG1HOFS").Hex, "1FFF");
    EXPECT_EQ(Row(Tab, "SLHV").Dec, "?");

    // Writing the byte address back changes the register's word address only;
    // the fixed colour's parts go into the renderer's 8-bit components.
    Write(Tab, "CGADD*2", 0x1FE);
    EXPECT_EQ(SNES->Regs[0x2121], 0xFF);
    EXPECT_EQ(SNES->Regs[0x2122], 0x00);
    Write(Tab, "COLDATA.G", 31);
    EXPECT_EQ(SNES->FixedColour[1], 248);
}

TEST_F(tRegisterTabsTest, APURowsFollowTheVoicesAndTheDSP)
{
    SNES->SPC_YA = 0xA55A;
    SNES->SPC_PSW = 0x82;
    SNES->DSP[0x32] = 0xFF; // voice 3 pitch low
    SNES->DSP[0x33] = 0xFF; // voice 3 pitch high, 6 bits used
    SNES->DSP[0x7F] = 0x80;
    SNES->APU_RAM[0xFD] = 0x0F;
    tRegisterTab Tab = Filled(PageAPU);
    EXPECT_EQ(Row(Tab, "A").Hex, "5A");
    EXPECT_EQ(Row(Tab, "PSW.N").Dec, "1");
    EXPECT_EQ(Row(Tab, "PSW.C").Dec, "0");
    EXPECT_EQ(Row(Tab, "V3PITCH").Hex, "3FFF");
    EXPECT_EQ(Row(Tab, "FIR7").Hex, "80");
    EXPECT_EQ(Row(Tab, "T0OUT").Dec, "15");
}

TEST_F(tRegisterTabsTest, ZSNESTabNamesFieldsByFileOffset)
{
    ZSTImage[55] = 0x55; // xpc
    ZSTImage[56] = 0x82;
    tRegisterTab Tab = Filled(PageZST, FormatZST);
    auto Fields = ImageFields(PageZST);
    EXPECT_EQ(Fields.front().Offset, 0x1Bu);
    EXPECT_EQ(Fields.back().Offset, 266378u);
    size_t I = 0;
    for (const tRegisterRow& R : Tab.Rows)
        if (!R.IsText) {
            char Want[8];
            std::snprintf(Want, sizeof Want, "%06X", Fields[I++].Offset);
            EXPECT_EQ(R.Caption, Want);
        }
    EXPECT_EQ(Row(Tab, "xpc").Caption, "000037");
    EXPECT_EQ(Row(Tab, "xpc").Hex, "8255");

    // A file without the SPC700 part (199,699 bytes) has no values for its fields.
    ZSTImage.resize(199699);
    tRegisterTab Short = Filled(PageZST, FormatZST);
    EXPECT_EQ(Row(Short, "spcA").Dec, "?");
    EXPECT_EQ(Row(Short, "spcA").Caption, "040C27");
    EXPECT_EQ(Row(Short, "xpc").Hex, "8255");
}

TEST_F(tRegisterTabsTest, TabsFillOncePerRefresh)
{
    tRegisterTabs Tabs;
    tError Error;
    ASSERT_TRUE(Tabs.Load(Error)) << Error.Reason;
    SNES->Regs[0x2100] = 0x0F;
    Tabs.FillTab(PagePPU, Sources(FormatNone), true);
    EXPECT_EQ(Row(Tabs.Tabs[PagePPU], "INIDISP").Dec, "15");
    SNES->Regs[0x2100] = 0x80;
    Tabs.FillTab(PagePPU, Sources(FormatNone), true);
    EXPECT_EQ(Row(Tabs.Tabs[PagePPU], "INIDISP").Dec, "15");
    // "update the lists" off: a new state leaves the values as they are.
    Tabs.Invalidate();
    Tabs.FillTab(PagePPU, Sources(FormatNone), false);
    EXPECT_EQ(Row(Tabs.Tabs[PagePPU], "INIDISP").Dec, "15");
    Tabs.FillTab(PagePPU, Sources(FormatNone), true);
    EXPECT_EQ(Row(Tabs.Tabs[PagePPU], "INIDISP").Dec, "128");
    // A new state is no edit: restore would otherwise bring back the old one.
    EXPECT_FALSE(Tabs.ListModified(PagePPU));
    EXPECT_FALSE(Tabs.ListModified(PageCPU));
}

TEST_F(tRegisterTabsTest, SuperSleuthTabShowsTheConvertedChunks)
{
    SNES->CPU_A = 0xBEEF;
    SNES->Regs[0x2121] = 0x42;
    SNES->Regs[0x4372] = 0x34;
    SNES->Regs[0x4373] = 0x12;
    SNES->BGVScroll[2] = 0x155;
    SNES->FixedColour = {248, 0, 8, 0};
    SSL->MachineToChunks(*SNES, nullptr, 0x12345678);
    tRegisterTabs Tabs;
    tError Error;
    ASSERT_TRUE(Tabs.Load(Error)) << Error.Reason;
    Tabs.FillTab(PageSSL, CurrentRegisterSources(), true);
    const tRegisterTab& Tab = Tabs.Tabs[PageSSL];
    EXPECT_EQ(Tab.ValueCount, Tab.DataRowCount());
    EXPECT_EQ(Row(Tab, "BPS2.Time").Hex, "12345678");
    EXPECT_EQ(Row(Tab, "A").Hex, "BEEF");
    EXPECT_EQ(Row(Tab, "A1T7").Hex, "1234");
    EXPECT_EQ(Row(Tab, "CGADD").Hex, "42");
    EXPECT_EQ(Row(Tab, "BG3VOFS").Hex, "0155");
    EXPECT_EQ(Row(Tab, "COLDATA").Hex, "7C01");
    EXPECT_EQ(Row(Tab, "A1T7").Caption, "SDMA:0072");

    // Editing a row edits the chunk.
    Write(Tab, "CGADD", 0x10);
    EXPECT_EQ(SSL->SPPU[588], 0x10);
}

TEST_F(tRegisterTabsTest, S9XTabFollowsTheVersionOfTheFileLoaded)
{
    REQUIRE_FIXTURES();
    Options().CBox_OpenCart = false;
    tRegisterTabs Tabs;
    tError Error;
    ASSERT_TRUE(Tabs.Load(Error)) << Error.Reason;
    auto S9XTab = [&](const std::string& Fixture) -> const tRegisterTab& {
        EXPECT_TRUE(LoadSavestate(FixturePath(Fixture), &Error)) << Error.Reason;
        Tabs.Invalidate();
        Tabs.FillTab(PageS9X, CurrentRegisterSources(), true);
        return Tabs.Tabs[static_cast<size_t>(PageS9X)];
    };
    // The stream's offsets (version 12 and 14 lay the blocks out alike):
    // header 14, NAM 11+8, CPU 11+48, REG 11+16, PPU header 11.
    for (const char* Modern :
         {"snes9x-modern/m7_perspective_hdma.000", "snes9x-modern/retroarch/m7_perspective_hdma_v14.state"}) {
        const tRegisterTab& Tab = S9XTab(Modern);
        EXPECT_EQ(Row(Tab, "PPU.BGMode").Caption, "0000BC") << Modern;
        EXPECT_EQ(Row(Tab, "PPU.BGMode").Dec, "7") << Modern;
        // A big-endian number shown in machine order: V-blank starts at line 225.
        EXPECT_EQ(Row(Tab, "CPU.V_Counter").Dec, "225") << Modern;
        EXPECT_EQ(Row(Tab, "TIM.H_Max").Dec, "1364") << Modern;
        EXPECT_EQ(Tab.ValueCount, Tab.DataRowCount()) << Modern;
    }
    // A Snes9x 1.43 file brings the description file's rows back.
    const tRegisterTab& Old = S9XTab("snes9x/m7_perspective_hdma.000");
    EXPECT_EQ(Row(Old, "BGMode").Caption, "PPU:0000");
    EXPECT_EQ(Row(Old, "BGMode").Dec, "7");
}

TEST_F(tRegisterTabsTest, AnEditOfANewerSnes9xFieldIsReadIntoTheMachineState)
{
    REQUIRE_FIXTURES();
    Options().CBox_OpenCart = false;
    tRegisterTabs Tabs;
    tError Error;
    ASSERT_TRUE(Tabs.Load(Error)) << Error.Reason;
    ASSERT_TRUE(LoadSavestate(FixturePath("snes9x-modern/m7_perspective_hdma.000"), &Error)) << Error.Reason;
    // As the list editor writes a row back; the row's address in the stream.
    auto Edit = [&](const std::string& Name, uint64_t Value) {
        Tabs.Invalidate();
        Tabs.FillTab(PageS9X, CurrentRegisterSources(), true);
        tRegisterRow R = Row(Tabs.Tabs[static_cast<size_t>(PageS9X)], Name);
        Tabs.Busy = true;
        WriteBlock(R.Block, Value);
        Broadcast(nullptr, tListEditModel::CommitNote(ListS9X));
        Tabs.Busy = false;
        return std::stoul(R.Caption, nullptr, 16);
    };
    const size_t At = Edit("REG.A.W", 0x1234);
    Edit("PPU.MatrixA", 0x0123);
    EXPECT_EQ(S9X->SnpStream[At], 0x12);
    EXPECT_EQ(SNES->M7.A, 0x0123);
    const std::string Dir = TempDir();
    for (const char* Target : {"zst", "s9xsnp"}) {
        const std::string Saved = Dir + "/edited" + FindStateTarget(Target)->Extension();
        ASSERT_TRUE(SaveStateAs(*FindStateTarget(Target), Saved));
        ASSERT_TRUE(LoadSavestate(Saved, &Error)) << Error.Reason;
        EXPECT_EQ(SNES->CPU_A, 0x1234) << Target;
        EXPECT_EQ(SNES->M7.A, 0x0123) << Target;
    }
    EXPECT_TRUE(Recorder.Log.empty());

    // Refused: a stream the reader does not take, and an edit that would undo
    // a change made elsewhere. Everything stays as it was.
    const tSNES Before = *SNES;
    const std::vector<uint8_t> Stream = S9X->SnpStream;
    S9X->SnpEditPart(0)[9] = 'x';
    Broadcast(nullptr, Note::NewS9X);
    EXPECT_TRUE(*SNES == Before);
    SNES->CPU_X ^= 1;
    Broadcast(nullptr, Note::NewSNES);
    Edit("REG.A.W", 0x5678);
    EXPECT_TRUE(Row(Tabs.Tabs[static_cast<size_t>(PageS9X)], "REG.A.W").ReadOnly);
    EXPECT_EQ(SNES->CPU_A, 0x1234);
    EXPECT_EQ(S9X->SnpStream, Stream);
    EXPECT_EQ(Recorder.Log.size(), 2u);
}

TEST_F(tRegisterTabsTest, AnEditOfASnes9x143OrSuperSleuthFieldReachesTheMachineStateAndNothingElse)
{
    REQUIRE_FIXTURES();
    Options().CBox_OpenCart = false;
    tRegisterTabs Tabs;
    tError Error;
    ASSERT_TRUE(Tabs.Load(Error)) << Error.Reason;
    auto Edit = [&](int Page, const std::string& Name, uint64_t Value) {
        Tabs.Invalidate();
        Tabs.FillTab(Page, CurrentRegisterSources(), true);
        tRegisterRow R = Row(Tabs.Tabs[static_cast<size_t>(Page)], Name);
        WriteBlock(R.Block, Value);
        Broadcast(nullptr, tListEditModel::CommitNote(Page));
    };
    const std::string Dir = TempDir();

    // Before any file: the blank state takes it.
    Edit(PageS9X, "A.W", 0x1111);
    EXPECT_EQ(SNES->CPU_A, 0x1111);

    // A ZSNES state keeps what the Snes9x blocks cannot hold: saved as ZSNES
    // again, it differs from the file in the edited byte only.
    const std::string Original = FixturePath("zsnes/zsnes151_hello.zst");
    ASSERT_TRUE(LoadSavestate(Original, &Error)) << Error.Reason;
    const uint8_t Mode = SNES->Regs[0x2105];
    Edit(PageS9X, "BGMode", 3);
    EXPECT_EQ(SNES->Regs[0x2105], (Mode & ~7) | 3);
    EXPECT_EQ(PPU->BGMode, 3);
    ASSERT_TRUE(SaveStateAs(*FindStateTarget("zst"), Dir + "/edited.zst"));
    const std::vector<uint8_t> Was = ReadBytes(Original), Now = ReadBytes(Dir + "/edited.zst");
    ASSERT_EQ(Was.size(), Now.size());
    std::vector<size_t> Differ;
    for (size_t i = 0; i < Was.size(); ++i)
        if (Was[i] != Now[i])
            Differ.push_back(i);
    EXPECT_EQ(Differ, std::vector<size_t>{102});
    Edit(PageS9X, "BGMode", Mode & 7);
    EXPECT_EQ(SNES->Regs[0x2105], Mode);

    // A field the machine state has no place for stays in the blocks.
    const auto Held = std::make_unique<tSNES>(*SNES);
    Edit(PageS9X, "NextEvent", 0x1234);
    EXPECT_TRUE(*SNES == *Held);
    ASSERT_TRUE(SaveState(*S9X, Dir + "/edited.000"));
    ASSERT_TRUE(LoadSavestate(Dir + "/edited.000", &Error)) << Error.Reason;
    EXPECT_EQ(ReadLE<4>(&S9X->Blocks[S9XLayout::BlockCPU][S9XLayout::CPUNextEvent]), 0x1234u);

    // A Snes9x 1.43 file's registers and scrolls, kept through ZSNES.
    ASSERT_TRUE(LoadSavestate(FixturePath("snes9x/m0_helloworld.000"), &Error)) << Error.Reason;
    Edit(PageS9X, "A.W", 0xBEEF);
    Edit(PageS9X, "BG[1].HOffset", 0x0123);
    EXPECT_EQ(SNES->CPU_A, 0xBEEF);
    EXPECT_EQ(SNES->BGHScroll[1], 0x0123);
    // As the hex editor writes the register mirror: the PPU block's copy follows.
    S9X->Blocks[S9XLayout::BlockFIL][0x2105] = 0x05;
    Broadcast(nullptr, Note::NewS9X);
    EXPECT_EQ(SNES->Regs[0x2105], 0x05);
    EXPECT_EQ(S9X->Blocks[S9XLayout::BlockPPU][S9XLayout::PPUBGMode], 5);
    // The Super Sleuth chunks made from it.
    Edit(PageSSL, "X", 0x4321);
    Edit(PageSSL, "BPS2.Time", 77);
    EXPECT_EQ(SNES->CPU_X, 0x4321);
    EXPECT_EQ(SSL->BPS2[162], 77);
    ASSERT_TRUE(SaveStateAs(*FindStateTarget("zst"), Dir + "/via.zst"));
    ASSERT_TRUE(LoadSavestate(Dir + "/via.zst", &Error)) << Error.Reason;
    EXPECT_EQ(SNES->CPU_A, 0xBEEF);
    EXPECT_EQ(SNES->CPU_X, 0x4321);
    EXPECT_EQ(SNES->BGHScroll[1], 0x0123);

    // Save RAM written in either format goes to the cartridge.
    Cart->SRAM.assign(8, 0);
    Broadcast(nullptr, Note::NewSRAM);
    S9X->Blocks[S9XLayout::BlockSRA][3] = 9;
    Broadcast(nullptr, Note::NewS9X);
    SSL->SRAMStream[4] = 7;
    Broadcast(nullptr, Note::NewSSL);
    EXPECT_EQ(Cart->SRAM, (std::vector<uint8_t>{0, 0, 0, 9, 7, 0, 0, 0}));
}
