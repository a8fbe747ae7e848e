// The SPC and SMV editors on real savestates, as a user drives them.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

#include "GuiTestSupport.h"
#include "app/Loader.h"
#include "app/SaveState.h"
#include "core/Broadcast.h"
#include "core/Gzip.h"
#include "core/Options.h"
#include "gui/core/Form_Main.h"
#include "gui/core/ProgramWindows.h"
#include "gui/sound/Form_SMV.h"
#include "gui/sound/Form_SPC.h"
#include "sound/SPC.h"

class SoundWindowsTest : public QObject
{
    Q_OBJECT

    template <class T> static T* Child(QWidget* W, const char* Name) { return W->findChild<T*>(QLatin1String(Name)); }
    static QByteArray Read(const QString& Name)
    {
        QFile F(Name);
        F.open(QIODevice::ReadOnly);
        return F.readAll();
    }

  private slots:
    void init()
    {
        Options() = tOptions{};
        Options().CBox_OpenCart = false;
    }

    void aStateSoundSavedWithTagsFromTheEditorReadsBackInTheCommandLineTool()
    {
        REQUIRE_GUI_FIXTURE(State, "snes9x/m0_helloworld.000");
        tProgramFolder Folder;
        tRunningProgram P(Folder);
        tForm_SPC* W = Form_SPC;
        // An SPC with an extended track tag opened first: its tags stay while
        // the state's sound replaces its own.
        QByteArray Tagged(int(SPCLayout::FixedSize), '\0');
        Tagged.replace(0, 33, SPCSignatureText);
        Tagged[0x23] = 27;
        // Track, copyright year (header-only) and an intro length of 1 s + 1/64000 s.
        Tagged.append(QByteArray("xid6\x10\0\0\0\x12\0\0\0\x14\0\0\0\x30\x04\x04\0\x01\xFA\0\0", 24));
        P.DialogAnswer = Folder.MakeFile(QStringLiteral("tagged.spc"), Tagged);
        Child<QToolButton>(W, "Btn_Open")->click();
        QCOMPARE(Child<QTabWidget>(W, "PC")->currentWidget(), Child<QSpinBox>(W, "UD_Track")->parentWidget());
        Form_Main->OpenSavestate(State);
        QVERIFY(Child<QToolButton>(W, "Btn_Save")->isEnabled());

        Child<QCheckBox>(W, "CBox_ID666")->click();
        QTest::keyClicks(Child<QLineEdit>(W, "Edit_Song"), QStringLiteral("Hello "));
        QTest::sendKeyEvent(QTest::Click, Child<QLineEdit>(W, "Edit_Song"), Qt::Key_unknown, QStringLiteral("\u00e9"),
                            Qt::NoModifier);
        QTest::keyClicks(Child<QLineEdit>(W, "Edit_Game"), QStringLiteral("World"));
        QTest::keyClicks(Child<QLineEdit>(W, "Edit_Artist"), QStringLiteral("Lemon"));
        Child<QComboBox>(W, "Combo_Day")->setCurrentIndex(5);
        Child<QComboBox>(W, "Combo_Month")->setCurrentIndex(2);
        Child<QComboBox>(W, "Combo_Year")->setCurrentIndex(14);
        QTest::keyClicks(Child<QLineEdit>(W, "Edit_Length1"), QStringLiteral("2"));
        QTest::keyClicks(Child<QLineEdit>(W, "Edit_Length2"), QStringLiteral("5"));
        Child<QSpinBox>(W, "UD_Track")->setValue(7);
        Child<QComboBox>(W, "Combo_Track")->setCurrentIndex('b');
        // Showing the length does not round it; a typed year counts on Enter.
        QTableWidget* Tags = Child<QTableWidget>(W, "LV_Tags");
        Tags->selectRow(2);
        QCOMPARE(ExtTagNumber(*W->Editor().ExtTag(2)), 64001u);
        Tags->selectRow(1);
        auto* Word = Child<QSpinBox>(W, "UD_Word");
        QTest::keyClick(Word, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(Word, QStringLiteral("2004"));
        QTest::keyClick(Word, Qt::Key_Return);
        QCOMPARE(ExtTagNumber(*W->Editor().ExtTag(1)), 2004u);
        // Another window's change of the machine state keeps what was typed.
        Broadcast(nullptr, Note::NewSNES);

        const QString Out = Folder.File(QStringLiteral("out.spc"));
        P.DialogAnswer = Out;
        Child<QToolButton>(W, "Btn_Save")->click();
        QVERIFY2(P.Recorder.Log.empty(), P.Recorder.Log.empty() ? "" : qPrintable(P.Recorder.Log.front().Text));
        QProcess Cli;
        Cli.start(QStringLiteral(ORLIK_RESOURCE_DIR "/orlik-cli"), {QStringLiteral("info"), Out});
        QVERIFY(Cli.waitForFinished(20000));
        const QString Info = QString::fromLatin1(Cli.readAllStandardOutput());
        for (const char* Want :
             {"song:            Hello \xe9", "game:            World", "artist:          Lemon",
              "date:            03/05/2004", "length_seconds:  125", "(type 0): 1890", "(type 0): 2004"})
            QVERIFY2(Info.contains(QLatin1String(Want)), qPrintable(Info));

        // The command-line tool writes the same file for the same state and tags.
        const QString Cli2 = Folder.File(QStringLiteral("cli.spc"));
        QProcess Again;
        Again.start(QStringLiteral(ORLIK_RESOURCE_DIR "/orlik-cli"),
                    {QStringLiteral("spc"), Out, QStringLiteral("-o"), Cli2});
        QVERIFY(Again.waitForFinished(20000));
        QCOMPARE(Read(Cli2), Read(Out));
    }

    void aMovieStartsLikeAnOpenedStateAndLeavesNothingOfTheFileBefore()
    {
        const QString Quicksave = Fixture("snes9x/m0_helloworld.000");
        const QString Before = Fixture("zsnes/zsnes142_hello.zst");
        if (Quicksave.isEmpty() || Before.isEmpty())
            QSKIP("fixtures folder not found");
        tProgramFolder Folder;
        tRunningProgram P(Folder);
        // A movie around the quicksave: header, no metadata, the packed state.
        QByteArray Movie(32, '\0');
        Movie.replace(0, 4, "SMV\x1A");
        Movie[20] = 1;
        Movie[24] = 32;
        const QByteArray Plain = Read(Quicksave);
        std::vector<uint8_t> Packed(Plain.begin(), Plain.end());
        std::string Error;
        QVERIFY(GzipStream(Packed, Error));
        Movie.append(reinterpret_cast<const char*>(Packed.data()), qsizetype(Packed.size()));
        const auto End = static_cast<uint32_t>(Movie.size());
        for (int i = 0; i < 4; ++i)
            Movie[28 + i] = char(End >> (8 * i));

        Form_Main->OpenSavestate(Before);
        Form_SMV->LoadMovie(Folder.MakeFile(QStringLiteral("run.smv"), Movie));
        QVERIFY(Form_SMV->Movie().Valid);
        QCOMPARE(StateKind, uint8_t(KindMovie));
        QVERIFY(Form_Main->windowTitle().startsWith(QStringLiteral("run - slot")));
        QVERIFY(Child<QCheckBox>(Form_SMV, "CBox_0")->isChecked());
        QVERIFY(!Child<QCheckBox>(Form_SMV, "CBox_Sync1")->isEnabled());
        QVERIFY(SaveStateAs(FormatZST, Folder.File(QStringLiteral("movie.zst")).toStdString()));
        // The main window reloads the movie it now names.
        Form_Main->ToolButton(QStringLiteral("Btn_StateReload"))->click();
        QVERIFY(P.Recorder.Log.empty());

        Form_Main->OpenSavestate(Quicksave);
        QVERIFY(SaveStateAs(FormatZST, Folder.File(QStringLiteral("direct.zst")).toStdString()));
        QCOMPARE(Read(Folder.File(QStringLiteral("movie.zst"))), Read(Folder.File(QStringLiteral("direct.zst"))));

        Form_SMV->LoadMovie(Folder.MakeFile(QStringLiteral("bad.smv"), "SMV"));
        QVERIFY(!Child<QLineEdit>(Form_SMV, "Edit_FrameCount")->isEnabled());
    }
};

QTEST_MAIN(SoundWindowsTest)
#include "SoundWindowsTest.moc"
