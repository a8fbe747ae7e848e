// The options window's part in the configuration: its own settings, the
// load at start-up, SaveConfig, the window list and reopening the windows.

#include <QApplication>
#include <QTabWidget>
#include <QTableWidget>

#include "app/SaveState.h"
#include "core/Broadcast.h"
#include "gui/core/CoreBridge.h"
#include "gui/core/Form_Quit.h"
#include "core/Options.h"
#include "gui/core/ProgramWindows.h"
#include "gui/core/Settings.h"
#include "gui/core/WindowList.h"
#include "gui/tools/Form_Memory.h"
#include "gui/tools/Form_Options.h"
#include "gui/tools/Form_Palette.h"
#include "gui/tools/OptionStore.h"

void tForm_Options::LoadSettings(const tSettings& Section)
{
    Section.ReadColumnWidths(LV_WndList);
    int Page = 0;
    if (Section.Read(QStringLiteral("PageControl.ActivePageIndex"), Page, 0, PageControl->count() - 1))
        PageControl->setCurrentIndex(Page);
    OpenWindowNames.clear();
    Section.Read(QStringLiteral("WindowList"), OpenWindowNames);
}

void tForm_Options::SaveSettings(tSettings& Section)
{
    Section.WriteColumnWidths(LV_WndList);
    Section.Write(QStringLiteral("PageControl.ActivePageIndex"), PageControl->currentIndex());
    QStringList Names;
    if (WindowList)
        for (const auto& W : WindowList->Windows())
            if (W && W != static_cast<QWidget*>(Form_Quit) && W->isVisible())
                Names << W->objectName();
    Section.Write(QStringLiteral("WindowList"), Names);
}

void tForm_Options::StartupStep()
{
    // Its own settings come first: they name the windows to reopen. The
    // broadcast then reads them once more, which changes nothing.
    LoadConfig();
    Broadcast(nullptr, Note::LoadConfig);
    ShowOptions();
    if (!Form_Memory)
        return;
    const QRect M = Form_Memory->frameGeometry();
    if (Options().CBox_PaletteAlign && Form_Palette)
        Form_Palette->move(M.right() + 1, M.top());
    if (Options().CBox_PreviewAlign && Form_Preview)
        Form_Preview->move(M.right() + 1, M.bottom() + 1 - Form_Preview->frameGeometry().height());
}

void tForm_Options::SaveConfig()
{
    ClearConfig();
    Broadcast(nullptr, Note::SaveConfig);
    const QString File = ConfigFileName();
    QString Error;
    if (!SaveConfigFile(File, Error))
        ReportWriteError(File.toStdString(), tError(Error.toStdString()));
}

void tForm_Options::ReopenWindows()
{
    for (qsizetype i = OpenWindowNames.size() - 1; i >= 0; --i)
        for (tToolWindow* W : ToolWindows())
            if (W->objectName() == OpenWindowNames[i]) {
                W->show();
                W->raise();
                W->activateWindow();
            }
    OpenWindowNames.clear();
}

void tForm_Options::ShowWindowList()
{
    if (!WindowList)
        return;
    LV_WndList->setRowCount(0);
    int Row = 0;
    for (const auto& W : WindowList->Windows()) {
        if (!W)
            continue;
        LV_WndList->insertRow(Row);
        LV_WndList->setItem(Row, 0, new QTableWidgetItem(QStringLiteral("%1").arg(Row, 2, 10, QLatin1Char('0'))));
        QString Caption = W->windowTitle();
        Caption = Caption.left(Caption.indexOf(QLatin1Char('('))).trimmed();
        LV_WndList->setItem(Row, 1, new QTableWidgetItem(Caption));
        ++Row;
    }
}
