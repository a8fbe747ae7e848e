// The window list, the toolbar buttons that show the tool windows, Esc, F4
// and the quit window.

#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>

#include "GuiTestSupport.h"
#include "core/Broadcast.h"
#include "gui/core/Form_Main.h"
#include "gui/core/Form_Quit.h"
#include "core/Options.h"
#include "gui/core/ProgramWindows.h"
#include "gui/core/ToolWindow.h"
#include "gui/core/WindowList.h"
#include "gui/tools/Form_Memory.h"
#include "gui/tools/Form_Palette.h"

class WindowListTest : public QObject
{
    Q_OBJECT
    tProgramFolder* Folder = nullptr;

    static QToolButton* Button(const char* Name) { return Form_Main->ToolButton(QString::fromLatin1(Name)); }
    static void KeyOnActive(Qt::Key Key, Qt::KeyboardModifiers Mods = Qt::NoModifier)
    {
        QWidget* Target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
        QVERIFY(Target);
        QTest::keyClick(Target, Key, Mods);
    }

  private slots:
    void init()
    {
        Options() = tOptions{};
        Folder = new tProgramFolder;
    }
    void cleanup()
    {
        delete Folder;
        Options() = tOptions{};
    }

    void everyToolWindowHasItsButtonAndSlot()
    {
        tRunningProgram P(*Folder);
        QVERIFY(P.Ok);
        const std::vector<tToolWindow*> W = ToolWindows();
        QCOMPARE(W.size(), size_t(13));
        const char* Names[] = {"Form_Cart",    "Form_Hex",     "Form_List",    "Form_Memory", "Form_Open",
                               "Form_Options", "Form_Palette", "Form_Preview", "Form_Quit",   "Form_Scene",
                               "Form_Search",  "Form_SMV",     "Form_SPC"};
        // The bus calls the windows in the order of their names, the main
        // window fourth.
        const int Slots[] = {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
        QCOMPARE(static_cast<void*>(ReceiverAt(WindowSlot(3))), static_cast<void*>(static_cast<tReceiver*>(Form_Main)));
        for (size_t i = 0; i < W.size(); ++i) {
            QCOMPARE(W[i]->objectName(), QString::fromLatin1(Names[i]));
            QCOMPARE(static_cast<void*>(ReceiverAt(WindowSlot(Slots[i]))),
                     static_cast<void*>(static_cast<tReceiver*>(W[i])));
            if (W[i] != Form_Search)
                QVERIFY2(Form_Main->ToolButton(W[i]->Hint()), qPrintable(W[i]->Hint()));
        }
        QVERIFY(Form_Search->Hint().isEmpty());
        QCOMPARE(static_cast<void*>(ReceiverAt(tBusSlot::WindowList)),
                 static_cast<void*>(static_cast<tReceiver*>(WindowList)));
    }

    void buttonPressedThreeTimesShowsClosesShows()
    {
        tRunningProgram P(*Folder);
        Button("Btn_Palette")->click();
        QVERIFY(Form_Palette->isVisible());
        QVERIFY(Button("Btn_Palette")->isChecked());
        QTRY_COMPARE(WindowList->Current(), Form_Palette);
        Button("Btn_Palette")->click();
        QVERIFY(!Form_Palette->isVisible());
        QVERIFY(!Button("Btn_Palette")->isChecked());
        QVERIFY(WindowList->Windows().empty());
        Button("Btn_Palette")->click();
        QVERIFY(Form_Palette->isVisible());
        QVERIFY(Button("Btn_Palette")->isChecked());

        // The button of an open window that is not the current one closes it too.
        Button("Btn_Memory")->click();
        QTRY_COMPARE(WindowList->Current(), Form_Memory);
        Button("Btn_Scene")->click();
        QTRY_COMPARE(WindowList->Current(), Form_Scene);
        Button("Btn_Memory")->click();
        QVERIFY(!Form_Memory->isVisible());
        QVERIFY(Form_Scene->isVisible());
        QCOMPARE(WindowList->Windows().size(), size_t(2));
    }

    void escClosesTheLastUsedWindowThenTheOtherThenAsksToQuit()
    {
        tRunningProgram P(*Folder);
        Button("Btn_Palette")->click();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(Form_Palette));
        Button("Btn_Memory")->click();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(Form_Memory));
        QTRY_COMPARE(WindowList->Current(), Form_Memory);

        KeyOnActive(Qt::Key_Escape);
        QVERIFY(!Form_Memory->isVisible());
        QVERIFY(Form_Palette->isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(Form_Palette));
        QVERIFY(!Button("Btn_Memory")->isChecked());

        KeyOnActive(Qt::Key_Escape);
        QVERIFY(!Form_Palette->isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(Form_Main));

