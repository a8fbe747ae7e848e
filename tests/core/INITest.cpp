#include "TestSupport.h"

#include <cstdlib>
#include <filesystem>

#include "core/Broadcast.h"
#include "core/INI.h"
#include "core/SharedData.h"

namespace
{

std::string Read(tINI& Ini, const std::string& Section, const std::string& Key)
{
    Ini.SetSection(Section);
    std::string V = "<missing>";
    Ini.ReadString(Key, V);
    return V;
}

TEST(INIText, CommentsBlanksAndMalformedLinesAreSkipped)
{
    tINI Ini;
    Ini.LoadFromText("Orphan=before any section\n"
                     "; a whole-line comment\n"
                     "[ Form_Main ]   ; trailing comment\r\n"
                     "Pos=10,20 ; where the window was\r\n"
                     "  Indented=yes  \n"
                     "=NoKey\n"
                     "NoEquals\n"
                     "Empty=\n"
                     "Eq=a=b\n");
    EXPECT_EQ(Ini.SectionNames, (tStringList{"Form_Main"}));
    EXPECT_EQ(Read(Ini, "Form_Main", "Pos"), "10,20");
    EXPECT_EQ(Read(Ini, "Form_Main", "Indented"), "yes");
    EXPECT_EQ(Read(Ini, "Form_Main", "Empty"), "");
    EXPECT_EQ(Read(Ini, "Form_Main", "Eq"), "a=b");
    EXPECT_EQ(Read(Ini, "Form_Main", "NoEquals"), "<missing>");
    EXPECT_EQ(Read(Ini, "Form_Main", ""), "<missing>");
    EXPECT_EQ(Ini.Sections[0]->size(), 4u);
}

TEST(INIText, RepeatedSectionsMergeAndTheLastValueWins)
{
    tINI Ini;
    Ini.LoadFromText("[Form_Main]\nA=1\nB=2\n[Form_Scene]\nX=9\n[form_main]\nB=3\nC=4\n");
    ASSERT_EQ(Ini.SectionNames.size(), 2u);
    EXPECT_EQ(Read(Ini, "Form_Main", "A"), "1");
    EXPECT_EQ(Read(Ini, "FORM_MAIN", "b"), "3");
    EXPECT_EQ(Read(Ini, "Form_Main", "C"), "4");
    EXPECT_EQ(Ini.SaveToText(), "[Form_Main]\nA=1\nB=3\nC=4\n\n\n[Form_Scene]\nX=9\n");
}

TEST(INIText, SectionsAreWrittenSortedWithoutRegardToCase)
{
    tINI Ini;
    for (const char* Name : {"Form_Scene", "Form_Main", "b", "A", "form_list"}) {
        Ini.SetSection(Name);
        EXPECT_EQ(Ini.Section, nullptr);
        Ini.WriteString("K", Name);
        EXPECT_NE(Ini.Section, nullptr);
    }
    EXPECT_EQ(Ini.SectionNames, (tStringList{"A", "b", "form_list", "Form_Main", "Form_Scene"}));
    // Every section still holds its own lines after the inserts.
    EXPECT_EQ(Read(Ini, "Form_Scene", "K"), "Form_Scene");
    EXPECT_EQ(Read(Ini, "form_main", "K"), "Form_Main");
}

TEST(INIText, OnlyTheExactTextTrueIsTrue)
{
    tINI Ini;
    Ini.LoadFromText("[S]\nA=True\nB=true\nC=TRUE\nD=1\nE=False\n");
    Ini.SetSection("S");
    for (auto [Key, Want] : {std::pair{"A", true}, {"B", false}, {"C", false}, {"D", false}, {"E", false}}) {
        bool V = !Want;
        EXPECT_TRUE(Ini.ReadBool(Key, V));
        EXPECT_EQ(V, Want) << Key;
    }
    bool Untouched = true;
    EXPECT_FALSE(Ini.ReadBool("Missing", Untouched));
    EXPECT_TRUE(Untouched);
}

TEST(INIText, MalformedNumbersReportFailureAndKeepTheValue)
{
    tINI Ini;
    Ini.LoadFromText("[S]\nI=12x\nBig=99999999999\nNeg=-5\nC=00FF80\nBadC=GG\nLongC=123456789\nSp=1 2\n");
    Ini.SetSection("S");
    int I = 7;
    for (const char* Bad : {"I", "Big", "Sp"})
        EXPECT_FALSE(Ini.ReadInteger(Bad, I)) << Bad;
    EXPECT_EQ(I, 7);
    EXPECT_TRUE(Ini.ReadInteger("Neg", I));
    EXPECT_EQ(I, -5);
    uint32_t C = 1;
    EXPECT_FALSE(Ini.ReadColor("BadC", C));
    EXPECT_FALSE(Ini.ReadColor("LongC", C));
    EXPECT_EQ(C, 1u);
    EXPECT_TRUE(Ini.ReadColor("C", C));
    EXPECT_EQ(C, 0x00FF80u);
}

TEST(INIText, ValuesRoundTripThroughTheirEncodings)
{
    tINI Ini;
    Ini.SetSection("Form_Palette");
    Ini.WriteInteger("Int", -123);
    Ini.WriteColor("Col", 0x00AB01CD);
    Ini.WriteBool("Yes", true);
    Ini.WriteString("Str", "two\nlines");
    Ini.WriteList("List", {"plain", "with blank", "a,b", "say \"hi\"", ""});
    Ini.WriteInteger("Int", 5); // replaces, does not append
    EXPECT_EQ(Ini.Section->size(), 5u);

    tINI Back;
    Back.LoadFromText(Ini.SaveToText());
    Back.SetSection("Form_Palette");
    int I = 0;
    uint32_t C = 0;
    bool B = false;
    std::string S;
    EXPECT_TRUE(Back.ReadInteger("Int", I) && I == 5);
    EXPECT_TRUE(Back.ReadColor("Col", C) && C == 0x00AB01CDu);
    EXPECT_TRUE(Back.ReadBool("Yes", B) && B);
    EXPECT_TRUE(Back.ReadString("Str", S));
    EXPECT_EQ(S, "two lines"); // a line break would have split the entry
    tStringList L;
    ASSERT_TRUE(Back.ReadList("List", L));
    EXPECT_EQ(L, (tStringList{"plain", "with blank", "a,b", "say \"hi\"", ""}));
}

TEST(INIText, CommaTextQuotingAndLooseReading)
{
    EXPECT_EQ(CommaText({"1", "2 3", "x,y", "q\"q"}), "1,\"2 3\",\"x,y\",\"q\"\"q\"");
    EXPECT_EQ(ParseCommaText("10, 20"), (tStringList{"10", "20"}));
    EXPECT_EQ(ParseCommaText("a b"), (tStringList{"a", "b"})); // unquoted blanks separate
    EXPECT_EQ(ParseCommaText("a,,b,"), (tStringList{"a", "", "b", ""}));
    EXPECT_EQ(ParseCommaText("\"unterminated"), (tStringList{"unterminated"}));
    EXPECT_TRUE(ParseCommaText("").empty());
}

using INIFile = tModelTest;

TEST_F(INIFile, LoadSaveAndFirstRun)
{
    std::string Dir = TempDir();
    std::string Name = Dir + "/Orlik.ini";
    tINI Ini;
    tError Error;
    EXPECT_TRUE(Ini.LoadFromFile(Name, Error));
    EXPECT_FALSE(Ini.FileExisted);
    Ini.SetSection("Form_Main");
    Ini.WriteInteger("ActivePageIndex", 3);
    ASSERT_TRUE(Ini.SaveToFile(Name, Error)) << Error.Reason;

    tINI Back;
    Back.SetSection("Stale");
    Back.WriteString("K", "V");
    ASSERT_TRUE(Back.LoadFromFile(Name, Error));
    EXPECT_TRUE(Back.FileExisted);
    EXPECT_EQ(Back.SectionNames, tStringList{"Form_Main"}); // the old contents are dropped
    EXPECT_EQ(Read(Back, "Form_Main", "ActivePageIndex"), "3");

    // Something far larger than any configuration is refused and the
    // settings in memory stay.
    WriteBytes(Dir + "/Huge.ini", {'[', 'A', ']'});
    std::filesystem::resize_file(Dir + "/Huge.ini", 5u << 20);
    EXPECT_FALSE(Back.LoadFromFile(Dir + "/Huge.ini", Error));
    EXPECT_NE(Error.Reason.find("too large"), std::string::npos) << Error.Reason;
    EXPECT_TRUE(Recorder.Log.empty());
    EXPECT_EQ(Back.SectionNames, tStringList{"Form_Main"});
}

TEST_F(INIFile, StartupReadsTheConfigurationBesideTheProgram)
{
    std::string Dir = TempDir();
    WriteBytes(Dir + "/Orlik.ini", {'[', 'X', ']', '\n', 'K', '=', '1', '\n'});
    std::string Saved = ProgramDir;
    SetProgramDir(Dir);
    EXPECT_EQ(ConfigFilePath(), Dir + "/Orlik.ini");
    Broadcast(nullptr, Note::Startup);
    EXPECT_TRUE(INI->FileExisted);
    EXPECT_EQ(Read(*INI, "X", "K"), "1");
    // One that cannot be read is reported once, naming it, and the settings
    // already read stay.
    std::filesystem::resize_file(Dir + "/Orlik.ini", 5u << 20);
    Broadcast(nullptr, Note::Startup);
    SetProgramDir(Saved);
    ASSERT_EQ(Recorder.Log.size(), 1u);
    EXPECT_EQ(Recorder.Log[0].Text.rfind("Could not read " + Dir + "/Orlik.ini: file too large", 0), 0u)
        << Recorder.Log[0].Text;
    EXPECT_EQ(Read(*INI, "X", "K"), "1");
}

TEST_F(INIFile, UnwritableProgramFolderFallsBackToTheUserConfiguration)
{
    // A folder that does not exist cannot be written even by root, which
    // makes it a stand-in for a read-only installation.
    std::string Dir = TempDir();
    std::string Saved = ProgramDir;
    const char* OldXdg = std::getenv("XDG_CONFIG_HOME");
    std::string Restore = OldXdg ? OldXdg : "";
    ::setenv("XDG_CONFIG_HOME", (Dir + "/cfg").c_str(), 1);
    SetProgramDir(Dir + "/missing");
    std::string Path = ConfigFilePath();
    SetProgramDir(Saved);
    if (OldXdg)
        ::setenv("XDG_CONFIG_HOME", Restore.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(Path, Dir + "/cfg/orlik/Orlik.ini");

    tINI Ini;
    Ini.SetSection("S");
    Ini.WriteBool("B", true);
    tError Error;
    EXPECT_TRUE(Ini.SaveToFile(Path, Error)) << Error.Reason; // creates the folder
    EXPECT_TRUE(std::filesystem::exists(Path));
}

} // namespace
