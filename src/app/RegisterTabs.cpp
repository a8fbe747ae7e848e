#include "app/RegisterTabs.h"
#include "app/Loader.h"

#include <algorithm>

#include "core/Options.h"
#include "core/SNES.h"
#include "render/PPU.h"
#include "savestates/S9X.h"
#include "savestates/SSL.h"
#include "savestates/ZST.h"

namespace
{
// The fixed image as far as the file has it: without the sound part a
// ZSNES file ends after VRAM, and those fields have no value.
std::span<uint8_t> ZSTImage(std::string_view)
{
    if (!ZST)
        return {};
    return std::span<uint8_t>(ZST->StateImage).first(std::min(ZST->ImageLength(), ZST->StateImage.size()));
}

// A Snes9x block, or nothing when the file did not have it (the sound,
// SA-1, SPC7110 and real-time clock blocks are optional).
std::span<uint8_t> S9XBlock(std::string_view Name)
{
    using namespace S9XLayout;
    if (!S9X)
        return {};
    tS9XBlocks& B = S9X->Blocks;
    for (int Id = 0; Id < BlockCount; ++Id) {
        if (Name != Blocks[static_cast<size_t>(Id)].Name)
            continue;
        bool Present = true;
        if (Id == BlockAPU || Id == BlockARE || Id == BlockARA || Id == BlockSOU)
            Present = B.HasAPU;
        else if (Id == BlockSA1 || Id == BlockSAR)
            Present = B.HasSA1;
        else if (Id == BlockSP7)
            Present = B.HasSP7;
        else if (Id == BlockRTC)
            Present = B.HasRTC;
        return Present ? std::span<uint8_t>(B.Data[static_cast<size_t>(Id)]) : std::span<uint8_t>();
    }
    return {};
}

std::span<uint8_t> SSLChunk(std::string_view Id)
{
    if (!SSL)
        return {};
    tSSL& S = *SSL;
    if (Id == "BPS2")
        return S.BPS2;
    if (Id == "SCPU")
        return S.SCPU;
    if (Id == "SDMA")
        return S.SDMA;
    if (Id == "WRAM")
        return S.WRAM;
    if (Id == "SPPU")
        return S.SPPU;
    if (Id == "SAPU")
        return S.SAPU;
    if (Id == "SDSP")
        return S.SDSP;
    return {};
}
} // namespace

tRegisterSources CurrentRegisterSources()
{
    tRegisterSources Src;
    Src.SNES = SNES;
    Src.PPU = PPU;
    Src.StateFormat = StateFormat;
    Src.ZST = ZSTImage;
    Src.S9X = S9XBlock;
    Src.SSL = SSLChunk;
    if (S9X && S9X->SnpVersion) {
        Src.S9XSnpVersion = S9X->SnpVersion;
        Src.S9XSnpValues = S9X->SnpValues;
        Src.S9XSnpPlaces = S9X->SnpPlaces;
        Src.S9XSnpCurrent = [] { return S9X && S9X->SnpMatchesState(); };
    }
    return Src;
}

bool tRegisterTabs::Load(tError& Error, const std::string& FileName)
{
    if (!LoadRegisterDescriptions(File, Error, FileName))
        return false;
    for (tRegisterTab& T : Tabs)
        T = tRegisterTab();
    Stale.fill(true);
    S9XRowsFor = nullptr;
    S9XRowsCount = 0;
    S9XRowsVersion = 0;
    return true;
}

void tRegisterTabs::FillTab(int Page, const tRegisterSources& Src, bool UpdateLists)
{
    if (Page < 0 || Page >= RegisterPageCount)
        return;
    tRegisterTab& T = Tabs[static_cast<size_t>(Page)];
    if (Page == PageS9X) {
        // The S9X tab lists the fields of the stream that was read, or the
        // description file's rows when there is none.
        const uint8_t* For = Src.S9XSnpVersion ? Src.S9XSnpValues.data() : nullptr;
        const size_t Count = Src.S9XSnpVersion ? Src.S9XSnpPlaces.size() : 0;
        if (T.Built && (For != S9XRowsFor || Count != S9XRowsCount || Src.S9XSnpVersion != S9XRowsVersion))
            T = tRegisterTab();
        if (!T.Built && For)
            BuildS9XSnpTab(T, Src);
        S9XRowsFor = For;
        S9XRowsCount = Count;
        S9XRowsVersion = Src.S9XSnpVersion;
    }
    if (!T.Built)
        T.Build(File.Sections[static_cast<size_t>(Page)], File.FileName);
    if (T.Filled || !UpdateLists || !Src.SNES || !Src.PPU)
        return;
    // A tab not filled since the state changed under it takes its values
    // before editing from the state as it is now, even while the list editor
    // writes: never the values of an earlier state.
    FillRegisterTab(T, Page, Src, Busy && !Stale[static_cast<size_t>(Page)]);
    Stale[static_cast<size_t>(Page)] = false;
    T.Filled = true;
}

void tRegisterTabs::FillTab(int Page)
{
    FillTab(Page, CurrentRegisterSources(), Options().CBox_MainUpdating);
}

void tRegisterTabs::Invalidate()
{
    for (tRegisterTab& T : Tabs)
        T.Filled = false;
    if (!Busy)
        Stale.fill(true);
}

bool tRegisterTabs::ListModified(int Page) const
{
    if (Page < 0 || Page >= RegisterPageCount)
        return false;
    for (const tRegisterRow& R : Tabs[static_cast<size_t>(Page)].Rows)
        if (!R.IsText && R.Block.Value != R.Block.OldValue)
            return true;
    return false;
}

tRegisterTabs& RegisterTabs()
{
    static tRegisterTabs Instance;
    return Instance;
}
