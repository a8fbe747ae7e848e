// The ID666 tag: two layouts share the 210 bytes at 0x2E and nothing in the
// file says which one is used, so the layout is guessed from which fields
// look like decimal text.

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "core/LittleEndian.h"
#include "sound/SPC.h"

namespace
{
// Binary-layout offsets that differ from the text layout.
constexpr size_t BinDay = 0x9E;
constexpr size_t BinMonth = 0x9F;
constexpr size_t BinYear = 0xA0;
constexpr size_t BinUnused = 0xA2;
constexpr size_t BinSeconds = 0xA9; // 24 bits
constexpr size_t BinFade = 0xAC;    // 32 bits
constexpr size_t BinArtist = 0xB0;
constexpr size_t BinMuted = 0xD0;
constexpr size_t BinEmulator = 0xD1;
// Song, game, dumper and comments sit at the same place in both layouts.
constexpr size_t SharedTextsEnd = 0x9E;

// A tag index from a file offset.
constexpr size_t T(size_t Offset)
{
    return Offset - SPCLayout::TagArea;
}

bool IsDigit(uint8_t C)
{
    return C >= '0' && C <= '9';
}

// Reads a decimal number as the program's number fields do: leading blanks
// allowed, a NUL ends the text, anything else after the digits fails.
bool ReadDecimal(const uint8_t* P, size_t N, uint64_t& Value)
{
    size_t I = 0;
    while (I < N && P[I] == ' ')
        ++I;
    size_t Start = I;
    uint64_t V = 0;
    while (I < N && IsDigit(P[I])) {
        V = V * 10 + (P[I] - '0');
        if (V > 0xFFFFFFFFull)
            return false;
        ++I;
    }
    if (I == Start || (I < N && P[I] != 0))
        return false;
    Value = V;
    return true;
}

// A whole number typed into an editor field; anything else counts as 0.
int64_t WholeNumber(const std::string& Text)
{
    int64_t V = 0;
    auto [End, Ec] = std::from_chars(Text.data(), Text.data() + Text.size(), V);
    if (Ec != std::errc() || End != Text.data() + Text.size() || V < 0)
        return 0;
    return V;
}

// Decimal text of V padded with '0' on the left to Width, then cut to Width
// from the left as the tag fields are.
void PutPadded(uint8_t* Dst, uint64_t V, size_t Width)
{
    std::string S = std::to_string(V);
    if (S.size() < Width)
        S.insert(0, Width - S.size(), '0');
    std::memcpy(Dst, S.data(), Width);
}

void PutText(uint8_t* Dst, size_t Width, const std::string& Text)
{
    std::memset(Dst, 0, Width);
    std::memcpy(Dst, Text.data(), std::min(Width, Text.size()));
}

std::string TwoDigits(int V)
{
    char B[8];
    std::snprintf(B, sizeof B, "%02d", std::clamp(V, 0, 99));
    return B;
}
} // namespace

int tSPC::DigitRunLength(std::span<const uint8_t> Field)
{
    auto End = std::find(Field.begin(), Field.end(), uint8_t{0});
    for (auto It = Field.begin(); It != End; ++It)
        if (*It < '/' || *It > '9')
            return -1;
    return static_cast<int>(End - Field.begin());
}

bool tSPC::IsTextTag(std::span<const uint8_t, SPCLayout::FixedSize> Img)
{
    const int s = DigitRunLength(Img.subspan(ID666::Seconds.Offset, ID666::Seconds.Size));
    const int f = DigitRunLength(Img.subspan(ID666::Fade.Offset, ID666::Fade.Size));
    const int d = DigitRunLength(Img.subspan(ID666::Date.Offset, ID666::Date.Size));
    // The sum, not each part: a tag with no length, fade or date is text.
    if (s + f + d == 0)
        return true;
    if (s == -1 || f == -1)
        return false;
    // Bytes 0xA2-0xA5 are unused zeros in the binary layout but lie inside
    // the date text of the text layout.
    if (d == -1 && std::all_of(Img.begin() + BinUnused, Img.begin() + BinUnused + 4, [](uint8_t B) { return B == 0; }))
        return false;
    // The text layout's emulator field is a digit character.
    return Img[ID666::Emulator.Offset] >= '0';
}

