// The main window: caption and status bar after loads, the recent-file menus,
// saving with and without the warning, launching files, the toolbar states.

#include <QAction>
#include <QMenu>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>

#include "GuiTestSupport.h"
#include "app/Loader.h"
#include "cart/SNESCart.h"
#include "core/Broadcast.h"
#include "gui/core/Form_Help.h"
#include "gui/core/Form_Main.h"
#include "gui/core/MenuStyle.h"
#include "gui/core/ToolWindow.h"
#include "core/Options.h"
#include "gui/core/ProgramWindows.h"
#include "gui/core/RecentMenu.h"
#include "core/SNES.h"
#include "gui/tools/Form_Options.h"

class MainWindowTest : public QObject
{
    Q_OBJECT
    tProgramFolder* Folder = nullptr;

    static QToolButton* Button(const char* Name) { return Form_Main->ToolButton(QString::fromLatin1(Name)); }

    // What a savestate reader leaves behind, announced as the loader does.
    static void Loaded(const QString& File, const char* Slot = "1", uint8_t Format = FormatZST)
    {
        QFileInfo I(File);
        StateFileName = File.toStdString();
        StateFileTitle = I.completeBaseName().toStdString();
        StateSlot = Slot;
        StateFormat = Format;
        StateKind = KindSavestate;
        Broadcast(nullptr, Note::NewSavestate);
        Broadcast(nullptr, Note::NewSNES);
    }

  private slots:
    void init()
    {
        Options() = tOptions{};
        // The stand-in savestates have no cartridge beside them.
        Options().CBox_OpenCart = false;
        Folder = new tProgramFolder;
    }
    void cleanup()
    {
        delete Folder;
        Options() = tOptions{};
        StateFileName.clear();
    }

    void startsWithTheLayoutsStates()
    {
        tRunningProgram P(*Folder);
        QCOMPARE(Form_Main->windowTitle(), QStringLiteral("Orlik v2.86"));
        for (const char* Off :
             {"Btn_StateReload", "Btn_StateSave", "Btn_StateExec", "Btn_CartReload", "Btn_CartSave", "Btn_CartExec"})
            QVERIFY2(!Button(Off)->isEnabled(), Off);
        QCOMPARE(Button("Btn_StateOpen")->toolTip(), QStringLiteral("load a SNES savestate (F3)"));
        QCOMPARE(Button("Btn_Quit")->toolTip(), QStringLiteral("quit (ESC, Alt+F4)"));
        QCOMPARE(Button("Btn_Hex")->toolTip(), QStringLiteral("HexEditor (F4)"));
        // The toolbars as laid out, "|" for a separator.
        QStringList Bar;
        for (const char* Name : {"ToolBar_Left", "ToolBar_Right"}) {
            auto* T = Form_Main->findChild<QToolBar*>(QString::fromLatin1(Name));
            for (QAction* A : T->actions())
                Bar << (A->isSeparator() ? QStringLiteral("|") : T->widgetForAction(A)->objectName());
        }
        QCOMPARE(Bar.join(QLatin1Char(' ')),
                 QStringLiteral("Btn_StateOpen Btn_StateReload Btn_StateSave Btn_StateExec | Btn_CartOpen "
                                "Btn_CartReload Btn_CartSave Btn_CartExec | Btn_SPC Btn_SMV | Btn_Preview Btn_Palette "
                                "Btn_Memory Btn_Scene Btn_Hex Btn_List Btn_Options Btn_Help | Btn_Quit"));
        QCOMPARE(Form_Main->Pages()->count(), 7);
        QCOMPARE(Form_Main->Pages()->tabText(6), QStringLiteral("&7: SSL"));
        QTableWidget* L = Form_Main->List(0);
        QCOMPARE(L->columnCount(), 8);
        QCOMPARE(L->horizontalHeaderItem(7)->text(), QStringLiteral("comment"));
        QCOMPARE(L->palette().color(QPalette::Base), QColor(0, 0, 128));
        QCOMPARE(L->palette().color(QPalette::Text), QColor(0, 255, 255));
        QVERIFY(Form_Main->SaveItem(FormatZST)->isChecked());
        QVERIFY(!Form_Main->SaveItem(FormatSGT)->isEnabled());
        // No configuration yet: a first run opens the help window, not a
        // browser; the pages are missing here, which it says without a box.
        auto* Help = Form_Main->findChild<tForm_Help*>();
        QVERIFY(Help && Help->isVisible() && !Help->isModal());
        QVERIFY(Help->Browser()->toPlainText().contains(Folder->Path() + QStringLiteral("documentation/index.htm")));
        QVERIFY(P.ShellCalls.isEmpty() && P.Recorder.Log.empty());
        for (int i = 0; i < tForm_Main::PanelCount; ++i)
            QVERIFY(Form_Main->PanelText(i).isEmpty());
        // The demo loads with its own cartridge: no "Cartridge not found." box.
        Options().CBox_OpenCart = true;
        for (const char* F : {"demo.zst", "demo.sfc"})
            QFile::copy(QStringLiteral(ORLIK_RESOURCE_DIR "/demo/") + QLatin1String(F), Folder->File(QLatin1String(F)));
        Form_Main->OpenSavestate(Folder->File(QStringLiteral("demo.zst")));
        QVERIFY(P.Recorder.Log.empty());
        QVERIFY(Cart && QString::fromStdString(Cart->FileName).endsWith(QLatin1String("demo.sfc")));
    }

