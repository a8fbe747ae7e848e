#include "core/CoreBridge.h"

#include <cstring>

#include "cart/SNESCart.h"
#include "core/Messages.h"
#include "core/SNES.h"
#include "savestates/SSL.h"

namespace {
// Recent-file pictures fit the room the menu leaves them (the size of the
// ZSNES preview).
constexpr uint32_t ThumbWidth = 64;
constexpr uint32_t ThumbHeight = 56;

bool Report(bool Ok, const std::string& FileName, const std::string& Error)
{
    if (!Ok)
        Messages().Error("Could not save " + FileName + ": " + Error);
    return Ok;
}
}

bool LoadCartridgeFile(const std::string& FileName) { return Cart && Cart->LoadFromFile(FileName); }

void FindCartridgeFor(const std::string& Name)
{
    if (Cart)
        Cart->FindForSavestate(Name);
}

bool SaveStateAs(uint8_t Format, const std::string& FileName)
{
    std::string Error;
    switch (Format) {
    case FormatSSL: return SSL && Report(SSL->SaveToFile(FileName, Error), FileName, Error);
    default: Messages().Error("Saving in this format is not available in this version."); return false;
    }
}

QImage SavestateThumbnail(const QString& FileName)
{
    const std::string Name = FileName.toStdString();
    if (DetectFormat(Name) == FormatSSL) {
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
