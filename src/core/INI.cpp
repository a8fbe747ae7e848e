#include "core/INI.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>

#include <unistd.h>

#include "core/FileIO.h"
#include "core/Messages.h"
#include "core/SharedData.h"

namespace
{

// A configuration holds a few hundred short lines; anything far larger is not
// one of ours and is refused rather than read into memory.
constexpr uint64_t MaxConfigFileSize = 4ull << 20;

constexpr const char* ConfigFileName = "Orlik.ini";

char LowerAscii(char C)
{
    return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C;
}

int CompareText(std::string_view A, std::string_view B)
{
    size_t N = std::min(A.size(), B.size());
    for (size_t i = 0; i < N; ++i) {
        unsigned char CA = static_cast<unsigned char>(LowerAscii(A[i]));
        unsigned char CB = static_cast<unsigned char>(LowerAscii(B[i]));
        if (CA != CB)
            return CA < CB ? -1 : 1;
    }
    return A.size() == B.size() ? 0 : (A.size() < B.size() ? -1 : 1);
}

bool SameText(std::string_view A, std::string_view B)
{
    return A.size() == B.size() && CompareText(A, B) == 0;
}

// Blanks and control characters around a line or a section name.
std::string_view Trim(std::string_view S)
{
    size_t B = 0, E = S.size();
    while (B < E && static_cast<unsigned char>(S[B]) <= ' ')
        ++B;
    while (E > B && static_cast<unsigned char>(S[E - 1]) <= ' ')
        --E;
    return S.substr(B, E - B);
}

bool ParseInt(std::string_view Text, int& Value)
{
    if (!Text.empty() && Text.front() == '+')
        Text.remove_prefix(1);
    int V = 0;
    auto [End, Ec] = std::from_chars(Text.data(), Text.data() + Text.size(), V);
    if (Ec != std::errc() || End != Text.data() + Text.size() || Text.empty())
        return false;
    Value = V;
    return true;
}

// The folder is writable by us (a test file is not needed: access() asks the
// same question the kernel will ask on open).
bool WritableDir(const std::string& Dir)
{
    return !Dir.empty() && ::access(Dir.c_str(), W_OK | X_OK) == 0;
}

std::string UserConfigPath()
{
    std::string Base;
    if (const char* X = std::getenv("XDG_CONFIG_HOME"); X && *X == '/')
        Base = X;
    else if (const char* H = std::getenv("HOME"); H && *H)
        Base = std::string(H) + "/.config";
    else
        return {};
    return Base + "/orlik/" + ConfigFileName;
}

} // namespace

std::string ConfigFilePath()
{
    std::string Local = ProgramDir + ConfigFileName;
    if (!ProgramInstalled && WritableDir(ProgramDir.empty() ? std::string("./") : ProgramDir))
        return Local;
    std::string User = UserConfigPath();
    return User.empty() ? Local : User;
}

// ---------------------------------------------------------------------------
// Comma text

std::string CommaText(const tStringList& Items)
{
    std::string Out;
    for (size_t i = 0; i < Items.size(); ++i) {
        if (i)
            Out += ',';
        const std::string& S = Items[i];
        bool Quote = S.empty() || std::any_of(S.begin(), S.end(), [](char C) {
                         return static_cast<unsigned char>(C) <= ' ' || C == ',' || C == '"';
                     });
        if (!Quote) {
            Out += S;
            continue;
        }
        Out += '"';
        for (char C : S) {
            if (C == '"')
                Out += '"';
            Out += C;
        }
        Out += '"';
    }
    return Out;
}

tStringList ParseCommaText(std::string_view Text)
{
    tStringList Items;
    size_t P = 0, N = Text.size();
    auto SkipBlanks = [&] {
        while (P < N && static_cast<unsigned char>(Text[P]) <= ' ')
            ++P;
    };
    SkipBlanks();
    while (P < N) {
        std::string Item;
        if (Text[P] == '"') {
            ++P;
            while (P < N) {
                if (Text[P] == '"') {
                    if (P + 1 < N && Text[P + 1] == '"') {
                        Item += '"';
                        P += 2;
                        continue;
                    }
                    ++P;
                    break;
                }
                Item += Text[P++];
            }
            // Text glued to a closing quote belongs to no item; skip it up to
            // the next separator.
            while (P<N&& static_cast<unsigned char>(Text[P])> ' ' && Text[P] != ',')
                ++P;
        } else {
            size_t Start = P;
            while (P<N&& static_cast<unsigned char>(Text[P])> ' ' && Text[P] != ',')
                ++P;
            Item.assign(Text.substr(Start, P - Start));
        }
        Items.push_back(std::move(Item));
        SkipBlanks();
        if (P < N && Text[P] == ',') {
            ++P;
            if (P == N) // a trailing comma ends with an empty item
                Items.emplace_back();
            SkipBlanks();
        }
    }
    return Items;
}

// ---------------------------------------------------------------------------
// Sections

void tINI::SetSection(std::string_view Name)
{
    SectionName.assign(Name);
    auto It = std::lower_bound(SectionNames.begin(), SectionNames.end(), Name,
                               [](const std::string& A, std::string_view B) { return CompareText(A, B) < 0; });
    if (It != SectionNames.end() && SameText(*It, Name))
        Section = Sections[static_cast<size_t>(It - SectionNames.begin())].get();
    else
        Section = nullptr;
}

void tINI::Clear()
{
    Section = nullptr;
    SectionNames.clear();
    Sections.clear();
}

