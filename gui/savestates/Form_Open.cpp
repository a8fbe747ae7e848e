#include "gui/savestates/Form_Open.h"

#include <cstring>

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyle>
#include <QVBoxLayout>

#include "core/Options.h"
#include "gui/core/Form_Main.h"
#include "gui/core/ProgramWindows.h"

namespace
{
constexpr int PathRole = Qt::UserRole + 1;
constexpr int PictureRole = Qt::UserRole + 2;

// The list asks for the icon of every row it lays out or paints; the style's
// look-up is not free.
QIcon NamesIcon()
{
    static const QIcon Icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    return Icon;
}

// Shown for a ZSNES or Super Sleuth slot while previews are off.
QIcon PreviewsOffIcon()
{
    static const QIcon Icon = QApplication::style()->standardIcon(QStyle::SP_FileDialogContentsView);
    return Icon;
}

// A file of a format with previews that carries none.
QIcon NoPictureIcon()
{
    static const QIcon Icon = [] {
        QPixmap P(ThumbWidth, ThumbHeight);
        P.fill(QColor(0xE0, 0xE0, 0xE0));
        QPainter G(&P);
        G.setPen(QColor(0x60, 0x60, 0x60));
        G.drawRect(0, 0, ThumbWidth - 1, ThumbHeight - 1);
        G.drawText(P.rect(), Qt::AlignCenter | Qt::TextWordWrap, QStringLiteral("no picture"));
        return QIcon(P);
    }();
    return Icon;
}

QIcon WaitingIcon()
{
    static const QIcon Icon = [] {
        QPixmap P(ThumbWidth, ThumbHeight);
        P.fill(QColor(0xF0, 0xF0, 0xF0));
        return QIcon(P);
    }();
    return Icon;
}

QIcon ThumbIcon(const tThumbnail& T)
{
    QImage I(ThumbWidth, ThumbHeight, QImage::Format_RGB16);
    for (int y = 0; y < ThumbHeight; ++y)
        std::memcpy(I.scanLine(y), T.data() + y * ThumbWidth, ThumbWidth * 2);
    return QIcon(QPixmap::fromImage(I));
}
} // namespace

tForm_Open::tForm_Open(const tWindowRow& Row, QWidget* Parent) : tFileBrowser(Row, Parent)
{
    setMinimumSize(520, 256);
    auto* Own = new QWidget(FilesPage);
    auto* L = new QHBoxLayout(Own);
    L->setContentsMargins(0, 0, 0, 0);
    CartModel_ = new tNamesModel(this, [this](int Index, int Role) -> QVariant {
        if (Role == Qt::DisplayRole)
            return QString::fromStdString(Groups()[static_cast<size_t>(Index)].Base);
        if (Role == Qt::DecorationRole)
            return NamesIcon();
        return {};
    });
    SlotModel_ = new QStandardItemModel(this);
    LV_Cart = AddTitledList(Own, L, "LV_Cart", QStringLiteral("cartridges"), CartModel_);
    LV_Cart->setUniformItemSizes(true);
    LV_Slot = AddTitledList(Own, L, "LV_Slot", QStringLiteral("slots"), SlotModel_);
    LV_Slot->setIconSize(QSize(ThumbWidth, ThumbHeight));
    connect(LV_Cart->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& I) { FillSlots(I.row()); });
    connect(LV_Slot, &QListView::doubleClicked, this, &tForm_Open::LoadSlot);
    FinishLayout(Own);
    auto* Top = new QVBoxLayout(this);
    Top->setContentsMargins(0, 0, 0, 0);
    Top->addWidget(FilesPage);
    resize(760, 400);
}

bool tForm_Open::NoCurrentDir() const
{
    return Options().CBox_OpenNoCur;
}

std::function<void(tFolderResult&)> tForm_Open::ListingWork() const
{
    const bool CheckZST = Options().CBox_OptionsCheckZST;
    std::shared_ptr<tFolderCache> Cache = Cache_;
    return [CheckZST, Cache](tFolderResult& R) {
        R.Groups = GroupSavestates(R.Listing);
        DetectGroups(R.Groups, *Cache, CheckZST);
    };
}

void tForm_Open::ShowResult(const std::shared_ptr<const tFolderResult>& R)
{
    ++SlotGen_;
    SlotModel_->clear();
    LV_Slot->setEnabled(false);
    CartModel_->Reset(0);
    Shown_ = R;
    CartModel_->Reset(static_cast<int>(Groups().size()));
    LV_Cart->setEnabled(!Groups().empty());
    if (Groups().empty())
        return;
    // The view may have made the first row current on its own, and then
    // selecting it fills nothing.
    const uint64_t Before = SlotGen_;
    SelectRow(LV_Cart, 0);
    if (SlotGen_ == Before)
        FillSlots(0);
}