        KeyOnActive(Qt::Key_Escape);
        QVERIFY(Form_Quit->isVisible());
        QVERIFY(Form_Main->isVisible());
        QVERIFY(!QuitConfirmed);
        QVERIFY(Form_Quit->Prompts().contains(Form_Quit->Prompt()));

        // Enter is "yes".
        QTest::keyClick(Form_Quit->NoButton(), Qt::Key_Return);
        QVERIFY(QuitConfirmed);
        QVERIFY(!Form_Main->isVisible());
        QVERIFY(!Form_Quit->isVisible());
    }

    void escWhileABoxIsActiveLeavesTheWindowsAlone()
    {
        tRunningProgram P(*Folder);
        Button("Btn_Hex")->click();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(Form_Hex));
        QWidget Box(nullptr, Qt::Dialog);
        Box.show();
        Box.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &Box);
        QVERIFY(!WindowList->CloseCurrent());
        QVERIFY(Form_Hex->isVisible());
        QCOMPARE(WindowList->Current(), Form_Hex);
    }

    void f4TogglesTheHexEditorAndAltF4AsksToQuit()
    {
        tRunningProgram P(*Folder);
        Form_Main->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(Form_Main));
        KeyOnActive(Qt::Key_F4);
        QVERIFY(Form_Hex->isVisible());
        QVERIFY(Button("Btn_Hex")->isChecked());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(Form_Hex));
        KeyOnActive(Qt::Key_F4);
        QVERIFY(!Form_Hex->isVisible());

        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(Form_Main));
        KeyOnActive(Qt::Key_F4, Qt::AltModifier);
        QVERIFY(Form_Quit->isVisible());
        QVERIFY(!QuitConfirmed);
        Form_Quit->NoButton()->click();
        QVERIFY(!Form_Quit->isVisible());
        QVERIFY(Form_Main->isVisible());
        QVERIFY(!QuitConfirmed);
    }

    void withoutTheQuitWindowClosingQuitsAtOnce()
    {
        tRunningProgram P(*Folder);
        Options().CBox_QuitShow = false;
        Form_Main->close();
        QVERIFY(QuitConfirmed);
        QVERIFY(!Form_Quit->isVisible());
        QVERIFY(!Form_Main->isVisible());
    }

    void theQuitWindowIsDraggedByItsPictureAndSpaceIsYes()
    {
        tRunningProgram P(*Folder);
        Button("Btn_Quit")->click();
        QWidget* Picture = Form_Quit->findChild<QWidget*>(QStringLiteral("Image_Quit"));
        QVERIFY(Picture);
        const QPoint Before = Form_Quit->pos();
        QTest::mousePress(Picture, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        QMouseEvent Move(QEvent::MouseMove, QPointF(40, 30), Picture->mapToGlobal(QPointF(40, 30)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Picture, &Move);
        QTest::mouseRelease(Picture, Qt::LeftButton, Qt::NoModifier, QPoint(40, 30));
        QCOMPARE(Form_Quit->pos(), Before + QPoint(30, 20));
        QVERIFY(!QuitConfirmed);
        QVERIFY(Form_Quit->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(Form_Quit->windowFlags() & Qt::WindowStaysOnTopHint);
        // Space is "yes".
        QTest::keyClick(Form_Quit->NoButton(), Qt::Key_Space);
        QVERIFY(QuitConfirmed);
        QVERIFY(!Form_Main->isVisible());
    }

    void activationBringsTheCurrentWindowBack()
    {
        tRunningProgram P(*Folder);
        Button("Btn_Scene")->click();
        QTRY_COMPARE(WindowList->Current(), Form_Scene);
        Form_Scene->hide();
        Form_Main->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(Form_Main));
        // A window hidden by other means leaves the list at once, so
        // activation does not bring it back.
        Broadcast(nullptr, Note::ApplActivated);
        QVERIFY(!Form_Scene->isVisible());
        QVERIFY(WindowList->Windows().empty());
        Button("Btn_Scene")->click();
        QTRY_COMPARE(WindowList->Current(), Form_Scene);
        Broadcast(nullptr, Note::ApplActivated);
        QVERIFY(Form_Scene->isVisible());
    }

    void theSixteenPromptsAreDistinctOneLiners()
    {
        const QStringList& P = tForm_Quit::Prompts();
        QCOMPARE(P.size(), 16);
        QCOMPARE(QSet<QString>(P.begin(), P.end()).size(), 16);
        for (const QString& S : P)
            QVERIFY(!S.contains(QLatin1Char('\n')));
    }
};

QTEST_MAIN(WindowListTest)
#include "WindowListTest.moc"
