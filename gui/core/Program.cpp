#include "gui/core/Program.h"

#include <QApplication>
#include <QMessageBox>

#include "app/Model.h"
#include "core/Broadcast.h"
#include "core/FileIO.h"
#include "gui/core/Form_Main.h"
#include "gui/core/Form_Quit.h"
#include "core/Messages.h"
#include "gui/core/ProgramWindows.h"
#include "core/SharedData.h"
#include "gui/core/ToolWindow.h"
#include "gui/core/WindowList.h"
#include "gui/core/WindowTable.h"
#include "render/PPU.h"
#include "gui/tools/Form_Memory.h"
#include "gui/tools/Form_Options.h"

tWindowList* WindowList = nullptr;

namespace
{
QString Q(std::string_view S)
{
    return QString::fromUtf8(S.data(), static_cast<qsizetype>(S.size()));
}

// Message boxes for the core's reports.
class tBoxMessenger : public tMessenger
{
  public:
    void Error(std::string_view Text) override
    {
        QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), Q(Text));
    }
    void Notice(std::string_view Text, std::string_view Button) override
    {
        QMessageBox Box(QMessageBox::Information, QApplication::applicationName(), Q(Text), QMessageBox::NoButton,
                        QApplication::activeWindow());
        Box.addButton(Q(Button), QMessageBox::AcceptRole);
        Box.exec();
    }
    bool Question(std::string_view Text) override
    {
        return QMessageBox::warning(QApplication::activeWindow(), QApplication::applicationName(), Q(Text),
                                    QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    }
} BoxMessenger;

void CreateWindows()
{
    for (const tWindowRow& W : WindowTable())
        W.Window.Create(W, Form_Main);
}
} // namespace

std::vector<tToolWindow*> ToolWindows()
{
    std::vector<tToolWindow*> W;
    for (const tWindowRow& R : WindowTable())
        if (auto* T = qobject_cast<tToolWindow*>(R.Window.Get()))
            W.push_back(T);
    return W;
}

bool IsProgramWindow(const QWidget* W)
{
    if (!W)
        return false;
    if (W == Form_Main)
        return true;
    for (tToolWindow* T : ToolWindows())
        if (W == T)
            return true;
    return false;
}

void ShowMissingFileError(const QString& FileName)
{
    QMessageBox Box(QMessageBox::Critical, QStringLiteral("Orlik"), QStringLiteral("Could not find ") + FileName,
                    QMessageBox::Abort);
    Box.exec();
}

QString ExceptionText(const QString& Message)
{
    return QStringLiteral("Exception: \"") + Message + QStringLiteral("\".");
}

void ShowException(const QString& Message)
{
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), ExceptionText(Message));
}

bool CreateProgram()
{
    CreateModelObjects();
    WindowList = new tWindowList;
    SetMessenger(&BoxMessenger);
    if (!FileExists(ProgramDir + "SNES.txt")) {
        ShowMissingFileError(QStringLiteral("SNES.txt"));
        return false;
    }
    QApplication::setApplicationName(QString::fromUtf8(ProgramTitle));
    CreateWindows();
    return true;
}

void Startup()
{
    StartupDone = true;
    Form_Main->LoadRegisterDescriptions();
    Broadcast(nullptr, Note::Startup);
    // The empty machine state is drawn once.
    if (PPU)
        PPU->Notify(nullptr, Note::NewSNES);
    Form_Memory->StartupStep();
    Form_Options->StartupStep();
    Form_Main->FinishStartup();
}

void FreeProgram()
{
    StartupDone = false;
    if (Form_Main)
        Form_Main->StartTimer()->stop();
    // Last made, first freed; the main window, parent of the others, goes last.
    const auto Rows = WindowTable();
    for (auto R = Rows.rbegin(); R != Rows.rend(); ++R) {
        // Forgotten before it goes, so nothing reaches a half-destroyed window.
        QWidget* W = R->Window.Get();
        R->Window.Forget();
        delete W;
    }
    delete WindowList;
    WindowList = nullptr;
    SetMessenger(nullptr);
    FreeModelObjects();
    QuitConfirmed = false;
}

QWidget* MainWindow()
{
    return Form_Main;
}
