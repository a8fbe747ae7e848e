// The savestate browser on a folder of 10,000 savestates (copies of the
// fixtures, made in the system's temporary folder when the benchmark starts):
// the time until the folder list and until the names are shown, the longest
// time the user-interface thread spent in one pass of its event loop
// meanwhile, and a second visit to the unchanged folder.

#include <benchmark/benchmark.h>

#include "GuiBench.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QListView>
#include <QTemporaryDir>

#include <filesystem>

#include "core/Messages.h"
#include "core/Options.h"
#include "core/SharedData.h"
#include "gui/core/Form_Main.h"
#include "gui/core/Program.h"
#include "gui/core/ProgramWindows.h"
#include "gui/savestates/Form_Open.h"

namespace fs = std::filesystem;

namespace
{
QString Big, Small;

// 2,500 names with four slots each: small Snes9x states, and one in a
// hundred a ZSNES state with its preview.
bool MakeFolders(const QString& Root)
{
    const QString Fixtures = qEnvironmentVariable("ORLIK_FIXTURES", QStringLiteral(ORLIK_FIXTURES_DEFAULT));
    QStringList S9X;
    for (const QFileInfo& I : QDir(Fixtures + QStringLiteral("/snes9x")).entryInfoList({QStringLiteral("*.000")}))
        if (I.size() < 16384)
            S9X << I.filePath();
    const QString ZST = Fixtures + QStringLiteral("/zsnes/zsnes142_hello.zst");
    if (S9X.isEmpty() || !QFileInfo(ZST).isFile())
        return false;
    Big = Root + QStringLiteral("/big");
    Small = Root + QStringLiteral("/small");
    QDir().mkpath(Big + QStringLiteral("/sub"));
    QDir().mkpath(Small);
    for (int i = 0; i < 10000; ++i) {
        const int Name = i / 4, Slot = i % 4;
        const bool Z = i % 100 == 0;
        const QString To = QStringLiteral("%1/game %2 [!].%3")
                               .arg(Big)
                               .arg(Name, 4, 10, QLatin1Char('0'))
                               .arg(Z ? QStringLiteral("zs%1").arg(Slot + 1) : QStringLiteral("00%1").arg(Slot));
        std::error_code Ec;
        fs::copy_file((Z ? ZST : S9X[i % S9X.size()]).toStdString(), To.toStdString(), Ec);
        if (Ec)
            return false;
    }
    return QFile::copy(ZST, Small + QStringLiteral("/one.zst"));
}

double Ms(const QElapsedTimer& T)
{
    return static_cast<double>(T.nsecsElapsed()) / 1e6;
}

// Runs the event loop until Done, timing each pass; the longest pass is what
// the user would feel as a stall.
double RunUntil(const std::function<bool()>& Done, double& LongestMs)
{
    QElapsedTimer All, Pass;
    All.start();
    while (!Done()) {
        Pass.start();
        QApplication::processEvents(QEventLoop::AllEvents);
        LongestMs = std::max(LongestMs, Ms(Pass));
        if (All.elapsed() > 60000)
            break;
    }
    return Ms(All);
}

auto* Open()
{
    return static_cast<tForm_Open*>(Form_Open);
}

void FirstVisit(benchmark::State& St)
{
    double Dirs = 0, Names = 0, Longest = 0;
    for (auto _ : St) {
        Open()->ChangeDir(Small);
        RunUntil([] { return !Open()->Busy(); }, Longest);
        Open()->ForgetFolders();
        Longest = 0;
        QElapsedTimer T;
        T.start();
        Open()->ChangeDir(Big);
        // The big folder holds one subfolder besides "..".
        Dirs = Ms(T) + RunUntil([] { return Open()->LV_Dir->model()->rowCount() == 2; }, Longest);
        Names = Dirs + RunUntil([] { return !Open()->Busy(); }, Longest);
        St.SetIterationTime(Names / 1000);
    }
    St.counters["folder_list_ms"] = Dirs;
    St.counters["names_ms"] = Names;
    St.counters["longest_ui_block_ms"] = Longest;
    St.counters["names"] = Open()->LV_Cart->model()->rowCount();
}

void SecondVisit(benchmark::State& St)
{
    double Longest = 0;
    for (auto _ : St) {
        Open()->ChangeDir(Small);
        RunUntil([] { return !Open()->Busy(); }, Longest);
        Longest = 0;
        QElapsedTimer T;
        T.start();
        Open()->ChangeDir(Big);
        // At least one pass of the event loop, so the lists are painted.
        bool Passed = false;
        const double Took = Ms(T) + RunUntil(
                                        [&Passed] {
                                            const bool Done = Passed && !Open()->Busy();
                                            Passed = true;
                                            return Done;
                                        },
                                        Longest);
        St.SetIterationTime(Took / 1000);
    }
    St.counters["longest_ui_block_ms"] = Longest;
}
BENCHMARK(FirstVisit)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(SecondVisit)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir Files;
    return RunWindowBenchmarks(argc, argv, [&] {
        if (!MakeFolders(Files.path())) {
            fprintf(stderr, "fixtures folder not found (set ORLIK_FIXTURES)\n");
            return false;
        }
        Open()->show();
        return true;
    });
}
