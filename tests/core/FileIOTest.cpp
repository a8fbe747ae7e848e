// Writing never destroys: a save that fails over a folder leaves it as it
// was and no temporary file beside it (the read-only folder and the full
// disk are tried on every writer in SaveFailureTest); reading refuses what it
// cannot take without blocking or reading it.

#include "TestSupport.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "core/FileIO.h"

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace
{
const std::vector<uint8_t> OldContent = {'o', 'l', 'd', ' ', 'f', 'i', 'l', 'e', '\n'};

std::vector<std::string> FolderEntries(const std::string& Dir)
{
    std::vector<std::string> Names;
    for (const auto& E : fs::directory_iterator(Dir))
        Names.push_back(E.path().filename().string());
    std::sort(Names.begin(), Names.end());
    return Names;
}

std::vector<uint8_t> NewContent()
{
    std::vector<uint8_t> Data(64 * 1024);
    for (size_t i = 0; i < Data.size(); ++i)
        Data[i] = static_cast<uint8_t>(i * 7);
    return Data;
}
} // namespace

// Batch writes flush new files with the batch, not one by one; what they
// replace and what fails must still come out as without them.
TEST(FileIOTest, WritesReplaceWholeKeepPermissionsAndSpareAFolderInTheWay)
{
    for (const bool Batch : {false, true}) {
        SCOPED_TRACE(Batch ? "batch" : "single");
        const std::string Dir = TempDir();
        WriteBytes(Dir + "/old.ini", OldContent);
        ::chmod((Dir + "/old.ini").c_str(), 0640);
        fs::create_directory(Dir + "/folder.zst");
        WriteBytes(Dir + "/folder.zst/inside", OldContent);
        SetBatchWrites(Batch);
        tError Error;
        EXPECT_TRUE(WriteFileAtomic(Dir + "/new.png", NewContent(), Error)) << Error.Reason;
        EXPECT_TRUE(WriteFileAtomic(Dir + "/old.ini", NewContent(), Error)) << Error.Reason;
        Error = tError();
        EXPECT_FALSE(WriteFileAtomic(Dir + "/folder.zst", NewContent(), Error));
        EXPECT_FALSE(Error.Empty());
        SetBatchWrites(false);
        FlushBatch(Dir);
        EXPECT_EQ(ReadBytes(Dir + "/new.png"), NewContent());
        EXPECT_EQ(ReadBytes(Dir + "/old.ini"), NewContent());
        EXPECT_EQ(ReadBytes(Dir + "/folder.zst/inside"), OldContent);
        struct stat St {
        };
        ::stat((Dir + "/old.ini").c_str(), &St);
        EXPECT_EQ(St.st_mode & 0777, 0640u);
        EXPECT_EQ(FolderEntries(Dir), (std::vector<std::string>{"folder.zst", "new.png", "old.ini"}));
    }
}

TEST(FileIOTest, ReadingRefusesWhatItCannotTake)
{
    const std::string Dir = TempDir();
    std::vector<uint8_t> Data;
    tError Error;
    EXPECT_FALSE(ReadWholeFile(Dir, Data, Error));
    EXPECT_EQ(Error.Reason, "is a directory");
    EXPECT_FALSE(ReadWholeFile(Dir + "/missing", Data, Error));
    EXPECT_EQ(Error.Reason, std::strerror(ENOENT));
    // A named pipe with no writer would block the open and the read for ever.
    const std::string Pipe = Dir + "/pipe.zst";
    ASSERT_EQ(::mkfifo(Pipe.c_str(), 0644), 0);
    EXPECT_FALSE(ReadWholeFile(Pipe, Data, Error));
    EXPECT_EQ(Error.Reason, "is not a regular file");
    EXPECT_FALSE(ReadFileHead(Pipe, 4, Data, Error));
    EXPECT_EQ(Error.Reason, "is not a regular file");
    // A sparse file beyond the bound is refused by its size, not read.
    const std::string Huge = Dir + "/huge.smc";
    WriteBytes(Huge, {});
    fs::resize_file(Huge, MaxInputFileSize + 1);
    EXPECT_FALSE(ReadWholeFile(Huge, Data, Error));
    EXPECT_NE(Error.Reason.find("too large"), std::string::npos);
    EXPECT_TRUE(Data.empty());
    // A file longer than its size said (the kernel's files say 0) is read to
    // its end, and never past the bound.
    ASSERT_TRUE(ReadWholeFile("/proc/self/maps", Data, Error));
    EXPECT_GT(Data.size(), 100u);
    EXPECT_TRUE(ReadWholeFile("/proc/self/maps", Data, Error, 10));
    EXPECT_EQ(Data.size(), 10u);
}
