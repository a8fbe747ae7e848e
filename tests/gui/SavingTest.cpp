// A real savestate opened in the main window and saved in each writable
// format through the save button: the checked format is the one written.
// That the written state is the same is the format suite's business.

#include <QAction>
#include <QToolButton>

#include "GuiTestSupport.h"
#include "app/Loader.h"
#include "gui/core/Form_Main.h"
#include "core/Options.h"
#include "gui/core/ProgramWindows.h"
#include "gui/core/RecentMenu.h"
#include "core/SNES.h"

#include "gui/core/CoreBridge.h"

class SavingTest : public QObject
{
    Q_OBJECT

  private slots:
    void init()
    {
        Options() = tOptions{};
        Options().CBox_OpenCart = false;
        Options().CBox_MainConfirm = false;
    }
    void cleanup()
    {
        Options() = tOptions{};
        StateFileName.clear();
    }

    void aZSNESStateSavedInEveryFormatLoadsBackAndAFailedWriteIsReported()
    {
        REQUIRE_GUI_FIXTURE(Source, "zsnes/zsnes151_bgmap4bpp.zst");
        tProgramFolder Folder;
        tRunningProgram P(Folder);
        Form_Main->OpenSavestate(Source);
        QCOMPARE(QString::fromStdString(StateFileName), Source);
        QCOMPARE(Form_Main->windowTitle(), QStringLiteral("zsnes151_bgmap4bpp - slot 0 - Orlik v2.86"));
        QVERIFY(!SavestateThumbnail(Source).isNull());

        struct tCase {
            uint8_t Format;
            const char* Name;
        };
        for (tCase C : {tCase{FormatS9X, "out.000"}, tCase{FormatSSL, "out.s01"}, tCase{FormatZST, "out.zst"}}) {
            // Each time from the fixture: the writers work from the state just loaded.
            Form_Main->OpenSavestate(Source);
            Form_Main->SaveItem(C.Format)->setChecked(true);
            P.DialogAnswer = Folder.File(QString::fromLatin1(C.Name));
            Form_Main->ToolButton(QStringLiteral("Btn_StateSave"))->click();
            QVERIFY2(QFileInfo(P.DialogAnswer).size() > 0, C.Name);
            QVERIFY2(LoadSavestate(P.DialogAnswer.toStdString()), C.Name);
            QCOMPARE(StateFormat, C.Format);
        }
        QVERIFY(P.Recorder.Log.empty());
        QCOMPARE(Form_Main->RecentSNES()->FileNames().front(), Folder.File(QStringLiteral("out.zst")));

        // A write that fails is reported with the file's name.
        Form_Main->SaveItem(FormatS9X)->setChecked(true);
        P.DialogAnswer = Folder.File(QStringLiteral("no/such/folder/out.000"));
        Form_Main->ToolButton(QStringLiteral("Btn_StateSave"))->click();
        QCOMPARE(P.Recorder.Log.size(), size_t(1));
        QCOMPARE(P.Recorder.Log[0].Kind, QStringLiteral("error"));
        QVERIFY(P.Recorder.Log[0].Text.contains(QStringLiteral("out.000")));
    }
};

QTEST_MAIN(SavingTest)
#include "SavingTest.moc"
