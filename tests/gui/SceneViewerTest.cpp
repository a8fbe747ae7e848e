// The scene viewer on real savestates: the screen it shows, its layering
// and BG mode switches, zoom, saving and copying, the update gates and the
// HDMA page.

#include <QCheckBox>
#include <QCursor>
#include <QClipboard>
#include <QProcess>
#include <QRadioButton>
#include <QListWidget>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

#include "GuiTestSupport.h"
#include "cart/SNESCart.h"
#include "core/Broadcast.h"
#include "core/Options.h"
#include "core/PictureFiles.h"
#include "core/SNES.h"
#include "gui/core/Form_Main.h"
#include "gui/core/ProgramWindows.h"
#include "gui/render/Form_Scene.h"
#include "gui/render/PictureView.h"
#include "gui/tools/Form_Memory.h"
#include "gui/tools/Form_Options.h"
#include "render/HDMATable.h"
#include "render/PPU.h"
#include "render/Renderer.h"

class SceneViewerTest : public QObject
{
    Q_OBJECT

    static tForm_Scene* Scene() { return static_cast<tForm_Scene*>(Form_Scene); }
    template <class T> static T* Find(const char* Name) { return Scene()->findChild<T*>(QString::fromLatin1(Name)); }
    static void Click(const char* Name) { Find<QToolButton>(Name)->click(); }

  private slots:
    void init()
    {
        Options() = tOptions{};
        Options().CBox_OpenCart = false;
    }
    void cleanup() { Options() = tOptions{}; }

