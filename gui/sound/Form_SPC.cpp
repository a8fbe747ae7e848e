#include "gui/sound/Form_SPC.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/SaveState.h"
#include "core/Messages.h"
#include "gui/core/Settings.h"
#include "gui/core/Widgets.h"
#include "gui/sound/EmptyShade.h"

namespace
{
constexpr const char* EmulatorItems[] = {"[unknown]", "ZSNES", "SNES9x", "ZST2SPC", "ETC", "SNEShout", "ZSNESW"};
const QString Filter = QStringLiteral("SPC files (*.sp?)|*.sp?|all files|*.*");

// Texts are bytes, one character each.
QString L1(const std::string& S)
{
    return QString::fromLatin1(S.data(), static_cast<qsizetype>(S.size()));
}
std::string Bytes(const QString& S)
{
    return S.toLatin1().toStdString();
}

QLineEdit* MakeEdit(QWidget* Parent, const char* Name, int MaxLength)
{
    auto* E = new QLineEdit(Parent);
    E->setObjectName(QLatin1String(Name));
    E->setMaxLength(MaxLength);
    return E;
}

QLineEdit* DigitsEdit(QWidget* Parent, const char* Name, int MaxLength)
{
    QLineEdit* E = MakeEdit(Parent, Name, MaxLength);
    E->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), E));
    return E;
}

QComboBox* MakeCombo(QWidget* Parent, const char* Name, int From, int To)
{
    auto* C = new QComboBox(Parent);
    C->setObjectName(QLatin1String(Name));
    for (int i = From; i <= To; ++i)
        C->addItem(QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0')));
    return C;
}

QSpinBox* MakeSpin(QWidget* Parent, const char* Name, int Max)
{
    auto* S = new QSpinBox(Parent);
    S->setObjectName(QLatin1String(Name));
    S->setRange(0, Max);
    // Typed values count when editing finishes, the arrows at once.
    S->setKeyboardTracking(false);
    return S;
}

} // namespace

tForm_SPC::tForm_SPC(const tWindowRow& Row, QWidget* Parent) : tToolWindow(Row, Parent), Editor_(*SPC)
{
    DlgOpen = {QStringLiteral("DlgOpen"), Filter};
    DlgOpen.MustExist = true;
    DlgSave = {QStringLiteral("DlgSave"), Filter};
    DlgSave.Save = true;
    DlgSave.PromptOverwrite = true;

    auto* Main = new QVBoxLayout(this);
    auto* Tools = new QHBoxLayout;
    auto Button = [&](QToolButton*& B, const char* Name, const char* Caption, const char* Hint) {
        B = new QToolButton(this);
        B->setObjectName(QLatin1String(Name));
        B->setText(QLatin1String(Caption));
        B->setToolTip(QLatin1String(Hint));
        Tools->addWidget(B);
    };
    Button(Btn_Open, "Btn_Open", "open...", "open a SPC file");
    Button(Btn_Save, "Btn_Save", "save...", "save to a SPC file");
    Button(Btn_Add, "Btn_Add", "add", "");
    Button(Btn_Remove, "Btn_Remove", "remove", "");
    Tools->addStretch();
    Btn_Save->setEnabled(false);
    Btn_Add->setEnabled(false);
    Btn_Remove->setEnabled(false);
    connect(Btn_Open, &QToolButton::clicked, this, &tForm_SPC::GUI_ClickOpen);
    connect(Btn_Save, &QToolButton::clicked, this, &tForm_SPC::GUI_ClickSave);
    Main->addLayout(Tools);

    auto* Sides = new QHBoxLayout;
    auto* LeftSide = new QWidget(this);
    LeftSide->setMaximumWidth(440);
    auto* Left = new QVBoxLayout(LeftSide);
    Left->setContentsMargins(0, 0, 0, 0);
    CreateHeader(LeftSide, Left);
    CreateID666(LeftSide, Left);
    Left->addStretch();
    Sides->addWidget(LeftSide);
    Sides->addWidget(CreateExtended(this), 1);
    Main->addLayout(Sides, 1);
    resize(1080, 580);
    ShowSPC();
    // Saving waits for the first sound image announced ("new SPC").
    Btn_Save->setEnabled(false);
}

