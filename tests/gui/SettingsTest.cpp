// Settings written to "Orlik.ini" at exit come back on the next start.

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

#include "GuiTestSupport.h"
#include "app/Loader.h"
#include "core/Broadcast.h"
#include "core/INI.h"
#include "gui/core/Form_Help.h"
#include "gui/core/Form_Main.h"
#include "gui/core/Form_Quit.h"
#include "core/Options.h"
#include "gui/core/ProgramWindows.h"
#include "gui/core/RecentMenu.h"
#include "core/SNES.h"
#include "gui/core/Settings.h"
#include "gui/core/ToolWindow.h"
#include "gui/core/WindowList.h"
#include "gui/core/WindowTable.h"
#include "gui/tools/Form_Memory.h"
#include "gui/tools/Form_Options.h"
#include "gui/tools/Form_Palette.h"

namespace
{
// A window of the coming kind: it handles a message of its own and keeps one
// setting with bounds.
class tZoomWindow final : public tToolWindow
{
  public:
    using tToolWindow::tToolWindow;
    int Zoom = 1;
    int NewSNESSeen = 0;

  protected:
    void OnNotify(const void*, tNote Msg) override
    {
        if (Msg == Note::NewSNES)
            ++NewSNESSeen;
    }
    void LoadSettings(const tSettings& Section) override { Section.Read(QStringLiteral("Zoom"), Zoom, -3, 3); }
    void SaveSettings(tSettings& Section) override { Section.Write(QStringLiteral("Zoom"), Zoom); }
};

const tWindowRow ZoomRow{"Form_Zoom", "zoom", "", "", tButtonGroup::None, 0, 10, "", {}};
} // namespace

class SettingsTest : public QObject
{
    Q_OBJECT

    static QString ReadIni(const tProgramFolder& F)
    {
        QFile In(F.File(QStringLiteral("Orlik.ini")));
        In.open(QIODevice::ReadOnly);
        return QString::fromUtf8(In.readAll());
    }

  private slots:
    void init() { Options() = tOptions{}; }
    void cleanup()
    {
        Options() = tOptions{};
        StateFileName.clear();
    }

