// The options window's part in the configuration: its own settings, the
// load at start-up, SaveConfig, the window list and reopening the windows.

#include <QApplication>
#include <QTabWidget>
#include <QTableWidget>

#include "core/Broadcast.h"
#include "core/Config.h"
#include "core/Form_Quit.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "core/ProgramWindows.h"
#include "core/WindowList.h"
#include "tools/Form_Options.h"
#include "tools/OptionStore.h"

void tForm_Options::ReadOwnSettings()
{
    CfgSection(objectName());
    ReadForm(this, true);
    ReadOwnedOptions(objectName());
    ReadColumnWidths(LV_WndList);
    int Page = 0;
    if (CfgReadInt(QStringLiteral("PageControl.ActivePageIndex"), Page) && Page >= 0 && Page < PageControl->count())
        PageControl->setCurrentIndex(Page);
    OpenWindowNames.clear();
    CfgReadList(QStringLiteral("WindowList"), OpenWindowNames);
}

void tForm_Options::WriteOwnSettings()
{
    CfgSection(objectName());
    WriteForm(this);
    WriteOwnedOptions(objectName());
    WriteColumnWidths(LV_WndList);
    CfgWriteInt(QStringLiteral("PageControl.ActivePageIndex"), PageControl->currentIndex());
    QStringList Names;
    if (WindowList)
        for (const auto& W : WindowList->Windows())
            if (W && W != static_cast<QWidget*>(Form_Quit) && W->isVisible())
                Names << W->objectName();
    CfgWriteList(QStringLiteral("WindowList"), Names);
}

void tForm_Options::Notify(const void*, tNote Msg)
{
    // Its own settings are read in the start-up step, before the others'.
    if (Msg == Note::SaveConfig)
        WriteOwnSettings();
}

void tForm_Options::StartupStep()
{
    ReadOwnSettings();
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
    CfgClear();
    Broadcast(nullptr, Note::SaveConfig);
    const QString File = ConfigFileName();
    QString Error;
    if (!CfgSaveToFile(File, Error))
        Messages().Error(("Could not write " + File + ": " + Error).toStdString());
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