void tINI::LoadFromText(std::string_view Text)
{
    if (Text.substr(0, 3) == "\xEF\xBB\xBF") // a byte-order mark left by an editor
        Text.remove_prefix(3);
    SetSection("");
    while (!Text.empty()) {
        size_t Eol = Text.find('\n');
        std::string_view Line = Text.substr(0, Eol);
        Text.remove_prefix(Eol == std::string_view::npos ? Text.size() : Eol + 1);
        Line = Trim(Line.substr(0, Line.find(';')));
        if (Line.size() >= 2 && Line.front() == '[' && Line.back() == ']') {
            SetSection(Trim(Line.substr(1, Line.size() - 2)));
            continue;
        }
        size_t Eq = Line.find('=');
        if (SectionName.empty() || Eq == std::string_view::npos || Eq == 0)
            continue;
        WriteString(Line.substr(0, Eq), Line.substr(Eq + 1));
    }
    SetSection("");
}

bool tINI::LoadFromFile(const std::string& FileName, tError& Error)
{
    SetSection("");
    FileExisted = FileExists(FileName);
    if (!FileExisted)
        return true;
    std::vector<uint8_t> Data;
    if (!ReadWholeFile(FileName, Data, Error, MaxConfigFileSize))
        return false;
    Clear();
    LoadFromText(std::string_view(reinterpret_cast<const char*>(Data.data()), Data.size()));
    return true;
}

std::string tINI::SaveToText() const
{
    std::string Out;
    for (size_t i = 0; i < SectionNames.size(); ++i) {
        if (i)
            Out += "\n\n";
        Out += '[' + SectionNames[i] + "]\n";
        for (const std::string& L : *Sections[i])
            Out += L + '\n';
    }
    return Out;
}

bool tINI::SaveToFile(const std::string& FileName, tError& Error) const
{
    std::error_code Ec;
    std::filesystem::path Dir = std::filesystem::path(FileName).parent_path();
    if (!Dir.empty())
        std::filesystem::create_directories(Dir, Ec); // the user's configuration folder may not exist yet
    return WriteFileAtomic(FileName, std::string_view(SaveToText()), Error);
}

// ---------------------------------------------------------------------------
// Raw access

std::string* tINI::FindLine(std::string_view Key) const
{
    if (!Section)
        return nullptr;
    for (std::string& L : *Section) {
        size_t Eq = L.find('=');
        if (Eq != std::string::npos && SameText(std::string_view(L).substr(0, Eq), Key))
            return &L;
    }
    return nullptr;
}

bool tINI::ReadString(std::string_view Key, std::string& Value) const
{
    const std::string* L = FindLine(Key);
    if (!L)
        return false;
    Value = L->substr(L->find('=') + 1);
    return true;
}

bool tINI::ReadInteger(std::string_view Key, int& Value) const
{
    std::string S;
    return ReadString(Key, S) && ParseInt(S, Value);
}

bool tINI::ReadColor(std::string_view Key, uint32_t& Value) const
{
    std::string S;
    if (!ReadString(Key, S) || S.empty() || S.size() > 8)
        return false;
    uint32_t V = 0;
    auto [End, Ec] = std::from_chars(S.data(), S.data() + S.size(), V, 16);
    if (Ec != std::errc() || End != S.data() + S.size())
        return false;
    Value = V;
    return true;
}

bool tINI::ReadBool(std::string_view Key, bool& Value) const
{
    std::string S;
    if (!ReadString(Key, S))
        return false;
    Value = S == "True"; // exactly as written; anything else is false
    return true;
}

bool tINI::ReadList(std::string_view Key, tStringList& Items) const
{
    std::string S;
    if (!ReadString(Key, S))
        return false;
    Items = ParseCommaText(S);
    return true;
}

void tINI::WriteString(std::string_view Key, std::string_view Value)
{
    // Entries outside a named section cannot be read back.
    if (SectionName.empty() || Key.empty())
        return;
    if (!Section) {
        auto It = std::lower_bound(SectionNames.begin(), SectionNames.end(), SectionName,
                                   [](const std::string& A, const std::string& B) { return CompareText(A, B) < 0; });
        size_t Index = static_cast<size_t>(It - SectionNames.begin());
        SectionNames.insert(It, SectionName);
        Sections.insert(Sections.begin() + static_cast<ptrdiff_t>(Index), std::make_unique<tStringList>());
        Section = Sections[Index].get();
    }
    // A line break inside a value would split the entry on the next reading.
    std::string Line(Key);
    Line += '=';
    for (char C : Value)
        Line += (C == '\n' || C == '\r') ? ' ' : C;
    if (std::string* Old = FindLine(Key))
        *Old = std::move(Line);
    else
        Section->push_back(std::move(Line));
}

void tINI::WriteInteger(std::string_view Key, int64_t Value)
{
    WriteString(Key, std::to_string(Value));
}

void tINI::WriteColor(std::string_view Key, uint32_t Value)
{
    char Buf[9];
    static constexpr char Digits[] = "0123456789ABCDEF";
    for (int i = 0; i < 8; ++i)
        Buf[i] = Digits[(Value >> (28 - 4 * i)) & 15];
    Buf[8] = '\0';
    WriteString(Key, Buf);
}

void tINI::WriteBool(std::string_view Key, bool Value)
{
    WriteString(Key, Value ? "True" : "False");
}

void tINI::WriteList(std::string_view Key, const tStringList& Items)
{
    WriteString(Key, CommaText(Items));
}

void tINI::Notify(const void*, tNote Msg)
{
    if (Msg != Note::Startup)
        return;
    std::string Path = ConfigFilePath();
    // A configuration shipped beside a program installed read-only still
    // counts until the user's own copy has been written.
    if (!FileExists(Path) && FileExists(ProgramDir + ConfigFileName))
        Path = ProgramDir + ConfigFileName;
    tError Error;
    if (!LoadFromFile(Path, Error))
        Messages().Error("Could not read " + Error.Describe(Path));
}
