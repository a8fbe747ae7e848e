#include "core/FileIO.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
std::string SystemError(int Code)
{
    return std::strerror(Code);
}

bool BatchWrites = false;

// Writes everything, retrying after short writes and interruptions.
bool WriteAll(int Fd, const uint8_t* P, size_t N, int& Code)
{
    while (N > 0) {
        ssize_t W = ::write(Fd, P, N);
        if (W < 0) {
            if (errno == EINTR)
                continue;
            Code = errno;
            return false;
        }
        P += W;
        N -= static_cast<size_t>(W);
    }
    return true;
}

// Opens a regular file for reading. The open itself must not wait: opening a
// named pipe for reading blocks until someone writes to it, so the file is
// opened non-blocking, looked at, and only then read in the ordinary way.
int OpenRegularFile(const std::string& FileName, struct stat& St, tError& Error)
{
    int Fd = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (Fd < 0) {
        Error = tError(SystemError(errno));
        return -1;
    }
    if (::fstat(Fd, &St) != 0) {
        Error = tError(SystemError(errno));
        ::close(Fd);
        return -1;
    }
    if (!S_ISREG(St.st_mode)) {
        Error = tError(S_ISDIR(St.st_mode) ? "is a directory" : "is not a regular file");
        ::close(Fd);
        return -1;
    }
    ::fcntl(Fd, F_SETFL, ::fcntl(Fd, F_GETFL) & ~O_NONBLOCK);
    return Fd;
}
} // namespace

namespace
{
// Reads into Dst until Count bytes are there or the file ends; Got counts
// them. An interrupted read is retried; any other failure gives the
// system's reason.
bool ReadInto(int Fd, uint8_t* Dst, size_t Count, size_t& Got, tError& Error)
{
    Got = 0;
    while (Got < Count) {
        const ssize_t R = ::read(Fd, Dst + Got, Count - Got);
        if (R < 0 && errno == EINTR)
            continue;
        if (R < 0) {
            Error = tError(SystemError(errno));
            return false;
        }
        if (R == 0)
            break;
        Got += static_cast<size_t>(R);
    }
    return true;
}
} // namespace

bool ReadFileHead(const std::string& FileName, size_t Count, std::vector<uint8_t>& Head, tError& Error)
{
    Head.clear();
    struct stat St {
    };
    const int Fd = OpenRegularFile(FileName, St, Error);
    if (Fd < 0)
        return false;
    Head.resize(Count);
    size_t Got = 0;
    const bool Ok = ReadInto(Fd, Head.data(), Count, Got, Error);
    ::close(Fd);
    Head.resize(Ok ? Got : 0);
    return Ok;
}

bool ReadWholeFile(const std::string& FileName, std::vector<uint8_t>& Data, tError& Error, uint64_t Limit)
{
    Data.clear();
    struct stat St {
    };
    const int Fd = OpenRegularFile(FileName, St, Error);
    if (Fd < 0)
        return false;
    if (static_cast<uint64_t>(St.st_size) > Limit) {
        Error =
            tError("file too large (" + std::to_string(St.st_size) + " bytes, at most " + std::to_string(Limit) + ")");
        ::close(Fd);
        return false;
    }
    Data.resize(static_cast<size_t>(St.st_size));
    size_t Got = 0;
    // The size may change under us (a file being written); read to the end
    // but never past the limit.
    bool Ok = true;
    for (;;) {
        size_t N = 0;
        Ok = ReadInto(Fd, Data.data() + Got, Data.size() - Got, N, Error);
        Got += N;
        if (!Ok || Got < Data.size() || Data.size() >= Limit)
            break;
        // A small probe finds the end of a file that kept its size, as
        // nearly all do, without moving the whole of it to larger room.
        uint8_t Probe[4096];
        Ok = ReadInto(Fd, Probe, static_cast<size_t>(std::min<uint64_t>(sizeof Probe, Limit - Data.size())), N, Error);
        if (!Ok || N == 0)
            break;
        Data.insert(Data.end(), Probe, Probe + N);
        Got += N;
        Data.resize(std::min<uint64_t>(Limit, Data.size() + 65536));
    }
    ::close(Fd);
    Data.resize(Ok ? Got : 0);
    return Ok;
}

bool WriteFileAtomic(const std::string& FileName, std::span<const uint8_t> Data, tError& Error)
{
    fs::path Target(FileName);
    fs::path Dir = Target.parent_path();
    if (Dir.empty())
        Dir = ".";
    std::random_device Rd;
    std::string Tmp;
    int Fd = -1;
    for (int Try = 0; Try < 16 && Fd < 0; ++Try) {
        char Suffix[32];
        std::snprintf(Suffix, sizeof Suffix, ".%08x.tmp", static_cast<unsigned>(Rd()));
        Tmp = (Dir / ("." + Target.filename().string() + Suffix)).string();
        Fd = ::open(Tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (Fd < 0 && errno != EEXIST) {
            Error = tError(SystemError(errno));
            return false;
        }
    }
    if (Fd < 0) {
        Error = tError("could not create a temporary file");
        return false;
    }
    int Code = 0;
    bool Ok = WriteAll(Fd, Data.data(), Data.size(), Code);
    struct stat St {
    };
    const bool Replaces = ::stat(FileName.c_str(), &St) == 0;
    if (Ok && (Replaces || !BatchWrites) && ::fsync(Fd) != 0) {
        Code = errno;
        Ok = false;
    }
    // Keep the permissions of a file we replace.
    if (Ok && Replaces)
        ::fchmod(Fd, St.st_mode & 07777);
    if (::close(Fd) != 0 && Ok) {
        Code = errno;
        Ok = false;
    }
    if (Ok && ::rename(Tmp.c_str(), FileName.c_str()) != 0) {
        Code = errno;
        Ok = false;
    }
    if (!Ok) {
        ::unlink(Tmp.c_str());
        Error = tError(SystemError(Code));
    }
    return Ok;
}

bool WriteFileAtomic(const std::string& FileName, std::string_view Text, tError& Error)
{
    return WriteFileAtomic(FileName, std::span(reinterpret_cast<const uint8_t*>(Text.data()), Text.size()), Error);
}

void SetBatchWrites(bool Batch)
{
    BatchWrites = Batch;
}

void FlushBatch(const std::string& Path)
{
    const int Fd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC);
    if (Fd < 0) {
        ::sync();
        return;
    }
    ::syncfs(Fd);
    ::close(Fd);
}

bool FileExists(const std::string& FileName)
{
    std::error_code Ec;
    return fs::is_regular_file(FileName, Ec);
}

bool DirectoryExists(const std::string& Path)
{
    std::error_code Ec;
    return fs::is_directory(Path, Ec);
}