void tForm_SPC::CreateHeader(QWidget* Parent, QBoxLayout* Into)
{
    auto* G = new QGroupBox(QStringLiteral("&header"), Parent);
    auto* L = new QGridLayout(G);
    Edit_Sig = MakeEdit(G, "Edit_Sig", 33);
    Edit_Sig->setReadOnly(true);
    Edit_Sig->setToolTip(QStringLiteral("file signature (33 chars) - don't change"));
    Edit_Version = DigitsEdit(G, "Edit_Version", 3);
    Edit_Version->setText(QStringLiteral("30"));
    Edit_Version->setMaximumWidth(60);
    CBox_ID666 = new QCheckBox(QStringLiteral("contains"), G);
    CBox_ID666->setObjectName(QStringLiteral("CBox_ID666"));
    CBox_Binary = new QCheckBox(QStringLiteral("binary ID666 tag"), G);
    CBox_Binary->setObjectName(QStringLiteral("CBox_Binary"));
    CBox_Extended = new QCheckBox(QStringLiteral("contains extended ID666 tags"), G);
    CBox_Extended->setObjectName(QStringLiteral("CBox_Extended"));
    CBox_Extended->setEnabled(false);
    L->addWidget(new QLabel(QStringLiteral("signature"), G), 0, 0);
    L->addWidget(Edit_Sig, 0, 1, 1, 3);
    L->addWidget(new QLabel(QStringLiteral("version"), G), 1, 0);
    L->addWidget(Edit_Version, 1, 1);
    L->addWidget(new QLabel(QStringLiteral("ID666 tag"), G), 1, 2);
    L->addWidget(CBox_ID666, 1, 3);
    L->addWidget(CBox_Binary, 2, 1, 1, 3);
    L->addWidget(CBox_Extended, 3, 1, 1, 3);
    Into->addWidget(G);

    connect(Edit_Version, &QLineEdit::textEdited, this, &tForm_SPC::GUI_ChangeVersion);
    connect(CBox_ID666, &QCheckBox::clicked, this, [this](bool On) {
        const QDate Today = QDate::currentDate();
        Editor_.SetContains(On, Today.day(), Today.month(), Today.year());
        ShowFields();
    });
    connect(CBox_Binary, &QCheckBox::clicked, this, [this](bool On) { Editor_.Fields.Binary = On; });
}