    void captionKeepsOneTitleAfterTwoLoadsOfTheSameFile()
    {
        tRunningProgram P(*Folder);
        const QString F = Folder->MakeFile(QStringLiteral("mario.zs3"));
        Loaded(F, "3");
        Loaded(F, "3");
        QCOMPARE(Form_Main->windowTitle(), QStringLiteral("mario - slot 3 - Orlik v2.86"));
        QCOMPARE(Form_Main->PanelText(0), QStringLiteral(" slot: 3"));
        QCOMPARE(Form_Main->PanelText(1), QStringLiteral(" savestate: mario"));
        QCOMPARE(Form_Main->PanelText(4), QStringLiteral(" SRAM size: 0 KB"));
        QVERIFY(Button("Btn_StateSave")->isEnabled());
        QVERIFY(Button("Btn_StateExec")->isEnabled());
        QVERIFY(Button("Btn_StateReload")->isEnabled());
        QCOMPARE(Form_Main->RecentSNES()->FileNames(), QStringList{F});
    }

    void recentSavestatesKeepEightNewestFirstAndMoveRepeats()
    {
        tRunningProgram P(*Folder);
        QStringList Files;
        for (int i = 1; i <= 9; ++i)
            Files << Folder->MakeFile(QStringLiteral("state%1.zs%1").arg(i));
        for (const QString& F : Files)
            Loaded(F);
        tRecentMenu* M = Form_Main->RecentSNES();
        QList<QAction*> Items = M->FileItems();
        QCOMPARE(Items.size(), 8);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(Items[i]->text(), QStringLiteral("&%1 ").arg(i) + Files[8 - i]);
        QVERIFY(Items[0]->isChecked());
        QVERIFY(!Items[1]->isChecked());
        // The menu ends with the separator and "&clear list".
        QList<QAction*> All = M->Menu()->actions();
        QCOMPARE(All.size(), 10);
        QVERIFY(All[8]->isSeparator());
        QCOMPARE(All[9]->text(), QStringLiteral("&clear list"));
        QVERIFY(All[9]->isEnabled());

        Loaded(Files[4]);
        Items = M->FileItems();
        QCOMPARE(Items.size(), 8);
        QCOMPARE(M->FileNames().front(), Files[4]);
        QCOMPARE(M->FileNames().count(Files[4]), 1);
        QCOMPARE(Items[0]->text(), QStringLiteral("&0 ") + Files[4]);
        QCOMPARE(Items[1]->text(), QStringLiteral("&1 ") + Files[8]);
        QCOMPARE(Items[7]->text(), QStringLiteral("&7 ") + Files[1]);
    }

