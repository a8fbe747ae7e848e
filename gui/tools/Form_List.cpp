#include "gui/tools/Form_List.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/RegisterTabs.h"
#include "core/Broadcast.h"
#include "core/SharedData.h"
#include "gui/core/Form_Main.h"
#include "gui/core/ProgramWindows.h"
#include "gui/core/RegisterLists.h"
#include "gui/core/Settings.h"
#include "savestates/S9X.h"
#include "savestates/ZST.h"

tForm_List::tForm_List(const tWindowRow& Row, QWidget* Parent) : tToolWindow(Row, Parent)
{
    auto* Frame = new QVBoxLayout(this);
    auto* Bar = new QHBoxLayout;
    auto Tool = [&](const char* Name, const char* Text, const char* Hint) {
        auto* B = new QToolButton(this);
        B->setObjectName(QString::fromLatin1(Name));
        B->setText(QString::fromLatin1(Text));
        B->setToolTip(QString::fromLatin1(Hint));
        B->setEnabled(false);
        Bar->addWidget(B);
        return B;
    };
    Btn_Update = Tool("Btn_Update", "update", "update immediately (press Enter to update only now)");
    Btn_Update->setCheckable(true);
    Btn_RestoreAll = Tool("Btn_RestoreAll", "restore all", "restore all lists");
    Btn_RestoreList = Tool("Btn_RestoreList", "restore list", "restore the current list");
    Bar->addStretch(1);
    Frame->addLayout(Bar);

    auto* Value = new QGroupBox(QStringLiteral("&value"), this);
    auto* Grid = new QGridLayout(Value);
    auto Field = [&](int Line, const char* Label, const char* Name, const char* UpDown, QSpinBox*& U) {
        auto* E = new QLineEdit(Value);
        E->setObjectName(QString::fromLatin1(Name));
        E->setEnabled(false);
        E->installEventFilter(this);
        auto* L = new QLabel(QString::fromLatin1(Label), Value);
        L->setBuddy(E);
        U = new QSpinBox(Value);
        U->setObjectName(QString::fromLatin1(UpDown));
        U->setRange(-1, 1);
        U->setFixedWidth(22);
        if (auto* Text = U->findChild<QLineEdit*>())
            Text->hide();
        U->setEnabled(false);
        connect(U, &QSpinBox::valueChanged, this, [this, U, E](int V) {
            if (V == 0)
                return;
            const QSignalBlocker Block(U);
            U->setValue(0);
            Step(V > 0);
            E->setFocus();
        });
        Grid->addWidget(L, Line, 0);
        Grid->addWidget(E, Line, 1);
        Grid->addWidget(U, Line, 2);
        return E;
    };
    Edit_Dec = Field(0, "&dec:", "Edit_Dec", "UD_Dec", UD_Dec);
    Edit_Hex = Field(1, "&hex:", "Edit_Hex", "UD_Hex", UD_Hex);
    Edit_Bin = Field(2, "&bin:", "Edit_Bin", "UD_Bin", UD_Bin);
    Edit_Hex->setContextMenuPolicy(Qt::NoContextMenu);
    Edit_Bin->setContextMenuPolicy(Qt::NoContextMenu);
    Edit_Hex->setAcceptDrops(false);
    Edit_Bin->setAcceptDrops(false);
    connect(Edit_Dec, &QLineEdit::textEdited, this, [this] {
        if (!Model_.Editable())
            return;
        if (Model_.SetDecText(Edit_Dec->text().toStdString()))
            Changed();
        else
            for (QLineEdit* E : {Edit_Hex, Edit_Bin})
                E->setStyleSheet(QStringLiteral("background-color: palette(window);"));
    });
    Frame->addWidget(Value);

    auto* Info = new QGroupBox(QStringLiteral("&info"), this);
    auto* InfoRows = new QVBoxLayout(Info);
    for (auto [E, Name] : {std::pair{&Edit_Name, "Edit_Name"}, std::pair{&Edit_OldVal, "Edit_OldVal"},
                           std::pair{&Edit_Comment, "Edit_Comment"}}) {
        *E = new QLineEdit(Info);
        (*E)->setObjectName(QString::fromLatin1(Name));
        (*E)->setReadOnly(true);
        (*E)->setFocusPolicy(Qt::ClickFocus);
        (*E)->setEnabled(false);
        InfoRows->addWidget(*E);
    }
    Edit_OldVal->setToolTip(QStringLiteral("value before editing"));
    Frame->addWidget(Info);

    connect(Btn_Update, &QToolButton::toggled, this, [this](bool Down) {
        if (Down)
            CommitValue();
    });
    connect(Btn_RestoreList, &QToolButton::clicked, this, &tForm_List::RestoreList);
    connect(Btn_RestoreAll, &QToolButton::clicked, this, &tForm_List::RestoreAll);
    resize(360, 300);
}

