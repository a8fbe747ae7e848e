#include "core/ConfigStore.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <utility>

#include "core/FileIO.h"

// Interim store until the core's configuration object offers its typed
// interface; same file format: sorted sections of key=value lines.
namespace {
struct tCaseLess {
    bool operator()(const std::string& A, const std::string& B) const
    {
        return std::lexicographical_compare(A.begin(), A.end(), B.begin(), B.end(), [](char X, char Y) {
            return std::tolower(static_cast<unsigned char>(X)) < std::tolower(static_cast<unsigned char>(Y));
        });
    }
};
using tLines = std::vector<std::pair<std::string, std::string>>;
std::map<std::string, tLines, tCaseLess> Sections;
std::string Current;
bool Existed = false;

std::string Trim(const std::string& S)
{
    size_t A = S.find_first_not_of(" \t\r\n");
    if (A == std::string::npos)
        return {};
    size_t B = S.find_last_not_of(" \t\r\n");
    return S.substr(A, B - A + 1);
}

std::string CommaText(const std::vector<std::string>& Items)
{
    std::string Out;
    for (size_t i = 0; i < Items.size(); ++i) {
        if (i)
            Out += ',';
        const std::string& S = Items[i];
        if (S.find_first_of(" ,\"") != std::string::npos || S.empty()) {
            Out += '"';
            for (char C : S) {
                if (C == '"')
                    Out += '"';
                Out += C;
            }
            Out += '"';
        } else
            Out += S;
    }
    return Out;
}

std::vector<std::string> ParseCommaText(const std::string& T)
{
    std::vector<std::string> Out;
    size_t i = 0;
    while (i < T.size()) {
        std::string Item;
        if (T[i] == '"') {
            ++i;
            while (i < T.size()) {
                if (T[i] == '"') {
                    if (i + 1 < T.size() && T[i + 1] == '"') {
                        Item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                Item += T[i++];
            }
            while (i < T.size() && T[i] != ',')
                ++i;
        } else {
            while (i < T.size() && T[i] != ',')
                Item += T[i++];
        }
        Out.push_back(Item);
        if (i < T.size() && T[i] == ',') {
            ++i;
            if (i == T.size())
                Out.emplace_back();
        }
    }
    return Out;
}
}

void ConfigStoreSection(const std::string& Name) { Current = Name; }

bool ConfigStoreRead(const std::string& Key, std::string& Value)
{
    auto S = Sections.find(Current);
    if (S == Sections.end())
        return false;
    for (auto& [K, V] : S->second)
        if (K == Key) {
            Value = V;
            return true;
        }
    return false;
}

void ConfigStoreWrite(const std::string& Key, const std::string& Value)
{
    tLines& L = Sections[Current];
    for (auto& [K, V] : L)
        if (K == Key) {
            V = Value;
            return;
        }
    L.emplace_back(Key, Value);
}

bool ConfigStoreReadList(const std::string& Key, std::vector<std::string>& Items)
{
    std::string V;
    if (!ConfigStoreRead(Key, V))
        return false;
    Items = ParseCommaText(V);
    return true;
}

void ConfigStoreWriteList(const std::string& Key, const std::vector<std::string>& Items)
{
    ConfigStoreWrite(Key, CommaText(Items));
}

bool ConfigStoreFileExisted() { return Existed; }
void ConfigStoreClear() { Sections.clear(); }

void ConfigStoreLoad(const std::string& FileName)
{
    Current.clear();
    Existed = FileExists(FileName);
    if (!Existed)
        return;
    Sections.clear();
    std::ifstream In(FileName);
    std::string Line;
    while (std::getline(In, Line)) {
        if (size_t C = Line.find(';'); C != std::string::npos)
            Line.erase(C);
        Line = Trim(Line);
        if (Line.empty())
            continue;
        if (Line.front() == '[') {
            size_t E = Line.find(']');
            Current = Trim(Line.substr(1, E == std::string::npos ? std::string::npos : E - 1));
            continue;
        }
        size_t Eq = Line.find('=');
        if (Current.empty() || Eq == std::string::npos || Eq == 0)
            continue;
        ConfigStoreWrite(Line.substr(0, Eq), Line.substr(Eq + 1));
    }
    Current.clear();
}

bool ConfigStoreSave(const std::string& FileName, std::string& Error)
{
    std::string Text;
    bool First = true;
    for (auto& [Name, Lines] : Sections) {
        if (!First)
            Text += "\n\n";
        First = false;
        Text += "[" + Name + "]\n";
        for (auto& [K, V] : Lines)
            Text += K + "=" + V + "\n";
    }
    return WriteFileAtomic(FileName, std::string_view(Text), Error);
}
