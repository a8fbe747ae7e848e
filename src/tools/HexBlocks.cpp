#include "tools/HexBlocks.h"

#include <algorithm>

namespace
{
using M = tHexMemory;
namespace N = Note;
constexpr std::array<tNote, 2> NoMore{N::NewSNES, N::NewSNES};
constexpr std::array<tNote, 2> CartChange{N::NewCart, N::NewCartROM};
constexpr std::array<tNote, 2> SRAMChange{N::NewCart, N::NewSRAM};
constexpr std::array<tNote, 2> ZSTChange{N::NewZSTStream, N::NewZSTData};
constexpr std::array<tNote, 2> ZSTAll{N::NewZSTData, N::NewZSTPreview};

// clang-format off
#define SNP(Part) {4, "", M::S9XSnpPart, 0, 0, N::NewS9X, NoMore, Part}
// clang-format on

// ROM edits need only the ROM's readers; SRAM and copier header edits must
// not look like a new cartridge (that would patch the ROM again).
const tHexBlock Blocks[] = {
    {0, "&A: ROM", M::CartROM, 0, 0, N::NewCartROM, CartChange},
    {0, "&B: SRAM", M::CartSRAM, 0, 0, N::NewSRAM, SRAMChange},
    {0, "&C: copier header", M::CopierHeader, 0, 0, N::NewSRAM, SRAMChange},
    {1, "&A: WRAM", M::WRAM, 0, 0, N::NewSNES, NoMore},
    {1, "&B: VRAM", M::VRAM, 0, 0, N::NewSNES, NoMore},
    {1, "&C: OAM", M::OAM, 0, 0, N::NewSNES, NoMore},
    {1, "&D: CGRAM", M::CGRAM, 0, 0, N::NewSNES, NoMore},
    {2, "&A: SPC RAM", M::APURAM, 0, 0, N::NewSNES, NoMore},
    {2, "&B: extra RAM", M::APUExtraRAM, 0, 0, N::NewSNES, NoMore},
    {2, "&C: DSP RAM", M::DSP, 0, 0, N::NewSNES, NoMore},
    {3, "&A: [file]", M::ZSTFile, 0, 0, N::NewZSTStream, ZSTAll},
    {3, "&B: zsmesg", M::ZSTImage, 0, 27, N::NewZSTData, ZSTChange},
    {3, "&C: dmadata", M::ZSTImage, 252, 129, N::NewZSTData, ZSTChange},
    {3, "&D: hdmadata", M::ZSTImage, 384, 152, N::NewZSTData, ZSTChange},
    {3, "&E: pcgram", M::ZSTImage, 2087, 512, N::NewZSTData, ZSTChange},
    {3, "&F: tempdat", M::ZSTImage, 2629, 477, N::NewZSTData, ZSTChange},
    {3, "&G: FutureExpandS", M::ZSTImage, 265380, 192, N::NewZSTData, ZSTChange},
    {3, "&H: BRRBuffer", M::ZSTImage, 265572, 32, N::NewZSTData, ZSTChange},
    {3, "&I: FutureExpand", M::ZSTImage, 266396, 244, N::NewZSTData, ZSTChange},
    {3, "&J: extra chip info", M::ZSTRest, 0, 0, N::NewZSTPreview, ZSTChange},
    {3, "&K: preview", M::ZSTPreview, 0, 0, N::NewZSTPreview, ZSTChange},
    {4, "&A: FillRAM", M::S9XFillRAM, 0, 32768, N::NewS9X, NoMore},
    {4, "&B: SPC7110.bank50", M::S9XSP7, 0, 65536, N::NewS9X, NoMore},
    // A newer Snes9x's stream and up to 24 of its blocks (a state has a dozen;
    // the tabs of those it lacks are hidden), named from the stream on view
    // (HexBlockCaption).
    // clang-format off
    SNP(0),  SNP(1),  SNP(2),  SNP(3),  SNP(4),  SNP(5),  SNP(6),  SNP(7),  SNP(8),  SNP(9),  SNP(10), SNP(11), SNP(12),
    SNP(13), SNP(14), SNP(15), SNP(16), SNP(17), SNP(18), SNP(19), SNP(20), SNP(21), SNP(22), SNP(23), SNP(24),
    // clang-format on
    {5, "&A: ProductInfo", M::SSLHeader, 2, 64, N::NewSSL, NoMore},
    {5, "&B: Description", M::SSLHeader, 66, 64, N::NewSSL, NoMore},
    {5, "&C: Author", M::SSLHeader, 130, 32, N::NewSSL, NoMore},
    {5, "&D: SPCREG", M::SSLAPU, 0, 16, N::NewSSL, NoMore},
    {5, "&E: VMDATAL", M::SSLVRAM, 0, 32768, N::NewSSL, NoMore},
    {5, "&F: VMDATAH", M::SSLVRAM, 32768, 32768, N::NewSSL, NoMore},
    {5, "&G: IRAM", M::SSLSA1, 0, 2048, N::NewSSL, NoMore},
    {6, "&A: SREG", M::SGTSREG, 0, 0, N::NewSGT, NoMore},
    {6, "&B: INST", M::SGTINST, 0, 0, N::NewSGT, NoMore},
    {6, "&C: HDST", M::SGTHDST, 0, 0, N::NewSGT, NoMore},
    {6, "&D: SPCP", M::SGTSPCP, 0, 0, N::NewSGT, NoMore},
    {6, "&E: CPUR", M::SGTCPUR, 0, 0, N::NewSGT, NoMore},
    {6, "&F: PPUR", M::SGTPPUR, 0, 0, N::NewSGT, NoMore},
};
#undef SNP
} // namespace

const std::array<const char*, HexPageCount> HexPageCaptions = {"&1: cartridge", "&2: SNES", "&3: APU", "&4: ZST",
                                                               "&5: S9X",       "&6: SSL",  "&7: SGT"};
const std::array<const char*, HexPageCount> HexPageNames = {"TC_Cart", "TC_SNES", "TC_APU", "TC_ZST",
                                                            "TC_S9X",  "TC_SSL",  "TC_SGT"};

std::span<const tHexBlock> HexBlocks()
{
    return Blocks;
}

std::span<const tHexBlock> HexPageBlocks(int Page)
{
    const auto* First =
        std::find_if(std::begin(Blocks), std::end(Blocks), [&](const tHexBlock& B) { return B.Page == Page; });
    const auto* Last = std::find_if(First, std::end(Blocks), [&](const tHexBlock& B) { return B.Page != Page; });
    return {First, Last};
}

std::span<uint8_t> HexBlockPart(const tHexBlock& Block, std::span<uint8_t> Memory)
{
    const size_t From = std::min(Block.Offset, Memory.size());
    const size_t Left = Memory.size() - From;
    return Memory.subspan(From, Block.Size == 0 ? Left : std::min(Block.Size, Left));
}

bool HexBlockChangedBy(const tHexBlock& Block, tNote Msg)
{
    if (Msg == Block.CommitNote || Msg == Block.AlsoChangedBy[0] || Msg == Block.AlsoChangedBy[1])
        return true;
    // Every savestate block follows the machine state (the formats rebuild
    // their images from it); the cartridge does not.
    if (Block.Page == 0)
        return Msg == Note::NewSavestate && Block.Memory != tHexMemory::CartROM;
    return Msg == Note::NewSNES || Msg == Note::NewSavestate;
}
