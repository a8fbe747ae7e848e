#include "tools/PaletteFile.h"

#include <cstdio>
#include <string_view>

#include "core/ByteReader.h"
#include "core/FileIO.h"

namespace
{
constexpr int Colours = 256;

uint16_t Pack(unsigned R, unsigned G, unsigned B)
{
    return static_cast<uint16_t>((R & 31) | (G & 31) << 5 | (B & 31) << 10);
}

std::string Unchanged(int Entries)
{
    return " (" + std::to_string(Entries) + " of 256 colours read, the others unchanged)";
}

bool IsBlank(char C)
{
    return C == ' ' || C == '\t' || C == '\r';
}

bool IsBlankText(std::string_view S)
{
    for (char C : S)
        if (!IsBlank(C) && C != '\n')
            return false;
    return true;
}

// Lines of a text ended by LF or CR LF, counted from 1.
class tLineCursor
{
  public:
    explicit tLineCursor(std::string_view Text) : Text_(Text) {}
    int Number() const { return Number_; }
    std::string_view Rest() const { return Text_.substr(Pos_); }
    bool Next(std::string_view& Line)
    {
        if (Pos_ >= Text_.size())
            return false;
        size_t End = Text_.find('\n', Pos_);
        if (End == std::string_view::npos)
            End = Text_.size();
        Line = Text_.substr(Pos_, End - Pos_);
        Pos_ = End == Text_.size() ? End : End + 1;
        if (!Line.empty() && Line.back() == '\r')
            Line.remove_suffix(1);
        ++Number_;
        return true;
    }

