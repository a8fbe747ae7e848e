// The memory viewer and the palette viewer as a pair, on a real savestate:
// tiles handed over by the scene viewer, colours picked and edited, palette
// files saved and opened in every format, pictures saved at the view's depth.

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QToolButton>

#include "GuiTestSupport.h"
#include "cart/SNESCart.h"
#include "core/Broadcast.h"
#include "core/Options.h"
#include "core/Picture32.h"
#include "core/SNES.h"
#include "gui/core/Form_Main.h"
#include "gui/core/ProgramWindows.h"
#include "gui/tools/Form_Memory.h"
#include "gui/tools/Form_Options.h"
#include "gui/tools/Form_Palette.h"
#include "render/PPU.h"
#include "render/Renderer.h"
#include "render/SceneSwitches.h"

class MemoryPaletteTest : public QObject
{
    Q_OBJECT

  private slots:
    void init() { Options() = tOptions{}; }
    void cleanup()
    {
        Options() = tOptions{};
        SetColourDialogRunner({});
    }

    void tilesColoursEditsAndPictures()
    {
        REQUIRE_GUI_FIXTURE(State, "snes9x/m1_layers.000");
        Options().CBox_OpenCart = false;
        tProgramFolder Folder;
        tRunningProgram P(Folder);
        Form_Main->OpenSavestate(State);
        tForm_Memory* M = Form_Memory;
        tForm_Palette* Pal = Form_Palette;

        // The scene viewer's hand-over: VRAM, the decoder, a 16-bit offset.
        M->ShowTiles(tMemDecoder::Bpp2, 0x12340, 3);
        QVERIFY(M->Model().Source == tMemSource::VRAM);
        QCOMPARE(M->Model().Offset, int64_t(0x2340));
        QVERIFY(M->DecoderButton(tMemDecoder::Bpp2)->isChecked());
        QCOMPARE(M->OffsetEdit()->text(), QStringLiteral("2340"));
        // The options window's box changes the digits at once.
        Form_Options->findChild<QCheckBox*>(QStringLiteral("CBox_MemoryHex"))->click();
        QCOMPARE(M->OffsetEdit()->text(), QStringLiteral("09024"));
        Form_Options->findChild<QCheckBox*>(QStringLiteral("CBox_MemoryHex"))->click();

        // A click on cell 37 selects it; the memory viewer shows its group.
        Pal->show();
        QTest::mouseClick(Pal->Grid(), Qt::LeftButton, {}, Pal->GridCellCentre(37));
        QCOMPARE(Pal->SelectedIndex(), 37);
        QCOMPARE(M->Picture().ColourTable[0], PPU->Palette[36]);
        QCOMPARE(Pal->Field("Edit_Group")->text(), QStringLiteral("036..039"));

        // The colour dialog writes CGRAM; everyone sees it, the offset stays.
        SetColourDialogRunner([](QColor, const std::array<QColor, 16>&) { return QColor(255, 0, 8); });
        QTest::mouseDClick(Pal->Grid(), Qt::LeftButton, {}, Pal->GridCellCentre(37));
        QCOMPARE(SNES->CGRAM[37], uint16_t(0x041F));
        QCOMPARE(PPU->Palette[37], 0xF80008u);
        QCOMPARE(M->Picture().ColourTable[1], 0xF80008u);
        QCOMPARE(Pal->Field("Edit_HTML")->text(), QStringLiteral("#F80008"));
        QCOMPARE(M->Model().Offset, int64_t(0x2340));

        // The composed screen takes an edited colour that it shows.
        tSceneSwitches Sw;
        Sw.Reload(*PPU, Options());
        tPicture8 Screen8;
        tPicture32 Screen;
        Renderer->ComposeFrame(*PPU, Sw, Options(), Screen8, Screen);
        Pal->Select(Screen8.At(100, 100));
        const uint32_t Shown = Screen.At(100, 100);
        Pal->EditColour();
        Renderer->ComposeFrame(*PPU, Sw, Options(), Screen8, Screen);
        QVERIFY(Screen.At(100, 100) != Shown);
        QCOMPARE(M->Picture().ColourTable[Pal->SelectedIndex() & 3], 0xF80008u);

        // Invert twice restores every entry.
        const auto Before = SNES->CGRAM;
        Pal->InvertButton()->click();
        QCOMPARE(SNES->CGRAM[0], uint16_t(Before[0] ^ 0x7FFF));
        Pal->InvertButton()->click();
        QVERIFY(SNES->CGRAM == Before);

        // Every format saves and opens back to the same colours; a cancelled
        // dialog and a short file change nothing.
        const char* Names[] = {"a.pal", "b.pal", "c.pal", "d.pal", "e.gpl", "f.act"};
        for (int F = 0; F < 6; ++F) {
            Options().PaletteFormat = F % 4;
            P.DialogAnswer = Folder.File(QString::fromLatin1(Names[F]));
            Pal->SaveButton()->click();
            SNES->InvertPalette();
            Pal->OpenButton()->click();
            QVERIFY2(SNES->CGRAM == Before, Names[F]);
        }
        P.DialogAnswer.clear();
        Pal->OpenButton()->click();
        Pal->SaveButton()->click();
        QVERIFY(P.Recorder.Log.empty());
        P.DialogAnswer = Folder.MakeFile(QStringLiteral("short.act"), QByteArray(700, '\x10'));
        Pal->OpenButton()->click();
        QVERIFY(SNES->CGRAM == Before);
        QCOMPARE(P.Recorder.Log.size(), size_t(1));
        QVERIFY(P.Recorder.Log[0].Text.contains(QStringLiteral("700 bytes")));

        // Saved pictures take the view's depth; a failed write names the file.
        M->GUI_ClickDecoder(tMemDecoder::Bpp3);
        P.DialogAnswer = Folder.File(QStringLiteral("tiles.bmp"));
        M->SaveButton()->click();
        QFile Bmp(P.DialogAnswer);
        QVERIFY(Bmp.open(QIODevice::ReadOnly));
        const QByteArray B = Bmp.readAll();
        QCOMPARE(int(B[28]), 4);
        QCOMPARE(int(B[46]), 8);
        P.DialogAnswer = Folder.File(QStringLiteral("none/tiles.png"));
        M->SaveButton()->click();
        QVERIFY(P.Recorder.Log.back().Text.contains(QStringLiteral("none/tiles.png")));

        // Right moves forward; zoom stops at 8:1; a load resets the offset.
        M->GUI_ClickDecoder(tMemDecoder::Bpp4);
        const int64_t At = M->Model().Offset;
        QTest::keyClick(M->findChild<QScrollArea*>(QStringLiteral("ScrollBox")), Qt::Key_Right);
        QCOMPARE(M->Model().Offset, At + int64_t(M->Model().WindowBytes));
        QTest::keyClick(M->findChild<QScrollArea*>(QStringLiteral("ScrollBox")), Qt::Key_Left);
        QCOMPARE(M->Model().Offset, At);
        for (int i = 0; i < 4; ++i)
            M->ZoomAt(0, 0, 1);
        QCOMPARE(M->windowTitle(), QStringLiteral("MemViewer (8:1)"));
        Form_Main->OpenSavestate(State);
        QCOMPARE(M->Model().Offset, int64_t(0));

        // With invert down a newly loaded palette shows inverted too.
        Pal->InvertButton()->click();
        Form_Main->OpenSavestate(State);
        const auto InvertedLoad = SNES->CGRAM;
        Pal->InvertButton()->click();
        Form_Main->OpenSavestate(State);
        for (int i = 0; i < 256; ++i)
            QCOMPARE(InvertedLoad[size_t(i)], uint16_t(SNES->CGRAM[size_t(i)] ^ 0x7FFF));

        // A 4 MiB cartridge comes in as the source; edits still recolour it.
        Cart->ROM.assign(size_t(4) << 20, 0);
        Broadcast(nullptr, Note::NewCart);
        QVERIFY(M->SourceButton(tMemSource::ROM)->isChecked());
        const size_t Base = size_t(Pal->SelectedIndex() & 0xF0);
        const uint32_t Was = M->Picture().ColourTable[0];
        Pal->InvertButton()->click();
        QCOMPARE(M->Picture().ColourTable[0], PPU->Palette[Base]);
        QVERIFY(M->Picture().ColourTable[0] != Was);
    }
};

QTEST_MAIN(MemoryPaletteTest)
#include "MemoryPaletteTest.moc"