void tSPC::DecodeTag()
{
    TextTag = IsTextTag();
    if (TextTag) {
        std::copy_n(Image.begin() + SPCLayout::TagArea, Tag.size(), Tag.begin());
        return;
    }
    Tag.fill(0);
    std::copy(Image.begin() + SPCLayout::TagArea, Image.begin() + SharedTextsEnd, Tag.begin());

    const uint32_t Year = GetLE<BinYear, 2>(Image);
    const std::string Date = TwoDigits(Image[BinMonth]) + "/" + TwoDigits(Image[BinDay]) + "/" + std::to_string(Year);
    // A year beyond four digits would run into the seconds field.
    std::memcpy(&Tag[T(ID666::Date.Offset)], Date.data(), std::min(Date.size(), ID666::Date.Size));

    const uint32_t Seconds = GetLE<BinSeconds, 3>(Image);
    PutPadded(&Tag[T(ID666::Seconds.Offset)], Seconds, ID666::Seconds.Size);
    const uint32_t Fade = GetLE<BinFade, 4>(Image);
    PutPadded(&Tag[T(ID666::Fade.Offset)], Fade, ID666::Fade.Size);

    std::copy_n(Image.begin() + BinArtist, ID666::Artist.Size, Tag.begin() + T(ID666::Artist.Offset));
    Tag[T(ID666::Muted.Offset)] = Image[BinMuted];
    const uint8_t Emu = Image[BinEmulator];
    Tag[T(ID666::Emulator.Offset)] = static_cast<uint8_t>('0' + (Emu > 9 ? 0 : Emu));
}

void tSPC::EncodeBinaryTag()
{
    uint8_t* Area = Image.data() + SPCLayout::TagArea;
    std::memset(Area, 0, SPCLayout::TagSize);
    std::copy(Tag.begin(), Tag.begin() + T(SharedTextsEnd), Area);

    const uint8_t* Date = &Tag[T(ID666::Date.Offset)];
    uint64_t V = 0;
    if (ReadDecimal(Date + 6, 4, V)) {
        SetLE<BinYear, 2>(Image, static_cast<uint32_t>(V));
    }
    if (ReadDecimal(Date + 3, 2, V))
        Image[BinDay] = static_cast<uint8_t>(V);
    if (ReadDecimal(Date, 2, V))
        Image[BinMonth] = static_cast<uint8_t>(V);

    if (ReadDecimal(&Tag[T(ID666::Seconds.Offset)], ID666::Seconds.Size, V))
        SetLE<BinSeconds, 3>(Image, static_cast<uint32_t>(V));
    if (ReadDecimal(&Tag[T(ID666::Fade.Offset)], ID666::Fade.Size, V))
        SetLE<BinFade, 4>(Image, static_cast<uint32_t>(V));

    std::copy_n(Tag.begin() + T(ID666::Artist.Offset), ID666::Artist.Size, Image.begin() + BinArtist);
    Image[BinMuted] = Tag[T(ID666::Muted.Offset)];
    const uint8_t Emu = Tag[T(ID666::Emulator.Offset)];
    Image[BinEmulator] = IsDigit(Emu) ? static_cast<uint8_t>(Emu - '0') : Emu;
}

void tSPC::ApplyEditorFields(const tSPC_EditorFields& F)
{
    TextTag = !F.Binary;
    PutText(&Tag[T(ID666::Song.Offset)], ID666::Song.Size, F.Song);
    PutText(&Tag[T(ID666::Game.Offset)], ID666::Game.Size, F.Game);
    PutText(&Tag[T(ID666::Dumper.Offset)], ID666::Dumper.Size, F.Dumper);
    PutText(&Tag[T(ID666::Comments.Offset)], ID666::Comments.Size, F.Comments);
    PutText(&Tag[T(ID666::Artist.Offset)], ID666::Artist.Size, F.Artist);

    // A date with a part not chosen is no date: the field stays empty rather
    // than holding a made-up day, month or year.
    const bool HasDate = F.Day >= 0 && F.Day <= 31 && F.Month >= 1 && F.Month <= 12 && F.Year >= 0 && F.Year <= 9999;
    char Date[16] = {};
    if (HasDate)
        std::snprintf(Date, sizeof Date, "%02d/%02d/%04d", F.Month, F.Day, F.Year);
    PutText(&Tag[T(ID666::Date.Offset)], ID666::Date.Size, Date);

    // The fields hold 3 and 5 digits; longer values keep their leading digits.
    const uint64_t Length = static_cast<uint64_t>(WholeNumber(F.LengthMinutes)) * 60 + WholeNumber(F.LengthSeconds);
    const uint64_t Fade = static_cast<uint64_t>(WholeNumber(F.FadeSeconds)) * 1000 + WholeNumber(F.FadeMilliseconds);
    PutPadded(&Tag[T(ID666::Seconds.Offset)], Length, ID666::Seconds.Size);
    PutPadded(&Tag[T(ID666::Fade.Offset)], Fade, ID666::Fade.Size);

    uint8_t Muted = 0;
    for (int n = 0; n < 8; ++n)
        if (F.Muted[n])
            Muted = static_cast<uint8_t>(Muted | 1 << n);
    Tag[T(ID666::Muted.Offset)] = Muted;
    // No choice (or one the list does not have) is "unknown", a digit like
    // every other choice, so the tag still reads back as text.
    Tag[T(ID666::Emulator.Offset)] = static_cast<uint8_t>('0' + (F.Emulator >= 0 && F.Emulator <= 9 ? F.Emulator : 0));

    if (F.Contains) {
        Image[SPCLayout::TagMarker] = 26;
        if (TextTag)
            std::copy(Tag.begin(), Tag.end(), Image.begin() + SPCLayout::TagArea);
        else
            EncodeBinaryTag();
    } else {
        Image[SPCLayout::TagMarker] = 27;
        std::fill_n(Image.begin() + SPCLayout::TagArea, SPCLayout::TagSize, uint8_t{0});
    }
}