tRegisterRow* tForm_List::CurrentRow() const
{
    if (!Form_Main)
        return nullptr;
    const int Page = Form_Main->CurrentPage;
    const int Row = Form_Main->CurrentList()->currentRow();
    auto& Rows = RegisterTabs().Tabs[static_cast<size_t>(std::clamp(Page, 0, RegisterPageCount - 1))].Rows;
    if (Row < 0 || Row >= static_cast<int>(Rows.size()))
        return nullptr;
    return &Rows[static_cast<size_t>(Row)];
}

void tForm_List::ShowRow()
{
    if (!Active || !StartupDone)
        return;
    const tRegisterRow* R = CurrentRow();
    Model_.SetBlock(R && !R->IsText && !R->ReadOnly ? R->Block : tInfoBlock{});
    ShowEditValue();
}

void tForm_List::ShowEditValue()
{
    const tRegisterRow* R = CurrentRow();
    const bool On = Model_.Editable() && R;
    Showing_ = true;
    auto Set = [](QLineEdit* E, const QString& T) {
        if (E->text() == T)
            return;
        const int Pos = E->cursorPosition();
        E->setText(T);
        E->setCursorPosition(std::min(Pos, static_cast<int>(T.size())));
    };
    Set(Edit_Bin, QString::fromStdString(Model_.Text(tListField::Bin)));
    Set(Edit_Hex, QString::fromStdString(Model_.Text(tListField::Hex)));
    Set(Edit_Dec, QString::fromStdString(Model_.Text(tListField::Dec)));
    Set(Edit_OldVal, On ? QString::number(tListEditModel::Signed(R->Block.OldValue, Model_.Bits())) : QString());
    Set(Edit_Name, On ? QString::fromStdString(R->Name) : QString());
    Set(Edit_Comment, On ? QString::fromStdString(R->Comment) : QString());
    for (QWidget* W : std::initializer_list<QWidget*>{Edit_Dec, Edit_Hex, Edit_Bin, UD_Dec, UD_Hex, UD_Bin})
        W->setEnabled(On);
    for (QLineEdit* E : {Edit_Hex, Edit_Bin})
        E->setStyleSheet(QString());
    Showing_ = false;
    tRegisterTabs& T = RegisterTabs();
    bool Any = false;
    for (int P = 0; P < RegisterPageCount; ++P)
        Any = Any || T.ListModified(P);
    Btn_RestoreList->setEnabled(Active && Form_Main && T.ListModified(Form_Main->CurrentPage));
    Btn_RestoreAll->setEnabled(Active && Any);
}

void tForm_List::Changed()
{
    if (Btn_Update->isChecked())
        CommitValue();
    ShowEditValue();
}

void tForm_List::Step(bool Up)
{
    if (Model_.Step(Up))
        Changed();
}

void tForm_List::TypeOver(QLineEdit* Field, const QString& Text, bool Forward)
{
    int Caret = Field->cursorPosition();
    if (Model_.TypeOver(Field == Edit_Hex ? tListField::Hex : tListField::Bin, Text.toStdString(), Forward, Caret)) {
        Changed();
        Field->setCursorPosition(Caret);
    }
}

void tForm_List::AfterWrite(tNote Msg)
{
    Broadcast(this, Msg);
    // The main window refills its lists on "new SNES" (also sent by the
    // ZSNES object after "new ZST.Data"); for the other image lists it is
    // told here.
    if (Form_Main && !(Msg == Note::NewSNES) && !(Msg == Note::NewZSTData)) {
        InvalidateRegisterTabs();
        Form_Main->FillTab();
    }
}

void tForm_List::CommitValue()
{
    tRegisterRow* R = Active && Form_Main ? CurrentRow() : nullptr;
    if (!R || R->IsText || R->ReadOnly || !Model_.Editable())
        return;
    // Busy: the refills that follow keep the values before editing.
    tRegisterTabs& T = RegisterTabs();
    Form_Main->Busy = T.Busy = true;
    // With "update the lists" off the rows may still point into the buffers
    // of an earlier state: they are filled from the state as it is now first.
    try {
        T.FillTab(Form_Main->CurrentPage, CurrentRegisterSources(), true);
    } catch (const std::exception&) {
        Form_Main->Busy = T.Busy = false;
        return;
    }
    WriteBlock(R->Block, Model_.Stored());
    AfterWrite(tListEditModel::CommitNote(Form_Main->CurrentPage));
    Form_Main->Busy = T.Busy = false;
    ShowRow();
}