    void screenLayeringModesZoomAndSaving()
    {
        REQUIRE_GUI_FIXTURE(State, "snes9x/m1_layers.000");
        tProgramFolder Folder;
        tRunningProgram P(Folder);
        Form_Main->OpenSavestate(State);
        Scene()->show();
        QVERIFY(QTest::qWaitForWindowExposed(Scene()));

        // The screen shown is the compositor's for the same switches.
        tPicture8 P8;
        tPicture32 P32;
        Renderer->ComposeFrame(*PPU, Scene()->Switches(), Options(), P8, P32);
        QCOMPARE(Scene()->Screen16().Pixels, P32.Pixels);
        QCOMPARE(Scene()->Screen8().Pixels, P8.Pixels);

        // No main screen entry: every 8-bit pixel is CGRAM colour 0.
        auto* Layering = Find<QListWidget>("LV_Layering");
        for (int i = 0; i < 12; ++i)
            Layering->item(i)->setCheckState(Qt::Unchecked);
        const auto& S8 = Scene()->Screen8().Pixels;
        QVERIFY(std::all_of(S8.begin(), S8.end(), [](uint8_t V) { return V == 0; }));
        QVERIFY(Find<QPushButton>("Btn_VisReload")->isEnabled());
        Find<QPushButton>("Btn_VisReload")->click();
        QCOMPARE(Scene()->Screen8().Pixels, P8.Pixels);

        // Ctrl+3 decodes the same VRAM in mode 3; a new state brings back mode 1.
        QTest::keyClick(Scene(), Qt::Key_3, Qt::ControlModifier);
        QCOMPARE(int(PPU->BGMode), 3);
        QCOMPARE(int(PPU->Layers[0].BitDepth), 8);
        QCOMPARE(Find<QTabBar>("TC_BgMode")->currentIndex(), 3);
        Broadcast(nullptr, Note::NewSNES);
        QCOMPARE(int(PPU->BGMode), 1);
        QCOMPARE(Find<QTabBar>("TC_BgMode")->currentIndex(), 1);
        QCOMPARE(Scene()->Screen8().Pixels, P8.Pixels);

        // Zoom: three steps in, the fourth ignored; the clicked pixel stays
        // in the middle of the scroll box.
        tPictureView* View = Scene()->ScreenView();
        View->resize(300, 200);
        QTest::qWait(1);
        const int Target = View->viewport()->width() / 2;
        for (int i = 0; i < 4; ++i) {
            const QPoint Mid(View->viewport()->width() / 2, View->viewport()->height() / 2);
            QTest::mouseClick(View->Canvas(), Qt::LeftButton, {}, View->Canvas()->mapFrom(View->viewport(), Mid));
        }
        QCOMPARE(View->Zoom().Level, 3);
        QCOMPARE(Scene()->windowTitle(), QStringLiteral("SceneViewer (8:1)"));
        const int Middle = (View->horizontalScrollBar()->value() + View->viewport()->width() / 2) >> 3;
        QVERIFY2(std::abs(Middle - Target) <= 2, qPrintable(QStringLiteral("%1 %2").arg(Middle).arg(Target)));
        // Move mode: a drag past the picture's edge holds the pointer where
        // the view stops, so moving back scrolls at once.
        QTest::mouseClick(View->Canvas(), Qt::MiddleButton, {}, QPoint(1, 1));
        QScrollBar* H = View->horizontalScrollBar();
        const QPoint Grab = View->Canvas()->mapFrom(View->viewport(), QPoint(100, 100));
        QTest::mousePress(View->Canvas(), Qt::LeftButton, {}, Grab);
        QTest::mouseMove(View->Canvas(), Grab + QPoint(H->value() + 5000, 0));
        QCOMPARE(H->value(), 0);
        QTest::mouseMove(View->Canvas(), View->Canvas()->mapFromGlobal(QCursor::pos()) - QPoint(10, 0));
        QCOMPARE(H->value(), 10);
        QTest::mouseRelease(View->Canvas(), Qt::LeftButton, {}, View->Canvas()->mapFromGlobal(QCursor::pos()));
        QTest::mouseClick(View->Canvas(), Qt::RightButton, {}, QPoint(1, 1));
        for (int i = 0; i < 7; ++i)
            QTest::mouseClick(View->Canvas(), Qt::RightButton, {}, QPoint(1, 1));
        QCOMPARE(Scene()->windowTitle(), QStringLiteral("SceneViewer (1:8)"));

        // The update gate holds back a new state, not the user's changes.
        Click("Btn_UpdateScreen");
        const int Before = Scene()->RedrawCount(tScenePage::Screen);
        Broadcast(nullptr, Note::NewSNES);
        QCOMPARE(Scene()->RedrawCount(tScenePage::Screen), Before);
        Find<QPushButton>("Btn_VisInvert")->click();
        QCOMPARE(Scene()->RedrawCount(tScenePage::Screen), Before + 1);
        Find<QPushButton>("Btn_VisInvert")->click();
        Click("Btn_UpdateScreen");
        // Hidden pages wait until shown.
        const int Info = Scene()->RedrawCount(tScenePage::Info);
        Broadcast(nullptr, Note::NewSNES);
        QCOMPARE(Scene()->RedrawCount(tScenePage::Info), Info);
        Find<QTabWidget>("PC_Base")->setCurrentIndex(4);
        QCOMPARE(Scene()->RedrawCount(tScenePage::Info), Info + 1);
        Find<QTabWidget>("PC_Base")->setCurrentIndex(0);

        // Copy, then save the 16-bit screen as PNG: the file equals the
        // command-line tool's picture of the same state.
        Options().CBox_OptionsNoCopy = false;
        QGuiApplication::clipboard()->clear();
        Click("Btn_SaveScreen");
        QCOMPARE(QGuiApplication::clipboard()->image().size(),
                 QSize(Scene()->Screen8().Width, Scene()->Screen8().Height));
        QVERIFY(P.DialogCalls.isEmpty());
        Options().CBox_OptionsNoCopy = true;
        Find<QTabBar>("TC_Screens")->setCurrentIndex(1);
        P.DialogAnswer = Folder.File(QStringLiteral("screen.png"));
        Click("Btn_SaveScreen");
        QVERIFY(!Find<QToolButton>("Btn_SaveScreen")->isChecked());
        const QString Cli = Folder.File(QStringLiteral("cli.png"));
        // The viewer's defaults: 512 x 448 with soft blurring.
        const QStringList Args = {QStringLiteral("render"),     State,
                                  QStringLiteral("-o"),         Cli,
                                  QStringLiteral("--scale512"), QStringLiteral("--blur"),
                                  QStringLiteral("--soft-blur")};
        QCOMPARE(QProcess::execute(QStringLiteral(ORLIK_CLI), Args), 0);
        tPicture32 Saved, Expected;
        tError Error;
        QVERIFY(ReadPicture(P.DialogAnswer.toStdString(), Saved, Error));
        QVERIFY(ReadPicture(Cli.toStdString(), Expected, Error));
        QCOMPARE(Saved.Pixels, Expected.Pixels);

        // A cancelled dialog writes nothing, though the dialog still names
        // the last file; a failed write names the file.
        QFile::remove(P.DialogAnswer);
        P.DialogAnswer.clear();
        Click("Btn_SaveScreen");
        QVERIFY(!QFileInfo::exists(Folder.File(QStringLiteral("screen.png"))));
        QVERIFY(P.Recorder.Log.empty());
        P.DialogAnswer = Folder.File(QStringLiteral("no/such/folder/x.bmp"));
        Click("Btn_SaveScreen");
        QCOMPARE(P.Recorder.Log.size(), size_t(1));
        QVERIFY(P.Recorder.Log[0].Text.contains(QStringLiteral("x.bmp")));

        // A click on a layer's tab shows its tiles in the memory viewer.
        emit Find<QTabBar>("TC_BG")->tabBarClicked(2);
        QCOMPARE(Form_Memory->Model().Decoder, tMemDecoder::Bpp2); // mode 1's BG3
        QCOMPARE(Form_Memory->Model().Offset, int64_t(PPU->Layers[2].CharBase));

        // The options window's scaling switch takes effect at once.
        Form_Options->findChild<QCheckBox*>(QStringLiteral("CBox_Scene512"))->setChecked(false);
        QCOMPARE(Scene()->Screen16().Width, 256);

        // The window's settings come back as they were saved.
        Find<QTabWidget>("PC_Base")->setCurrentIndex(1);
        Find<QTabWidget>("PC_Layers")->setCurrentIndex(2);
        Find<QRadioButton>("RBtn_Transp0")->setChecked(true);
        Find<QCheckBox>("CBox_Inactive")->setChecked(true);
        Click("Btn_UpdateLayer");
        Scene()->SaveConfig();
        Find<QTabWidget>("PC_Layers")->setCurrentIndex(0);
        Find<QTabWidget>("PC_Base")->setCurrentIndex(0);
        Find<QRadioButton>("RBtn_TranspConst")->setChecked(true);
        Find<QCheckBox>("CBox_Inactive")->setChecked(false);
        Scene()->LoadConfig();
        QCOMPARE(Find<QTabWidget>("PC_Base")->currentIndex(), 1);
        QCOMPARE(Find<QTabWidget>("PC_Layers")->currentIndex(), 2);
        QVERIFY(Find<QRadioButton>("RBtn_Transp0")->isChecked());
        QVERIFY(Find<QCheckBox>("CBox_Inactive")->isChecked());
        QVERIFY(!Find<QToolButton>("Btn_UpdateLayer")->isChecked());
    }

