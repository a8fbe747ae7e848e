#include "core/PictureFiles.h"

#include <algorithm>
#include <cctype>

#include "core/FileIO.h"

bool DecodePNG(std::span<const uint8_t> Data, bool Indexed, tPicture8* Out8, tPicture32* Out32, tError& Error);
bool DecodeBMP(std::span<const uint8_t> Data, bool Indexed, tPicture8* Out8, tPicture32* Out32, tError& Error);

namespace
{
constexpr uint8_t PNGSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool IsPNG(std::span<const uint8_t> Data)
{
    return Data.size() >= 8 && std::equal(PNGSignature, PNGSignature + 8, Data.begin());
}
bool IsBMP(std::span<const uint8_t> Data)
{
    return Data.size() >= 2 && Data[0] == 'B' && Data[1] == 'M';
}

bool Save(const std::string& FileName, bool Encoded, const std::vector<uint8_t>& Data, tError& Error)
{
    return Encoded && WriteFileAtomic(FileName, Data, Error);
}

bool Decode(std::span<const uint8_t> Data, bool Indexed, tPicture8* Out8, tPicture32* Out32, tError& Error)
{
    if (IsPNG(Data))
        return DecodePNG(Data, Indexed, Out8, Out32, Error);
    if (IsBMP(Data))
        return DecodeBMP(Data, Indexed, Out8, Out32, Error);
    Error = tError("neither a PNG nor a BMP file");
    return false;
}

template <typename tPicture> bool Read(const std::string& FileName, tPicture& Out, tError& Error)
{
    std::vector<uint8_t> Data;
    if (!ReadWholeFile(FileName, Data, Error))
        return false;
    return DecodePicture(Data, Out, Error);
}
} // namespace

bool IsPNGName(const std::string& FileName)
{
    if (FileName.size() < 4)
        return false;
    std::string Ext = FileName.substr(FileName.size() - 4);
    std::transform(Ext.begin(), Ext.end(), Ext.begin(), [](unsigned char C) { return std::tolower(C); });
    return Ext == ".png";
}

bool DecodePicture(std::span<const uint8_t> Data, tPicture32& Out, tError& Error)
{
    return Decode(Data, false, nullptr, &Out, Error);
}

bool DecodePicture(std::span<const uint8_t> Data, tPicture8& Out, tError& Error)
{
    return Decode(Data, true, &Out, nullptr, Error);
}

bool WritePNG(const std::string& FileName, const tPicture8& Picture, tError& Error)
{
    std::vector<uint8_t> Data;
    return Save(FileName, EncodePNG(Picture, Data, Error), Data, Error);
}

bool WritePNG(const std::string& FileName, const tPicture32& Picture, tError& Error)
{
    std::vector<uint8_t> Data;
    return Save(FileName, EncodePNG(Picture, Data, Error), Data, Error);
}

bool WriteBMP(const std::string& FileName, const tPicture8& Picture, int BitsPerPixel, tError& Error)
{
    std::vector<uint8_t> Data;
    return Save(FileName, EncodeBMP(Picture, BitsPerPixel, Data, Error), Data, Error);
}

bool WriteBMP(const std::string& FileName, const tPicture32& Picture, tError& Error)
{
    std::vector<uint8_t> Data;
    return Save(FileName, EncodeBMP(Picture, Data, Error), Data, Error);
}

bool WritePicture(const std::string& FileName, const tPicture8& Picture, tError& Error)
{
    return IsPNGName(FileName) ? WritePNG(FileName, Picture, Error) : WriteBMP(FileName, Picture, 8, Error);
}

bool WritePicture(const std::string& FileName, const tPicture32& Picture, tError& Error)
{
    return IsPNGName(FileName) ? WritePNG(FileName, Picture, Error) : WriteBMP(FileName, Picture, Error);
}

bool ReadPicture(const std::string& FileName, tPicture32& Out, tError& Error)
{
    return Read(FileName, Out, Error);
}

bool ReadPicture(const std::string& FileName, tPicture8& Out, tError& Error)
{
    return Read(FileName, Out, Error);
}