    void settingsSurviveARestart()
    {
        tProgramFolder Folder;
        QStringList States;
        {
            tRunningProgram P(Folder);
            QVERIFY(P.Ok);
            for (int i = 1; i <= 3; ++i) {
                States << Folder.MakeFile(QStringLiteral("s%1.zs%1").arg(i));
                StateFileName = States.back().toStdString();
                StateFileTitle = "s";
                StateSlot = "1";
                StateFormat = FormatS9X;
                StateKind = KindSavestate;
                Broadcast(nullptr, Note::NewSavestate);
            }
            Form_Options->findChild<QCheckBox*>(QStringLiteral("CBox_MainConfirm"))->setChecked(false);
            Form_Options->findChild<QCheckBox*>(QStringLiteral("CBox_SceneBlur"))->setChecked(false);
            Options().Panel_MainBG = 0x102030;
            Options().PaletteFormat = 2;
            Options().UD_HexSpacing = 1;
            Form_Main->Pages()->setCurrentIndex(4);
            Form_Main->List(0)->setColumnWidth(7, 123);
            Form_Main->ToolButton(QStringLiteral("Btn_Scene"))->click();
            QTRY_COMPARE(WindowList->Current(), Form_Scene);
            Form_Main->ToolButton(QStringLiteral("Btn_Memory"))->click();
            QTRY_COMPARE(WindowList->Current(), Form_Memory);
            Form_Main->close();
            QVERIFY(Form_Quit->isVisible());
            Form_Quit->YesButton()->click();
            QVERIFY(QuitConfirmed);
        }
        const QString Ini = ReadIni(Folder);
        QVERIFY(Ini.contains(QStringLiteral("[Form_Main]\n")));
        QVERIFY(Ini.contains(QStringLiteral("CBox_MainConfirm.Checked=False\n")));
        QVERIFY(Ini.contains(QStringLiteral("Panel_MainBG.Color=00102030\n")));
        QVERIFY(Ini.contains(QStringLiteral("WindowList=Form_Memory,Form_Scene\n")));
        QVERIFY(Ini.contains(QStringLiteral("Menu_SaveS9x.Checked=True\n")));
        // Options live in the section of the window that uses them.
        const qsizetype Scene = Ini.indexOf(QStringLiteral("[Form_Scene]"));
        QVERIFY(Scene >= 0);
        QVERIFY(Ini.indexOf(QStringLiteral("CBox_SceneBlur.Checked=False"), Scene) > Scene);
        QVERIFY(Ini.indexOf(QStringLiteral("[Form_Main]")) < Ini.indexOf(QStringLiteral("[Form_Scene]")));

        Options() = tOptions{};
        StateFileName.clear();
        tRunningProgram P(Folder);
        QVERIFY(!Form_Main->findChild<tForm_Help*>()); // not a first run: no help
        QVERIFY(!Options().CBox_MainConfirm);
        QVERIFY(!Options().CBox_SceneBlur);
        QVERIFY(Options().CBox_SceneBlurSoft);
        QCOMPARE(Options().Panel_MainBG, uint32_t(0x102030));
        QCOMPARE(Options().PaletteFormat, 2);
        QCOMPARE(Options().UD_HexSpacing, 1);
        QVERIFY(!Form_Options->findChild<QCheckBox*>(QStringLiteral("CBox_MainConfirm"))->isChecked());
        QCOMPARE(Form_Main->List(0)->palette().color(QPalette::Base), QColor(0x10, 0x20, 0x30));
        QCOMPARE(Form_Main->Pages()->currentIndex(), 4);
        QCOMPARE(Form_Main->List(0)->columnWidth(7), 123);
        QVERIFY(Form_Main->SaveItem(FormatS9X)->isChecked());

        QStringList Newest = States;
        std::reverse(Newest.begin(), Newest.end());
        QCOMPARE(Form_Main->RecentSNES()->FileNames(), Newest);
        QVERIFY(!Form_Main->RecentSNES()->FileItems()[0]->isChecked());
        QCOMPARE(QString::fromStdString(StateFileName), States.back());
        QVERIFY(Form_Main->ToolButton(QStringLiteral("Btn_StateReload"))->isEnabled());

        // The windows come back, the one used last in front.
        QVERIFY(Form_Scene->isVisible());
        QVERIFY(Form_Memory->isVisible());
        QTRY_COMPARE(WindowList->Current(), Form_Memory);
        QVERIFY(Form_Main->ToolButton(QStringLiteral("Btn_Memory"))->isChecked());
    }

    void aDamagedFileKeepsTheDefaults()
    {
        tProgramFolder Folder;
        QFile F(Folder.File(QStringLiteral("Orlik.ini")));
        F.open(QIODevice::WriteOnly);
        // Garbled numbers, colours and flags are the INI tests' business; these are
        // values the windows must bound themselves.
        F.write("[Form_Main]\nSize=99999999999,-5\nPageControl.ActivePageIndex=77\n"
                "[Form_Hex]\nUD_HexSpacing.Position=900\n");
        F.close();
        tRunningProgram P(Folder);
        QVERIFY(P.Ok);
        QCOMPARE(Options().UD_HexSpacing, 4);
        QVERIFY(Form_Main->Pages()->currentIndex() >= 0 && Form_Main->Pages()->currentIndex() < 7);
    }