    void hdmaPageListsWhatTheToolLists()
    {
        REQUIRE_GUI_FIXTURE(State, "snes9x/m1_hdma_gradient.000");
        tProgramFolder Folder;
        tRunningProgram P(Folder);
        Form_Main->OpenSavestate(State);
        Scene()->show();
        Find<QTabWidget>("PC_Base")->setCurrentIndex(2);
        Find<QCheckBox>("CBox_Inactive")->setChecked(true);
        auto* Lines = Find<QTableWidget>("LV_HDMA");
        auto* Info = Find<QTableWidget>("LV_ChnInfo");
        auto* Tabs = Find<QTabBar>("TC_HDMA");
        int Enabled = 0, Compared = 0;
        for (int Channel = 0; Channel < 8; ++Channel) {
            Tabs->setCurrentIndex(Channel);
            Enabled += Tabs->tabText(Channel) == Tabs->tabText(Channel).toUpper();
            QProcess Tool;
            Tool.start(QStringLiteral(ORLIK_CLI),
                       {QStringLiteral("hdma"), State, QStringLiteral("--channel"), QString::number(Channel)});
            QVERIFY(Tool.waitForFinished());
            const QStringList Cli = QString::fromUtf8(Tool.readAllStandardOutput()).split(QLatin1Char('\n'));
            auto Listed = [&](const QString& Text) {
                return std::any_of(Cli.begin(), Cli.end(), [&](const QString& L) { return L.simplified() == Text; });
            };
            // Each channel value on the tool's line of the same name.
            for (int r = 0; r < Info->rowCount(); ++r) {
                const QString Name = Info->item(r, 0)->text(), Value = Info->item(r, 1)->text();
                QVERIFY2(std::any_of(Cli.begin(), Cli.end(),
                                     [&](const QString& L) {
                                         return L.trimmed().startsWith(Name + QLatin1Char(':')) &&
                                                L.trimmed().endsWith(Value);
                                     }),
                         qPrintable(Name + QLatin1Char('=') + Value));
                ++Compared;
            }
            // The lines, or the message why there are none.
            for (int r = 0; r < Lines->rowCount(); ++r) {
                QStringList Cells;
                for (int c = 0; c < 7; ++c)
                    if (Lines->item(r, c) && !Lines->item(r, c)->text().isEmpty())
                        Cells << Lines->item(r, c)->text();
                QVERIFY2(Listed(Cells.join(QLatin1Char(' '))), qPrintable(Cells.join(QLatin1Char(' '))));
                ++Compared;
            }
        }
        QCOMPARE(Enabled, 2);
        QVERIFY(Compared > 16);
    }
};

QTEST_MAIN(SceneViewerTest)
#include "SceneViewerTest.moc"