  private:
    std::string_view Text_;
    size_t Pos_ = 0;
    int Number_ = 0;
};

// A decimal number of at most Max after optional blanks; S moves past it.
bool Number(std::string_view& S, unsigned Max, unsigned& Value)
{
    while (!S.empty() && IsBlank(S.front()))
        S.remove_prefix(1);
    if (S.empty() || S.front() < '0' || S.front() > '9')
        return false;
    Value = 0;
    while (!S.empty() && S.front() >= '0' && S.front() <= '9') {
        Value = Value * 10 + static_cast<unsigned>(S.front() - '0');
        if (Value > Max)
            return false;
        S.remove_prefix(1);
    }
    return true;
}

bool DecodeJASC(std::string_view Text, tCGRAM& CGRAM, int& Entries, tError& Error)
{
    tLineCursor Lines(Text);
    std::string_view Line;
    // The header is not checked (other programs write other versions), but
    // the colour count says when a shorter palette is complete.
    unsigned Count = Colours;
    for (int i = 0; i < JASCHeaderLines; ++i) {
        if (!Lines.Next(Line)) {
            Error = tError("the JASC header ends after " + std::to_string(Lines.Number()) + " lines" + Unchanged(0));
            return false;
        }
        if (Line.size() > MaxJASCLineLength) {
            Error = tError("line " + std::to_string(Lines.Number()) + " is longer than " +
                           std::to_string(MaxJASCLineLength) + " characters" + Unchanged(0));
            return false;
        }
        unsigned N = 0;
        std::string_view S = Line;
        if (i == JASCHeaderLines - 1 && Number(S, Colours, N) && N > 0 && IsBlankText(S))
            Count = N;
    }
    while (Entries < Colours) {
        // The end of the text, or only blank lines left: complete when the
        // header's count is reached.
        if (IsBlankText(Lines.Rest())) {
            if (Entries >= static_cast<int>(Count))
                return true;
            Error = tError("the file ends after " + std::to_string(Entries) + " colours" + Unchanged(Entries));
            return false;
        }
        Lines.Next(Line);
        unsigned R = 0, G = 0, B = 0;
        std::string_view S = Line;
        if (Line.size() > MaxJASCLineLength || !Number(S, 255, R) || !Number(S, 255, G) || !Number(S, 255, B) ||
            !IsBlankText(S)) {
            Error = tError("line " + std::to_string(Lines.Number()) +
                           " is not a colour of three numbers from 0 to 255" + Unchanged(Entries));
            return false;
        }
        CGRAM[Entries++] = Pack(R >> 3, G >> 3, B >> 3);
    }
    return true;
}

bool IsColourLine(std::string_view Line, unsigned& R, unsigned& G, unsigned& B)
{
    std::string_view S = Line;
    // After the three numbers a GIMP palette may name the colour.
    return Number(S, 255, R) && Number(S, 255, G) && Number(S, 255, B) && (S.empty() || IsBlank(S.front()));
}

bool DecodeGPL(std::string_view Text, tCGRAM& CGRAM, int& Entries, tError& Error)
{
    tLineCursor Lines(Text);
    std::string_view Line;
    if (!Lines.Next(Line) || Line.substr(0, 12) != "GIMP Palette") {
        Error = tError("the first line is not \"GIMP Palette\"" + Unchanged(0));
        return false;
    }
    while (Lines.Next(Line)) {
        if (IsBlankText(Line) || Line.front() == '#' || Line.substr(0, 5) == "Name:" || Line.substr(0, 8) == "Columns:")
            continue;
        unsigned R = 0, G = 0, B = 0;
        if (Line.size() > MaxJASCLineLength || !IsColourLine(Line, R, G, B)) {
            Error = tError("line " + std::to_string(Lines.Number()) +
                           " is not a colour of three numbers from 0 to 255" + Unchanged(Entries));
            return false;
        }
        if (Entries == Colours) {
            Error = tError("line " + std::to_string(Lines.Number()) + " holds a colour beyond the 256th" +
                           Unchanged(Entries));
            return false;
        }
        CGRAM[static_cast<size_t>(Entries++)] = Pack(R >> 3, G >> 3, B >> 3);
    }
    if (Entries == 0) {
        Error = tError("the file holds no colours" + Unchanged(0));
        return false;
    }
    return true;
}

bool DecodeACT(std::span<const uint8_t> Data, tCGRAM& CGRAM, int& Entries, tError& Error)
{
    if (Data.size() != ACTFileSize && Data.size() != ACTFileSizeWithCount) {
        Error = tError("the file is " + std::to_string(Data.size()) + " bytes long, a colour table has " +
                       std::to_string(ACTFileSize) + " or " + std::to_string(ACTFileSizeWithCount) + Unchanged(0));
        return false;
    }
    int Count = Colours;
    if (Data.size() == ACTFileSizeWithCount) {
        Count = Data[768] << 8 | Data[769];
        if (Count < 1 || Count > Colours) {
            Error = tError("the colour count " + std::to_string(Count) + " is not 1 to 256" + Unchanged(0), 768);
            return false;
        }
    }
    for (int i = 0; i < Count; ++i) {
        const size_t At = static_cast<size_t>(i) * 3;
        CGRAM[static_cast<size_t>(i)] = Pack(Data[At] >> 3, Data[At + 1] >> 3, Data[At + 2] >> 3);
    }
    Entries = Count;
    return true;
}

// Binary formats: fixed-size records from the start of the file; what lies
// beyond the 256th is ignored, as it always was.
bool DecodeRecords(std::span<const uint8_t> Data, int Format, tCGRAM& CGRAM, int& Entries, tError& Error)
{
    tByteReader R(Data);
    const size_t Record = Format == PaletteSNES ? 2 : 3;
    while (Entries < Colours) {
        std::span<const uint8_t> B;
        if (!R.Take(Record, B)) {
            Error = tError("the file is " + std::to_string(Data.size()) + " bytes long, the palette needs " +
                           std::to_string(Record * Colours) + Unchanged(Entries));
            return false;
        }
        if (Format == PaletteSNES)
            CGRAM[Entries] = static_cast<uint16_t>(B[0] | B[1] << 8);
        else if (Format == PaletteRaw5)
            // Components of 0..31; anything above is cut to 5 bits rather
            // than carried into the neighbouring component.
            CGRAM[Entries] = Pack(B[0], B[1], B[2]);
        else
            CGRAM[Entries] = Pack(B[0] >> 3, B[1] >> 3, B[2] >> 3);
        ++Entries;
    }
    return true;
}

} // namespace

