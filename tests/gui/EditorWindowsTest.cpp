// The hex editor, its search window and the list editor on real savestates:
// edits reach the machine state and the picture, pending edits survive
// unrelated messages, restore brings back the loaded values, and an edited
// state saved as ZSNES differs from the unedited one in exactly that byte.

#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

#include "GuiTestSupport.h"
#include "app/Loader.h"
#include "gui/core/CoreBridge.h"
#include "core/Broadcast.h"
#include "core/Options.h"
#include "core/Picture32.h"
#include "core/Picture8.h"
#include "core/SNES.h"
#include "gui/core/Form_Main.h"
#include "gui/core/ProgramWindows.h"
#include "gui/tools/Form_Hex.h"
#include "gui/tools/Form_Options.h"
#include "gui/tools/Form_Search.h"
#include "render/PPU.h"
#include "render/Renderer.h"
#include "render/SceneSwitches.h"
#include "app/HexBlockData.h"
#include "cart/SNESCart.h"
#include "savestates/SSL.h"

class EditorWindowsTest : public QObject
{
    Q_OBJECT

    static tForm_Hex* Hex() { return static_cast<tForm_Hex*>(Form_Hex); }
    template <class T> static T* Child(QWidget* W, const char* Name)
    {
        return W->findChild<T*>(QString::fromLatin1(Name));
    }
    static std::vector<uint32_t> Frame()
    {
        tSceneSwitches S;
        S.Reload(*PPU, Options());
        tPicture8 P8;
        tPicture32 P32;
        Renderer->ComposeFrame(*PPU, S, Options(), P8, P32);
        return P32.Pixels;
    }
    static QByteArray Read(const QString& Name)
    {
        QFile F(Name);
        return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
    }

  private slots:
    void init()
    {
        Options() = tOptions{};
        Options().CBox_OpenCart = false;
        Options().CBox_MainConfirm = false;
    }
    void cleanup() { Options() = tOptions{}; }

