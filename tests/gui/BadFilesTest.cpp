// Opening files that are not good savestates: every one is answered with a
// message that names it and says why, and the program goes on working.

#include "GuiTestSupport.h"
#include "app/Loader.h"
#include "gui/core/Form_Main.h"
#include "core/Options.h"
#include "gui/core/ProgramWindows.h"
#include "core/SNES.h"

class BadFilesTest : public QObject
{
    Q_OBJECT
    tProgramFolder* Folder = nullptr;

    static QByteArray Resource(const char* Name)
    {
        QFile F(QStringLiteral(ORLIK_RESOURCE_DIR "/demo/") + QLatin1String(Name));
        return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
    }

  private slots:
    void init()
    {
        Options() = tOptions{};
        Options().CBox_OpenCart = false;
        Folder = new tProgramFolder;
    }
    void cleanup()
    {
        delete Folder;
        Options() = tOptions{};
        StateFileName.clear();
    }

    void everyBadFileIsNamedWithItsReasonAndTheProgramGoesOn()
    {
        const QByteArray Zst = Resource("demo.zst"), S9x = Resource("demo.000");
        QVERIFY(Zst.size() > 1000 && S9x.size() > 1000);
        tRunningProgram P(*Folder);
        const QString Good = Folder->MakeFile(QStringLiteral("good.zst"), Zst);
        Form_Main->OpenSavestate(Good);
        QVERIFY(P.Recorder.Log.empty());
        const QString Title = Form_Main->windowTitle();
        QVERIFY(Title.startsWith(QStringLiteral("good")));

        // Which files the loader refuses, and why, is the loader tests' business;
        // here one refused before any reader ran and one a reader refused.
        struct tCase {
            QString File;
            bool KeepsState; // refused before any reader ran
        };
        const tCase Cases[] = {
            {Folder->File(QStringLiteral("missing.zst")), true},
            {Folder->MakeFile(QStringLiteral("cut.000"), S9x.left(S9x.size() / 2)), false},
        };
        for (const tCase& C : Cases) {
            P.Recorder.Log.clear();
            Form_Main->OpenSavestate(C.File);
            QVERIFY2(!P.Recorder.Log.empty(), qPrintable(C.File));
            QCOMPARE(P.Recorder.Log.front().Kind, QStringLiteral("error"));
            QVERIFY2(P.Recorder.Log.front().Text.contains(QFileInfo(C.File).fileName()),
                     qPrintable(P.Recorder.Log.front().Text));
            if (C.KeepsState) {
                QCOMPARE(Form_Main->windowTitle(), Title);
                QCOMPARE(QString::fromStdString(StateFileName), Good);
            }
        }

        // Still working: the good file loads again without a word.
        P.Recorder.Log.clear();
        Form_Main->OpenSavestate(Good);
        QVERIFY(P.Recorder.Log.empty());
        QCOMPARE(Form_Main->windowTitle(), Title);
        QCOMPARE(StateFormat, static_cast<uint8_t>(FormatZST));
    }
};

QTEST_MAIN(BadFilesTest)
#include "BadFilesTest.moc"
