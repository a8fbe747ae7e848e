#include "app/HexBlockData.h"

#include "cart/SNESCart.h"
#include "core/SNES.h"
#include "savestates/S9X.h"
#include "savestates/SGT.h"
#include "savestates/SSL.h"
#include "savestates/ZST.h"

namespace
{
template <class T> std::span<uint8_t> Bytes(T& Container)
{
    return std::span<uint8_t>(reinterpret_cast<uint8_t*>(Container.data()), Container.size() * sizeof(Container[0]));
}

std::span<uint8_t> Memory(tHexMemory M)
{
    using H = tHexMemory;
    switch (M) {
    case H::CartROM:
        return Cart ? Bytes(Cart->ROM) : std::span<uint8_t>();
    case H::CartSRAM:
        return Cart ? Bytes(Cart->SRAM) : std::span<uint8_t>();
    case H::CopierHeader:
        return Cart ? Bytes(Cart->FileData) : std::span<uint8_t>();
    default:
        break;
    }
    if (M <= H::DSP) {
        if (!SNES)
            return {};
        switch (M) {
        case H::WRAM:
            return Bytes(SNES->WRAM);
        case H::VRAM:
            return Bytes(SNES->VRAM);
        case H::OAM:
            return Bytes(SNES->OAM);
        case H::CGRAM:
            return Bytes(SNES->CGRAM);
        case H::APURAM:
            return Bytes(SNES->APU_RAM);
        case H::APUExtraRAM:
            return Bytes(SNES->APU_ExtraRAM);
        default:
            return Bytes(SNES->DSP);
        }
    }
    if (M <= H::ZSTPreview) {
        if (!ZST)
            return {};
        switch (M) {
        case H::ZSTFile:
            ZST->BuildStream();
            return Bytes(ZST->FileStream);
        case H::ZSTImage:
            return Bytes(ZST->StateImage);
        case H::ZSTRest:
            return Bytes(ZST->Rest);
        default:
            return ZST->HasPreview ? Bytes(ZST->Preview) : std::span<uint8_t>();
        }
    }
    if (M == H::S9XFillRAM)
        return S9X ? Bytes(S9X->Blocks[S9XLayout::BlockFIL]) : std::span<uint8_t>();
    if (M == H::S9XSP7)
        return S9X && S9X->Blocks.HasSP7 ? Bytes(S9X->Blocks[S9XLayout::BlockSP7]) : std::span<uint8_t>();
    if (M <= H::SSLSA1) {
        if (!SSL)
            return {};
        switch (M) {
        case H::SSLHeader:
            return Bytes(SSL->BPS2);
        case H::SSLAPU:
            return Bytes(SSL->SAPU);
        case H::SSLVRAM:
            return Bytes(SSL->VRAM);
        default:
            return SSL->HasSAS1 ? Bytes(SSL->SAS1) : std::span<uint8_t>();
        }
    }
    if (!SGT)
        return {};
    switch (M) {
    case H::SGTSREG:
        return Bytes(SGT->SREG);
    case H::SGTINST:
        return Bytes(SGT->INST);
    case H::SGTHDST:
        return Bytes(SGT->HDST);
    case H::SGTSPCP:
        return Bytes(SGT->SPCP);
    case H::SGTCPUR:
        return Bytes(SGT->CPUR);
    default:
        return Bytes(SGT->PPUR);
    }
}
} // namespace

std::span<uint8_t> HexBlockData(const tHexBlock& Block)
{
    if (Block.Memory == tHexMemory::S9XSnpPart)
        return S9X ? S9X->SnpEditPart(Block.Part) : std::span<uint8_t>();
    return HexBlockPart(Block, Memory(Block.Memory));
}

std::string HexBlockCaption(const tHexBlock& Block)
{
    const bool Stream = S9X && S9X->SnpVersion;
    if (Block.Memory == tHexMemory::S9XSnpPart) {
        const std::string Name = S9X ? S9X->SnpPartName(Block.Part) : std::string();
        return Name.empty() ? Name : std::string("&") + static_cast<char>('A' + Block.Part) + ": " + Name;
    }
    if ((Block.Memory == tHexMemory::S9XFillRAM || Block.Memory == tHexMemory::S9XSP7) && Stream)
        return {};
    return Block.Caption;
}
