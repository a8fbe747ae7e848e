// Writes the generated seed inputs of the harnesses whose inputs the
// repository holds no files for (cartridges, zips, patches), using the same
// builders as the tests:  orlik_fuzz_seeds DIR  creates DIR/<harness>/...

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "../tests/cart/CartTestROM.h"
#include "../tests/cart/ZipWriter.h"

namespace fs = std::filesystem;

namespace
{
void Write(const fs::path& Path, const std::vector<uint8_t>& Data)
{
    fs::create_directories(Path.parent_path());
    std::ofstream(Path, std::ios::binary)
        .write(reinterpret_cast<const char*>(Data.data()), static_cast<std::streamsize>(Data.size()));
}

std::vector<uint8_t> Bytes(std::string_view S)
{
    return {S.begin(), S.end()};
}
} // namespace

int main(int Argc, char** Argv)
{
    if (Argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", Argv[0]);
        return 2;
    }
    fs::path Dir = Argv[1];
    const auto Lo = MakeTestROM(32768, tMapMode::LoROM);
    const auto Hi = MakeTestROM(65536, tMapMode::HiROM);
    const auto ExHi = MakeTestROM(0x410000, tMapMode::ExHiROM);
    auto Copier = Lo;
    Copier.insert(Copier.begin(), 512, 0);
    Write(Dir / "cart/lorom.sfc", Lo);
    Write(Dir / "cart/hirom.sfc", Hi);
    Write(Dir / "cart/copier-header.smc", Copier);
    Write(Dir / "cart/odd-size.sfc", std::vector<uint8_t>(Lo.begin(), Lo.begin() + 1000));
    (void)ExHi;

    fs::create_directories(Dir / "cartzip");
    WriteZip((Dir / "cartzip/lorom.zip").string(), {{"Game.sfc", Lo}});
    WriteZip((Dir / "cartzip/two-entries.zip").string(), {{"a.smc", Copier}, {"b.txt", Bytes("text")}});
    WriteZip((Dir / "cartzip/empty-entry.zip").string(), {{"empty.sfc", {}}});

    Write(Dir / "ips/one-record.ips", Bytes(std::string("PATCH\x00\x10\x00\x00\x02\xAB\xCD", 12) + "EOF"));
    Write(Dir / "ips/run-length.ips", Bytes(std::string("PATCH\x00\x80\x00\x00\x00\x01\x00\x55", 13) + "EOF"));
    Write(Dir / "ips/grows-rom.ips", Bytes(std::string("PATCH\x01\x00\x00\x00\x01\x77", 11) + "EOF\x01\x00\x01"));
    Write(Dir / "ips/header-only.ips", Bytes("PATCHEOF"));
    return 0;
}
