#pragma once
// What the window tests share: the program started in a fresh folder of its
// own (so "Orlik.ini" is written there), the core's messages recorded instead
// of shown, and dialogs and the desktop answered by the test.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <string>
#include <vector>

#include "gui/core/FileDialog.h"
#include "core/Messages.h"
#include "gui/core/Program.h"
#include "core/SharedData.h"
#include "gui/core/Shell.h"

// A fixture savestate's path, or an empty string when the fixtures folder
// (ORLIK_FIXTURES overrides where it is) or the file is absent.
inline QString Fixture(const char* Sub)
{
    const QString F = qEnvironmentVariable("ORLIK_FIXTURES", QStringLiteral(ORLIK_FIXTURES_DEFAULT)) +
                      QLatin1Char('/') + QString::fromLatin1(Sub);
    return QFileInfo(F).isFile() ? F : QString();
}
// Declares Var as the fixture's path, skipping the test without it.
#define REQUIRE_GUI_FIXTURE(Var, Sub)                                                                                  \
    const QString Var = Fixture(Sub);                                                                                  \
    if (Var.isEmpty())                                                                                                 \
    QSKIP("fixtures folder not found")

struct tGuiMessage {
    QString Kind; // "error", "notice", "question"
    QString Text;
};

class tGuiRecorder : public tMessenger
{
  public:
    std::vector<tGuiMessage> Log;
    bool Answer = true;
    void Error(std::string_view T) override { Log.push_back({QStringLiteral("error"), Q(T)}); }
    void Notice(std::string_view T, std::string_view) override { Log.push_back({QStringLiteral("notice"), Q(T)}); }
    bool Question(std::string_view T) override
    {
        Log.push_back({QStringLiteral("question"), Q(T)});
        return Answer;
    }

  private:
    static QString Q(std::string_view S) { return QString::fromUtf8(S.data(), static_cast<qsizetype>(S.size())); }
};

// A program folder with "SNES.txt" and nothing else; a test that restarts the
// program keeps one folder for both runs.
class tProgramFolder
{
  public:
    tProgramFolder()
    {
        QFile::copy(QStringLiteral(ORLIK_RESOURCE_DIR "/SNES.txt"), Dir.filePath(QStringLiteral("SNES.txt")));
    }
    QString Path() const { return Dir.path() + QLatin1Char('/'); }
    QString File(const QString& Name) const { return Dir.filePath(Name); }
    // Writes a small file and returns its full name.
    QString MakeFile(const QString& Name, const QByteArray& Bytes = QByteArray("x")) const
    {
        QFile F(File(Name));
        F.open(QIODevice::WriteOnly);
        F.write(Bytes);
        return F.fileName();
    }

  private:
    QTemporaryDir Dir;
};

// Starts the program as main() does (without its event loop) and ends it.
class tRunningProgram
{
  public:
    tGuiRecorder Recorder;
    QStringList ShellCalls;
    int ShellResult = 33;
    QStringList DialogCalls;
    QString DialogAnswer; // "" cancels

    explicit tRunningProgram(const tProgramFolder& Folder, bool RunTimer = true)
    {
        SetProgramDir(Folder.Path().toStdString());
        SetShellRunner([this](const QString& F) {
            ShellCalls << F;
            return ShellResult;
        });
        SetFileDialogRunner([this](const tFileDialog& D) {
            DialogCalls << D.Name;
            return DialogAnswer;
        });
        Ok = CreateProgram();
        SetMessenger(&Recorder);
        if (!Ok)
            return;
        Startup();
        MainWindow()->show();
        if (RunTimer)
            QTest::qWait(20);
    }
    ~tRunningProgram()
    {
        FreeProgram();
        SetShellRunner({});
        SetFileDialogRunner({});
    }
    bool Ok = false;
};