void tForm_SPC::CreateID666(QWidget* Parent, QBoxLayout* Into)
{
    Group_ID666 = new QGroupBox(QStringLiteral("&ID666 tag"), Parent);
    QGroupBox* G = Group_ID666;
    auto* L = new QGridLayout(G);
    tSPC_EditorFields& F = Editor_.Fields;
    int Row = 0;
    auto Text = [&](QLineEdit*& E, const char* Name, const char* Caption, int Max,
                    std::string tSPC_EditorFields::*Field) {
        E = MakeEdit(G, Name, Max);
        ShadeWhenEmpty(E);
        L->addWidget(new QLabel(QLatin1String(Caption), G), Row, 0);
        L->addWidget(E, Row++, 1, 1, 5);
        connect(E, &QLineEdit::textEdited, this, [this, Field](const QString& T) { Editor_.Fields.*Field = Bytes(T); });
    };
    Text(Edit_Song, "Edit_Song", "song", 32, &tSPC_EditorFields::Song);
    Text(Edit_Game, "Edit_Game", "game", 32, &tSPC_EditorFields::Game);
    Text(Edit_Artist, "Edit_Artist", "artist", 32, &tSPC_EditorFields::Artist);
    Text(Edit_Comments, "Edit_Comments", "comments", 32, &tSPC_EditorFields::Comments);
    Text(Edit_Dumper, "Edit_Dumper", "dumper", 16, &tSPC_EditorFields::Dumper);

    Combo_Day = MakeCombo(G, "Combo_Day", 0, 31);
    Combo_Month = MakeCombo(G, "Combo_Month", 1, 12);
    Combo_Year = MakeCombo(G, "Combo_Year", 1990, 2100);
    L->addWidget(new QLabel(QStringLiteral("date (D/M/Y)"), G), Row, 0);
    L->addWidget(Combo_Day, Row, 1);
    L->addWidget(Combo_Month, Row, 2);
    L->addWidget(Combo_Year, Row++, 3, 1, 2);
    auto Date = [this](QComboBox* C, int tSPC_EditorFields::*Field, int Base) {
        connect(C, &QComboBox::currentIndexChanged, this, [this, Field, Base](int I) {
            if (!Filling_)
                Editor_.Fields.*Field = I < 0 ? -1 : I + Base;
        });
    };
    Date(Combo_Day, &tSPC_EditorFields::Day, 0);
    Date(Combo_Month, &tSPC_EditorFields::Month, 1);
    Date(Combo_Year, &tSPC_EditorFields::Year, 1990);

    Combo_Emulator = new QComboBox(G);
    Combo_Emulator->setObjectName(QStringLiteral("Combo_Emulator"));
    for (const char* E : EmulatorItems)
        Combo_Emulator->addItem(QLatin1String(E));
    L->addWidget(new QLabel(QStringLiteral("emulator"), G), Row, 0);
    L->addWidget(Combo_Emulator, Row++, 1, 1, 3);
    connect(Combo_Emulator, &QComboBox::currentIndexChanged, this, [this](int I) {
        if (!Filling_)
            Editor_.Fields.Emulator = I;
    });

    auto Digits = [&](QLineEdit*& E, const char* Name, const char* Caption, int Column,
                      std::string tSPC_EditorFields::*Field) {
        E = DigitsEdit(G, Name, 5);
        ShadeWhenEmpty(E);
        E->setPlaceholderText(QLatin1String(Caption));
        E->setToolTip(QLatin1String(Caption));
        L->addWidget(E, Row, Column);
        connect(E, &QLineEdit::textEdited, this, [this, Field](const QString& T) { Editor_.Fields.*Field = Bytes(T); });
    };
    L->addWidget(new QLabel(QStringLiteral("length"), G), Row, 0);
    Digits(Edit_Length1, "Edit_Length1", "minutes", 1, &tSPC_EditorFields::LengthMinutes);
    Digits(Edit_Length2, "Edit_Length2", "seconds", 2, &tSPC_EditorFields::LengthSeconds);
    L->addWidget(new QLabel(QStringLiteral("fade"), G), Row, 3);
    Digits(Edit_Fade1, "Edit_Fade1", "seconds", 4, &tSPC_EditorFields::FadeSeconds);
    Digits(Edit_Fade2, "Edit_Fade2", "milliseconds", 5, &tSPC_EditorFields::FadeMilliseconds);
    ++Row;

    auto* Muted = new QHBoxLayout;
    Muted->addWidget(new QLabel(QStringLiteral("muted"), G));
    for (int n = 0; n < 8; ++n) {
        auto* B = new QCheckBox(QString::number(n), G);
        B->setObjectName(QStringLiteral("CBox_%1").arg(n));
        B->setToolTip(QString::number(n));
        CBox_Muted[static_cast<size_t>(n)] = B;
        Muted->addWidget(B);
        connect(B, &QCheckBox::clicked, this,
                [this, n](bool On) { Editor_.Fields.Muted[static_cast<size_t>(n)] = On; });
    }
    L->addLayout(Muted, Row, 0, 1, 6);
    (void)F;
    Into->addWidget(G);
}

QWidget* tForm_SPC::CreateExtended(QWidget* Parent)
{
    auto* G = new QGroupBox(QStringLiteral("e&xtended ID666 tags"), Parent);
    auto* L = new QGridLayout(G);
    LV_Tags =
        MakeTable(G, QStringLiteral("LV_Tags"),
                  {QStringLiteral("index"), QStringLiteral("ID"), QStringLiteral("type"), QStringLiteral("data")});
    LV_IDs = MakeTable(G, QStringLiteral("LV_IDs"), {QStringLiteral("ID"), QStringLiteral("description")});
    LV_IDs->setRowCount(256);
    for (int n = 0; n < 256; ++n) {
        SetCell(LV_IDs, n, 0, L1(SPCHexText(static_cast<unsigned>(n), 2)));
        const char* D = ExtTagDescription(static_cast<uint8_t>(n));
        SetCell(LV_IDs, n, 1, D ? QLatin1String(D) : QString());
    }
    for (int c = 0; c < 3; ++c)
        LV_Tags->setColumnWidth(c, 56);
    LV_IDs->setColumnWidth(0, 48);
    L->addWidget(LV_Tags, 0, 0);
    L->addWidget(LV_IDs, 0, 1);
    PC = new QTabWidget(G);
    PC->setObjectName(QStringLiteral("PC"));
    CreatePages();
    L->addWidget(PC, 1, 0, 1, 2);
    L->setRowStretch(0, 1);
    connect(LV_Tags, &QTableWidget::itemSelectionChanged, this, &tForm_SPC::GUI_SelectTag);
    connect(LV_IDs, &QTableWidget::itemSelectionChanged, this, &tForm_SPC::GUI_SelectID);
    return G;
}

