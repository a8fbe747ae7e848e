#include "app/FolderModel.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>

#include "savestates/S9X.h"
#include "savestates/SGT.h"
#include "savestates/SSL.h"
#include "savestates/ZST.h"

namespace fs = std::filesystem;

namespace
{
std::string Lower(std::string S)
{
    for (char& C : S)
        C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
    return S;
}

int64_t Ticks(const fs::file_time_type& T)
{
    return static_cast<int64_t>(T.time_since_epoch().count());
}

// The extension with its point, lower case ("" for none).
std::string ExtensionOf(const std::string& Name)
{
    const size_t Dot = Name.rfind('.');
    return Dot == std::string::npos || Dot == 0 ? std::string() : Lower(Name.substr(Dot));
}

std::string WithoutExtension(const std::string& Name)
{
    const size_t Dot = Name.rfind('.');
    return Dot == std::string::npos || Dot == 0 ? Name : Name.substr(0, Dot);
}
} // namespace

tFolderListing ListFolder(const std::string& Dir)
{
    tFolderListing L;
    L.Dir = Dir;
    if (!L.Dir.empty() && L.Dir.back() != '/')
        L.Dir += '/';
    std::error_code Ec;
    fs::directory_iterator It(fs::path(L.Dir), fs::directory_options::skip_permission_denied, Ec);
    if (Ec) {
        L.Error = Ec.message();
        return L;
    }
    for (const fs::directory_iterator End; It != End; It.increment(Ec)) {
        if (Ec)
            break;
        const fs::directory_entry& E = *It;
        std::error_code E2;
        const std::string Name = E.path().filename().string();
        if (E.is_directory(E2)) {
            L.Dirs.push_back(Name);
            continue;
        }
        // The kind comes with the folder's entries on most file systems;
        // size and time cost a look at each file, which is left to those
        // files that are wanted.
        if (E.is_regular_file(E2))
            L.Files.push_back({Name, 0, 0});
    }
    if (Ec) {
        L.Error = Ec.message();
        return L;
    }
    std::sort(L.Dirs.begin(), L.Dirs.end());
    L.Ok = true;
    return L;
}

std::optional<tFolderFile> FileFacts(const std::string& Path)
{
    std::error_code Ec;
    const fs::path P = fs::path(Path);
    if (!fs::is_regular_file(P, Ec))
        return std::nullopt;
    const uint64_t Size = fs::file_size(P, Ec);
    if (Ec)
        return std::nullopt;
    const auto Time = fs::last_write_time(P, Ec);
    if (Ec)
        return std::nullopt;
    return tFolderFile{P.filename().string(), Size, Ticks(Time)};
}

std::string StateBaseName(const std::string& Name)
{
    // RetroArch's automatic slot carries two extensions.
    const std::string L = Lower(Name);
    static constexpr std::string_view Auto = ".state.auto";
    if (L.size() > Auto.size() && L.ends_with(Auto))
        return Name.substr(0, Name.size() - Auto.size());
    return WithoutExtension(Name);
}

std::string SlotCaption(const tStateName& N)
{
    std::string S = std::to_string(N.Slot);
    if (N.Format == FormatZST && N.Kind == KindMovie)
        S += " (m)";
    return S + " " + (N.Format < FormatNames.size() ? FormatNames[N.Format] : "?");
}

std::vector<tStateGroup> GroupSavestates(const tFolderListing& L)
{
    std::map<std::string, tStateGroup> Groups;
    for (const tFolderFile& Listed : L.Files) {
        const tStateName N = StateNameOf(Listed.Name);
        if (N.Format == FormatNone)
            continue;
        // Gone since the listing: left out.
        const std::optional<tFolderFile> Facts = FileFacts(L.Dir + Listed.Name);
        if (!Facts)
            continue;
        const tFolderFile& F = *Facts;
        tStateGroup& G = Groups[StateBaseName(F.Name)];
        tSlotEntry E;
        E.Name = F.Name;
        E.Path = L.Dir + F.Name;
        E.Caption = SlotCaption(N);
        E.Slot = N;
        E.Size = F.Size;
        E.MTime = F.MTime;
        G.Slots.push_back(std::move(E));
    }
    std::vector<tStateGroup> Out;
    Out.reserve(Groups.size());
    for (auto& [Base, G] : Groups) {
        G.Base = Base;
        std::sort(G.Slots.begin(), G.Slots.end(), [](const tSlotEntry& A, const tSlotEntry& B) {
            return std::tie(A.Slot.Slot, A.Slot.Format, A.Slot.Kind, A.Name) <
                   std::tie(B.Slot.Slot, B.Slot.Format, B.Slot.Kind, B.Name);
        });
        Out.push_back(std::move(G));
    }
    return Out;
}

tFolderCache::tEntry& tFolderCache::Find(const std::string& Path, uint64_t Size, int64_t MTime)
{
    if (Entries_.size() >= MaxEntries && !Entries_.count(Path)) {
        Entries_.clear();
        Thumbs_ = 0;
    }
    tEntry& E = Entries_[Path];
    if (E.Size != Size || E.MTime != MTime) {
        if (E.HasThumb == 1)
            --Thumbs_;
        E = tEntry{Size, MTime, -1, -1, {}};
    }
    return E;
}