tSPC_EditorFields tSPC::EditorFieldsFromTag()
{
    tSPC_EditorFields F;
    F.Extended = !ExtTags.Empty();
    F.Contains = HasTag();
    F.Day = F.Month = F.Year = -1; // no selection
    if (!F.Contains)
        return F;
    const uint8_t Muted = Tag[T(ID666::Muted.Offset)];
    for (int n = 0; n < 8; ++n)
        F.Muted[n] = (Muted >> n) & 1;
    F.Binary = !TextTag;
    F.Song = TagText(ID666::Song);
    F.Game = TagText(ID666::Game);
    F.Dumper = TagText(ID666::Dumper);
    F.Comments = TagText(ID666::Comments);
    F.Artist = TagText(ID666::Artist);

    // The length boxes stay empty unless every character is a digit.
    auto AllDigits = [this](const tSPC_TagField& Field) {
        const uint8_t* P = &Tag[Field.TagIndex()];
        return std::all_of(P, P + Field.Size, IsDigit);
    };
    auto Value = [this](const tSPC_TagField& Field) { return std::stoul(TagText(Field)); };
    if (AllDigits(ID666::Seconds)) {
        const unsigned long V = Value(ID666::Seconds);
        F.LengthMinutes = std::to_string(V / 60);
        F.LengthSeconds = std::to_string(V % 60);
    }
    if (AllDigits(ID666::Fade)) {
        const unsigned long V = Value(ID666::Fade);
        F.FadeSeconds = std::to_string(V / 1000);
        F.FadeMilliseconds = std::to_string(V % 1000);
    }
    const int Emu = Tag[T(ID666::Emulator.Offset)] - '0';
    F.Emulator = Emu >= 0 && Emu <= 6 ? Emu : 0;

    NormalizeDate();
    const uint8_t* D = &Tag[T(ID666::Date.Offset)];
    auto Number = [D](size_t From, size_t Count, int Lo, int Hi) {
        if (!std::all_of(D + From, D + From + Count, IsDigit))
            return -1;
        int V = 0;
        for (size_t i = 0; i < Count; ++i)
            V = V * 10 + (D[From + i] - '0');
        return V >= Lo && V <= Hi ? V : -1;
    };
    F.Month = Number(0, 2, 1, 12);
    F.Day = Number(3, 2, 0, 31);
    F.Year = Number(6, 4, 1990, 2100);
    return F;
}

void tSPC::NormalizeDate()
{
    NormalizeDate(std::span<uint8_t, 11>(&Tag[T(ID666::Date.Offset)], 11));
}

void tSPC::NormalizeDate(std::span<uint8_t, 11> Date)
{
    if (Date[0] == 0) {
        std::fill(Date.begin(), Date.end(), uint8_t{0});
        return;
    }
    // Three digit runs, each ended by any non-digit, which is skipped.
    std::string Runs[3];
    size_t I = 0;
    for (std::string& Run : Runs) {
        while (I < Date.size() && IsDigit(Date[I]))
            Run += static_cast<char>(Date[I++]);
        ++I;
    }
    const size_t Keep[3] = {2, 2, 4};
    for (int r = 0; r < 3; ++r) {
        Runs[r].resize(std::min(Runs[r].size(), Keep[r]));
        if (Runs[r].size() < 2)
            Runs[r].insert(0, 2 - Runs[r].size(), '0');
    }
    // Day first, month second: swap when the first run cannot be a month.
    const int m = std::stoi(Runs[0]);
    if (m == 0 || m > 12) {
        Runs[0] = Runs[1];
        Runs[1] = m == 0 ? "00" : std::to_string(m);
    }
    const std::string Out = Runs[0] + "/" + Runs[1] + "/" + Runs[2];
    std::fill(Date.begin(), Date.end(), uint8_t{0});
    std::memcpy(Date.data(), Out.data(), std::min(Out.size(), Date.size() - 1));
}

std::string tSPC::TagText(const tSPC_TagField& Field) const
{
    const uint8_t* P = &Tag[Field.TagIndex()];
    const uint8_t* End = std::find(P, P + Field.Size, uint8_t{0});
    return std::string(P, End);
}