void tForm_SPC::CreatePages()
{
    auto Page = [this](const char* Caption) {
        auto* P = new QWidget(PC);
        PC->addTab(P, QLatin1String(Caption));
        return P;
    };
    // bits
    auto* Bits = new QHBoxLayout(Page("bits"));
    for (int n = 0; n < 8; ++n) {
        auto* B = new QCheckBox(QString::number(n), PC->widget(0));
        B->setObjectName(QStringLiteral("CBox_x%1").arg(n));
        CBox_Bits[static_cast<size_t>(n)] = B;
        Bits->addWidget(B);
        connect(B, &QCheckBox::clicked, this, [this] {
            uint32_t V = 0;
            for (size_t i = 0; i < 8; ++i)
                V |= CBox_Bits[i]->isChecked() ? 1u << i : 0u;
            StoreNumber(V);
        });
    }
    // byte, word
    auto* ByteL = new QHBoxLayout(Page("byte"));
    UD_Byte = MakeSpin(PC, "UD_Byte", 255);
    ByteL->addWidget(UD_Byte);
    ByteL->addStretch();
    connect(UD_Byte, &QSpinBox::valueChanged, this, [this](int V) { StoreNumber(static_cast<uint32_t>(V)); });
    auto* WordL = new QHBoxLayout(Page("word"));
    UD_Word = MakeSpin(PC, "UD_Word", 65535);
    WordL->addWidget(UD_Word);
    WordL->addStretch();
    connect(UD_Word, &QSpinBox::valueChanged, this, [this](int V) { StoreNumber(static_cast<uint32_t>(V)); });
    // integer
    auto* IntL = new QHBoxLayout(Page("integer"));
    Edit_Int1 = DigitsEdit(PC, "Edit_Int1", 10);
    Edit_Int1->installEventFilter(this);
    Label_Int1 = new QLabel(QStringLiteral("/ 64000 ="), PC);
    UD_Int2 = MakeSpin(PC, "UD_Int2", 32767);
    Label_Int2 = new QLabel(QStringLiteral("seconds = ?:??:??"), PC);
    for (QWidget* W : std::initializer_list<QWidget*>{Edit_Int1, Label_Int1, UD_Int2, Label_Int2})
        IntL->addWidget(W);
    IntL->addStretch();
    connect(Edit_Int1, &QLineEdit::editingFinished, this, [this] {
        ShowInteger(static_cast<uint32_t>(std::min<qulonglong>(Edit_Int1->text().toULongLong(), 0xFFFFFFFFu)));
    });
    connect(UD_Int2, &QSpinBox::valueChanged, this, [this](int V) { ShowInteger(static_cast<uint32_t>(V) * 64000u); });
    // text
    auto* TextL = new QHBoxLayout(Page("text"));
    Memo = MakeEdit(PC, "Memo", static_cast<int>(MaxExtText));
    ShadeWhenEmpty(Memo);
    TextL->addWidget(Memo);
    connect(Memo, &QLineEdit::textEdited, this, [this](const QString& T) {
        if (tSPC_ExtTag* Tag = CurrentTag()) {
            SetExtTagText(*Tag, Bytes(T));
            UpdateTagRow();
        }
    });
    // date: year, month and day of the record's data
    auto* DateL = new QHBoxLayout(Page("date"));
    Combo_DateDay = MakeCombo(PC, "Combo_DateDay", 0, 31);
    Combo_DateMonth = MakeCombo(PC, "Combo_DateMonth", 0, 12);
    Combo_DateYear = MakeCombo(PC, "Combo_DateYear", 1990, 2100);
    for (QComboBox* C : {Combo_DateDay, Combo_DateMonth, Combo_DateYear}) {
        DateL->addWidget(C);
        connect(C, &QComboBox::currentIndexChanged, this, [this] {
            tSPC_ExtTag* Tag = CurrentTag();
            if (Filling_ || !Tag)
                return;
            const tExtDate Old = ExtTagDate(*Tag);
            auto Pick = [](QComboBox* Box, int Base, int Keep) {
                return Box->currentIndex() < 0 ? Keep : Box->currentIndex() + Base;
            };
            SetExtTagDate(*Tag, {Pick(Combo_DateYear, 1990, Old.Year), Pick(Combo_DateMonth, 0, Old.Month),
                                 Pick(Combo_DateDay, 0, Old.Day)});
            UpdateTagRow();
        });
    }
    DateL->addStretch();
    // track
    auto* TrackL = new QHBoxLayout(Page("track"));
    UD_Track = MakeSpin(PC, "UD_Track", 99);
    Combo_Track = new QComboBox(PC);
    Combo_Track->setObjectName(QStringLiteral("Combo_Track"));
    for (int i = 0; i < 256; ++i)
        Combo_Track->addItem(QString(QChar(i)) + QStringLiteral(" (") + L1(SPCHexText(static_cast<unsigned>(i), 2)) +
                             QStringLiteral(")"));
    TrackL->addWidget(UD_Track);
    TrackL->addWidget(Combo_Track);
    TrackL->addStretch();
    auto Track = [this] {
        StoreNumber(static_cast<uint32_t>(UD_Track->value() * 256 + std::max(Combo_Track->currentIndex(), 0)));
    };
    connect(UD_Track, &QSpinBox::valueChanged, this, Track);
    connect(Combo_Track, &QComboBox::currentIndexChanged, this, Track);
    // emulator
    auto* EmuL = new QHBoxLayout(Page("emulator"));
    Combo_Emulator2 = new QComboBox(PC);
    Combo_Emulator2->setObjectName(QStringLiteral("Combo_Emulator2"));
    for (const char* E : EmulatorItems)
        Combo_Emulator2->addItem(QLatin1String(E));
    EmuL->addWidget(Combo_Emulator2);
    EmuL->addStretch();
    connect(Combo_Emulator2, &QComboBox::currentIndexChanged, this,
            [this](int I) { StoreNumber(static_cast<uint32_t>(std::max(I, 0))); });
    Page("unknown");
    ShowPage(static_cast<int>(tExtTagPage::Unknown));
}

