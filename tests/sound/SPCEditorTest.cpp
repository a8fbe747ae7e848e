#include "TestSupport.h"

#include <cstring>
#include <memory>

#include "core/Broadcast.h"
#include "core/SNES.h"
#include "sound/SPC_Editor.h"

namespace
{
using Bytes = std::vector<uint8_t>;

Bytes TaggedSPC(const Bytes& XID6Body)
{
    Bytes F(SPCLayout::FixedSize, 0);
    std::memcpy(F.data(), SPCSignatureText, SPCLayout::SignatureSize);
    F[0x21] = F[0x22] = F[0x23] = 26;
    F[0x24] = 30;
    std::memcpy(&F[0x2E], "Old song", 8);
    const Bytes Head = {'x', 'i', 'd', '6', static_cast<uint8_t>(XID6Body.size()), 0, 0, 0};
    F.resize(F.size() + 8 + XID6Body.size());
    std::copy(Head.begin(), Head.end(), F.end() - static_cast<long>(8 + XID6Body.size()));
    std::copy(XID6Body.begin(), XID6Body.end(), F.end() - static_cast<long>(XID6Body.size()));
    return F;
}

class SPCEditorTest : public tModelTest
{
  protected:
    std::unique_ptr<tSPC_Editor> Editor;
    void SetUp() override
    {
        tModelTest::SetUp();
        Editor = std::make_unique<tSPC_Editor>(*SPC);
    }
    Bytes SaveAndReload()
    {
        const std::string File = TempDir() + "/edited.spc";
        tError Error;
        EXPECT_TRUE(Editor->Save(File, Error)) << Error.Reason;
        const Bytes Saved = ReadBytes(File);
        EXPECT_TRUE(SPC->LoadFromFile(File, Error)) << Error.Reason;
        return Saved;
    }
};

TEST_F(SPCEditorTest, EveryTagTypeAndARetaggedRecordSaveAndReadBack)
{
    tError Error;
    ASSERT_TRUE(SPC->LoadFromMemory(TaggedSPC({0x01, 1, 4, 0, 'a',  'b', 'c', 0, // song "abc"
                                               0x30, 4, 4, 0, 0,    0,   0,   0, // intro length
                                               0x14, 0, 0, 0, 0x05, 4,   4,   0, // year, date
                                               0,    0, 0, 0, 0x12, 0,   0,   0, 0x34, 0, 0, 0, 0x06, 0, 0, 0}),
                                    Error));
    Editor->Refill();
    ASSERT_EQ(Editor->TagCount(), 7u);
    const std::string Long(100, '\xE9'); // Latin-1 bytes, longer than the old record
    SetExtTagText(*Editor->ExtTag(0), Long);
    SetExtTagNumber(*Editor->ExtTag(1), 64000 * 90);
    SetExtTagNumber(*Editor->ExtTag(2), 2004);
    SetExtTagDate(*Editor->ExtTag(3), {2004, 3, 5});
    SetExtTagNumber(*Editor->ExtTag(4), 7 << 8 | 'A');
    SetExtTagNumber(*Editor->ExtTag(5), 0x81);
    Editor->ExtTag(5)->ID = 0x11; // retagged: muted channels becomes OST disk
    SaveAndReload();
    ASSERT_EQ(SPC->ExtTags.Count(), 7u);
    EXPECT_EQ(ExtTagText(SPC->ExtTags[0]), Long) << "the record grew instead of cutting the text";
    EXPECT_EQ(ExtTagNumber(SPC->ExtTags[1]), 64000u * 90);
    EXPECT_EQ(ExtTagTimeText(ExtTagNumber(SPC->ExtTags[1])), "seconds = 00:01:30");
    EXPECT_EQ(ExtTagNumber(SPC->ExtTags[2]), 2004u);
    const tExtDate D = ExtTagDate(SPC->ExtTags[3]);
    EXPECT_EQ(D.Year * 10000 + D.Month * 100 + D.Day, 20040305);
    EXPECT_EQ(ExtTagNumber(SPC->ExtTags[4]), 7u << 8 | 'A');
    EXPECT_EQ(SPC->ExtTags[5].ID, 0x11);
    EXPECT_EQ(ExtTagNumber(SPC->ExtTags[5]), 0x81u);

    SetExtTagText(SPC->ExtTags[0], std::string(400, 'x'));
    EXPECT_EQ(SPC->ExtTags[0].Length, 256) << "a text record holds at most 256 bytes";
}

TEST_F(SPCEditorTest, ForeignTypeBytesReadAndSaveBackUnchanged)
{
    // The date and an intro length held in the header, a copyright year with
    // 4 data bytes: each type byte disagrees with what its ID usually holds.
    const Bytes Body = {0x05, 0,    0x34, 0x12, 0x30, 0, 0x10, 0, 0x14, 4, 4, 0,
                        0xD4, 0x07, 0,    0,    0x02, 1, 2,    0, 'G',  0, 0, 0};
    tError Error;
    ASSERT_TRUE(SPC->LoadFromMemory(TaggedSPC(Body), Error));
    Editor->Refill();
    ASSERT_EQ(Editor->TagCount(), 4u);
    EXPECT_EQ(ExtTagNumber(*Editor->ExtTag(1)), 0x10u);
    EXPECT_EQ(ExtTagNumber(*Editor->ExtTag(2)), 2004u);
    EXPECT_EQ(ExtTagText(*Editor->ExtTag(3)), "G");
    const Bytes Saved = SaveAndReload();
    EXPECT_EQ(Bytes(Saved.begin() + SPCLayout::FixedSize + 8, Saved.end()), Body);
}

TEST_F(SPCEditorTest, TypedFieldsSurviveNewSNESAndEmptyChoicesSaveEmpty)
{
    tError Error;
    ASSERT_TRUE(SPC->LoadFromMemory(TaggedSPC({}), Error));
    Editor->Refill();
    EXPECT_EQ(Editor->Fields.Song, "Old song");
    Editor->Fields.Song = "Typed \xE9";
    Editor->Fields.Day = Editor->Fields.Month = Editor->Fields.Year = -1;
    Editor->Fields.Emulator = -1;
    SNES->APU_RAM[5] = 0x77;
    int Other = 0;
    Broadcast(&Other, Note::NewSNES);
    EXPECT_FALSE(Editor->Refill()) << "a rebuilt sound part keeps what was typed";
    EXPECT_EQ(Editor->Fields.Song, "Typed \xE9");

    const Bytes Saved = SaveAndReload();
    EXPECT_EQ(Saved[0x100 + 5], 0x77);
    for (size_t i = 0x9E; i < 0x9E + 11; ++i)
        EXPECT_EQ(Saved[i], 0) << "an unchosen date is empty, at " << i;
    EXPECT_EQ(Saved[0xD2], '0');
    EXPECT_TRUE(SPC->TextTag);
    EXPECT_TRUE(Editor->Refill()) << "a newly read file replaces the fields";
    EXPECT_EQ(Editor->Fields.Song, "Typed \xE9");
    EXPECT_EQ(Editor->Fields.Year, -1);
    // Command-line texts: UTF-8 within Latin-1 becomes one byte a character.
    EXPECT_EQ(Latin1FromUTF8("T\xC3\xA9 \xC2\xB0"), "T\xE9 \xB0");
    EXPECT_EQ(Latin1FromUTF8("\xE6\x97\xA5 \xE9"), "\xE6\x97\xA5 \xE9");
}
} // namespace
