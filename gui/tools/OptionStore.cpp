#include "gui/tools/OptionStore.h"

#include <QFontDatabase>

#include "gui/core/Settings.h"
#include "core/Options.h"

QFont& HexFont()
{
    static QFont F = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    return F;
}

const std::vector<tOptionEntry>& OptionEntries()
{
    tOptions& O = Options();
    using K = tOptionKind;
    auto Check = [](const char* N, const char* Owner, bool& F) { return tOptionEntry{N, Owner, K::Check, &F}; };
    auto Radio = [](const char* N, const char* Owner, int& G, int V) {
        return tOptionEntry{N, Owner, K::Radio, nullptr, &G, V};
    };
    auto Colour = [](const char* N, const char* Owner, uint32_t& C) {
        return tOptionEntry{N, Owner, K::Colour, nullptr, nullptr, 0, &C};
    };
    static const std::vector<tOptionEntry> Entries = {
        Check("CBox_CartNoWin", "Form_Cart", O.CBox_CartNoWin),
        Check("CBox_CartClose", "Form_Cart", O.CBox_CartClose),
        Check("CBox_CartGrid", "Form_Cart", O.CBox_CartGrid),
        Check("CBox_CartNoCur", "Form_Cart", O.CBox_CartNoCur),
        {"Memo_CartExts", "Form_Cart", K::Extensions},
        Colour("Panel_HexBG", "Form_Hex", O.Panel_HexBG),
        Colour("Panel_HexFont", "Form_Hex", O.Panel_HexFont),
        Colour("Panel_HexCaptions", "Form_Hex", O.Panel_HexCaptions),
        Check("CBox_HexHex", "Form_Hex", O.CBox_HexHex),
        Check("CBox_HexDel", "Form_Hex", O.CBox_HexDel),
        {"UD_HexSpacing", "Form_Hex", K::Spacing, nullptr, nullptr, 0, nullptr, &O.UD_HexSpacing},
        {"DlgFont_Hex", "Form_Hex", K::Font},
        Colour("Panel_MainFont", "Form_Main", O.Panel_MainFont),
        Colour("Panel_MainBG", "Form_Main", O.Panel_MainBG),
        Check("CBox_MainMax", "Form_Main", O.CBox_MainMax),
        Check("CBox_MainNoGrid", "Form_Main", O.CBox_MainNoGrid),
        Check("CBox_MainConfirm", "Form_Main", O.CBox_MainConfirm),
        Check("CBox_MainNoFilter", "Form_Main", O.CBox_MainNoFilter),
        Check("CBox_MainHighlight", "Form_Main", O.CBox_MainHighlight),
        Check("CBox_MainUpdating", "Form_Main", O.CBox_MainUpdating),
        Check("CBox_MainRZip", "Form_Main", O.CBox_MainRZip),
        Check("CBox_MemoryHex", "Form_Memory", O.CBox_MemoryHex),
        Check("CBox_MemoryReset1", "Form_Memory", O.CBox_MemoryReset1),
        Check("CBox_MemoryReset2", "Form_Memory", O.CBox_MemoryReset2),
        Check("CBox_MemoryLine", "Form_Memory", O.CBox_MemoryLine),
        Check("CBox_OpenPreviews", "Form_Open", O.CBox_OpenPreviews),
        Check("CBox_OpenClose", "Form_Open", O.CBox_OpenClose),
        Check("CBox_OpenGrid", "Form_Open", O.CBox_OpenGrid),
        Check("CBox_OpenNoCur", "Form_Open", O.CBox_OpenNoCur),
        Check("CBox_OpenNoWin", "Form_Open", O.CBox_OpenNoWin),
        Check("CBox_OpenCart", "Form_Open", O.CBox_OpenCart),
        Check("CBox_OpenIPS", "Form_Open", O.CBox_OpenIPS),
        Check("CBox_OpenIPSMsg", "Form_Open", O.CBox_OpenIPSMsg),
        Check("CBox_OptionsLinks", "Form_Options", O.CBox_OptionsLinks),
        Check("CBox_OptionsSave", "Form_Options", O.CBox_OptionsSave),
        Check("CBox_OptionsNoCopy", "Form_Options", O.CBox_OptionsNoCopy),
        Check("CBox_OptionsCheckZST", "Form_Options", O.CBox_OptionsCheckZST),
        Check("CBox_OptionsNoHex", "Form_Options", O.CBox_OptionsNoHex),
        Check("CBox_PaletteNoHex", "Form_Palette", O.CBox_PaletteNoHex),
        Check("CBox_PaletteAlign", "Form_Palette", O.CBox_PaletteAlign),
        Radio("RBtn_Palette1", "Form_Palette", O.PaletteFormat, 0),
        Radio("RBtn_Palette2", "Form_Palette", O.PaletteFormat, 1),
        Radio("RBtn_Palette3", "Form_Palette", O.PaletteFormat, 2),
        Radio("RBtn_Palette4", "Form_Palette", O.PaletteFormat, 3),
        Check("CBox_PreviewAlign", "Form_Preview", O.CBox_PreviewAlign),
        Check("CBox_QuitShow", "Form_Quit", O.CBox_QuitShow),
        Radio("RBtn_SceneBase0", "Form_Scene", O.SceneBase, 0),
        Radio("RBtn_SceneBase1", "Form_Scene", O.SceneBase, 1),
        Radio("RBtn_SceneBase2", "Form_Scene", O.SceneBase, 2),
        Check("CBox_SceneLayering", "Form_Scene", O.CBox_SceneLayering),
        Check("CBox_SceneUpdate", "Form_Scene", O.CBox_SceneUpdate),
        Check("CBox_SceneSpaces", "Form_Scene", O.CBox_SceneSpaces),
        Check("CBox_SceneActivate", "Form_Scene", O.CBox_SceneActivate),
        Check("CBox_Scene512", "Form_Scene", O.CBox_Scene512),
        Check("CBox_SceneBlur", "Form_Scene", O.CBox_SceneBlur),
        Check("CBox_SceneBlurSoft", "Form_Scene", O.CBox_SceneBlurSoft),
        Check("CBox_SceneHDMA", "Form_Scene", O.CBox_SceneHDMA),
        Check("CBox_SceneMode7", "Form_Scene", O.CBox_SceneMode7),
        Check("CBox_SceneDirect", "Form_Scene", O.CBox_SceneDirect),
    };
    return Entries;
}

