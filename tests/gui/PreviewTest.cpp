// The preview window on a real ZSNES state: the picture it shows, its zoom
// and saving by the middle button.

#include <QMouseEvent>

#include "GuiTestSupport.h"
#include "core/Broadcast.h"
#include "core/Options.h"
#include "core/PictureFiles.h"
#include "gui/core/Form_Main.h"
#include "gui/core/ProgramWindows.h"
#include "gui/core/Settings.h"
#include "gui/savestates/Form_Preview.h"
#include "savestates/SSL.h"
#include "savestates/ZST.h"

class PreviewTest : public QObject
{
    Q_OBJECT

  private slots:
    void showsZoomsAndSavesAZSNESPreview()
    {
        REQUIRE_GUI_FIXTURE(State, "zsnes/zsnes151_hello.zst");
        tProgramFolder Folder;
        tRunningProgram P(Folder);
        Options().CBox_OpenCart = false;
        auto* Preview = static_cast<tForm_Preview*>(Form_Preview);
        QCOMPARE(Preview->windowTitle(), QStringLiteral("preview (2:1)"));
        Form_Main->OpenSavestate(State);
        std::array<uint16_t, 64 * 56> Stored{};
        QVERIFY(tZST::LoadPreview(State.toStdString(), Stored));
        const tPicture32& Shown = Preview->Picture();
        QCOMPARE(Shown.Width, 64);
        for (size_t i = 0; i < Stored.size(); ++i)
            QCOMPARE(Shown.Pixels[i] >> 19, uint32_t(Stored[i] >> 11));

        // Zoom 1 to 3 and down to 0; beyond either end nothing changes.
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(Preview->Image(), Qt::LeftButton);
        QCOMPARE(Preview->Zoom(), 3);
        QCOMPARE(Preview->Image()->size(), QSize(512, 448));
        QCOMPARE(Preview->windowTitle(), QStringLiteral("preview (8:1)"));
        for (int i = 0; i < 4; ++i)
            QTest::mouseClick(Preview->Image(), Qt::RightButton);
        QCOMPARE(Preview->Zoom(), 0);
        QCOMPARE(Preview->windowTitle(), QStringLiteral("preview (1:1)"));

        // Middle button: a cancelled dialog writes nothing; ".PNG" is PNG.
        QTest::mouseClick(Preview->Image(), Qt::MiddleButton);
        QCOMPARE(P.DialogCalls.size(), qsizetype(1));
        QCOMPARE(QDir(Folder.Path()).entryList(QDir::Files).size(), qsizetype(1)); // SNES.txt
        P.DialogAnswer = Folder.File(QStringLiteral("shot.PNG"));
        QTest::mouseClick(Preview->Image(), Qt::MiddleButton);
        QFile F(P.DialogAnswer);
        QVERIFY(F.open(QIODevice::ReadOnly));
        QVERIFY(F.read(4) == QByteArray("\x89PNG"));

        // A zoom outside 0..3 in the configuration falls back to 1.
        tSettings S(QStringLiteral("Form_Preview"));
        S.Write(QStringLiteral("Image.Tag"), 7);
        Preview->LoadConfig();
        QCOMPARE(Preview->Zoom(), 1);
        QVERIFY(P.Recorder.Log.empty());

        // A Super Sleuth state without a thumbnail clears the picture; a
        // click waiting in the queue does not run in the middle of it.
        SSL->PreviewBitmap = {};
        Preview->show();
        QCoreApplication::postEvent(Preview->Image(),
                                    new QMouseEvent(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1),
                                                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        Broadcast(nullptr, Note::NewSSLPreview);
        QCOMPARE(Preview->Zoom(), 1);
        QVERIFY(std::all_of(Shown.Pixels.begin(), Shown.Pixels.end(), [](uint32_t V) { return V == 0; }));
        QCoreApplication::processEvents();
        QCOMPARE(Preview->Zoom(), 2);
    }
};

QTEST_MAIN(PreviewTest)
#include "PreviewTest.moc"
