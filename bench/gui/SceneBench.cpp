// What the scene viewer adds to a "new SNES": the program runs on Qt's
// offscreen platform with a real savestate loaded, and each benchmark sends
// the notification (and lets the window paint) with the viewer closed or
// open on one of its pages.

#include <benchmark/benchmark.h>

#include "GuiBench.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

#include "core/Broadcast.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "core/SharedData.h"
#include "gui/core/Form_Main.h"
#include "gui/core/Program.h"
#include "gui/core/ProgramWindows.h"
#include "gui/core/ToolWindow.h"

namespace
{
QString FixturesDir()
{
    const QString Dir = qEnvironmentVariable("ORLIK_FIXTURES", QStringLiteral(ORLIK_FIXTURES_DEFAULT));
    return QFileInfo(Dir).isDir() ? Dir : QString();
}

// Page -1: the viewer closed; -2: open on the screen page with its update
// button up (Reload alone); 0..4 the main pages, 5 and 6 the sprite and mode
// 7 sub-pages of the layers page (1 is its backgrounds sub-page).
void NewSNES(benchmark::State& St)
{
    const int Page = static_cast<int>(St.range(0));
    if (FixturesDir().isEmpty()) {
        St.SkipWithError("fixtures folder not found (set ORLIK_FIXTURES)");
        return;
    }
    Form_Main->OpenSavestate(FixturesDir() + QStringLiteral("/snes9x/m1_layers.000"));
    auto* Update = Form_Scene->findChild<QToolButton*>(QStringLiteral("Btn_UpdateScreen"));
    Update->setChecked(Page != -2);
    if (Page == -1)
        Form_Scene->hide();
    else {
        Form_Scene->show();
        auto* Base = Form_Scene->findChild<QTabWidget*>(QStringLiteral("PC_Base"));
        auto* Layers = Form_Scene->findChild<QTabWidget*>(QStringLiteral("PC_Layers"));
        Base->setCurrentIndex(Page > 4 ? 1 : std::max(Page, 0));
        Layers->setCurrentIndex(Page == 5 ? 1 : Page == 6 ? 2 : 0);
    }
    QApplication::processEvents();
    for (auto _ : St) {
        Broadcast(nullptr, Note::NewSNES);
        QApplication::processEvents();
    }
    Form_Scene->hide();
}
BENCHMARK(NewSNES)->DenseRange(-2, 6)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    return RunWindowBenchmarks(argc, argv, [] { return true; });
}
