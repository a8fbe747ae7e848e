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

TEST(FileIOTest, BatchWritesMakeAndReplaceFilesWhole)
{
    // Batch writes flush new files with the batch, not one by one; what
    // they replace and what fails must still come out as without them.
    const std::string Dir = TempDir();
    WriteBytes(Dir + "/old.png", OldContent);
    ::chmod((Dir + "/old.png").c_str(), 0640);
    fs::create_directory(Dir + "/folder.png");
    SetBatchWrites(true);
    tError Error;
    EXPECT_TRUE(WriteFileAtomic(Dir + "/new.png", NewContent(), Error)) << Error.Reason;
    EXPECT_TRUE(WriteFileAtomic(Dir + "/old.png", NewContent(), Error)) << Error.Reason;
    EXPECT_FALSE(WriteFileAtomic(Dir + "/folder.png", NewContent(), Error));
    SetBatchWrites(false);
    FlushBatch(Dir);
    EXPECT_EQ(ReadBytes(Dir + "/new.png"), NewContent());
    EXPECT_EQ(ReadBytes(Dir + "/old.png"), NewContent());
    struct stat St {
    };
    ::stat((Dir + "/old.png").c_str(), &St);
    EXPECT_EQ(St.st_mode & 0777, 0640u);
    EXPECT_EQ(FolderEntries(Dir), (std::vector<std::string>{"folder.png", "new.png", "old.png"}));
}

TEST(FileIOTest, AFolderInTheWayIsNotReplaced)
{
    const std::string Dir = TempDir(), Target = Dir + "/state.zst";
    fs::create_directory(Target);
    WriteBytes(Target + "/inside", OldContent);
    tError Error;
    EXPECT_FALSE(WriteFileAtomic(Target, NewContent(), Error));
    EXPECT_FALSE(Error.Empty());
    EXPECT_EQ(ReadBytes(Target + "/inside"), OldContent);
    EXPECT_EQ(FolderEntries(Dir), std::vector<std::string>{"state.zst"});
}

TEST(FileIOTest, ReplacingKeepsThePermissionsAndLeavesNothingBehind)
{
    const std::string Dir = TempDir(), Target = Dir + "/Orlik.ini";
    WriteBytes(Target, OldContent);
    ::chmod(Target.c_str(), 0640);
    tError Error;
    ASSERT_TRUE(WriteFileAtomic(Target, NewContent(), Error)) << Error.Reason;
    EXPECT_EQ(ReadBytes(Target), NewContent());
    struct stat St {
    };
    ::stat(Target.c_str(), &St);
    EXPECT_EQ(St.st_mode & 0777, 0640u);
    EXPECT_EQ(FolderEntries(Dir), std::vector<std::string>{"Orlik.ini"});
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
}