void tForm_SPC::OnNotify(const void*, tNote Msg)
{
    if (Msg == Note::NewSPC)
        ShowSPC();
}

void tForm_SPC::LoadSettings(const tSettings& Section)
{
    Section.ReadDialog(DlgOpen);
    Section.ReadDialog(DlgSave);
    Section.ReadColumnWidths(LV_Tags);
    Section.ReadColumnWidths(LV_IDs);
}

void tForm_SPC::SaveSettings(tSettings& Section)
{
    Section.WriteDialog(DlgOpen);
    Section.WriteDialog(DlgSave);
    Section.WriteColumnWidths(LV_Tags);
    Section.WriteColumnWidths(LV_IDs);
}

void tForm_SPC::ShowSPC()
{
    const bool NewFile = Editor_.Refill();
    Edit_Sig->setText(L1(Editor_.Signature()));
    Edit_Version->setText(QString::number(Editor_.Version()));
    CBox_Extended->setChecked(Editor_.TagCount() > 0);
    // Every "new SPC" means a sound image is held, which can be saved.
    Btn_Save->setEnabled(true);
    if (NewFile) {
        ShowFields();
        ShowTagList();
    }
}

void tForm_SPC::ShowFields()
{
    Filling_ = true;
    const tSPC_EditorFields& F = Editor_.Fields;
    const bool On = F.Contains;
    CBox_ID666->setChecked(On);
    CBox_Binary->setChecked(On && F.Binary);
    Edit_Song->setText(L1(F.Song));
    Edit_Game->setText(L1(F.Game));
    Edit_Artist->setText(L1(F.Artist));
    Edit_Comments->setText(L1(F.Comments));
    Edit_Dumper->setText(L1(F.Dumper));
    Edit_Length1->setText(L1(F.LengthMinutes));
    Edit_Length2->setText(L1(F.LengthSeconds));
    Edit_Fade1->setText(L1(F.FadeSeconds));
    Edit_Fade2->setText(L1(F.FadeMilliseconds));
    for (size_t n = 0; n < 8; ++n)
        CBox_Muted[n]->setChecked(F.Muted[n]);
    Combo_Emulator->setCurrentIndex(F.Emulator >= 0 && F.Emulator < Combo_Emulator->count() ? F.Emulator : -1);
    Combo_Day->setCurrentIndex(F.Day);
    Combo_Month->setCurrentIndex(F.Month < 1 ? -1 : F.Month - 1);
    Combo_Year->setCurrentIndex(F.Year < 1990 ? -1 : F.Year - 1990);
    Filling_ = false;
    GUI_SetID666();
}

