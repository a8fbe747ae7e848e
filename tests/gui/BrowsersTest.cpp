// The savestate and cartridge browsers on real folders: browsing into the
// fixtures, slots with previews, loading by Enter, going up, favourites kept
// over a restart, a slot deleted under the list, and a generated HiROM
// cartridge on its tab.

#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QTabBar>

#include "GuiTestSupport.h"
#include "app/Loader.h"
#include "cart/SNESCart.h"
#include "core/Broadcast.h"
#include "core/Options.h"
#include "gui/cart/Form_Cart.h"
#include "gui/core/Form_Main.h"
#include "gui/core/Form_Quit.h"
#include "gui/core/ProgramWindows.h"
#include "gui/core/Settings.h"
#include "gui/savestates/Form_Open.h"

namespace
{
QString Selected(QListView* L)
{
    return L->currentIndex().data().toString();
}

void Select(QListView* L, const QString& Text)
{
    const QModelIndexList M = L->model()->match(L->model()->index(0, 0), Qt::DisplayRole, Text, 1, Qt::MatchExactly);
    QVERIFY2(!M.isEmpty(), qPrintable(Text));
    L->setCurrentIndex(M.first());
}
} // namespace

class BrowsersTest : public QObject
{
    Q_OBJECT

  private slots:
    void savestateBrowser()
    {
        REQUIRE_GUI_FIXTURE(Raw, "zsnes/zsnes142_hello.zst");
        const QString State = QDir::cleanPath(Raw);
        const QString Root = QFileInfo(QFileInfo(State).path()).path() + QLatin1Char('/');
        tProgramFolder Folder;
        QTemporaryDir Scratch;
        QFile::copy(State, Scratch.filePath(QStringLiteral("gone.zst")));
        {
            tRunningProgram P(Folder);
            QVERIFY(P.Ok);
            Options().CBox_OpenCart = false;
            auto* Open = static_cast<tForm_Open*>(Form_Open);
            Open->show();
            Open->ChangeDir(Root);
            QTRY_VERIFY(!Open->Busy());
            Select(Open->LV_Dir, QStringLiteral("zsnes"));
            QTest::keyClick(Open->LV_Dir, Qt::Key_Return);
            QTRY_VERIFY(!Open->Busy() && Open->CurrentDir() == Root + QStringLiteral("zsnes/"));
            // "update file dialogs" keeps the selected name where it was on the screen.
            Open->LV_Cart->setCurrentIndex(Open->LV_Cart->model()->index(6, 0));
            Open->LV_Cart->scrollTo(Open->LV_Cart->model()->index(4, 0), QAbstractItemView::PositionAtTop);
            Broadcast(nullptr, Note::UpdateFileDialogs);
            QTRY_VERIFY(!Open->Busy());
            QCOMPARE(Open->LV_Cart->currentIndex().row(), 6);
            QCOMPARE(Open->LV_Cart->indexAt(QPoint(2, 2)).row(), 4);
            Select(Open->LV_Cart, QStringLiteral("zsnes142_hello"));
            QCOMPARE(Open->SlotPaths().first(), State); // "0 ZST" comes first
            QTRY_VERIFY(Open->SlotHasPicture(0));
            QTest::keyClick(Open->LV_Slot, Qt::Key_Return);
            QCOMPARE(QString::fromStdString(StateFileName), State);
            QVERIFY(!Open->isVisible()); // closed after loading

            // Backspace goes up and selects the folder just left.
            Open->show();
            QTest::keyClick(Open->LV_Slot, Qt::Key_Backspace);
            QTRY_VERIFY(!Open->Busy() && Open->CurrentDir() == Root);
            QCOMPARE(Selected(Open->LV_Dir), QStringLiteral("zsnes"));

            // A slot deleted after listing: the load names the file and
            // why, the loaded state stays and the window stays open.
            Open->ChangeDir(Scratch.path());
            QTRY_VERIFY(!Open->Busy() && Open->SlotPaths().size() == 1);
            QFile::remove(Open->SlotPaths().first());
            QVERIFY(!Open->LoadSlot());
            QVERIFY(Open->isVisible());
            QCOMPARE(QString::fromStdString(StateFileName), State);
            QVERIFY(P.Recorder.Log.back().Text.contains(Scratch.filePath(QStringLiteral("gone.zst"))));

            // Favourites: Delete with none does nothing; added ones stay.
            QTest::keyClick(Open->LV_Fav, Qt::Key_Delete);
            Open->ChangeDir(Root);
            QTRY_VERIFY(!Open->Busy());
            Open->AddFavourite();
            QVERIFY(!Open->Btn_Add->isEnabled());
            Form_Main->close();
            Form_Quit->YesButton()->click();
        }
        tRunningProgram P(Folder);
        auto* Open = static_cast<tForm_Open*>(Form_Open);
        QCOMPARE(Open->Favourites(), QStringList{Root});
        QCOMPARE(Open->CurrentDir(), Root);
        // Damaged stored places are clamped, never used as they stand.
        tSettings S(QStringLiteral("Form_Open"));
        S.Write(QStringLiteral("LV_Status.Distances"), QStringList{QStringLiteral("-9"), QStringLiteral("99999999")});
        S.Write(QStringLiteral("LV_Status.ItemCaptions"), QStringList{QStringLiteral("zsnes")});
        Open->LoadConfig();
        QTRY_COMPARE(Selected(Open->LV_Dir), QStringLiteral("zsnes"));
    }

