#include "gui/sound/Form_SMV.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/MovieStart.h"
#include "gui/core/Settings.h"
#include "gui/sound/EmptyShade.h"

namespace
{
const QString Filter = QStringLiteral("SMV files|*.smv|all files|*.*");

QLineEdit* Field(QWidget* Parent, const char* Name)
{
    auto* E = new QLineEdit(Parent);
    E->setObjectName(QLatin1String(Name));
    E->setReadOnly(true);
    ShadeWhenEmpty(E);
    return E;
}
} // namespace

tForm_SMV::tForm_SMV(const tWindowRow& Row, QWidget* Parent) : tToolWindow(Row, Parent)
{
    setWindowTitle(QStringLiteral("SMV editor"));
    DlgOpen = {QStringLiteral("DlgOpen"), Filter};
    DlgOpen.MustExist = true;
    DlgSave = {QStringLiteral("DlgSave"), Filter};
    DlgSave.Save = true;

    auto* Main = new QVBoxLayout(this);
    auto* Tools = new QHBoxLayout;
    Btn_Open = new QToolButton(this);
    Btn_Open->setObjectName(QStringLiteral("Btn_Open"));
    Btn_Open->setText(QStringLiteral("open..."));
    Btn_Open->setToolTip(QStringLiteral("open a SMV file"));
    Btn_Save = new QToolButton(this);
    Btn_Save->setObjectName(QStringLiteral("Btn_Save"));
    Btn_Save->setText(QStringLiteral("save..."));
    Btn_Save->setToolTip(QStringLiteral("save to a SMV file"));
    Btn_Save->setEnabled(false); // movies are read only
    Tools->addWidget(Btn_Open);
    Tools->addWidget(Btn_Save);
    Tools->addStretch();
    Main->addLayout(Tools);
    connect(Btn_Open, &QToolButton::clicked, this, &tForm_SMV::GUI_ClickOpen);

    Group_Header = new QGroupBox(QStringLiteral("header"), this);
    auto* H = new QGridLayout(Group_Header);
    int Line = 0;
    auto Add = [&](QLineEdit*& E, const char* Name, const char* Caption) {
        E = Field(Group_Header, Name);
        H->addWidget(new QLabel(QLatin1String(Caption), Group_Header), Line, 0);
        H->addWidget(E, Line++, 1);
    };
    Add(Edit_Signature, "Edit_Signature", "signature");
    Add(Edit_Version, "Edit_Version", "version");
    Add(Edit_UID, "Edit_UID", "UID: (hex.)");
    Add(Edit_RerecordCount, "Edit_RerecordCount", "rerecord count");
    Add(Edit_FrameCount, "Edit_FrameCount", "frame count");
    auto* Pads = new QHBoxLayout;
    Pads->addWidget(new QLabel(QStringLiteral("controllers"), Group_Header));
    for (int n = 0; n < 5; ++n) {
        auto* B = new QCheckBox(QString::number(n + 1), Group_Header);
        B->setObjectName(QStringLiteral("CBox_%1").arg(n));
        B->setToolTip(QStringLiteral("using controller %1").arg(n + 1));
        B->setAttribute(Qt::WA_TransparentForMouseEvents);
        CBox_Pads[static_cast<size_t>(n)] = B;
        Pads->addWidget(B);
    }
    Pads->addStretch();
    H->addLayout(Pads, Line++, 0, 1, 2);
    auto* Begins = new QGroupBox(QStringLiteral("begins from"), Group_Header);
    Begins->setObjectName(QStringLiteral("RGroup_BeginsFrom"));
    auto* BL = new QVBoxLayout(Begins);
    RBtn_Quicksave = new QRadioButton(QStringLiteral("embedded quicksave"), Begins);
    RBtn_SRAM = new QRadioButton(QStringLiteral("embedded SRAM with RESET"), Begins);
    auto* Group = new QButtonGroup(this);
    Group->addButton(RBtn_Quicksave);
    Group->addButton(RBtn_SRAM);
    for (QRadioButton* B : {RBtn_Quicksave, RBtn_SRAM}) {
        B->setAttribute(Qt::WA_TransparentForMouseEvents);
        BL->addWidget(B);
    }
    H->addWidget(Begins, Line++, 0, 1, 2);
    CBox_PAL = new QCheckBox(QStringLiteral("use &PAL timing instead of NTSC"), Group_Header);
    CBox_PAL->setObjectName(QStringLiteral("CBox_PAL"));
    CBox_PAL->setAttribute(Qt::WA_TransparentForMouseEvents);
    H->addWidget(CBox_PAL, Line++, 0, 1, 2);
    for (int n = 0; n < 7; ++n) {
        auto* B = new QCheckBox(QLatin1String(tSMV::SyncNames[static_cast<size_t>(n)]), Group_Header);
        B->setObjectName(QStringLiteral("CBox_Sync%1").arg(n));
        B->setAttribute(Qt::WA_TransparentForMouseEvents);
        CBox_Sync[static_cast<size_t>(n)] = B;
        H->addWidget(B, Line++, 0, 1, 2);
    }

    auto* Right = new QVBoxLayout;
    Label_Metadata = new QLabel(QStringLiteral("metadata"), this);
    Edit_Metadata = new QPlainTextEdit(this);
    Edit_Metadata->setObjectName(QStringLiteral("Edit_Metadata"));
    Edit_Metadata->setReadOnly(true);
    ShadeWhenEmpty(Edit_Metadata);
    Edit_Metadata->setMaximumHeight(90);
    auto* ROM = new QGridLayout;
    Label_CRC32 = new QLabel(QStringLiteral("ROM CRC32"), this);
    Edit_CRC32 = Field(this, "Edit_CRC32");
    Label_ROM = new QLabel(QStringLiteral("ROM name"), this);
    Edit_ROM = Field(this, "Edit_ROM");
    ROM->addWidget(Label_CRC32, 0, 0);
    ROM->addWidget(Edit_CRC32, 0, 1);
    ROM->addWidget(Label_ROM, 1, 0);
    ROM->addWidget(Edit_ROM, 1, 1);
    LV = new QTableWidget(0, 13, this);
    LV->setObjectName(QStringLiteral("LV"));
    LV->setHorizontalHeaderLabels({QStringLiteral("frame"), QStringLiteral("A"), QStringLiteral("X"),
                                   QStringLiteral("L"), QStringLiteral("R"), QStringLiteral("B"), QStringLiteral("Y"),
                                   QStringLiteral("Select"), QStringLiteral("Start"), QStringLiteral("Up"),
                                   QStringLiteral("Down"), QStringLiteral("Left"), QStringLiteral("Right")});
    LV->verticalHeader()->hide();
    LV->horizontalHeader()->setDefaultSectionSize(40);
    LV->horizontalHeader()->setStretchLastSection(true);
    Right->addWidget(Label_Metadata);
    Right->addWidget(Edit_Metadata);
    Right->addLayout(ROM);
    Right->addWidget(LV, 1);

    auto* Sides = new QHBoxLayout;
    Sides->addWidget(Group_Header);
    Sides->addLayout(Right, 1);
    Main->addLayout(Sides, 1);
    resize(900, 540);
    ShowMovie();
}

