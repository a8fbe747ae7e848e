#include "core/RegisterTabs.h"

#include "core/Options.h"
#include "core/SNES.h"
#include "render/PPU.h"
#include "savestates/SSL.h"

namespace
{
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
    // The ZSNES and Snes9x objects do not show their images yet: their rows stay missing.
    Src.ZST = [](std::string_view) { return std::span<uint8_t>(); };
    Src.S9X = Src.ZST;
    Src.SSL = SSLChunk;
    return Src;
}

bool tRegisterTabs::Load(std::string& Error, const std::string& FileName)
{
    if (!LoadRegisterDescriptions(File, Error, FileName))
        return false;
    for (tRegisterTab& T : Tabs)
        T = tRegisterTab();
    return true;
}

void tRegisterTabs::FillTab(int Page, const tRegisterSources& Src, bool UpdateLists)
{
    if (Page < 0 || Page >= RegisterPageCount)
        return;
    tRegisterTab& T = Tabs[static_cast<size_t>(Page)];
    if (!T.Built)
        T.Build(File.Sections[static_cast<size_t>(Page)], File.FileName);
    if (T.Filled || !UpdateLists || !Src.SNES || !Src.PPU)
        return;
    FillRegisterTab(T, Page, Src, Busy);
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
