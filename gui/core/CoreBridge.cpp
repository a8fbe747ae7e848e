#include "gui/core/CoreBridge.h"

#include <cstring>

#include "app/Cartridge.h"
#include "app/Loader.h"
#include "cart/SNESCart.h"
#include "core/SNES.h"
#include "core/LongPath.h"
#include "savestates/S9X.h"
#include "savestates/SSL.h"
#include "savestates/ZST.h"

namespace
{
// Recent-file pictures fit the room the menu leaves them (the size of the
// ZSNES preview).
constexpr uint32_t ThumbWidth = 64;
constexpr uint32_t ThumbHeight = 56;

} // namespace

bool LoadCartridgeFile(const std::string& FileName)
{
    return OpenCartridge(FileName);
}

void FindCartridgeFor(const std::string& Name)
{
    if (Cart)
        Cart->FindForSavestate(Name);
}

std::string OnDiskName(const std::string& Path)
{
    return LongPathName(Path);
}

QImage SavestateThumbnail(const QString& FileName)
{
    const std::string Name = FileName.toStdString();
    const uint8_t Format = DetectFormat(Name);
    if (Format == FormatZST) {
        std::array<uint16_t, 64 * 56> Pixels{};
        if (!tZST::LoadPreview(Name, Pixels))
            return {};
        QImage I(64, 56, QImage::Format_RGB16);
        for (int y = 0; y < 56; ++y)
            std::memcpy(I.scanLine(y), Pixels.data() + y * 64, 64 * 2);
        return I;
    }
    if (Format == FormatS9X) {
        tPicture32 P;
        if (!tS9X::LoadPreview(Name, P))
            return {};
        QImage I(P.Width, P.Height, QImage::Format_RGB32);
        for (int32_t y = 0; y < P.Height; ++y)
            std::memcpy(I.scanLine(y), P.Row(y), static_cast<size_t>(P.Width) * 4);
        return I;
    }
    if (Format == FormatSSL) {
        std::optional<tSSL_Bitmap565> P = tSSL::LoadPreview(Name, ThumbWidth, ThumbHeight);
        if (!P || P->Width == 0 || P->Height == 0)
            return {};
        QImage I(static_cast<int>(P->Width), static_cast<int>(P->Height), QImage::Format_RGB16);
        for (uint32_t y = 0; y < P->Height; ++y)
            std::memcpy(I.scanLine(static_cast<int>(y)), P->Pixels.data() + y * P->Width, P->Width * 2);
        return I;
    }
    return {};
}
