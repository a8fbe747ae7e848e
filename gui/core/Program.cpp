#include "core/Program.h"

#include <QApplication>
#include <QMessageBox>

#include "core/Broadcast.h"
#include "core/FileIO.h"
#include "core/Form_Main.h"
#include "core/Messages.h"
#include "core/Model.h"
#include "core/SharedData.h"
#include "render/PPU.h"

namespace {
tForm_Main* Form_Main = nullptr;

// Message boxes for the core's reports.
class tBoxMessenger : public tMessenger {
public:
    void Error(std::string_view Text) override
    {
        QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(),
                              QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size())));
    }
    void Notice(std::string_view Text, std::string_view Button) override
    {
        QMessageBox Box(QMessageBox::Information, QApplication::applicationName(),
                        QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size())), QMessageBox::NoButton,
                        QApplication::activeWindow());
        Box.addButton(QString::fromUtf8(Button.data(), static_cast<qsizetype>(Button.size())),
                      QMessageBox::AcceptRole);
        Box.exec();
    }
    bool Question(std::string_view Text) override
    {
        return QMessageBox::warning(QApplication::activeWindow(), QApplication::applicationName(),
                                    QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size())),
                                    QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    }
} BoxMessenger;
}

void ShowMissingFileError(const QString& FileName)
{
    QMessageBox Box(QMessageBox::Critical, QStringLiteral("Orlik"), QStringLiteral("Could not find ") + FileName,
                    QMessageBox::Abort);
    Box.exec();
}

bool CreateProgram()
{
    CreateModelObjects();
    SetMessenger(&BoxMessenger);
    if (!FileExists(ProgramDir + "SNES.txt")) {
        ShowMissingFileError(QStringLiteral("SNES.txt"));
        return false;
    }
    QApplication::setApplicationName(QString::fromUtf8(ProgramTitle));
    Form_Main = new tForm_Main;
    return true;
}

void Startup()
{
    StartupDone = true;
    Broadcast(nullptr, "startup");
    PPU->Notify(nullptr, "new SNES");
    Broadcast(nullptr, "load config");
}

void FreeProgram()
{
    delete Form_Main;
    Form_Main = nullptr;
    SetMessenger(nullptr);
    FreeModelObjects();
}

QWidget* MainWindow() { return Form_Main; }