    void aMissingRecentFileIsReportedAndDropped()
    {
        tRunningProgram P(*Folder);
        const QString Gone = Folder->MakeFile(QStringLiteral("gone.zs1"));
        const QString Kept = Folder->MakeFile(QStringLiteral("kept.zs2"));
        Loaded(Gone);
        Loaded(Kept);
        QFile::remove(Gone);
        tRecentMenu* M = Form_Main->RecentSNES();
        M->FileItems()[1]->trigger();
        QCOMPARE(P.Recorder.Log.size(), size_t(1));
        QCOMPARE(P.Recorder.Log[0].Text, QStringLiteral("File not found."));
        QCOMPARE(M->FileNames(), QStringList{Kept});
        QCOMPARE(M->FileItems()[0]->text(), QStringLiteral("&0 ") + Kept);

        M->ClearItem()->trigger();
        QVERIFY(M->FileItems().isEmpty());
        QVERIFY(!M->ClearItem()->isEnabled());
        // The last savestate can still be reloaded.
        QVERIFY(Button("Btn_StateReload")->isEnabled());

        // With the option off a dead savestate stays listed; a dead cartridge
        // is dropped all the same.
        Options().CBox_OptionsLinks = false;
        Loaded(Gone);
        M->FileItems()[0]->trigger();
        QCOMPARE(P.Recorder.Log.size(), size_t(2));
        QCOMPARE(M->FileNames(), QStringList{Gone});
        Form_Main->AddRecentCart(Folder->File(QStringLiteral("nothere.sfc")));
        Form_Main->RecentCart()->FileItems()[0]->trigger();
        QCOMPARE(P.Recorder.Log.size(), size_t(3));
        QCOMPARE(P.Recorder.Log[2].Text, QStringLiteral("File not found."));
        QVERIFY(Form_Main->RecentCart()->FileItems().isEmpty());
        QVERIFY(!Form_Main->RecentCart()->ClearItem()->isEnabled());
    }

