#include "sound/SPC_Editor.h"

#include <algorithm>
#include <cstdio>

tExtTagPage ExtTagPage(uint8_t ID)
{
    // clang-format off
    switch (ID) {
    case 0x30: case 0x31: case 0x32: case 0x33: case 0x35: case 0x36: return tExtTagPage::Integer;
    case 0x01: case 0x02: case 0x03: case 0x04: case 0x07: case 0x10: case 0x13: return tExtTagPage::Text;
    case 0x14: return tExtTagPage::Word;
    case 0x34: return tExtTagPage::Bits;
    case 0x12: return tExtTagPage::Track;
    case 0x05: return tExtTagPage::Date;
    case 0x06: return tExtTagPage::Emulator;
    case 0x11: return tExtTagPage::Byte;
    default: return tExtTagPage::Unknown;
    }
    // clang-format on
}

bool ExtTagCountsTime(uint8_t ID)
{
    return ID >= 0x30 && ID <= 0x33;
}

uint32_t ExtTagNumber(const tSPC_ExtTag& Tag)
{
    if (ExtTagDataBytes(Tag) == 0)
        return Tag.Length;
    uint32_t V = 0;
    const size_t N = std::min<size_t>(Tag.Length, 4);
    for (size_t i = 0; i < N; ++i)
        V |= static_cast<uint32_t>(Tag.Data[i]) << (8 * i);
    return V;
}

void SetExtTagNumber(tSPC_ExtTag& Tag, uint32_t Value)
{
    if (Tag.TagType == 0 && Value <= 0xFFFF) {
        Tag.Length = static_cast<uint16_t>(Value);
        return;
    }
    if (Tag.TagType != 4 || Tag.Length < 4) {
        Tag.TagType = 4;
        Tag.Length = 4;
        Tag.Data.fill(0);
    }
    for (size_t i = 0; i < 4; ++i)
        Tag.Data[i] = static_cast<uint8_t>(Value >> (8 * i));
}

std::string ExtTagText(const tSPC_ExtTag& Tag)
{
    const size_t N = std::min({ExtTagDataBytes(Tag), Tag.Data.size(), MaxExtText + 1});
    const auto End = std::find(Tag.Data.begin(), Tag.Data.begin() + static_cast<long>(N), uint8_t{0});
    return std::string(Tag.Data.begin(), End);
}

void SetExtTagText(tSPC_ExtTag& Tag, const std::string& Text)
{
    const size_t Size = std::min(Text.size(), MaxExtText);
    const auto Needed = static_cast<uint16_t>(Size + 1);
    // A text is a type 1 record; a header-only one starts with the room it
    // needs, a shorter one grows to it.
    if (Tag.TagType == 0 || Tag.Length < Needed)
        Tag.Length = Needed;
    Tag.TagType = 1;
    Tag.Data.fill(0);
    std::copy_n(Text.begin(), Size, Tag.Data.begin());
}

tExtDate ExtTagDate(const tSPC_ExtTag& Tag)
{
    if (ExtTagDataBytes(Tag) < 4)
        return {};
    return {Tag.Data[0] | Tag.Data[1] << 8, Tag.Data[2], Tag.Data[3]};
}

void SetExtTagDate(tSPC_ExtTag& Tag, const tExtDate& Date)
{
    if (ExtTagDataBytes(Tag) < 4) {
        Tag.TagType = 4;
        Tag.Length = 4;
        Tag.Data.fill(0);
    }
    const int Year = std::clamp(Date.Year, 0, 0xFFFF);
    Tag.Data[0] = static_cast<uint8_t>(Year);
    Tag.Data[1] = static_cast<uint8_t>(Year >> 8);
    Tag.Data[2] = static_cast<uint8_t>(std::clamp(Date.Month, 0, 255));
    Tag.Data[3] = static_cast<uint8_t>(std::clamp(Date.Day, 0, 255));
}

std::string Latin1FromUTF8(const std::string& Text)
{
    std::string Out;
    for (size_t i = 0; i < Text.size(); ++i) {
        const auto C = static_cast<uint8_t>(Text[i]);
        if (C < 0x80) {
            Out += static_cast<char>(C);
            continue;
        }
        // Only two-byte sequences for U+0080..U+00FF (lead C2h or C3h).
        if ((C != 0xC2 && C != 0xC3) || i + 1 >= Text.size() || (static_cast<uint8_t>(Text[i + 1]) & 0xC0) != 0x80)
            return Text;
        Out += static_cast<char>((C & 0x03) << 6 | (static_cast<uint8_t>(Text[i + 1]) & 0x3F));
        ++i;
    }
    return Out;
}

std::string ExtTagTimeText(uint32_t Value)
{
    const uint32_t Seconds = Value / 64000;
    char B[64];
    std::snprintf(B, sizeof B, "seconds = %02u:%02u:%02u", Value / 230400000u, Seconds % 3600 / 60, Seconds % 60);
    return B;
}

std::string SPCHexText(unsigned Value, int Digits)
{
    char B[16];
    std::snprintf(B, sizeof B, "%0*Xh", Digits, Value);
    return B;
}

bool tSPC_Editor::Refill()
{
    Fields.Extended = !Spc_.ExtTags.Empty();
    if (Shown_ && ShownSerial_ == Spc_.FileSerial)
        return false;
    Fields = Spc_.EditorFieldsFromTag();
    Shown_ = true;
    ShownSerial_ = Spc_.FileSerial;
    return true;
}

void tSPC_Editor::SetContains(bool On, int TodayDay, int TodayMonth, int TodayYear)
{
    Fields.Contains = On;
    if (On && (Fields.Day < 0 || Fields.Month < 1 || Fields.Year < 0)) {
        Fields.Day = TodayDay;
        Fields.Month = TodayMonth;
        Fields.Year = TodayYear;
    }
}

void tSPC_Editor::SetVersion(int Value)
{
    Spc_.Image[SPCLayout::VersionMinor] = static_cast<uint8_t>(std::clamp(Value, 0, 255));
}

int tSPC_Editor::Version() const
{
    const int V = Spc_.Image[SPCLayout::VersionMinor];
    return !Spc_.Loaded && V == 0 ? 30 : V;
}

std::string tSPC_Editor::Signature() const
{
    if (!Spc_.Loaded)
        return SPCSignatureText;
    const auto* P = Spc_.Image.data() + SPCLayout::Signature;
    return std::string(P, std::find(P, P + SPCLayout::SignatureSize, uint8_t{0}));
}

tSPC_ExtTag* tSPC_Editor::ExtTag(int Index)
{
    if (Index < 0 || static_cast<size_t>(Index) >= Spc_.ExtTags.Count())
        return nullptr;
    return &Spc_.ExtTags[static_cast<size_t>(Index)];
}

bool tSPC_Editor::Save(const std::string& FileName, tError& Error)
{
    Fields.Extended = !Spc_.ExtTags.Empty();
    return Spc_.SaveToFile(FileName, Fields, Error);
}
