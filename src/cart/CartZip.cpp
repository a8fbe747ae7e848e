#include "cart/CartZip.h"

#include <unzip.h>

#include "core/FileIO.h"

namespace
{
// Closes the archive on every path out.
struct tUnzFile {
    unzFile F;
    explicit tUnzFile(const std::string& Name) : F(unzOpen64(Name.c_str())) {}
    ~tUnzFile()
    {
        if (F)
            unzClose(F);
    }
};
} // namespace

bool ReadFirstZipEntry(const std::string& FileName, std::vector<uint8_t>& Data, tError& Error, uint64_t Limit)
{
    Data.clear();
    // minizip opens by name and would wait on a named pipe; look first.
    std::vector<uint8_t> Head;
    if (!ReadFileHead(FileName, 0, Head, Error))
        return false;
    tUnzFile Zip(FileName);
    if (!Zip.F) {
        Error = tError("not a readable zip archive");
        return false;
    }
    if (unzGoToFirstFile(Zip.F) != UNZ_OK) {
        Error = tError("the archive holds no file");
        return false;
    }
    unz_file_info64 Info{};
    if (unzGetCurrentFileInfo64(Zip.F, &Info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
        Error = tError("damaged archive directory");
        return false;
    }
    if (Info.uncompressed_size > Limit) {
        Error = tError("first entry too large (" + std::to_string(Info.uncompressed_size) + " bytes, at most " +
                       std::to_string(Limit) + ")");
        return false;
    }
    if (unzOpenCurrentFile(Zip.F) != UNZ_OK) {
        Error = tError("cannot open the first entry");
        return false;
    }
    // The declared size is only a hint: a damaged or hostile archive may hold
    // more data than it declares, so read in pieces and stop at the limit.
    Data.reserve(static_cast<size_t>(Info.uncompressed_size));
    constexpr size_t Chunk = 65536;
    bool Ok = true;
    for (;;) {
        const size_t Old = Data.size();
        if (Old > Limit) {
            Error = tError("first entry larger than " + std::to_string(Limit) + " bytes");
            Ok = false;
            break;
        }
        Data.resize(Old + Chunk);
        const int R = unzReadCurrentFile(Zip.F, Data.data() + Old, static_cast<unsigned>(Chunk));
        if (R < 0) {
            Error = tError("damaged entry data");
            Ok = false;
            break;
        }
        Data.resize(Old + static_cast<size_t>(R));
        if (R == 0)
            break;
    }
    // Closing the entry checks its CRC once it has been read to the end.
    const int CloseResult = unzCloseCurrentFile(Zip.F);
    if (Ok && CloseResult != UNZ_OK) {
        Error = tError(CloseResult == UNZ_CRCERROR ? "entry fails its CRC check" : "damaged entry data");
        Ok = false;
    }
    if (!Ok) {
        Data.clear();
        Data.shrink_to_fit();
    }
    return Ok;
}