    void aWindowKeepsItsSettingsWhateverElseItHandles()
    {
        tINI Ini;
        INI = &Ini;
        {
            tZoomWindow W(ZoomRow, nullptr);
            W.Zoom = -2;
            W.setGeometry(40, 50, 300, 200);
            Broadcast(nullptr, Note::NewSNES);
            Broadcast(nullptr, Note::SaveConfig);
            QCOMPARE(W.NewSNESSeen, 1);
        }
        const QString Text = QString::fromStdString(Ini.SaveToText());
        QVERIFY2(Text.startsWith(QStringLiteral("[Form_Zoom]\nPos=40,50\nSize=300,200\nFont.Name=")), qPrintable(Text));
        QVERIFY(Text.endsWith(QStringLiteral("\nZoom=-2\n")));

        // What a hand-edited file puts out of bounds keeps the window's own
        // value; the edges are taken (garbled numbers: the INI tests).
        for (auto [Line, Want] : {std::pair{"Zoom=-3", -3}, {"Zoom=3", 3}, {"Zoom=4", 1}, {"Zoom=-4", 1}}) {
            Ini.LoadFromText(std::string("[Form_Zoom]\nPos=1\nSize=20000,300\nFont.Size=900\n") + Line + "\n");
            tZoomWindow W(ZoomRow, nullptr);
            W.resize(123, 45);
            const int FontSize = W.font().pointSize();
            Broadcast(nullptr, Note::LoadConfig);
            QCOMPARE(W.Zoom, Want);
            QCOMPARE(W.size(), QSize(123, 45));
            QCOMPARE(W.font().pointSize(), FontSize);
        }

        // A damaged column width leaves its column alone; the others are read.
        Ini.LoadFromText("[Form_Zoom]\nLV_X.ColumnWidths=60,wide,-1,70\nPanel.Color=FF123456\n");
        QTableWidget List(0, 4);
        List.setObjectName(QStringLiteral("LV_X"));
        List.setColumnWidth(1, 33);
        List.setColumnWidth(2, 44);
        const tSettings Section(QStringLiteral("Form_Zoom"));
        Section.ReadColumnWidths(&List);
        QCOMPARE(List.columnWidth(0), 60);
        QCOMPARE(List.columnWidth(1), 33);
        QCOMPARE(List.columnWidth(2), 44);
        QCOMPARE(List.columnWidth(3), 70);
        uint32_t Colour = 0;
        QVERIFY(Section.ReadColor(QStringLiteral("Panel.Color"), Colour));
        QCOMPARE(Colour, uint32_t(0x123456));
        INI = nullptr;
    }

    void optionsStartAtTheirDefaultsAndListTheOpenWindows()
    {
        tProgramFolder Folder;
        tRunningProgram P(Folder);
        for (QCheckBox* C : Form_Options->findChildren<QCheckBox*>())
            QVERIFY2(C->isChecked(), qPrintable(C->objectName()));
        QVERIFY(Form_Options->findChild<QRadioButton*>(QStringLiteral("RBtn_Palette1"))->isChecked());
        QVERIFY(Form_Options->findChild<QRadioButton*>(QStringLiteral("RBtn_SceneBase0"))->isChecked());
        QCOMPARE(Form_Options->Pages()->count(), 12);
        auto* Spacing = Form_Options->findChild<QSpinBox*>(QStringLiteral("UD_HexSpacing"));
        auto* Label = Form_Options->findChild<QLabel*>(QStringLiteral("Label_HexSpacing"));
        QCOMPARE(Spacing->value(), 4);
        QCOMPARE(Label->text(), QStringLiteral("pixels of cell spacing"));
        Spacing->setValue(1);
        QCOMPARE(Label->text(), QStringLiteral("pixel of cell spacing"));
        QCOMPARE(Options().UD_HexSpacing, 1);
        auto* Panel = Form_Options->findChild<QPushButton*>(QStringLiteral("Panel_MainBG"));
        QCOMPARE(Panel->palette().color(QPalette::ButtonText), QColor(0x80, 0x80, 0x00));

        // Its window list shows the open windows in order.
        Form_Main->ToolButton(QStringLiteral("Btn_Palette"))->click();
        QTRY_COMPARE(WindowList->Current(), Form_Palette);
        Form_Main->ToolButton(QStringLiteral("Btn_Options"))->click();
        QTRY_COMPARE(WindowList->Current(), static_cast<tToolWindow*>(Form_Options));
        auto* L = Form_Options->findChild<QTableWidget*>(QStringLiteral("LV_WndList"));
        QCOMPARE(L->rowCount(), 2);
        QCOMPARE(L->item(0, 0)->text(), QStringLiteral("00"));
        QCOMPARE(L->item(0, 1)->text(), QStringLiteral("options"));
        QCOMPARE(L->item(1, 1)->text(), QStringLiteral("PalViewer"));
    }
};

QTEST_MAIN(SettingsTest)
#include "SettingsTest.moc"
