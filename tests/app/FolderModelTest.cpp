// The browsers' folder model on a scratch folder: grouping by exact base
// name, slot order, cartridge entries, header checks that follow a replaced
// file, thumbnails only where a file has room for one, and a large folder.

#include <filesystem>
#include <fstream>

#include "TestSupport.h"
#include "app/FolderModel.h"
#include "savestates/ZSTLayout.h"

namespace fs = std::filesystem;

namespace
{
void Put(const std::string& Path, const std::vector<uint8_t>& Bytes = {'x'})
{
    std::ofstream(Path, std::ios::binary)
        .write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
}

std::vector<std::string> Captions(const tStateGroup& G)
{
    std::vector<std::string> C;
    for (const tSlotEntry& S : G.Slots)
        C.push_back(S.Caption);
    return C;
}
} // namespace

TEST(FolderModel, GroupsSlotsAndCartridgesByExactName)
{
    const std::string Dir = TempDir();
    for (const char* N : {"game.zst",
                          "game.zs1",
                          "game.zmv",
                          "game.zm3",
                          "game.000",
                          "game.012",
                          "game.sv4",
                          "game.S12",
                          "Game (U) [!].zs9",
                          "Zelda.v2.zst",
                          "Zelda.v2.state.auto",
                          "Žluťoučký kůň.000",
                          "notes.txt",
                          "ROM.SMC",
                          "ROM.zip",
                          "pack.zip",
                          "pack.sfc",
                          "hack.smc",
                          "hack.IPS",
                          "x.txt"})
        Put(Dir + "/" + N);
    fs::create_directory(Dir + "/sub [1]");

    const tFolderListing L = ListFolder(Dir);
    ASSERT_TRUE(L.Ok);
    EXPECT_EQ(L.Dir, Dir + "/");
    EXPECT_EQ(L.Dirs, std::vector<std::string>{"sub [1]"});
    const std::vector<tStateGroup> G = GroupSavestates(L);
    std::vector<std::string> Bases;
    for (const tStateGroup& E : G)
        Bases.push_back(E.Base);
    EXPECT_EQ(Bases, (std::vector<std::string>{"Game (U) [!]", "Zelda.v2", "game", "Žluťoučký kůň"}));
    EXPECT_EQ(Captions(G[2]), (std::vector<std::string>{"0 ZST", "0 (m) ZST", "0 S9X", "1 ZST", "3 (m) ZST", "4 SGT",
                                                        "12 S9X", "12 SSL"}));
    EXPECT_EQ(Captions(G[1]), (std::vector<std::string>{"0 ZST", "0 S9X"}));
    EXPECT_EQ(G[3].Slots[0].Path, Dir + "/Žluťoučký kůň.000");

    // Extensions split at any white space, compared in lower case; the one
    // named first wins a shared base name; an IPS beside marks the entry.
    const auto Exts = CartExtensionList({"SMC\tsfc", "\r", "bin  fig\r"});
    EXPECT_EQ(Exts, (std::vector<std::string>{".smc", ".sfc", ".bin", ".fig", ".zip"}));
    const std::vector<tCartEntry> C = ListCartridges(L, Exts);
    ASSERT_EQ(C.size(), 3u);
    EXPECT_EQ(C[0].Name, "ROM.SMC");
    EXPECT_EQ(C[0].Icon, CartIconROM);
    EXPECT_EQ(C[1].Name, "hack.smc");
    EXPECT_EQ(C[1].Icon, CartIconIPS);
    EXPECT_EQ(C[2].Name, "pack.sfc");
}

TEST(FolderModel, ChecksFollowAReplacedFileAndPreviewsNeedRoom)
{
    const std::string Zst = FixturePath("zsnes/zsnes142_hello.zst");
    if (Zst.empty())
        GTEST_SKIP() << "fixtures folder not found";
    const std::string Dir = TempDir();
    std::vector<uint8_t> Bytes(fs::file_size(Zst));
    std::ifstream(Zst, std::ios::binary).read(reinterpret_cast<char*>(Bytes.data()), static_cast<long>(Bytes.size()));
    Put(Dir + "/a.zst", Bytes);
    Put(Dir + "/b.zst", {Bytes.begin(), Bytes.begin() + ZSTLayout::ImageSize});
    Put(Dir + "/c.zs2", {'n', 'o'});

    tFolderCache Cache;
    std::vector<tStateGroup> G = GroupSavestates(ListFolder(Dir));
    DetectGroups(G, Cache, true);
    ASSERT_EQ(G.size(), 2u); // c.zs2 is no ZSNES file
    const tSlotEntry A = G[0].Slots[0], B = G[1].Slots[0];
    EXPECT_TRUE(Cache.Thumbnail(A.Path, A.Format, A.Size, A.MTime));
    // A state without room for a picture after its image has none.
    EXPECT_FALSE(Cache.Thumbnail(B.Path, B.Format, B.Size, B.MTime));
    EXPECT_FALSE(ReadThumbnail(B.Path, FormatZST));

    // Replaced after listing: the new size and time miss the cache.
    Put(A.Path, {'g', 'o', 'n', 'e'});
    const auto Now = FileFacts(A.Path);
    ASSERT_TRUE(Now);
    EXPECT_EQ(Cache.Format(A.Path, Now->Size, Now->MTime, true), FormatNone);
    EXPECT_FALSE(Cache.Thumbnail(A.Path, FormatZST, Now->Size, Now->MTime));
    fs::remove(A.Path);
    EXPECT_FALSE(FileFacts(A.Path));
}

TEST(FolderModel, TenThousandFiles)
{
    const std::string Dir = TempDir();
    for (int i = 0; i < 10000; ++i)
        Put(Dir + "/g" + std::to_string(i % 2500) + "." + std::string(3 - std::to_string(i / 2500).size(), '0') +
            std::to_string(i / 2500));
    const tFolderListing L = ListFolder(Dir);
    ASSERT_EQ(L.Files.size(), 10000u);
    std::vector<tStateGroup> G = GroupSavestates(L);
    ASSERT_EQ(G.size(), 2500u);
    EXPECT_EQ(Captions(G[0]), (std::vector<std::string>{"0 S9X", "1 S9X", "2 S9X", "3 S9X"}));
    EXPECT_EQ(G[0].Base, "g0");
    EXPECT_EQ(G[1].Base, "g1");
    EXPECT_EQ(G[2].Base, "g10");
}