    void savingAsksFirstWhenConfirmationIsOn()
    {
        tRunningProgram P(*Folder);
        Button("Btn_StateSave")->click();
        QVERIFY(P.Recorder.Log.empty()); // disabled before the first savestate
        Loaded(Folder->MakeFile(QStringLiteral("a.zs1")));

        P.Recorder.Answer = false;
        Button("Btn_StateSave")->click();
        QCOMPARE(P.Recorder.Log.size(), size_t(1));
        QCOMPARE(P.Recorder.Log[0].Kind, QStringLiteral("question"));
        QVERIFY(P.Recorder.Log[0].Text.startsWith(QStringLiteral("Converting perfectly from one savestate format")));
        QVERIFY(P.Recorder.Log[0].Text.endsWith(QStringLiteral("\n\nContinue anyway?")));
        QVERIFY(P.DialogCalls.isEmpty());

        P.Recorder.Answer = true;
        Button("Btn_StateSave")->click();
        QCOMPARE(P.DialogCalls, QStringList{QStringLiteral("DlgSave_SNES")});
        // The dialog was cancelled: nothing more happened.
        QCOMPARE(P.Recorder.Log.size(), size_t(2));

        // Without confirmation F2 goes straight to the dialog.
        Options().CBox_MainConfirm = false;
        Form_Main->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(Form_Main));
        QTest::keyClick(Form_Main->CurrentList(), Qt::Key_F2);
        QCOMPARE(P.DialogCalls.size(), 2);
        QCOMPARE(P.DialogCalls.last(), QStringLiteral("DlgSave_SNES"));
        QCOMPARE(P.Recorder.Log.size(), size_t(2));
    }

    void theSaveMenuFollowsTheLoadedFormat()
    {
        tRunningProgram P(*Folder);
        // SNESGT has no writer: the choice before it stays.
        for (const auto& [Name, Format, Checked] : {std::tuple{"a.000", FormatS9X, FormatS9X},
                                                    {"a.sv1", FormatSGT, FormatS9X},
                                                    {"a.s01", FormatSSL, FormatSSL}}) {
            Loaded(Folder->MakeFile(QString::fromLatin1(Name)), "1", Format);
            QVERIFY2(Form_Main->SaveItem(Checked)->isChecked(), Name);
        }
    }

    void aFailedLaunchShowsTheCodeAndItsText()
    {
        tRunningProgram P(*Folder);
        const QString F = Folder->MakeFile(QStringLiteral("a.zs1"));
        Loaded(F);
        P.ShellResult = 31;
        Button("Btn_StateExec")->click();
        QCOMPARE(P.ShellCalls.back(), F);
        QCOMPARE(P.Recorder.Log.size(), size_t(1));
        QCOMPARE(P.Recorder.Log[0].Kind, QStringLiteral("error"));
        QCOMPARE(P.Recorder.Log[0].Text,
                 QStringLiteral("The file \"") + F +
                     QStringLiteral("\" could not be launched. \nCode 31: \"There is no application associated with "
                                    "the given filename extension.\""));
        QCOMPARE(LaunchErrorText(99), QStringLiteral("Unknown error code."));
    }

    void theCartridgePanelsFollowTheCartridge()
    {
        tRunningProgram P(*Folder);
        const QString F = Folder->MakeFile(QStringLiteral("game.sfc"));
        Cart->FileName = F.toStdString();
        Cart->ROM.assign(512 * 1024, 0);
        Cart->SRAM.assign(8 * 1024, 0);
        Broadcast(Cart, Note::NewCart);
        QCOMPARE(Form_Main->PanelText(2), QStringLiteral(" cart: game"));
        QCOMPARE(Form_Main->PanelText(3), QStringLiteral(" ROM size: 512 KB"));
        QCOMPARE(Form_Main->PanelText(4), QStringLiteral(" SRAM size: 8 KB"));
        QVERIFY(Button("Btn_CartExec")->isEnabled());
        QVERIFY(Button("Btn_CartSave")->isEnabled());
        QVERIFY(Button("Btn_CartReload")->isEnabled());
        QCOMPARE(Form_Main->RecentCart()->FileNames(), QStringList{F});

        Cart->FileName.clear();
        Cart->ROM.clear();
        Cart->SRAM.clear();
        Broadcast(Cart, Note::NewCart);
        QVERIFY(Form_Main->PanelText(2).isEmpty());
        QVERIFY(Form_Main->PanelText(3).isEmpty());
        QVERIFY(Form_Main->PanelText(4).isEmpty());
        QVERIFY(!Button("Btn_CartExec")->isEnabled());
    }

    void f1OpensTheHelpAndF8FlipsTheSceneOption()
    {
        QDir(Folder->Path()).mkpath(QStringLiteral("documentation"));
        Folder->MakeFile(QStringLiteral("documentation/index.htm"), "<a href='two.htm'>two</a> <h2 id='k'>keys</h2>");
        Folder->MakeFile(QStringLiteral("documentation/two.htm"), "<p>page two <a href='index.htm#k'>keys</a></p>");
        tRunningProgram P(*Folder);
        if (auto* First = Form_Main->findChild<tForm_Help*>())
            First->close();
        Form_Main->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(Form_Main));
        QTest::keyClick(Form_Main->CurrentList(), Qt::Key_F1);
        auto* Help = Form_Main->findChild<tForm_Help*>();
        QVERIFY(Help && Help->isVisible() && P.ShellCalls.isEmpty());
        QTextBrowser* B = Help->Browser();
        const auto Button = [&](const char* Name) { return Help->findChild<QToolButton*>(QLatin1String(Name)); };
        QVERIFY(B->source().path().endsWith(QLatin1String("index.htm")) && !Button("Btn_Back")->isEnabled());
        B->setSource(QUrl(QStringLiteral("two.htm")));
        QVERIFY(B->toPlainText().contains(QLatin1String("page two")));
        Button("Btn_Back")->click();
        QVERIFY(B->source().path().endsWith(QLatin1String("index.htm")));
        Button("Btn_Forward")->click();
        QVERIFY(B->source().path().endsWith(QLatin1String("two.htm")));
        Button("Btn_Index")->click();
        QVERIFY(B->source().path().endsWith(QLatin1String("index.htm")) && Button("Btn_Back")->isEnabled());
        QVERIFY(Options().CBox_SceneUpdate);
        QTest::keyClick(Form_Main->CurrentList(), Qt::Key_F8);
        QVERIFY(!Options().CBox_SceneUpdate);
    }

    void theRegisterTabsShowTheMachineState()
    {
        tRunningProgram P(*Folder);
        QTableWidget* PPU = Form_Main->List(2);
        QCOMPARE(Form_Main->Pages()->currentIndex(), 2);
        QVERIFY(PPU->rowCount() > 20);
        int Row = -1;
        for (int r = 0; r < PPU->rowCount(); ++r)
            if (PPU->item(r, 0)->text() == QLatin1String("$2100"))
                Row = r;
        QVERIFY(Row >= 0);
        QCOMPARE(PPU->item(Row, 4)->text(), QStringLiteral("00"));
        SNES->Regs[0x2100] = 0x8F;
        Broadcast(nullptr, Note::NewSNES);
        QCOMPARE(PPU->item(Row, 4)->text(), QStringLiteral("8F"));
        QCOMPARE(PPU->item(Row, 3)->text(), QStringLiteral("10001111"));
        QCOMPARE(PPU->item(Row, 5)->text(), QStringLiteral("143"));

        // Another tab is built when it is first shown, and shows the state too.
        QCOMPARE(Form_Main->List(0)->rowCount(), 0);
        Form_Main->Pages()->setCurrentIndex(0);
        QVERIFY(Form_Main->List(0)->rowCount() > 20);

        // With "update the lists" off the values stay as they were.
        Form_Main->Pages()->setCurrentIndex(2);
        Options().CBox_MainUpdating = false;
        SNES->Regs[0x2100] = 0x0F;
        Broadcast(nullptr, Note::NewSNES);
        QCOMPARE(PPU->item(Row, 4)->text(), QStringLiteral("8F"));
    }

    void enterAndADoubleClickToggleTheListEditor()
    {
        tRunningProgram P(*Folder);
        QTableWidget* L = Form_Main->CurrentList();
        QTest::keyClick(L, Qt::Key_Return);
        QVERIFY(Form_List->isVisible());
        QVERIFY(Button("Btn_List")->isChecked());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(Form_List));
        emit L->cellDoubleClicked(1, 0);
        QVERIFY(!Form_List->isVisible());
        QVERIFY(!Button("Btn_List")->isChecked());
    }

    void f3WithTheSystemDialogLoadsTheChosenFileAndLeavesTheButtonUp()
    {
        tRunningProgram P(*Folder);
        Options().CBox_OpenNoWin = false;
        Form_Main->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(Form_Main));
        P.DialogAnswer = QString(); // cancelled
        QTest::keyClick(Form_Main->CurrentList(), Qt::Key_F3);
        QCOMPARE(P.DialogCalls, QStringList{QStringLiteral("DlgOpen_SNES")});
        QVERIFY(!Button("Btn_StateOpen")->isChecked());
        QVERIFY(!Form_Open->isVisible());
        QVERIFY(StateFileName.empty());
        Options().CBox_CartNoWin = false;
        Button("Btn_CartOpen")->click();
        QCOMPARE(P.DialogCalls.last(), QStringLiteral("DlgOpen_Cart"));
        QVERIFY(Cart->FileName.empty());
        QVERIFY(P.Recorder.Log.empty());
        P.DialogCalls.removeLast();

        // With the custom dialog the browser opens instead.
        Options().CBox_OpenNoWin = true;
        QTest::keyClick(Form_Main->CurrentList(), Qt::Key_F3);
        QVERIFY(Form_Open->isVisible());
        QVERIFY(Button("Btn_StateOpen")->isChecked());
        QCOMPARE(P.DialogCalls.size(), 1);
    }

    void functionKeysBelongToAnOpenDialog()
    {
        tRunningProgram P(*Folder);
        Options().CBox_OpenNoWin = false;
        QWidget Box(Form_Main, Qt::Dialog);
        Box.setWindowModality(Qt::ApplicationModal);
        Box.show();
        Box.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &Box);
        QTest::keyClick(&Box, Qt::Key_F3);
        QTest::keyClick(&Box, Qt::Key_F4);
        QVERIFY(P.DialogCalls.isEmpty());
        QVERIFY(!Form_Hex->isVisible());
    }

    void selectedMenuPicturesBlendWithTheHighlight()
    {
        QImage Pic(2, 1, QImage::Format_RGB32);
        Pic.setPixel(0, 0, qRgb(0xFF, 0x00, 0xFF));
        Pic.setPixel(1, 0, qRgb(100, 0, 200));
        QImage B = BlendWithHighlight(Pic, qRgb(0, 100, 50), true);
        QCOMPARE(B.pixel(0, 0) & 0xFFFFFF, 0x006432u);
        QCOMPARE(B.pixel(1, 0) & 0xFFFFFF, QRgb(qRgb(50, 50, 125)) & 0xFFFFFF);
        // Recent-file previews have no transparent colour: every pixel blends.
        QImage C = BlendWithHighlight(Pic, qRgb(1, 0, 1), false);
        QCOMPARE(C.pixel(0, 0) & 0xFFFFFF, QRgb(qRgb(128, 0, 128)) & 0xFFFFFF);
    }

    void exceptionsReadAsTheirMessageInQuotes()
    {
        QCOMPARE(ExceptionText(QStringLiteral("bad bits")), QStringLiteral("Exception: \"bad bits\"."));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
