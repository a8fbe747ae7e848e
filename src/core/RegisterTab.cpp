#include "core/RegisterTab.h"

#include <algorithm>

namespace
{
// Shown widths are the smallest machine word that holds the row.
int DigitsFor(int Bits)
{
    return Bits <= 8 ? 8 : Bits <= 16 ? 16 : Bits <= 32 ? 32 : 64;
}

std::string PadLeft(std::string S, size_t Multiple)
{
    if (Multiple == 0)
        return S;
    const size_t Want = (S.size() + Multiple - 1) / Multiple * Multiple;
    return std::string(Want - S.size(), '0') + S;
}

std::vector<std::string_view> SplitFields(std::string_view S)
{
    std::vector<std::string_view> Fields;
    size_t Pos = 0;
    while (Pos < S.size()) {
        while (Pos < S.size() && S[Pos] == ' ')
            ++Pos;
        if (Pos >= S.size())
            break;
        const size_t End = std::min(S.find(' ', Pos), S.size());
        Fields.push_back(S.substr(Pos, End - Pos));
        Pos = End;
    }
    return Fields;
}
} // namespace

tRowFields ParseRowLine(std::string_view Line)
{
    std::string L(Line);
    std::replace(L.begin(), L.end(), '\t', ' ');
    if (!L.empty() && L.back() == '\r')
        L.pop_back();
    tRowFields F;
    std::string_view Head = L;
    const size_t Semi = Head.find(';');
    if (Semi != std::string_view::npos) {
        std::string_view C = Head.substr(Semi + 1);
        C.remove_prefix(std::min(C.find_first_not_of(' '), C.size()));
        F.Comment = std::string(C);
        Head = Head.substr(0, Semi);
    }
    std::vector<std::string_view> Fields = SplitFields(Head);
    if (Fields.size() > 4)
        Fields.resize(4);
    // Right-aligned into address, type, bits, name; never further than the
    // bits position, so a single field is a width.
    std::string* Slots[4] = {&F.Address, &F.Type, &F.Bits, &F.Name};
    const size_t First = Fields.size() >= 2 ? 4 - Fields.size() : 2;
    for (size_t I = 0; I < Fields.size(); ++I)
        *Slots[First + I] = std::string(Fields[I]);
    std::replace(F.Type.begin(), F.Type.end(), '_', ' ');
    return F;
}

void tRegisterTab::Build(const std::vector<tSectionLine>& Lines, std::string_view FileName)
{
    std::vector<tRegisterRow> NewRows;
    NewRows.reserve(Lines.size());
    for (const tSectionLine& L : Lines) {
        tRowFields F = ParseRowLine(L.Text);
        tRegisterRow R;
        R.Line = L.Line;
        R.Comment = std::move(F.Comment);
        if (F.Bits.empty()) {
            R.IsText = true;
            NewRows.push_back(std::move(R));
            continue;
        }
        // Widths are plain decimal 1-64: a value never spans more than one
        // 64-bit unit.
        int Bits = 0;
        const bool Digits = F.Bits.size() <= 2 &&
                            std::all_of(F.Bits.begin(), F.Bits.end(), [](char C) { return C >= '0' && C <= '9'; });
        if (Digits)
            Bits = std::stoi(F.Bits);
        if (!Digits || Bits < 1 || Bits > 64)
            throw tRegisterFileError(std::string(FileName) + ", line " + std::to_string(L.Line) +
                                     ": the bits field \"" + F.Bits + "\" is not a number from 1 to 64");
        R.Caption = std::move(F.Address);
        R.Type = std::move(F.Type);
        R.Bits = std::move(F.Bits);
        R.Name = std::move(F.Name);
        R.Bin = std::string(static_cast<size_t>(Bits), '0');
        R.Hex = std::string(static_cast<size_t>(std::max(1, (Bits + 3) / 4)), '0');
        R.Dec = "0";
        R.Block.Bits = static_cast<uint8_t>(Bits);
        NewRows.push_back(std::move(R));
    }
    Rows = std::move(NewRows);
    Built = true;
    Filled = false;
    Rewind();
}

size_t tRegisterTab::DataRowCount() const
{
    return static_cast<size_t>(
        std::count_if(Rows.begin(), Rows.end(), [](const tRegisterRow& R) { return !R.IsText; }));
}

void tRegisterTab::Rewind()
{
    ValueCount = 0;
    RowCursor = -1;
    Exhausted = false;
}

int tRegisterTab::NextRow()
{
    if (Exhausted)
        return -1;
    // Every row with a width takes a value, named or not; comment rows never do.
    for (size_t I = static_cast<size_t>(RowCursor + 1); I < Rows.size(); ++I)
        if (!Rows[I].IsText) {
            RowCursor = static_cast<int>(I);
            return RowCursor;
        }
    RowCursor = -1;
    Exhausted = true;
    return -1;
}

tRegisterRow* tRegisterTab::CurrentRow()
{
    return RowCursor >= 0 ? &Rows[static_cast<size_t>(RowCursor)] : nullptr;
}

void tRegisterTab::FormatValue(tRegisterRow& R)
{
    const int Bits = R.Block.Bits;
    const uint64_t V = R.Block.Value;
    std::string Bin;
    for (uint64_t X = V; X; X >>= 1)
        Bin.insert(Bin.begin(), static_cast<char>('0' + (X & 1)));
    if (Bin.empty())
        Bin = "0";
    static const char HexDigits[] = "0123456789ABCDEF";
    std::string Hex;
    for (uint64_t X = V; X; X >>= 4)
        Hex.insert(Hex.begin(), HexDigits[X & 15]);
    if (Hex.empty())
        Hex = "0";
    R.Bin = PadLeft(Bin, static_cast<size_t>(Bits));
    R.Hex = PadLeft(Hex, static_cast<size_t>(DigitsFor(Bits) / 4));
    R.Dec = std::to_string(V);
}

void tRegisterTab::ShowValue(uint8_t* Address, size_t Available, int Shift, bool Busy)
{
    ++ValueCount;
    if (NextRow() < 0)
        return;
    tRegisterRow& R = *CurrentRow();
    tInfoBlock& B = R.Block;
    if (Shift >= 1) {
        const size_t Skip = static_cast<size_t>(Shift / 8);
        if (!Address || Skip >= Available) {
            // The shifted value lies outside its field: nothing to show.
            MarkMissing(R, Busy);
            return;
        }
        Address += Skip;
        Available -= Skip;
        B.BitOffset = static_cast<int8_t>(Shift % 8);
        B.ShiftLeft = 0;
    } else {
        B.BitOffset = 0;
        B.ShiftLeft = static_cast<uint8_t>(std::min(-Shift, 63));
    }
    B.Address = Address;
    B.Available = Address ? Available : 0;
    const uint64_t V = ReadBlock(B);
    if (!Busy)
        B.OldValue = V;
    B.Value = V;
    FormatValue(R);
}

void tRegisterTab::ShowMissing(bool Busy)
{
    ++ValueCount;
    if (NextRow() < 0)
        return;
    MarkMissing(*CurrentRow(), Busy);
}

void tRegisterTab::MarkMissing(tRegisterRow& R, bool Busy)
{
    tInfoBlock& B = R.Block;
    B.Address = nullptr;
    B.Available = 0;
    if (!Busy) {
        // Nothing stored, nothing to restore.
        B.OldValue = 0;
        B.Value = 0;
    }
    R.Bin = std::string(B.Bits, '?');
    R.Hex = std::string(static_cast<size_t>(DigitsFor(B.Bits) / 4), '?');
    R.Dec = "?";
}
