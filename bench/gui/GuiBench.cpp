#include "GuiBench.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include "core/Messages.h"
#include "core/Options.h"
#include "core/SharedData.h"
#include "gui/core/Form_Main.h"
#include "gui/core/Program.h"
#include "gui/core/ProgramWindows.h"

int RunWindowBenchmarks(int argc, char** argv, const std::function<bool()>& Ready)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    QTemporaryDir Dir;
    QFile::copy(QStringLiteral(ORLIK_RESOURCE_DIR "/SNES.txt"), Dir.filePath(QStringLiteral("SNES.txt")));
    SetProgramDir((Dir.path() + QLatin1Char('/')).toStdString());
    tSilentMessenger Silent;
    if (!CreateProgram())
        return 1;
    SetMessenger(&Silent);
    Options().CBox_OpenCart = false;
    Startup();
    MainWindow()->show();
    if (!Ready()) {
        FreeProgram();
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    FreeProgram();
    return 0;
}