namespace
{
// The spacing's up-down control allows 0 to 64.
constexpr int MaxSpacing = 64;
} // namespace

void ReadOwnedOptions(const tSettings& Section)
{
    const QString Owner = Section.Name();
    for (const tOptionEntry& E : OptionEntries()) {
        if (Owner != QLatin1String(E.Owner))
            continue;
        const QString N = QString::fromLatin1(E.Name);
        switch (E.Kind) {
        case tOptionKind::Check:
            Section.ReadChecked(N, *E.Flag);
            break;
        case tOptionKind::Radio: {
            // Only a stored "True" selects; a false never empties the group.
            bool On = false;
            if (Section.ReadChecked(N, On) && On)
                *E.Group = E.Value;
            break;
        }
        case tOptionKind::Colour:
            Section.ReadColor(N + QStringLiteral(".Color"), *E.Colour);
            break;
        case tOptionKind::Spacing:
            Section.Read(N + QStringLiteral(".Position"), *E.Number, 0, MaxSpacing);
            break;
        case tOptionKind::Extensions: {
            QStringList L;
            if (Section.Read(N + QStringLiteral(".Lines"), L)) {
                Options().Memo_CartExts.clear();
                for (const QString& S : L)
                    Options().Memo_CartExts.push_back(S.toStdString());
            }
            break;
        }
        case tOptionKind::Font:
            Section.ReadFont(HexFont(), N + QLatin1Char('.'));
            break;
        }
    }
}

void WriteOwnedOptions(tSettings& Section)
{
    const QString Owner = Section.Name();
    for (const tOptionEntry& E : OptionEntries()) {
        if (Owner != QLatin1String(E.Owner))
            continue;
        const QString N = QString::fromLatin1(E.Name);
        switch (E.Kind) {
        case tOptionKind::Check:
            Section.WriteChecked(N, *E.Flag);
            break;
        case tOptionKind::Radio:
            Section.WriteChecked(N, *E.Group == E.Value);
            break;
        case tOptionKind::Colour:
            Section.WriteColor(N + QStringLiteral(".Color"), *E.Colour);
            break;
        case tOptionKind::Spacing:
            Section.Write(N + QStringLiteral(".Position"), *E.Number);
            break;
        case tOptionKind::Extensions: {
            QStringList L;
            for (const std::string& S : Options().Memo_CartExts)
                L << QString::fromStdString(S);
            Section.Write(N + QStringLiteral(".Lines"), L);
            break;
        }
        case tOptionKind::Font:
            Section.WriteFont(HexFont(), N + QLatin1Char('.'));
            break;
        }
    }
}