void tForm_SMV::LoadSettings(const tSettings& Section)
{
    Section.ReadDialog(DlgOpen);
    Section.ReadDialog(DlgSave);
}

void tForm_SMV::SaveSettings(tSettings& Section)
{
    Section.WriteDialog(DlgOpen);
    Section.WriteDialog(DlgSave);
}

void tForm_SMV::GUI_ClickOpen()
{
    QApplication::processEvents();
    const std::optional<QString> File = ExecuteFileDialog(DlgOpen, this);
    if (!File)
        return;
    QApplication::processEvents();
    LoadMovie(*File);
}

void tForm_SMV::LoadMovie(const QString& FileName)
{
    ::LoadMovie(Movie_, FileName.toStdString());
    ShowMovie();
}

void tForm_SMV::ShowMovie()
{
    const bool Valid = Movie_.Valid;
    const tSMV& M = Movie_;
    auto Text = [Valid](QLineEdit* E, const QString& T) { E->setText(Valid ? T : QString()); };
    Text(Edit_Signature, QString::fromLatin1(M.Signature()));
    Text(Edit_Version, QString::number(M.Version()));
    Text(Edit_UID, QStringLiteral("%1").arg(M.UID(), 8, 16, QLatin1Char('0')).toUpper());
    Text(Edit_RerecordCount, QString::number(M.RerecordCount()));
    Text(Edit_FrameCount, QString::number(M.FrameCount()));
    for (int n = 0; n < 5; ++n)
        CBox_Pads[static_cast<size_t>(n)]->setChecked(Valid && M.UsesController(n));
    // No selection in the group for an invalid file.
    RBtn_Quicksave->group()->setExclusive(false);
    RBtn_Quicksave->setChecked(Valid && !M.StartsFromSRAM());
    RBtn_SRAM->setChecked(Valid && M.StartsFromSRAM());
    RBtn_Quicksave->group()->setExclusive(true);
    CBox_PAL->setChecked(Valid && M.PALTiming());
    CBox_Sync[0]->setChecked(Valid && (M.SyncOptions() & 1));
    Edit_Metadata->setPlainText(Valid ? QString::fromUtf8(M.Metadata) : QString());
    const bool ROMShown = Valid && M.HasROMInfo;
    Edit_CRC32->setText(ROMShown ? QStringLiteral("%1").arg(M.ROMCRC32(), 4, 16, QLatin1Char('0')).toUpper()
                                 : QString());
    Edit_ROM->setText(ROMShown ? QString::fromLatin1(M.ROMName()) : QString());

    for (QWidget* W : Group_Header->findChildren<QWidget*>())
        W->setEnabled(Valid);
    for (QWidget* W : std::initializer_list<QWidget*>{Edit_Metadata, Label_Metadata, LV})
        W->setEnabled(Valid);
    GUI_ClickSync0();
}

void tForm_SMV::GUI_ClickSync0()
{
    const bool On = CBox_Sync[0]->isChecked();
    for (size_t n = 1; n < 7; ++n) {
        CBox_Sync[n]->setEnabled(On);
        CBox_Sync[n]->setChecked(On && Movie_.SyncShown(static_cast<int>(n)));
    }
    GUI_ClickROMInfo();
}

void tForm_SMV::GUI_ClickROMInfo()
{
    const bool On = CBox_Sync[6]->isChecked();
    for (QWidget* W : std::initializer_list<QWidget*>{Edit_CRC32, Edit_ROM, Label_CRC32, Label_ROM})
        W->setEnabled(On);
}