    void cartridgeBrowserShowsAHiROMHeader()
    {
        tProgramFolder Folder;
        // 64 KiB with a matching checksum pair at $FFDC only.
        QByteArray ROM(0x10000, '\0');
        ROM.replace(0xFFC0, 6, "HIGAME");
        ROM[0xFFDC] = char(0x34);
        ROM[0xFFDD] = char(0x12);
        ROM[0xFFDE] = char(0xCB);
        ROM[0xFFDF] = char(0xED);
        ROM[0xFFD7] = 6;
        Folder.MakeFile(QStringLiteral("hi.SFC"), ROM);
        Folder.MakeFile(QStringLiteral("bad.smc"), QByteArray());
        tRunningProgram P(Folder);
        auto* Form = static_cast<tForm_Cart*>(Form_Cart);
        Form->show();
        Form->ChangeDir(Folder.Path());
        QTRY_VERIFY(!Form->Busy());
        QCOMPARE(Form->CartNames(), (QStringList{QStringLiteral("bad.smc"), QStringLiteral("hi.SFC")}));
        QVERIFY(!Form->LoadSelected()); // the empty file: the window stays
        QVERIFY(Form->isVisible());
        Select(Form->LV_Cart, QStringLiteral("hi"));
        QVERIFY(Form->LoadSelected());
        QVERIFY(!Form->isVisible());
        QCOMPARE(Form->TC_Mode->currentIndex(), 1);
        QVERIFY(Cart->HiROM);
        QCOMPARE(Form->findChild<QLineEdit*>(QStringLiteral("Edit_RomName"))->text().trimmed(),
                 QStringLiteral("HIGAME"));
        QCOMPARE(Form->findChild<QLineEdit*>(QStringLiteral("Edit_CRC"))->text(), QStringLiteral("EDCBh"));
        // Too small for extended HiROM: the tab springs back.
        Form->TC_Mode->setCurrentIndex(2);
        QCOMPARE(Form->TC_Mode->currentIndex(), 1);
        auto* Size = Form->findChild<QComboBox*>(QStringLiteral("ComboBox_RomSize"));
        QCOMPARE(Size->currentIndex(), 6);
        Size->setCurrentIndex(2);
        emit Size->activated(2);
        QCOMPARE(Size->currentIndex(), 6);
    }
};

QTEST_MAIN(BrowsersTest)
#include "BrowsersTest.moc"