uint8_t tFolderCache::Format(const std::string& Path, uint64_t Size, int64_t MTime, bool CheckZST)
{
    {
        std::lock_guard Lock(Mutex_);
        tEntry& E = Find(Path, Size, MTime);
        if (E.Format >= 0 && (CheckZST || E.Format != FormatNone))
            return static_cast<uint8_t>(E.Format);
    }
    // The check reads the disk, which may be slow: outside the lock.
    const tStateName N = StateNameOf(Path);
    bool Ok = false;
    switch (N.Format) {
    case FormatZST:
        Ok = !CheckZST || tZST::IsZSTFile(Path);
        break;
    case FormatS9X:
        Ok = tS9X::IsS9XFile(Path);
        break;
    case FormatSGT:
        Ok = tSGT::IsSGTFile(Path);
        break;
    case FormatSSL:
        Ok = tSSL::IsSSLFile(Path);
        break;
    default:
        break;
    }
    const uint8_t Result = Ok ? N.Format : uint8_t{FormatNone};
    // A ZSNES name taken on trust is not a check of its content.
    if (N.Format != FormatZST || CheckZST) {
        std::lock_guard Lock(Mutex_);
        Find(Path, Size, MTime).Format = static_cast<int8_t>(Result);
    }
    return Result;
}

std::optional<tThumbnail> tFolderCache::Thumbnail(const std::string& Path, uint8_t Format, uint64_t Size, int64_t MTime)
{
    {
        std::lock_guard Lock(Mutex_);
        tEntry& E = Find(Path, Size, MTime);
        if (E.HasThumb == 0)
            return std::nullopt;
        if (E.HasThumb == 1)
            return E.Thumb;
    }
    std::optional<tThumbnail> T = ReadThumbnail(Path, Format);
    std::lock_guard Lock(Mutex_);
    if (Thumbs_ >= MaxThumbnails) {
        for (auto& [Name, E] : Entries_)
            if (E.HasThumb == 1) {
                E.HasThumb = -1;
                E.Thumb = {};
            }
        Thumbs_ = 0;
    }
    tEntry& E = Find(Path, Size, MTime);
    E.HasThumb = T ? 1 : 0;
    if (T) {
        E.Thumb = *T;
        ++Thumbs_;
    }
    return T;
}

size_t tFolderCache::Size() const
{
    std::lock_guard Lock(Mutex_);
    return Entries_.size();
}

void tFolderCache::Clear()
{
    std::lock_guard Lock(Mutex_);
    Entries_.clear();
    Thumbs_ = 0;
}

void DetectGroups(std::vector<tStateGroup>& Groups, tFolderCache& Cache, bool CheckZST)
{
    for (tStateGroup& G : Groups) {
        for (tSlotEntry& S : G.Slots) {
            S.Format = Cache.Format(S.Path, S.Size, S.MTime, CheckZST);
            S.Checked = true;
        }
        std::erase_if(G.Slots, [](const tSlotEntry& S) { return S.Format == FormatNone; });
    }
    std::erase_if(Groups, [](const tStateGroup& G) { return G.Slots.empty(); });
}

std::optional<tThumbnail> ReadThumbnail(const std::string& Path, uint8_t Format)
{
    if (Format == FormatZST) {
        std::array<uint16_t, ThumbWidth * ThumbHeight> Pixels{};
        if (!tZST::LoadPreview(Path, Pixels))
            return std::nullopt;
        return tThumbnail(Pixels.begin(), Pixels.end());
    }
    if (Format == FormatSSL) {
        std::optional<tSSL_Bitmap565> P = tSSL::LoadPreview(Path, ThumbWidth, ThumbHeight);
        if (!P || P->Width != ThumbWidth || P->Height != ThumbHeight ||
            P->Pixels.size() != size_t{ThumbWidth} * ThumbHeight)
            return std::nullopt;
        return std::move(P->Pixels);
    }
    return std::nullopt;
}

std::vector<std::string> CartExtensionList(const std::vector<std::string>& Lines)
{
    std::vector<std::string> Exts;
    auto Add = [&Exts](std::string W) {
        W = "." + Lower(std::move(W));
        if (std::find(Exts.begin(), Exts.end(), W) == Exts.end())
            Exts.push_back(std::move(W));
    };
    for (const std::string& Line : Lines) {
        std::string Word;
        for (char C : Line) {
            if (std::isspace(static_cast<unsigned char>(C))) {
                if (!Word.empty())
                    Add(std::move(Word));
                Word.clear();
            } else
                Word += C;
        }
        if (!Word.empty())
            Add(std::move(Word));
    }
    Add("zip");
    return Exts;
}

std::vector<tCartEntry> ListCartridges(const tFolderListing& L, const std::vector<std::string>& Exts)
{
    // Base name -> (rank of the extension, entry).
    std::map<std::string, std::pair<size_t, tCartEntry>> Found;
    std::set<std::string> Patches; // base names with an ".ips" file
    for (const tFolderFile& F : L.Files) {
        const std::string Ext = ExtensionOf(F.Name);
        if (Ext.empty())
            continue;
        const std::string Base = WithoutExtension(F.Name);
        if (Ext == ".ips")
            Patches.insert(Base);
        const auto Rank = std::find(Exts.begin(), Exts.end(), Ext);
        if (Rank == Exts.end())
            continue;
        const size_t R = static_cast<size_t>(Rank - Exts.begin());
        auto It = Found.find(Base);
        if (It != Found.end() && It->second.first <= R)
            continue;
        Found[Base] = {R, tCartEntry{Base, F.Name, L.Dir + F.Name, Ext == ".zip" ? CartIconZip : CartIconROM}};
    }
    std::vector<tCartEntry> Out;
    Out.reserve(Found.size());
    for (auto& [Base, P] : Found) {
        if (Patches.count(Base))
            P.second.Icon = CartIconIPS;
        Out.push_back(std::move(P.second));
    }
    return Out;
}
