// The main window's file commands: opening, reloading, saving and launching
// savestates and cartridges, and the recent-file menus.

#include <QAction>
#include <QFileInfo>
#include <QToolButton>

#include "app/SaveState.h"
#include "app/Loader.h"
#include "cart/SNESCart.h"
#include "gui/core/CoreBridge.h"
#include "gui/core/Form_Help.h"
#include "gui/core/Form_Main.h"
#include "core/Error.h"
#include "gui/core/Icons.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "gui/core/ProgramWindows.h"
#include "gui/core/RecentMenu.h"
#include "core/SNES.h"
#include "core/SharedData.h"
#include "gui/core/Shell.h"
#include "gui/core/ToolWindow.h"
#include "gui/core/WindowList.h"
#include "gui/sound/Form_SMV.h"

namespace
{
const char* const ConfirmSaving =
    "Converting perfectly from one savestate format to the other is (currently?) not possible; there are just too "
    "many bits missing. You should only do so for tools that don't understand one format, and need only the basic "
    "details.\n\nNote that the saved file also may contain data that causes crashs of the programs that try to use "
    "it.\n\nContinue anyway?";

QString Q(const std::string& S)
{
    return QString::fromStdString(S);
}
} // namespace

bool tForm_Main::OpenSavestate(const QString& FileName)
{
    // A file no reader takes would leave an emptied machine under its name
    // without a word; say why instead and keep the state that is loaded.
    const std::string Name = FileName.toStdString();
    const QFileInfo Info(FileName);
    if (!Info.exists()) {
        Messages().Error(tError("file not found").Describe(Name));
        return false;
    }
    // A movie started from the SMV editor is remembered under its own name;
    // reloading it starts it again there.
    if (Form_SMV && Info.suffix().compare(QLatin1String("smv"), Qt::CaseInsensitive) == 0) {
        Form_SMV->LoadMovie(FileName);
        return StateFileName == Name;
    }
    if (DetectFormat(Name) == FormatNone) {
        Messages().Error(tError(UndetectedReason(Name)).Describe(Name));
        return false;
    }
    return LoadSavestate(Name);
}

void tForm_Main::OpenStateWithDialog()
{
    if (const std::optional<QString> File = ExecuteFileDialog(DlgOpen_SNES, this))
        OpenSavestate(*File);
    WindowList->UpdateButtons();
}

void tForm_Main::OpenCartWithDialog()
{
    if (const std::optional<QString> File = ExecuteFileDialog(DlgOpen_Cart, this))
        LoadCartridgeFile(File->toStdString());
    WindowList->UpdateButtons();
}

void tForm_Main::GUI_ClickOpen()
{
    if (!Options().CBox_OpenNoWin && !(Form_Open && Form_Open->isVisible()))
        OpenStateWithDialog();
    else
        WindowList->Toggle(ToolButton(QStringLiteral("Btn_StateOpen")));
}

void tForm_Main::GUI_ClickCart()
{
    if (!Options().CBox_CartNoWin && !(Form_Cart && Form_Cart->isVisible()))
        OpenCartWithDialog();
    else
        WindowList->Toggle(ToolButton(QStringLiteral("Btn_CartOpen")));
}

void tForm_Main::GUI_ClickReload(QToolButton* Button)
{
    if (Button->objectName() == QLatin1String("Btn_StateReload"))
        OpenSavestate(Q(StateFileName));
    else if (Cart)
        FindCartridgeFor(Cart->FileName.empty() ? Cart->LastFileName : Cart->FileName);
}

void tForm_Main::GUI_ClickSave()
{
    QToolButton* Save = ToolButton(QStringLiteral("Btn_StateSave"));
    if (!Save->isEnabled())
        return;
    if (Options().CBox_MainConfirm && !Messages().Question(ConfirmSaving))
        return;
    if (const std::optional<QString> Chosen = ExecuteFileDialog(DlgSave_SNES, this)) {
        const std::string File = Chosen->toStdString();
        const auto Modern = [this](const char* Item) {
            return Menu_Save->findChild<QAction*>(QString::fromLatin1(Item))->isChecked();
        };
        if (Modern("Menu_SaveS9xSnp"))
            SaveStateAs(*FindStateTarget("s9xsnp"), File);
        else if (Modern("Menu_SaveRA"))
            SaveStateAs(*FindStateTarget("rastate"), File);
        else if (SaveItem(FormatS9X)->isChecked())
            SaveStateAs(FormatS9X, File);
        else if (SaveItem(FormatSSL)->isChecked())
            SaveStateAs(FormatSSL, File);
        else if (SaveItem(FormatZST)->isChecked())
            SaveStateAs(FormatZST, File);
    }
    Save->setDown(false);
}

void tForm_Main::GUI_ClickExec(QToolButton* Button)
{
    QString File;
    if (Button->objectName() == QLatin1String("Btn_StateExec"))
        File = Q(StateFileName);
    else if (Cart)
        File = Q(Cart->FileName);
    if (!File.isEmpty())
        ShellOpenOrReport(File);
}

