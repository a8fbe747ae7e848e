// The main window's program-wide keys, the end of start-up and its settings.

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

#include "app/Loader.h"
#include "cart/SNESCart.h"
#include "gui/core/Settings.h"
#include "gui/core/CoreBridge.h"
#include "gui/core/Form_Help.h"
#include "gui/core/Form_Main.h"
#include "core/Options.h"
#include "gui/core/ProgramWindows.h"
#include "gui/core/RecentMenu.h"
#include "core/SNES.h"
#include "core/SharedData.h"
#include "gui/core/WindowList.h"
#include "gui/tools/Form_Options.h"
#include "gui/tools/OptionStore.h"

bool tForm_Main::GUI_AppShortcut(int Key, Qt::KeyboardModifiers Modifiers)
{
    if (Key == Qt::Key_Escape)
        return WindowList->CloseCurrent();
    // While a dialog or a message box is up, the function keys are its own.
    const bool OwnActive = IsProgramWindow(QApplication::activeWindow()) && !QApplication::activeModalWidget();
    if (!OwnActive)
        return false;
    switch (Key) {
    case Qt::Key_F1:
        ToolButton(QStringLiteral("Btn_Help"))->click();
        return true;
    case Qt::Key_F2:
        ToolButton(QStringLiteral("Btn_StateSave"))->click();
        return true;
    case Qt::Key_F3:
        ToolButton(QStringLiteral("Btn_StateOpen"))->click();
        return true;
    case Qt::Key_F4:
        if (Modifiers & Qt::AltModifier)
            close();
        else
            ToolButton(QStringLiteral("Btn_Hex"))->click();
        return true;
    case Qt::Key_F5:
        ToolButton(QStringLiteral("Btn_StateReload"))->click();
        return true;
    case Qt::Key_F6:
        ToolButton(QStringLiteral("Btn_CartOpen"))->click();
        return true;
    case Qt::Key_F8:
        if (Form_Options)
            Form_Options->FlipSceneUpdate();
        return true;
    case Qt::Key_F9:
        if (Form_Options)
            Form_Options->SaveConfig();
        return true;
    default:
        return false;
    }
}

bool tForm_Main::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Event->type() == QEvent::KeyPress && Watched->isWidgetType()) {
        auto* K = static_cast<QKeyEvent*>(Event);
        // A key travels up the parents of the focused widget; act on it once.
        if (Watched == QApplication::focusWidget() || !QApplication::focusWidget() ||
            static_cast<QWidget*>(Watched)->isWindow()) {
            if (GUI_AppShortcut(K->key(), K->modifiers()))
                return true;
        }
        for (QTableWidget* L : Lists_)
            if (Watched == L && (K->key() == Qt::Key_Return || K->key() == Qt::Key_Enter)) {
                ToggleListEditor();
                return true;
            }
    }
    return QMainWindow::eventFilter(Watched, Event);
}

void tForm_Main::GUI_TimerTick()
{
    Timer.stop();
    if (Options().CBox_MainMax) {
        showMaximized();
        if (UpdatesLocked) {
            UpdatesLocked = false;
            setUpdatesEnabled(true);
        }
    }
    CurrentList()->setFocus();
    // A first run opens the help beside the main window, which keeps the keyboard.
    if (!ConfigFileExisted())
        ShowHelp(this, false);
    else if (Form_Options)
        Form_Options->ReopenWindows();
    const QStringList Args = QCoreApplication::arguments();
    if (Args.size() > 1) {
        QFileInfo F(Args[1]);
        if (F.isFile())
            OpenSavestate(QString::fromStdString(OnDiskName(F.absoluteFilePath().toStdString())));
    }
}

void tForm_Main::LoadConfig()
{
    const tSettings Section(objectName());
    Section.ReadForm(this, false);
    ReadOwnedOptions(Section);
    ApplyListLook();
    for (QAction* A : Menu_Save->actions()) {
        bool On = false;
        if (Section.ReadChecked(A->objectName(), On) && On && A->isEnabled())
            A->setChecked(true);
    }
    for (tFileDialog* D : {&DlgOpen_SNES, &DlgOpen_Cart, &DlgSave_SNES})
        Section.ReadDialog(*D);
    for (QTableWidget* L : Lists_) {
        Section.ReadColumnWidths(L);
        L->setFont(font());
    }
    QStringList Hints;
    Section.Read(QStringLiteral("Menu_Cart.Hints"), Hints);
    QStringList Carts;
    if (Section.Read(QStringLiteral("Menu_Cart.ItemCaptions"), Carts)) {
        for (int i = 0; i < Carts.size(); ++i) {
            if (Options().CBox_OptionsLinks && !QFileInfo(Carts[i]).isFile())
                continue;
            if (i < Hints.size() && !Hints[i].isEmpty())
                CartHints_.insert(Carts[i], Hints[i]);
            AddRecentCart(Carts[i]);
            if (Cart)
                Cart->LastFileName = Carts[i].toStdString();
        }
        if (!Recent_Cart->FileItems().isEmpty())
            Recent_Cart->FileItems().front()->setChecked(false);
    }
    QStringList States;
    if (Section.Read(QStringLiteral("Menu_SNES.ItemCaptions"), States)) {
        for (const QString& S : States) {
            if (Options().CBox_OptionsLinks && !QFileInfo(S).isFile())
                continue;
            AddRecentSavestate(S);
            StateFileName = S.toStdString();
        }
        if (!Recent_SNES->FileItems().isEmpty())
            Recent_SNES->FileItems().front()->setChecked(false);
    }
    int Page = PageControl->currentIndex();
    if (Section.Read(QStringLiteral("PageControl.ActivePageIndex"), Page, 0, PageCount - 1))
        PageControl->setCurrentIndex(Page);
}

void tForm_Main::SaveConfig()
{
    tSettings Section(objectName());
    Section.WriteForm(this);
    WriteOwnedOptions(Section);
    for (QAction* A : Menu_Save->actions())
        Section.WriteChecked(A->objectName(), A->isChecked());
    for (const tFileDialog* D : {&DlgOpen_SNES, &DlgOpen_Cart, &DlgSave_SNES})
        Section.WriteDialog(*D);
    for (const QTableWidget* L : Lists_)
        Section.WriteColumnWidths(L);
    // Oldest first, so that reading them back through AddRecent restores the order.
    QStringList Carts = Recent_Cart->FileNames();
    std::reverse(Carts.begin(), Carts.end());
    QStringList Hints;
    for (const QString& C : Carts)
        Hints << CartHints_.value(C);
    Section.Write(QStringLiteral("Menu_Cart.Hints"), Hints);
    Section.Write(QStringLiteral("Menu_Cart.ItemCaptions"), Carts);
    QStringList States = Recent_SNES->FileNames();
    std::reverse(States.begin(), States.end());
    Section.Write(QStringLiteral("Menu_SNES.ItemCaptions"), States);
    Section.Write(QStringLiteral("PageControl.ActivePageIndex"), PageControl->currentIndex());
}