bool DecodePalette(std::span<const uint8_t> Data, int Format, tCGRAM& CGRAM, int& Entries, tError& Error)
{
    Entries = 0;
    if (Format == PaletteJASC)
        return DecodeJASC({reinterpret_cast<const char*>(Data.data()), Data.size()}, CGRAM, Entries, Error);
    if (Format == PaletteSNES || Format == PaletteRaw5 || Format == PaletteRaw8)
        return DecodeRecords(Data, Format, CGRAM, Entries, Error);
    if (Format == PaletteGPL)
        return DecodeGPL({reinterpret_cast<const char*>(Data.data()), Data.size()}, CGRAM, Entries, Error);
    if (Format == PaletteACT)
        return DecodeACT(Data, CGRAM, Entries, Error);
    Error = tError("unknown palette format " + std::to_string(Format));
    return false;
}

std::vector<uint8_t> EncodePalette(const tCGRAM& CGRAM, int Format)
{
    std::vector<uint8_t> Out;
    if (Format == PaletteJASC) {
        const std::string_view Header = "JASC-PAL\r\n0100\r\n256\r\n";
        Out.assign(Header.begin(), Header.end());
    } else if (Format == PaletteGPL) {
        const std::string_view Header = "GIMP Palette\nName: SNES CGRAM\nColumns: 16\n#\n";
        Out.assign(Header.begin(), Header.end());
    }
    int Index = 0;
    for (uint16_t C : CGRAM) {
        const unsigned R = C & 31, G = C >> 5 & 31, B = C >> 10 & 31;
        switch (Format) {
        case PaletteJASC: {
            char Line[16];
            const int N = std::snprintf(Line, sizeof Line, "%03u %03u %03u\r\n", R * 8, G * 8, B * 8);
            Out.insert(Out.end(), Line, Line + N);
            break;
        }
        case PaletteSNES:
            Out.insert(Out.end(), {static_cast<uint8_t>(C), static_cast<uint8_t>(C >> 8)});
            break;
        case PaletteRaw5:
            Out.insert(Out.end(), {static_cast<uint8_t>(R), static_cast<uint8_t>(G), static_cast<uint8_t>(B)});
            break;
        case PaletteGPL: {
            char Line[40];
            const int N = std::snprintf(Line, sizeof Line, "%3u %3u %3u\tIndex %d\n", R * 8, G * 8, B * 8, Index);
            Out.insert(Out.end(), Line, Line + N);
            break;
        }
        case PaletteRaw8:
        case PaletteACT:
            Out.insert(Out.end(),
                       {static_cast<uint8_t>(R * 8), static_cast<uint8_t>(G * 8), static_cast<uint8_t>(B * 8)});
            break;
        default:
            return {};
        }
        ++Index;
    }
    return Out;
}

bool LoadPaletteFile(const std::string& FileName, int Format, tCGRAM& CGRAM, int& Entries, tError& Error)
{
    Entries = 0;
    std::vector<uint8_t> Data;
    const uint64_t Limit = Format == PaletteJASC  ? MaxJASCFileSize
                           : Format == PaletteGPL ? MaxGPLFileSize
                           : Format == PaletteACT ? ACTFileSizeWithCount
                                                  : MaxInputFileSize;
    if (!ReadWholeFile(FileName, Data, Error, Limit))
        return false;
    return DecodePalette(Data, Format, CGRAM, Entries, Error);
}

bool SavePaletteFile(const std::string& FileName, int Format, const tCGRAM& CGRAM, tError& Error)
{
    const std::vector<uint8_t> Data = EncodePalette(CGRAM, Format);
    if (Data.empty()) {
        Error = tError("unknown palette format " + std::to_string(Format));
        return false;
    }
    return WriteFileAtomic(FileName, Data, Error);
}

int PaletteFormatForName(const std::string& FileName, int Default)
{
    const size_t Dot = FileName.find_last_of("./\\");
    if (Dot == std::string::npos || FileName[Dot] != '.')
        return Default;
    std::string Ext = FileName.substr(Dot + 1);
    for (char& C : Ext)
        C = static_cast<char>(C >= 'A' && C <= 'Z' ? C - 'A' + 'a' : C);
    return Ext == "gpl" ? PaletteGPL : Ext == "act" ? PaletteACT : Default;
}