bool tForm_List::RestorePage(int Page)
{
    tRegisterTabs& T = RegisterTabs();
    // Rows filled from the state as it is now, keeping the values from
    // before the edits (never pointers into an earlier file's buffers).
    try {
        T.Busy = true;
        T.FillTab(Page, CurrentRegisterSources(), true);
    } catch (const std::exception&) {
        T.Busy = false;
        return false;
    }
    bool Wrote = false;
    for (tRegisterRow& R : T.Tabs[static_cast<size_t>(Page)].Rows)
        if (!R.IsText && !R.ReadOnly && R.Block.Address && ReadBlock(R.Block) != R.Block.OldValue) {
            WriteBlock(R.Block, R.Block.OldValue);
            Wrote = true;
        }
    return Wrote;
}

void tForm_List::RestoreList()
{
    if (!Form_Main)
        return;
    Form_Main->Busy = true;
    const int Page = Form_Main->CurrentPage;
    if (RestorePage(Page))
        AfterWrite(tListEditModel::CommitNote(Page));
    RegisterTabs().Busy = false;
    Form_Main->Busy = false;
    ShowRow();
}

void tForm_List::RestoreAll()
{
    if (!Form_Main)
        return;
    Form_Main->Busy = true;
    bool Wrote = false;
    // A newer Snes9x's fields are read back into the machine state from its
    // stream, which replaces the whole state: that comes first, and the
    // machine's own lists are restored over it.
    const bool Stream = S9X && S9X->SnpVersion;
    if (Stream && RestorePage(PageS9X))
        AfterWrite(tListEditModel::CommitNote(PageS9X));
    for (int P = 0; P < RegisterPageCount; ++P)
        if (!(Stream && P == PageS9X))
            Wrote = RestorePage(P) || Wrote;
    if (Wrote) {
        if (ZST)
            ZST->BuildStream();
        Broadcast(this, Note::NewSNES);
    }
    RegisterTabs().Busy = false;
    Form_Main->Busy = false;
    ShowRow();
}

bool tForm_List::eventFilter(QObject* Watched, QEvent* Event)
{
    auto* Field = qobject_cast<QLineEdit*>(Watched);
    if (Event->type() != QEvent::KeyPress || !Field)
        return tToolWindow::eventFilter(Watched, Event);
    auto* K = static_cast<QKeyEvent*>(Event);
    if (K->key() == Qt::Key_Up || K->key() == Qt::Key_Down) {
        Step(K->key() == Qt::Key_Up);
        return true;
    }
    if (K->key() == Qt::Key_Return || K->key() == Qt::Key_Enter) {
        CommitValue();
        return true;
    }
    if (Field == Edit_Dec)
        return false;
    if (Field != Edit_Hex && Field != Edit_Bin)
        return tToolWindow::eventFilter(Watched, Event);
    // The hexadecimal and binary fields are typed over, never shortened.
    if (K->key() == Qt::Key_Delete || K->key() == Qt::Key_Backspace) {
        TypeOver(Field, QStringLiteral("0"), K->key() == Qt::Key_Delete);
        return true;
    }
    if (K->matches(QKeySequence::Copy)) {
        QApplication::clipboard()->setText(Field->selectedText());
        return true;
    }
    if (K->matches(QKeySequence::Paste)) {
        TypeOver(Field, QApplication::clipboard()->text().trimmed(), true);
        return true;
    }
    switch (K->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    default:
        break;
    }
    if (!K->text().isEmpty() && !(K->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        TypeOver(Field, K->text().toUpper(), true);
    return true;
}

void tForm_List::keyPressEvent(QKeyEvent* Event)
{
    if ((Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter) && Active) {
        CommitValue();
        return;
    }
    tToolWindow::keyPressEvent(Event);
}

void tForm_List::showEvent(QShowEvent* Event)
{
    tToolWindow::showEvent(Event);
    // The value, not the read-only info fields, takes the keys.
    if (Edit_Dec->isEnabled())
        Edit_Dec->setFocus();
}

void tForm_List::OnNotify(const void* Sender, tNote Msg)
{
    if (Msg == Note::NewListItem)
        ShowRow();
    else if (Msg == Note::NewSNES && Sender != static_cast<const void*>(this)) {
        if (!Active) {
            Active = true;
            for (QWidget* W : std::initializer_list<QWidget*>{Btn_Update, Edit_Name, Edit_OldVal, Edit_Comment})
                W->setEnabled(true);
        }
        ShowRow();
    }
}

void tForm_List::LoadSettings(const tSettings& S)
{
    bool Down = false;
    if (S.Read(QStringLiteral("Btn_Update.Down"), Down))
        Btn_Update->setChecked(Down);
}

void tForm_List::SaveSettings(tSettings& S)
{
    S.Write(QStringLiteral("Btn_Update.Down"), Btn_Update->isChecked());
}