    void hexEditsReachTheStateSurviveOtherMessagesAndSaveAsOneChangedByte()
    {
        REQUIRE_GUI_FIXTURE(Source, "zsnes/zsnes151_bgmap4bpp.zst");
        tProgramFolder Folder;
        tRunningProgram P(Folder);
        Form_Main->OpenSavestate(Source);
        Hex()->show();
        Hex()->SelectSource(1, 0); // WRAM
        QWidget* View = Child<QWidget>(Hex(), "Image");
        auto* Update = Child<QToolButton>(Hex(), "Btn_Update");

        // Pending: other windows' messages, the program losing and regaining
        // the focus and hiding the window keep the edit.
        const uint8_t Was = SNES->WRAM[0];
        QTest::keyClicks(View, QStringLiteral("A5"));
        for (tNote N : {Note::ApplDeactivated, Note::ApplActivated, Note::UpdateFileDialogs, Note::NewSPC,
                        Note::NewSSLPreview, Note::NewListItem})
            Broadcast(nullptr, N);
        Hex()->hide();
        Hex()->show();
        QVERIFY(Hex()->Model().Modified());
        QCOMPARE(Hex()->Model().Data()[0], uint8_t(0xA5));
        QCOMPARE(SNES->WRAM[0], Was);
        QTest::keyClick(View, Qt::Key_Return);
        QCOMPARE(SNES->WRAM[0], uint8_t(0xA5));

        // "update immediately": each typed digit is written at once.
        Update->setChecked(true);
        QTest::keyClick(View, Qt::Key_Home);
        QTest::keyClicks(View, QStringLiteral("3C"));
        QCOMPARE(SNES->WRAM[0], uint8_t(0x3C));
        QVERIFY(!Hex()->Model().Modified());

        // A CGRAM colour edit recolours the picture.
        const std::vector<uint32_t> Before = Frame();
        Hex()->SelectSource(1, 3);
        QCOMPARE(Hex()->Model().Size(), int64_t{512});
        QTest::keyClicks(View, QString::fromLatin1(SNES->CGRAM[0] == 0x7C1F ? "E003" : "1F7C"));
        QVERIFY(Frame() != Before);

        // Saved as ZSNES: against the unedited state, exactly the WRAM byte differs.
        Update->setChecked(false);
        Form_Main->OpenSavestate(Source);
        Form_Main->SaveItem(FormatZST)->setChecked(true);
        P.DialogAnswer = Folder.File(QStringLiteral("plain.zst"));
        Form_Main->ToolButton(QStringLiteral("Btn_StateSave"))->click();
        Hex()->SelectSource(1, 0);
        QTest::keyClick(View, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(View, Qt::Key_PageDown); // byte 256
        QTest::keyClicks(View, QString::fromLatin1(SNES->WRAM[256] == 0x77 ? "88" : "77"));
        QTest::keyClick(View, Qt::Key_Return);
        P.DialogAnswer = Folder.File(QStringLiteral("edited.zst"));
        Form_Main->ToolButton(QStringLiteral("Btn_StateSave"))->click();
        const QByteArray Plain = Read(Folder.File(QStringLiteral("plain.zst")));
        const QByteArray Edited = Read(Folder.File(QStringLiteral("edited.zst")));
        QVERIFY(!Plain.isEmpty());
        QCOMPARE(Edited.size(), Plain.size());
        std::vector<qsizetype> Diff;
        for (qsizetype I = 0; I < Plain.size(); ++I)
            if (Plain[I] != Edited[I])
                Diff.push_back(I);
        QCOMPARE(Diff.size(), size_t(1));
        QVERIFY(LoadSavestate(P.DialogAnswer.toStdString()));
        QCOMPARE(SNES->WRAM[256], uint8_t(Edited[Diff[0]]));
        QVERIFY(P.Recorder.Log.empty());
    }

    void everyBlockOfEveryFormatTakesAnEditAndWritesItBack()
    {
        REQUIRE_GUI_FIXTURE(S9XState, "snes9x/m0_helloworld.000");
        tProgramFolder Folder;
        tRunningProgram P(Folder);
        QWidget* View = Child<QWidget>(Hex(), "Image");
        auto EditLastByte = [&](const tHexBlock& B) {
            Hex()->SelectSource(B.Page, static_cast<int>(&B - HexPageBlocks(B.Page).data()));
            if (Hex()->Model().Size() == 0)
                return;
            QCOMPARE(&Hex()->CurrentBlock(), &B);
            QTest::keyClick(View, Qt::Key_End, Qt::ControlModifier);
            QTest::keyClicks(View, QStringLiteral("C"));
            QTest::keyClick(View, Qt::Key_Return);
            QVERIFY2(!Hex()->Model().Modified(), B.Caption);
            QCOMPARE(HexBlockData(B).back() & 0xF, 0xC);
        };
        for (const QString& State : {QString(), S9XState, Fixture("zsnes/zsnes142_hello.zst")}) {
            if (!State.isEmpty())
                Form_Main->OpenSavestate(State);
            for (const tHexBlock& B : HexBlocks())
                EditLastByte(B);
        }
        // A newer Snes9x's stream and each of its blocks, read into the state.
        Form_Main->OpenSavestate(Fixture("snes9x-modern/m0_helloworld.000"));
        for (const tHexBlock& B : HexPageBlocks(4))
            EditLastByte(B);
        QVERIFY(P.Recorder.Log.empty());
    }

    void theCaretFollowsAButtonHeldBelowTheViewAndUpInTheOffsetAddsAByte()
    {
        tProgramFolder Folder;
        tRunningProgram P(Folder);
        Hex()->show();
        Hex()->SelectSource(1, 0); // WRAM
        QWidget* View = Child<QWidget>(Hex(), "Image");
        const tHexModel& M = Hex()->Model();
        const QPoint Below(View->width() / 3, View->height() + 3 * View->height() / M.LineCount());
        QTest::mousePress(View, Qt::LeftButton, {}, QPoint(View->width() / 3, View->height() / 2));
        QTest::mouseMove(View, Below);
        QTRY_VERIFY(M.WindowStart() > 0);
        QTest::mouseRelease(View, Qt::LeftButton, {}, Below);
        QVERIFY(!View->findChild<QTimer*>(QStringLiteral("AutoScroll"))->isActive());
        QCOMPARE(M.CaretRow(), int64_t{M.LineCount() - 1});
        // Up in the offset field adds a byte, as the arrow beside it does.
        const int64_t Start = M.WindowStart();
        QTest::keyClick(Child<QLineEdit>(Hex(), "Edit_Offset"), Qt::Key_Up);
        QCOMPARE(M.WindowStart(), Start + 1);
    }

    void theOptionsWindowLoadsACodePageAndATooSmallOneChangesNothing()
    {
        tProgramFolder Folder;
        tRunningProgram P(Folder);
        QWidget* View = Child<QWidget>(Hex(), "Image");
        const QSize Builtin = View->size();
        QImage Small(128, 255, QImage::Format_RGB32), Big(256, 512, QImage::Format_RGB32);
        Small.fill(Qt::white);
        Big.fill(Qt::white);
        Small.save(Folder.File(QStringLiteral("small.png")));
        Big.save(Folder.File(QStringLiteral("big.bmp")));
        auto* Button = Child<QPushButton>(Form_Options, "Btn_HexLoadCP");
        QVERIFY(Button->isEnabled());
        P.DialogAnswer = Folder.File(QStringLiteral("small.png"));
        Button->click();
        QCOMPARE(P.Recorder.Log.size(), size_t(1));
        QVERIFY(P.Recorder.Log[0].Text.startsWith(QStringLiteral("The codepage bitmap size must be at least 128x256")));
        QCOMPARE(View->size(), Builtin);
        P.DialogAnswer = Folder.File(QStringLiteral("big.bmp"));
        Button->click();
        QCOMPARE(P.Recorder.Log.size(), size_t(1));
        QVERIFY(View->width() > Builtin.width() && View->height() > Builtin.height()); // 16 x 32 cells
    }

    void searchFindsA16BitValueAndWraps()
    {
        REQUIRE_GUI_FIXTURE(Source, "zsnes/zsnes151_bgmap4bpp.zst");
        tProgramFolder Folder;
        tRunningProgram P(Folder);
        Form_Main->OpenSavestate(Source);
        Hex()->SelectSource(1, 0);
        SNES->WRAM[0x1001] = 0x34;
        SNES->WRAM[0x1002] = 0x12;
        Broadcast(nullptr, Note::NewSNES);
        std::vector<int64_t> Matches;
        for (size_t I = 0; I + 1 < SNES->WRAM.size(); ++I)
            if (SNES->WRAM[I] == 0x34 && SNES->WRAM[I + 1] == 0x12)
                Matches.push_back(static_cast<int64_t>(I));
        auto* S = static_cast<tForm_Search*>(Form_Search);
        QTest::keyClicks(Child<QLineEdit>(S, "Edit_Hex"), QStringLiteral("1234"));
        for (int64_t M : Matches) {
            S->FindNext();
            QString H = QString::number(M, 16).toUpper();
            if (H.size() % 2)
                H.prepend(QLatin1Char('0'));
            QCOMPARE(S->Status(), QStringLiteral("last match: %1 (%2h)").arg(M).arg(H));
            QCOMPARE(Hex()->Model().WindowStart(), std::min(M, Hex()->Model().MaxWindowStart()));
        }
        S->FindNext();
        QCOMPARE(S->Status(), QStringLiteral("no more matches"));
        S->FindNext();
        QVERIFY(S->Status().startsWith(QStringLiteral("last match: %1 ").arg(Matches.front())));
        // Another block on view: the search starts from its top.
        S->FindNext();
        SNES->VRAM[0x20] = 0x34;
        SNES->VRAM[0x21] = 0x12;
        Hex()->SelectSource(1, 1);
        const uint8_t Wanted[] = {0x34, 0x12};
        const auto First = std::search(SNES->VRAM.begin(), SNES->VRAM.end(), Wanted, Wanted + 2) - SNES->VRAM.begin();
        S->FindNext();
        QVERIFY(S->Status().startsWith(QStringLiteral("last match: %1 ").arg(First)));

        // An SRAM edit reaches the savestate images that carry the SRAM.
        Cart->SRAM.assign(64, 0);
        Broadcast(nullptr, Note::NewCart);
        Hex()->SelectSource(0, 1);
        QTest::keyClicks(Child<QWidget>(Hex(), "Image"), QStringLiteral("7E"));
        QTest::keyClick(Child<QWidget>(Hex(), "Image"), Qt::Key_Return);
        QCOMPARE(Cart->SRAM[0], uint8_t(0x7E));
        QCOMPARE(SSL->SRAMStream.at(0), uint8_t(0x7E));
    }

    void listEditorChangesARegisterTheSceneFollowsAndRestoreUndoes()
    {
        REQUIRE_GUI_FIXTURE(Source, "zsnes/zsnes151_bgmap4bpp.zst");
        tProgramFolder Folder;
        tRunningProgram P(Folder);
        Form_Main->OpenSavestate(Source);
        Form_Main->Pages()->setCurrentIndex(2);
        QTableWidget* L = Form_Main->CurrentList();
        int Row = -1;
        for (int R = 0; R < L->rowCount() && Row < 0; ++R)
            if (L->item(R, 0) && L->item(R, 0)->text().contains(QStringLiteral("2105")))
                Row = R;
        QVERIFY(Row >= 0);
        L->setCurrentCell(Row, 0);
        const uint8_t Loaded = SNES->Regs[0x2105];
        const std::vector<uint32_t> Before = Frame();
        auto* Dec = Child<QLineEdit>(Form_List, "Edit_Dec");
        QVERIFY(Dec->isEnabled());
        const int Mode = Loaded & 7;
        const int NewMode = Mode == 0 ? 2 : 0;
        Dec->setFocus();
        Dec->selectAll();
        const auto Wanted = static_cast<uint8_t>((Loaded & ~7) | NewMode);
        QTest::keyClicks(Dec, QString::number(Wanted));
        QTest::keyClick(Dec, Qt::Key_Return);
        QCOMPARE(SNES->Regs[0x2105], Wanted);
        QVERIFY(Frame() != Before);
        // Typing "256" takes "2" and "25"; the last digit leaves the 8-bit range.
        Dec->selectAll();
        QTest::keyClicks(Dec, QStringLiteral("256"));
        QTest::keyClick(Dec, Qt::Key_Return);
        QCOMPARE(SNES->Regs[0x2105], uint8_t(25));

        auto* Restore = Child<QToolButton>(Form_List, "Btn_RestoreList");
        QVERIFY(Restore->isEnabled());
        Restore->click();
        QCOMPARE(SNES->Regs[0x2105], Loaded);
        QVERIFY(Frame() == Before);

        // A newer Snes9x's field: into the stream, the state read from it again.
        Form_Main->OpenSavestate(Fixture("snes9x-modern/m7_perspective_hdma.000"));
        Form_Main->Pages()->setCurrentIndex(5);
        L = Form_Main->CurrentList();
        for (int R = 0; R < L->rowCount(); ++R)
            if (L->item(R, 6) && L->item(R, 6)->text() == QStringLiteral("REG.A.W"))
                L->setCurrentCell(R, 0);
        const uint16_t A = SNES->CPU_A;
        Dec->selectAll();
        QTest::keyClicks(Dec, QString::number(A ^ 0x1234));
        QTest::keyClick(Dec, Qt::Key_Return);
        QCOMPARE(SNES->CPU_A, uint16_t(A ^ 0x1234));
        Restore->click();
        QCOMPARE(SNES->CPU_A, A);
        QVERIFY(P.Recorder.Log.empty());
    }
};

QTEST_MAIN(EditorWindowsTest)
#include "EditorWindowsTest.moc"
