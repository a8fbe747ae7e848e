#include "DemoCart.h"

#include <algorithm>
#include <initializer_list>
#include <string>

#include "cart/CartHeader.h"
#include "core/SNES.h"

namespace
{
// ROM offsets in bank $00 (seen at $8000 + offset) and the banks that hold VRAM.
constexpr uint32_t BankSize = 0x8000, CGRAMTable = 0x1000, OAMTable = 0x1200, RegisterTable = 0x1400;
constexpr uint32_t HeaderArea = 0x7FB0;

class tWriter
{
  public:
    explicit tWriter(std::vector<uint8_t>& Out) : Out_(Out) {}
    void Bytes(std::initializer_list<int> B)
    {
        for (int V : B)
            Out_[At_++] = static_cast<uint8_t>(V);
    }
    void Word(uint32_t V) { Bytes({static_cast<int>(V & 0xFF), static_cast<int>(V >> 8 & 0xFF)}); }
    // LDA #Value, STA Address
    void Store(int Value, uint32_t Address)
    {
        Bytes({0xA9, Value, 0x8D});
        Word(Address);
    }
    // LDX #Value, STX Address
    void StoreX(uint32_t Value, uint32_t Address)
    {
        Bytes({0xA2});
        Word(Value);
        Bytes({0x8E});
        Word(Address);
    }
    // One DMA on channel 0 from bank Bank, address From, Size bytes, and wait for it.
    void Dma(int Mode, int Port, int Bank, uint32_t From, uint32_t Size)
    {
        Store(Mode, 0x4300);
        Store(Port, 0x4301);
        StoreX(From, 0x4302);
        Store(Bank, 0x4304);
        StoreX(Size, 0x4305);
        Store(0x01, 0x420B);
    }
    uint32_t At() const { return At_; }
    void Seek(uint32_t At) { At_ = At; }

  private:
    std::vector<uint8_t>& Out_;
    uint32_t At_ = 0;
};

// The register writes that set up the scene, as (address, value) triples,
// the screen turned on last.
void WriteRegisterTable(const tSNES& S, tWriter& W)
{
    const auto Put = [&](uint32_t Address, int Value) {
        W.Word(Address);
        W.Bytes({Value & 0xFF});
    };
    for (uint32_t A :
         {0x2101, 0x2105, 0x2106, 0x2107, 0x2108, 0x2109, 0x210A, 0x210B, 0x210C, 0x2115, 0x2123, 0x2124, 0x2125,
          0x2126, 0x2127, 0x2128, 0x2129, 0x212A, 0x212B, 0x212C, 0x212D, 0x212E, 0x212F, 0x2130, 0x2131, 0x2133})
        Put(A, S.Regs[A]);
    // The scroll registers take two writes each, low byte first.
    for (uint32_t i = 0; i < 4; ++i) {
        Put(0x210D + 2 * i, S.BGHScroll[i]);
        Put(0x210D + 2 * i, S.BGHScroll[i] >> 8);
        Put(0x210E + 2 * i, S.BGVScroll[i]);
        Put(0x210E + 2 * i, S.BGVScroll[i] >> 8);
    }
    // The fixed colour one channel at a time: red, green, blue.
    Put(0x2132, 0x20 | S.FixedColour[2] >> 3);
    Put(0x2132, 0x40 | S.FixedColour[1] >> 3);
    Put(0x2132, 0x80 | S.FixedColour[0] >> 3);
    Put(0x4200, S.Regs[0x4200]);
    Put(0x2100, S.Regs[0x2100]);
    W.Word(0);
}
} // namespace

std::vector<uint8_t> BuildDemoCart(const tSNES& S)
{
    std::vector<uint8_t> ROM(4 * BankSize, 0);
    // Banks 1 and 2: the whole of VRAM.
    std::copy(S.VRAM.begin(), S.VRAM.end(), ROM.begin() + BankSize);
    for (size_t i = 0; i < S.CGRAM.size(); ++i) {
        ROM[CGRAMTable + 2 * i] = static_cast<uint8_t>(S.CGRAM[i]);
        ROM[CGRAMTable + 2 * i + 1] = static_cast<uint8_t>(S.CGRAM[i] >> 8);
    }
    std::copy(S.OAM.begin(), S.OAM.end(), ROM.begin() + OAMTable);
    tWriter W(ROM);
    W.Seek(RegisterTable);
    WriteRegisterTable(S, W);

    // Start-up: native mode, 16-bit index registers, screen off while loading.
    W.Seek(0);
    W.Bytes({0x78, 0x18, 0xFB, 0xC2, 0x10}); // SEI CLC XCE REP #$10
    W.Bytes({0xA2, 0xFF, 0x1F, 0x9A});       // LDX #$1FFF TXS
    W.Store(0x8F, 0x2100);
    W.Store(0x00, 0x4200);
    W.Store(0x80, 0x2115);
    W.StoreX(0x0000, 0x2116);
    W.Dma(0x01, 0x18, 1, 0x8000, BankSize);
    W.Dma(0x01, 0x18, 2, 0x8000, BankSize);
    W.Store(0x00, 0x2121);
    W.Dma(0x00, 0x22, 0, 0x8000 + CGRAMTable, static_cast<uint32_t>(2 * S.CGRAM.size()));
    W.StoreX(0x0000, 0x2102);
    W.Dma(0x00, 0x04, 0, 0x8000 + OAMTable, static_cast<uint32_t>(S.OAM.size()));
    // The register table: LDY #0; loop: LDX table,Y; BEQ done; LDA table+2,Y;
    // STA $0000,X; INY x3; BRA loop.
    W.Bytes({0xA0, 0x00, 0x00, 0xBE});
    W.Word(0x8000 + RegisterTable);
    W.Bytes({0xF0, 0x0B, 0xB9});
    W.Word(0x8000 + RegisterTable + 2);
    W.Bytes({0x9D, 0x00, 0x00, 0xC8, 0xC8, 0xC8, 0x80, 0xF0});
    // Then idle in WRAM as the savestate shows: BRA to itself at $7E0100.
    W.Store(0x80, 0x0100);
    W.Store(0xFE, 0x0101);
    W.Bytes({0x5C, 0x00, 0x01, 0x7E}); // JML $7E0100
    const uint32_t ReturnFromInterrupt = 0x8000 + W.At();
    W.Bytes({0x40}); // RTI

    // The internal header: name, LoROM, ROM only, 128 KiB, no SRAM, North America.
    W.Seek(HeaderArea + 0x10);
    std::string Name = "ORLIK DEMO";
    Name.resize(21, ' ');
    for (char C : Name)
        W.Bytes({C});
    W.Bytes({0x20, 0x00, 0x07, 0x00, 0x01, 0x00, 0x00});
    W.Bytes({0xFF, 0xFF, 0x00, 0x00}); // checksum complement and checksum, filled in below
    for (uint32_t V = HeaderArea + 0x30; V < HeaderArea + 0x50; V += 2) {
        W.Seek(V);
        W.Word(V == HeaderArea + 0x4C ? 0x8000 : ReturnFromInterrupt);
    }
    const uint16_t Sum = ComputeChecksum(ROM);
    W.Seek(HeaderArea + 0x2C);
    W.Word(static_cast<uint16_t>(~Sum));
    W.Word(Sum);
    return ROM;
}