void tForm_Main::GUI_ClickBtn(QToolButton* Button)
{
    WindowList->Toggle(Button);
}

void tForm_Main::GUI_ClickHelp()
{
    ShowHelp(this);
}

void tForm_Main::ToggleListEditor()
{
    ToolButton(QStringLiteral("Btn_List"))->click();
}

void tForm_Main::OnNewSavestate()
{
    QString Old = windowTitle();
    qsizetype At = Old.lastIndexOf(QLatin1String(ProgramName));
    QString Caption = Q(StateFileTitle) + QStringLiteral(" - slot ") + Q(StateSlot) + QStringLiteral(" - ") +
                      (At >= 0 ? Old.mid(At) : Old);
    setWindowTitle(Caption);
    SetPanel(0, QStringLiteral(" slot: ") + Q(StateSlot));
    if (StateKind == KindSavestate)
        SetPanel(1, QStringLiteral(" savestate: ") + Q(StateFileTitle));
    else if (StateKind == KindMovie)
        SetPanel(1, QStringLiteral(" movie: ") + Q(StateFileTitle));
    SetPanel(4, QStringLiteral(" SRAM size: ") + QString::number(Cart ? Cart->SRAM.size() / 1024 : 0) +
                    QStringLiteral(" KB"));
    AddRecentSavestate(Q(StateFileName));
    if (StateFormat == FormatZST || StateFormat == FormatS9X || StateFormat == FormatSSL)
        SaveItem(StateFormat)->setChecked(true);
    ToolButton(QStringLiteral("Btn_StateExec"))->setEnabled(true);
    ToolButton(QStringLiteral("Btn_StateSave"))->setEnabled(true);
}

void tForm_Main::OnNewCart()
{
    const bool HasROM = Cart && !Cart->ROM.empty();
    ToolButton(QStringLiteral("Btn_CartExec"))->setEnabled(HasROM);
    ToolButton(QStringLiteral("Btn_CartSave"))->setEnabled(HasROM);
    if (HasROM) {
        SetPanel(2, QStringLiteral(" cart: ") + QFileInfo(Q(Cart->FileName)).completeBaseName());
        SetPanel(3, QStringLiteral(" ROM size: ") + QString::number(Cart->ROM.size() / 1024) + QStringLiteral(" KB"));
        if (!StateFileName.empty())
            CartHints_.insert(Q(Cart->FileName), Q(StateFileName));
        AddRecentCart(Q(Cart->FileName));
    } else {
        SetPanel(2, QString());
        SetPanel(3, QString());
    }
    SetPanel(4, Cart && !Cart->SRAM.empty()
                    ? QStringLiteral(" SRAM size: ") + QString::number(Cart->SRAM.size() / 1024) + QStringLiteral(" KB")
                    : QString());
}

void tForm_Main::AddRecentSavestate(const QString& FileName)
{
    Recent_SNES->AddRecent(FileName);
    ToolButton(QStringLiteral("Btn_StateReload"))->setEnabled(true);
}

void tForm_Main::AddRecentCart(const QString& FileName)
{
    Recent_Cart->AddRecent(FileName);
    ToolButton(QStringLiteral("Btn_CartReload"))->setEnabled(true);
}

QImage tForm_Main::RecentCartPicture(const QString& FileName) const
{
    // A cartridge loaded with a savestate shows that savestate's preview.
    QString Hint = CartHints_.value(FileName);
    if (!Hint.isEmpty()) {
        QImage P = SavestateThumbnail(Hint);
        if (!P.isNull())
            return P;
    }
    return CartPicture();
}

void tForm_Main::ClickRecentSavestate(QAction* Item, const QString& FileName)
{
    if (QFileInfo(FileName).isFile()) {
        OpenSavestate(FileName);
        return;
    }
    Messages().Error("File not found.");
    if (Options().CBox_OptionsLinks) {
        Recent_SNES->Remove(Item);
        Recent_SNES->RenumberRecent();
        Recent_SNES->ClearItem()->setEnabled(!Recent_SNES->FileItems().isEmpty());
    }
}

void tForm_Main::ClickRecentCart(QAction* Item, const QString& FileName)
{
    if (QFileInfo(FileName).isFile()) {
        LoadCartridgeFile(FileName.toStdString());
        return;
    }
    Messages().Error("File not found.");
    Recent_Cart->Remove(Item);
    Recent_Cart->RenumberRecent();
    Recent_Cart->ClearItem()->setEnabled(!Recent_Cart->FileItems().isEmpty());
}

void tForm_Main::GUI_MenuClear(tRecentMenu* Menu)
{
    Menu->ClearFiles();
    if (Menu == Recent_SNES)
        ToolButton(QStringLiteral("Btn_StateReload"))->setEnabled(!StateFileName.empty());
    else
        ToolButton(QStringLiteral("Btn_CartReload"))
            ->setEnabled(Cart && !(Cart->FileName.empty() && Cart->LastFileName.empty()));
}
