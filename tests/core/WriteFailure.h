#pragma once
// Runs a save in a child process where writing into a folder fails the way it
// does for users: a read-only folder, or a disk that fills up part way
// through the file (the file-size limit makes the kernel refuse the write
// that crosses it, as a full disk refuses the block it has no room for). The
// child reports what the save said; the parent checks what is left on disk.

#include <cstring>
#include <functional>
#include <string>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

enum class tWriteFailure { ReadOnlyFolder, FullDisk };

// The size a "full" disk lets a file grow to.
inline constexpr rlim_t FullDiskBytes = 1024;

struct tSaveResult {
    bool Ran = false; // the child could set up the failure
    bool Ok = false;  // what the save returned
    std::string Error;
};

// Save returns its success and puts its message into Error.
inline tSaveResult SaveUnder(tWriteFailure Failure, const std::string& Folder,
                             const std::function<bool(std::string&)>& Save)
{
    tSaveResult R;
    if (Failure == tWriteFailure::ReadOnlyFolder)
        ::chmod(Folder.c_str(), 0555);
    int Pipe[2];
    if (::pipe(Pipe) != 0)
        return R;
    const pid_t Child = ::fork();
    if (Child == 0) {
        ::close(Pipe[0]);
        bool SetUp = true;
        if (Failure == tWriteFailure::ReadOnlyFolder) {
            // The superuser writes into read-only folders; an ordinary user
            // ("nobody") does not.
            if (::geteuid() == 0)
                SetUp = ::setgid(65534) == 0 && ::setuid(65534) == 0;
        } else {
            // Past the limit the kernel sends SIGXFSZ; ignored, the write
            // fails with EFBIG instead.
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit L{};
            ::getrlimit(RLIMIT_FSIZE, &L);
            L.rlim_cur = FullDiskBytes;
            SetUp = ::setrlimit(RLIMIT_FSIZE, &L) == 0;
        }
        std::string Error;
        const bool Ok = SetUp && Save(Error);
        const std::string Report = std::string(SetUp ? "1" : "0") + (Ok ? "1" : "0") + Error;
        [[maybe_unused]] ssize_t W = ::write(Pipe[1], Report.data(), Report.size());
        ::_exit(0);
    }
    ::close(Pipe[1]);
    std::string Report;
    char Buffer[512];
    for (ssize_t N; (N = ::read(Pipe[0], Buffer, sizeof Buffer)) > 0;)
        Report.append(Buffer, static_cast<size_t>(N));
    ::close(Pipe[0]);
    int Status = 0;
    ::waitpid(Child, &Status, 0);
    if (Failure == tWriteFailure::ReadOnlyFolder)
        ::chmod(Folder.c_str(), 0755);
    if (Report.size() >= 2) {
        R.Ran = Report[0] == '1';
        R.Ok = Report[1] == '1';
        R.Error = Report.substr(2);
    }
    return R;
}