void tForm_SPC::GUI_SetID666()
{
    Group_ID666->setEnabled(CBox_ID666->isChecked());
    CBox_Binary->setEnabled(CBox_ID666->isChecked());
}

void tForm_SPC::GUI_ChangeVersion()
{
    bool Ok = false;
    const int V = Edit_Version->text().toInt(&Ok);
    if (!Ok || V < 0)
        Edit_Version->setText(QStringLiteral("0"));
    else if (V > 255)
        Edit_Version->setText(QStringLiteral("255"));
    Editor_.SetVersion(Ok ? V : 0);
}

void tForm_SPC::ShowTagList()
{
    const QSignalBlocker Block(LV_Tags);
    const int N = static_cast<int>(Editor_.TagCount());
    LV_Tags->setRowCount(N);
    for (int i = 0; i < N; ++i) {
        SetCell(LV_Tags, i, 0, QString::number(i));
        const tSPC_ExtTag& T = *Editor_.ExtTag(i);
        SetCell(LV_Tags, i, 1, L1(SPCHexText(T.ID, 2)));
        SetCell(LV_Tags, i, 2, L1(SPCHexText(T.TagType, 2)));
        SetCell(LV_Tags, i, 3, L1(SPCHexText(T.Length, 4)));
    }
    LV_Tags->setEnabled(N > 0);
    LV_IDs->setEnabled(N > 0);
    if (N > 0) {
        LV_Tags->selectRow(0);
        GUI_SelectTag();
    } else {
        ShowPage(static_cast<int>(tExtTagPage::Unknown));
    }
}

void tForm_SPC::UpdateTagRow()
{
    const int Row = LV_Tags->currentRow();
    if (const tSPC_ExtTag* T = CurrentTag()) {
        SetCell(LV_Tags, Row, 1, L1(SPCHexText(T->ID, 2)));
        SetCell(LV_Tags, Row, 2, L1(SPCHexText(T->TagType, 2)));
        SetCell(LV_Tags, Row, 3, L1(SPCHexText(T->Length, 4)));
    }
}

tSPC_ExtTag* tForm_SPC::CurrentTag()
{
    return Editor_.ExtTag(LV_Tags->currentRow());
}

void tForm_SPC::GUI_SelectTag()
{
    const tSPC_ExtTag* T = CurrentTag();
    if (!T)
        return;
    {
        const QSignalBlocker Block(LV_IDs);
        LV_IDs->selectRow(T->ID);
        LV_IDs->scrollToItem(LV_IDs->item(T->ID, 0));
    }
    ShowTagPage();
}

void tForm_SPC::GUI_SelectID()
{
    tSPC_ExtTag* T = CurrentTag();
    const int ID = LV_IDs->currentRow();
    if (!T || ID < 0 || ID > 255 || Filling_)
        return;
    // Only the ID changes: the type byte keeps saying whether data follows.
    T->ID = static_cast<uint8_t>(ID);
    UpdateTagRow();
    ShowTagPage();
}