void tForm_Open::FillSlots(int Group)
{
    const uint64_t Gen = ++SlotGen_;
    SlotModel_->clear();
    if (Group < 0 || Group >= static_cast<int>(Groups().size())) {
        LV_Slot->setEnabled(false);
        return;
    }
    const bool Previews = Options().CBox_OpenPreviews;
    std::vector<tSlotEntry> Wanted;
    for (const tSlotEntry& S : Groups()[static_cast<size_t>(Group)].Slots) {
        auto* Item = new QStandardItem(QString::fromStdString(S.Caption));
        Item->setData(QString::fromStdString(S.Path), PathRole);
        Item->setToolTip(QString::fromStdString(S.Name));
        if (S.Format == FormatZST || S.Format == FormatSSL) {
            if (Previews) {
                Item->setIcon(WaitingIcon());
                Wanted.push_back(S);
            } else
                Item->setIcon(PreviewsOffIcon());
        }
        SlotModel_->appendRow(Item);
    }
    LV_Slot->setEnabled(SlotModel_->rowCount() > 0);
    SelectRow(LV_Slot, 0);
    if (Wanted.empty())
        return;
    // A name's slots are a handful; they are read from the top, which is the
    // part the list shows first.
    std::shared_ptr<tFolderCache> Cache = Cache_;
    Pool_.start([this, Gen, Wanted, Cache] {
        for (const tSlotEntry& S : Wanted) {
            // The file as it is now: a slot saved again in place keeps the
            // folder's time but not its own.
            const std::optional<tFolderFile> Now = FileFacts(S.Path);
            std::optional<tThumbnail> T;
            if (Now)
                T = Cache->Thumbnail(S.Path, S.Format, Now->Size, Now->MTime);
            QMetaObject::invokeMethod(
                this,
                [this, Gen, Path = QString::fromStdString(S.Path), T = std::move(T)] {
                    if (Gen != SlotGen_)
                        return;
                    for (int r = 0; r < SlotModel_->rowCount(); ++r) {
                        QStandardItem* I = SlotModel_->item(r);
                        if (I->data(PathRole).toString() == Path) {
                            I->setIcon(T ? ThumbIcon(*T) : NoPictureIcon());
                            I->setData(bool(T), PictureRole);
                        }
                    }
                },
                Qt::QueuedConnection);
        }
    });
}

QStringList tForm_Open::SlotPaths() const
{
    QStringList L;
    for (int r = 0; r < SlotModel_->rowCount(); ++r)
        L << SlotModel_->item(r)->data(PathRole).toString();
    return L;
}

bool tForm_Open::SlotHasPicture(int Row) const
{
    const QStandardItem* I = SlotModel_->item(Row);
    return I && I->data(PictureRole).toBool();
}

bool tForm_Open::LoadSlot()
{
    const int Row = SelectedRow(LV_Slot);
    if (Row < 0 || !Form_Main)
        return false;
    // The main window's load checks the file again: one deleted or replaced
    // since the list was read is reported with its name and the reason.
    const bool Loaded = Form_Main->OpenSavestate(SlotModel_->item(Row)->data(PathRole).toString());
    if (Loaded && Options().CBox_OpenClose)
        close();
    return Loaded;
}

void tForm_Open::SelectGroup(int Group, bool LastSlot)
{
    SelectRow(LV_Cart, Group);
    SelectRow(LV_Slot, LastSlot ? RowCount(LV_Slot) - 1 : 0);
    LV_Slot->setFocus();
}

void tForm_Open::ActivateList(QListView* List)
{
    if (List == LV_Cart)
        LV_Slot->setFocus();
    else if (List == LV_Slot)
        LoadSlot();
}

bool tForm_Open::ListKey(QListView* List, int Key)
{
    const int Names = RowCount(LV_Cart);
    if (List == LV_Dir && Key == Qt::Key_Right) {
        LV_Cart->setFocus();
        if (Names == 1)
            LV_Slot->setFocus();
        return true;
    }
    if (List == LV_Cart) {
        if (Key == Qt::Key_Right) {
            LV_Slot->setFocus();
            return true;
        }
        if (Key == Qt::Key_Left) {
            if (LV_Dir->isEnabled())
                LV_Dir->setFocus();
            return true;
        }
        return false;
    }
    if (List != LV_Slot)
        return false;
    const int Row = SelectedRow(LV_Slot), Last = RowCount(LV_Slot) - 1, Group = SelectedRow(LV_Cart);
    switch (Key) {
    case Qt::Key_Left:
        if (LV_Cart->isEnabled())
            LV_Cart->setFocus();
        if (Names == 1 && LV_Dir->isEnabled())
            LV_Dir->setFocus();
        return true;
    case Qt::Key_Right:
        SelectRow(LV_Slot, Last);
        return true;
    case Qt::Key_Up:
        if (Row != 0)
            return false;
        if (Group > 0)
            SelectGroup(Group - 1, true);
        return true;
    case Qt::Key_Down:
        if (Row != Last)
            return false;
        if (Group >= 0 && Group + 1 < Names)
            SelectGroup(Group + 1, false);
        return true;
    default:
        return false;
    }
}