void tForm_SPC::ShowTagPage()
{
    const tSPC_ExtTag* T = CurrentTag();
    if (!T)
        return;
    Filling_ = true;
    const QList<QWidget*> Pages = PC->findChildren<QWidget*>();
    std::vector<std::unique_ptr<QSignalBlocker>> Blocks;
    for (QWidget* W : Pages)
        Blocks.push_back(std::make_unique<QSignalBlocker>(W));
    const tExtTagPage Page = ExtTagPage(T->ID);
    const uint32_t V = ExtTagNumber(*T);
    switch (Page) {
    case tExtTagPage::Integer: {
        const bool Time = ExtTagCountsTime(T->ID);
        Label_Int1->setVisible(Time);
        UD_Int2->setVisible(Time);
        Label_Int2->setVisible(Time);
        Blocks.clear();
        Filling_ = false;
        const QSignalBlocker B(UD_Int2);
        Edit_Int1->setText(QString::number(V));
        UD_Int2->setValue(static_cast<int>(std::min<uint32_t>(V / 64000, 32767)));
        Label_Int2->setText(L1(ExtTagTimeText(V)));
        break;
    }
    case tExtTagPage::Text:
        Memo->setText(L1(ExtTagText(*T)));
        break;
    case tExtTagPage::Word:
        UD_Word->setValue(static_cast<int>(V & 0xFFFF));
        break;
    case tExtTagPage::Bits:
        for (size_t n = 0; n < 8; ++n)
            CBox_Bits[n]->setChecked(V >> n & 1);
        break;
    case tExtTagPage::Track:
        UD_Track->setValue(static_cast<int>(V >> 8 & 0xFF));
        Combo_Track->setCurrentIndex(static_cast<int>(V & 0xFF));
        break;
    case tExtTagPage::Date: {
        const tExtDate D = ExtTagDate(*T);
        Combo_DateDay->setCurrentIndex(D.Day <= 31 ? D.Day : -1);
        Combo_DateMonth->setCurrentIndex(D.Month <= 12 ? D.Month : -1);
        Combo_DateYear->setCurrentIndex(D.Year >= 1990 && D.Year <= 2100 ? D.Year - 1990 : -1);
        break;
    }
    case tExtTagPage::Emulator:
        Combo_Emulator2->setCurrentIndex(V > 6 ? 0 : static_cast<int>(V));
        break;
    case tExtTagPage::Byte:
        UD_Byte->setValue(static_cast<int>(V & 0xFF));
        break;
    case tExtTagPage::Unknown:
        break;
    }
    // The tab bar is among the blocked children; it must signal the page
    // change to its stack.
    Blocks.clear();
    ShadeField(Memo, Memo->text().isEmpty()); // filled while blocked
    Filling_ = false;
    ShowPage(static_cast<int>(Page));
}

void tForm_SPC::ShowPage(int Index)
{
    // The program chooses the page; the user cannot. The new page is made
    // current before the others are disabled: a tab bar losing its current
    // tab would pick another one itself.
    PC->setTabEnabled(Index, true);
    PC->setCurrentIndex(Index);
    for (int i = 0; i < PC->count(); ++i)
        PC->setTabEnabled(i, i == Index);
}

void tForm_SPC::ShowInteger(uint32_t Value)
{
    tSPC_ExtTag* T = CurrentTag();
    if (!T || Filling_)
        return;
    SetExtTagNumber(*T, Value);
    const QSignalBlocker B(UD_Int2);
    Edit_Int1->setText(QString::number(Value));
    UD_Int2->setValue(static_cast<int>(std::min<uint32_t>(Value / 64000, 32767)));
    Label_Int2->setText(L1(ExtTagTimeText(Value)));
    UpdateTagRow();
}

void tForm_SPC::StoreNumber(uint32_t Value)
{
    tSPC_ExtTag* T = CurrentTag();
    if (!T || Filling_)
        return;
    SetExtTagNumber(*T, Value);
    UpdateTagRow();
}

bool tForm_SPC::eventFilter(QObject* Watched, QEvent* Event)
{
    // Up and Down in the integer field step it like arrows would.
    if (Watched == Edit_Int1 && Event->type() == QEvent::KeyPress) {
        const int Key = static_cast<QKeyEvent*>(Event)->key();
        if (Key == Qt::Key_Up || Key == Qt::Key_Down) {
            const qulonglong V = std::min<qulonglong>(Edit_Int1->text().toULongLong(), 0xFFFFFFFFu);
            ShowInteger(static_cast<uint32_t>(Key == Qt::Key_Up ? std::min<qulonglong>(V + 1, 0xFFFFFFFFu)
                                                                : (V > 0 ? V - 1 : 0)));
            return true;
        }
    }
    return tToolWindow::eventFilter(Watched, Event);
}

void tForm_SPC::GUI_ClickOpen()
{
    QApplication::processEvents();
    const std::optional<QString> File = ExecuteFileDialog(DlgOpen, this);
    if (!File)
        return;
    tError Error;
    const std::string Name = File->toStdString();
    if (!SPC->LoadFromFile(Name, Error))
        Messages().Error(Error.Describe(Name));
}

void tForm_SPC::GUI_ClickSave()
{
    QApplication::processEvents();
    std::optional<QString> File = ExecuteFileDialog(DlgSave, this);
    if (!File)
        return;
    if (QFileInfo(*File).suffix().isEmpty())
        *File += QStringLiteral(".spc");
    tError Error;
    const std::string Name = File->toStdString();
    if (!Editor_.Save(Name, Error))
        ReportWriteError(Name, Error);
}
