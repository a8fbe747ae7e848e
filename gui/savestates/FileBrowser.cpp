#include "gui/savestates/FileBrowser.h"

#include <algorithm>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QStandardItemModel>
#include <QStorageInfo>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/Options.h"
#include "gui/core/FileDialog.h"
#include "gui/core/Settings.h"

namespace
{
// Waiting this long after the last cause of a refresh lets a burst of them
// (a file manager copying a hundred files, typing in the options' extension
// box) read the folder once.
constexpr int DebounceMs = 80;
// Folders whose reading is kept for going back to them.
constexpr qsizetype MemoFolders = 8;
// Stored distances beyond this are damaged settings.
constexpr int MaxDistance = 10000;

QString WithSlash(QString Dir)
{
    Dir = QDir::cleanPath(QDir(Dir).absolutePath());
    if (!Dir.endsWith(QLatin1Char('/')))
        Dir += QLatin1Char('/');
    return Dir;
}

QIcon DirIcon(bool Current)
{
    static const QIcon Open = QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon);
    static const QIcon Closed = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
    return Current ? Open : Closed;
}
} // namespace

qint64 FolderStamp(const QString& Dir)
{
    const QFileInfo I(Dir);
    return I.isDir() ? I.lastModified().toMSecsSinceEpoch() : -1;
}

tFileBrowser::tFileBrowser(const tWindowRow& Row, QWidget* Parent) : tToolWindow(Row, Parent)
{
    // One thread: folders on one slow disk are read one after the other.
    Pool_.setMaxThreadCount(1);
    Debounce_ = new QTimer(this);
    Debounce_->setSingleShot(true);
    Debounce_->setInterval(DebounceMs);
    connect(Debounce_, &QTimer::timeout, this, [this] {
        const bool Force = ForceNext_;
        ForceNext_ = false;
        StartRead(Force);
    });
    Watcher_ = new QFileSystemWatcher(this);
    connect(Watcher_, &QFileSystemWatcher::directoryChanged, this, [this] {
        ForceNext_ = true;
        Debounce_->start();
    });

    FilesPage = new QWidget(this);
    FilesLayout = new QVBoxLayout(FilesPage);
    FilesLayout->setContentsMargins(2, 2, 2, 2);
    TC_Drive = new QTabBar(FilesPage);
    TC_Drive->setObjectName(QStringLiteral("TC_Drive"));
    TC_Drive->setDrawBase(false);
    TC_Drive->setExpanding(false);
    TC_Drive->installEventFilter(this);
    FillDrives();
    connect(TC_Drive, &QTabBar::currentChanged, this, [this](int Index) {
        if (Index >= 0)
            ChangeDir(TC_Drive->tabData(Index).toString());
    });
    FilesLayout->addWidget(TC_Drive);

    auto* Bar = new QHBoxLayout;
    auto Button = [this, Bar](const char* Name, QStyle::StandardPixmap Pixmap, const QString& Hint) {
        auto* B = new QToolButton(FilesPage);
        B->setObjectName(QLatin1String(Name));
        B->setIcon(style()->standardIcon(Pixmap));
        B->setToolTip(Hint);
        B->setAutoRaise(true);
        Bar->addWidget(B);
        return B;
    };
    Btn_Browse = Button("Btn_Browse", QStyle::SP_DirOpenIcon, QStringLiteral("browse for a directory"));
    Btn_Add = Button("Btn_Add", QStyle::SP_FileDialogNewFolder,
                     QStringLiteral("add the current directory to the favourites"));
    Btn_Remove =
        Button("Btn_Remove", QStyle::SP_TrashIcon, QStringLiteral("remove the selected directory from the favourites"));
    Btn_Remove->setEnabled(false);
    Edit = new QLineEdit(FilesPage);
    Edit->setObjectName(QStringLiteral("Edit"));
    Edit->setReadOnly(true);
    Bar->addWidget(Edit, 1);
    FilesLayout->addLayout(Bar);
    connect(Btn_Browse, &QToolButton::clicked, this, [this] {
        Btn_Browse->setDown(true);
        const QString D = ChooseDirectory(QStringLiteral("Select a directory containing ROM files:"), Dir_, this);
        Btn_Browse->setDown(false);
        if (!D.isEmpty())
            ChangeDir(D);
    });
    connect(Btn_Add, &QToolButton::clicked, this, &tFileBrowser::AddFavourite);
    connect(Btn_Remove, &QToolButton::clicked, this, &tFileBrowser::RemoveFavourite);

    LV_Dir = MakeList(FilesPage, "LV_Dir", DirModel_ = new QStandardItemModel(this));
    LV_Fav = MakeList(FilesPage, "LV_Fav", FavModel_ = new QStandardItemModel(this));
    LV_Dir->setUniformItemSizes(true);
    LV_Fav->setUniformItemSizes(true);
    LV_Fav->setEnabled(false);
    connect(LV_Dir, &QListView::doubleClicked, this, &tFileBrowser::OpenSelectedDir);
    connect(LV_Fav, &QListView::doubleClicked, this, [this](const QModelIndex& I) { ChangeDir(I.data().toString()); });
    connect(LV_Fav->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& I) { Btn_Remove->setEnabled(I.isValid()); });
    Dir_ = WithSlash(QDir::homePath());
}

QListView* tFileBrowser::MakeList(QWidget* Owner, const char* Name, QAbstractItemModel* Model)
{
    auto* L = new QListView(Owner);
    L->setObjectName(QLatin1String(Name));
    Model->setParent(L);
    L->setModel(Model);
    L->setEditTriggers(QAbstractItemView::NoEditTriggers);
    L->installEventFilter(this);
    return L;
}

QListView* tFileBrowser::AddTitledList(QWidget* Owner, QBoxLayout* Into, const char* Name, const QString& Title,
                                       QAbstractItemModel* Model)
{
    auto* Box = new QVBoxLayout;
    Box->addWidget(new QLabel(Title, Owner));
    QListView* L = MakeList(Owner, Name, Model);
    // Nothing to choose before the first folder is shown.
    L->setEnabled(false);
    Box->addWidget(L, 1);
    Into->addLayout(Box, 1);
    return L;
}

tFileBrowser::~tFileBrowser()
{
    // The worker posts to this window; it must be done before the window goes.
    Pool_.clear();
    Pool_.waitForDone();
}

void tFileBrowser::FinishLayout(QWidget* OwnLists)
{
    auto Titled = [this](const QString& Title, QWidget* W) {
        auto* Box = new QWidget(FilesPage);
        auto* L = new QVBoxLayout(Box);
        L->setContentsMargins(0, 0, 0, 0);
        L->addWidget(new QLabel(Title, Box));
        L->addWidget(W, 1);
        return Box;
    };
    auto* Lists = new QHBoxLayout;
    Lists->addWidget(Titled(QStringLiteral("directories"), LV_Dir), 1);
    Lists->addWidget(OwnLists, 2);
    Lists->addWidget(Titled(QStringLiteral("favourite directories"), LV_Fav), 1);
    FilesLayout->addLayout(Lists, 1);
}

void tFileBrowser::FillDrives()
{
    QStringList Roots;
    for (const QStorageInfo& V : QStorageInfo::mountedVolumes()) {
        const QString R = V.rootPath();
        if (!V.isValid() || !V.isReady() || R.startsWith(QLatin1String("/proc")) ||
            R.startsWith(QLatin1String("/sys")) || R.startsWith(QLatin1String("/dev")) ||
            R.startsWith(QLatin1String("/run")))
            continue;
        const QString Root = WithSlash(R);
        if (!Roots.contains(Root))
            Roots << Root;
    }
    Roots.sort();
    for (const QString& R : Roots) {
        const int I = TC_Drive->addTab(QLatin1Char('&') + R);
        TC_Drive->setTabData(I, R);
    }
}

void tFileBrowser::SelectDriveTab()
{
    int Best = -1, Length = -1;
    for (int i = 0; i < TC_Drive->count(); ++i) {
        const QString R = TC_Drive->tabData(i).toString();
        if (Dir_.startsWith(R) && R.size() > Length) {
            Best = i;
            Length = static_cast<int>(R.size());
        }
    }
    const QSignalBlocker Block(TC_Drive);
    if (Best >= 0)
        TC_Drive->setCurrentIndex(Best);
}

void tFileBrowser::ChangeDir(const QString& Dir)
{
    if (Dir.isEmpty() || !QFileInfo(Dir).isDir())
        return;
    const QString New = WithSlash(Dir);
    // Places kept for a refresh belong to the folder being left.
    if (New != Dir_)
        Pending_Places.clear();
    Dir_ = New;
    Refresh();
}

bool tFileBrowser::Busy() const
{
    return Pending_ > 0 || Debounce_->isActive();
}

void tFileBrowser::ForgetFolders()
{
    Memo_.clear();
    Cache_->Clear();
    ReadDir_.clear();
}

void tFileBrowser::Refresh(bool Force)
{
    Debounce_->stop();
    ForceNext_ = false;
    StartRead(Force);
}

void tFileBrowser::StartRead(bool Force)
{
    if (!QFileInfo(Dir_).isDir()) {
        // The folder went away under the window: its nearest living parent.
        QDir D(Dir_);
        while (!D.exists() && D.cdUp()) {
        }
        Dir_ = WithSlash(D.exists() ? D.path() : QDir::homePath());
        Force = true;
    }
    SelectDriveTab();
    Edit->setText(QDir::toNativeSeparators(Dir_));
    UpdateFavouriteMarks();
    // The lists stand as they are when they show this folder as it is; a
    // read still under way (of this or another folder) is replaced instead.
    if (!Force && Pending_ == 0 && Dir_ == ReadDir_ && FolderStamp(Dir_) == ReadStamp_) {
        Pending_Places.clear();
        return;
    }
    if (Force)
        Memo_.remove(Dir_);
    if (const auto M = Memo_.constFind(Dir_); M != Memo_.constEnd() && M->Stamp == FolderStamp(Dir_)) {
        // Back in a folder that has not changed since it was read.
        const std::shared_ptr<tFolderResult> R = M->Result;
        const uint64_t Gen = ++Gen_;
        ++Pending_;
        ReadDir_ = Dir_;
        ReadStamp_ = M->Stamp;
        Deliver(Gen, R, true);
        Deliver(Gen, R, false);
        return;
    }
    if (!Watcher_->directories().isEmpty())
        Watcher_->removePaths(Watcher_->directories());
    Watcher_->addPath(Dir_);

    const uint64_t Gen = ++Gen_;
    ++Pending_;
    const std::string Dir = Dir_.toStdString();
    const QString QDirName = Dir_;
    std::function<void(tFolderResult&)> Work = ListingWork();
    Pool_.start([this, Gen, Dir, QDirName, Work] {
        auto R = std::make_shared<tFolderResult>();
        const qint64 Stamp = FolderStamp(QDirName);
        R->Listing = ListFolder(Dir);
        // The folder list first; names and slots need the header checks.
        auto Dirs = std::make_shared<tFolderResult>();
        Dirs->Listing.Dir = R->Listing.Dir;
        Dirs->Listing.Ok = R->Listing.Ok;
        Dirs->Listing.Dirs = R->Listing.Dirs;
        QMetaObject::invokeMethod(
            this, [this, Gen, Dirs] { Deliver(Gen, Dirs, true); }, Qt::QueuedConnection);
        if (Work)
            Work(*R);
        QMetaObject::invokeMethod(
            this,
            [this, Gen, R, Stamp, QDirName] {
                if (Gen == Gen_) {
                    ReadDir_ = QDirName;
                    ReadStamp_ = Stamp;
                    if (Memo_.size() >= MemoFolders)
                        Memo_.clear();
                    Memo_.insert(QDirName, {Stamp, R});
                }
                Deliver(Gen, R, false);
            },
            Qt::QueuedConnection);
    });
}

void tFileBrowser::Deliver(uint64_t Gen, std::shared_ptr<tFolderResult> R, bool DirsOnly)
{
    if (!DirsOnly)
        --Pending_;
    if (Gen != Gen_)
        return;
    if (!DirsOnly) {
        ShowResult(R);
        RestorePendingPlaces();
        return;
    }
    DirModel_->clear();
    if (!NoCurrentDir())
        DirModel_->appendRow(new QStandardItem(DirIcon(true), QStringLiteral(".")));
    if (!QDir(Dir_).isRoot())
        DirModel_->appendRow(new QStandardItem(DirIcon(false), QStringLiteral("..")));
    for (const std::string& D : R->Listing.Dirs)
        DirModel_->appendRow(new QStandardItem(DirIcon(false), QString::fromStdString(D)));
    LV_Dir->setEnabled(DirModel_->rowCount() > 0);
    int Row = 0;
    if (!SelectAfterUp_.isEmpty()) {
        const QList<QStandardItem*> Found = DirModel_->findItems(SelectAfterUp_);
        if (!Found.isEmpty())
            Row = Found.first()->row();
        SelectAfterUp_.clear();
    }
    SelectRow(LV_Dir, Row);
}

void tFileBrowser::OpenSelectedDir()
{
    const int Row = SelectedRow(LV_Dir);
    if (Row < 0)
        return;
    const QString Name = DirModel_->item(Row)->text();
    if (Name == QLatin1String("."))
        Refresh(true);
    else if (Name == QLatin1String(".."))
        GoUp();
    else
        ChangeDir(Dir_ + Name);
}

void tFileBrowser::GoUp()
{
    QDir D(Dir_);
    if (D.isRoot()) {
        TC_Drive->setFocus();
        return;
    }
    SelectAfterUp_ = D.dirName();
    D.cdUp();
    LV_Dir->setFocus();
    ChangeDir(D.path());
}

QStringList tFileBrowser::Favourites() const
{
    QStringList L;
    for (int i = 0; i < FavModel_->rowCount(); ++i)
        L << FavModel_->item(i)->text();
    return L;
}

void tFileBrowser::ShowFavourites(const QStringList& Items)
{
    FavModel_->clear();
    for (const QString& F : Items)
        FavModel_->appendRow(new QStandardItem(DirIcon(false), F));
    FavModel_->sort(0);
    LV_Fav->setEnabled(FavModel_->rowCount() > 0);
    Btn_Remove->setEnabled(false);
    UpdateFavouriteMarks();
}

void tFileBrowser::AddFavourite()
{
    if (!FavModel_->findItems(Dir_).isEmpty())
        return;
    QStringList L = Favourites();
    L << Dir_;
    ShowFavourites(L);
}

void tFileBrowser::RemoveFavourite()
{
    // Delete in an empty list, or with nothing selected, does nothing.
    const int Row = SelectedRow(LV_Fav);
    if (Row < 0 || Row >= FavModel_->rowCount())
        return;
    FavModel_->removeRow(Row);
    const int Count = FavModel_->rowCount();
    LV_Fav->setEnabled(Count > 0);
    if (Count > 0)
        SelectRow(LV_Fav, std::min(Row, Count - 1));
    Btn_Remove->setEnabled(Count > 0);
    UpdateFavouriteMarks();
}

void tFileBrowser::UpdateFavouriteMarks()
{
    bool IsFavourite = false;
    for (int i = 0; i < FavModel_->rowCount(); ++i) {
        QStandardItem* I = FavModel_->item(i);
        const bool Current = I->text() == Dir_;
        IsFavourite |= Current;
        I->setIcon(DirIcon(Current));
        if (Current && !Restoring_)
            LV_Fav->setCurrentIndex(I->index());
    }
    Btn_Add->setEnabled(!IsFavourite);
}

int tFileBrowser::SelectedRow(const QListView* List)
{
    const QModelIndexList S = List->selectionModel()->selectedIndexes();
    return S.isEmpty() ? -1 : S.first().row();
}

int tFileBrowser::RowCount(const QListView* List)
{
    return List->model()->rowCount();
}

void tFileBrowser::SelectRow(QListView* List, int Row)
{
    const int Count = RowCount(List);
    if (Count == 0)
        return;
    const QModelIndex I = List->model()->index(std::clamp(Row, 0, Count - 1), 0);
    List->setCurrentIndex(I);
    List->scrollTo(I);
}

tFileBrowser::tListPlace tFileBrowser::PlaceOf(QListView* List)
{
    const int Row = SelectedRow(List);
    if (Row < 0)
        return {};
    const QModelIndex Top = List->indexAt(QPoint(2, 2));
    const int TopRow = Top.isValid() ? Top.row() : 0;
    return {List->model()->index(Row, 0).data().toString(), std::clamp(Row - TopRow, 0, MaxDistance)};
}

bool tFileBrowser::RestorePlace(QListView* List, const tListPlace& Place)
{
    if (Place.Caption.isEmpty())
        return false;
    const QModelIndexList Found =
        List->model()->match(List->model()->index(0, 0), Qt::DisplayRole, Place.Caption, 1, Qt::MatchExactly);
    if (Found.isEmpty())
        return false;
    const int Row = Found.first().row();
    // The stored distance may be anything a hand-edited file holds.
    const int Top = Row - std::clamp(Place.Distance, 0, Row);
    List->setCurrentIndex(Found.first());
    // The rows are laid out lazily; scrolling needs them in place.
    List->doItemsLayout();
    List->scrollTo(List->model()->index(Top, 0), QAbstractItemView::PositionAtTop);
    List->scrollTo(Found.first());
    return true;
}

void tFileBrowser::RememberPlaces()
{
    Pending_Places.clear();
    Pending_Places << PlaceOf(LV_Dir);
    for (QListView* L : PlaceLists())
        Pending_Places << PlaceOf(L);
    Pending_Places << PlaceOf(LV_Fav);
}

void tFileBrowser::RestorePendingPlaces()
{
    // A hidden list has no height to keep a distance from its top in: the
    // places wait for the first refresh on screen.
    if (Pending_Places.isEmpty() || !isVisible())
        return;
    QList<QListView*> Lists{LV_Dir};
    Lists << PlaceLists() << LV_Fav;
    const QList<tListPlace> Places = Pending_Places;
    Pending_Places.clear();
    Restoring_ = true;
    for (qsizetype i = 0; i < Lists.size() && i < Places.size(); ++i)
        if (!RestorePlace(Lists[i], Places[i]))
            break;
    Restoring_ = false;
}

void tFileBrowser::OnNotify(const void*, tNote Msg)
{
    if (Msg == Note::UpdateFileDialogs) {
        if (Pending_Places.isEmpty())
            RememberPlaces();
        // The options may have changed what is listed.
        ForceNext_ = true;
        Debounce_->start();
    } else if (Msg == Note::ApplActivated && isVisible()) {
        Debounce_->start();
    }
}

void tFileBrowser::LoadSettings(const tSettings& Section)
{
    QStringList Favs;
    Section.Read(QStringLiteral("LV_Fav.ItemCaptions"), Favs);
    QString Path;
    if (!Section.Read(QStringLiteral("Path"), Path) || !QFileInfo(Path).isDir())
        Path = QDir::homePath();
    Dir_ = WithSlash(Path);
    QStringList Distances, Captions;
    Section.Read(QStringLiteral("LV_Status.Distances"), Distances);
    Section.Read(QStringLiteral("LV_Status.ItemCaptions"), Captions);
    const qsizetype Count = 2 + PlaceLists().size();
    Pending_Places.clear();
    for (qsizetype i = 0; i < Count; ++i) {
        tListPlace P;
        if (i < Captions.size())
            P.Caption = Captions[i];
        if (i < Distances.size())
            P.Distance = std::clamp(Distances[i].toInt(), 0, MaxDistance);
        Pending_Places << P;
    }
    // The options of the other windows (dead links, header checks) are read
    // later in the same round; the folder is read once they all are.
    QTimer::singleShot(0, this, [this, Favs]() mutable {
        if (Options().CBox_OptionsLinks)
            Favs.erase(std::remove_if(Favs.begin(), Favs.end(), [](const QString& F) { return !QFileInfo(F).isDir(); }),
                       Favs.end());
        ShowFavourites(Favs);
        Refresh(true);
    });
}

void tFileBrowser::SaveSettings(tSettings& Section)
{
    Section.Write(QStringLiteral("LV_Fav.ItemCaptions"), Favourites());
    Section.Write(QStringLiteral("Path"), Dir_);
    QList<tListPlace> Places = Pending_Places;
    if (Places.isEmpty()) {
        RememberPlaces();
        Places = Pending_Places;
        Pending_Places.clear();
    }
    QStringList Distances, Captions;
    for (const tListPlace& P : Places) {
        Distances << QString::number(P.Distance);
        Captions << P.Caption;
    }
    Section.Write(QStringLiteral("LV_Status.Distances"), Distances);
    Section.Write(QStringLiteral("LV_Status.ItemCaptions"), Captions);
}

void tFileBrowser::showEvent(QShowEvent* Event)
{
    tToolWindow::showEvent(Event);
    if (!FirstShown_) {
        FirstShown_ = true;
        LV_Dir->setFocus();
    }
    // The folder may have changed while the window was hidden.
    Debounce_->start();
}

bool tFileBrowser::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Event->type() != QEvent::KeyPress)
        return tToolWindow::eventFilter(Watched, Event);
    const int Key = static_cast<QKeyEvent*>(Event)->key();
    if (Key == Qt::Key_Backspace) {
        GoUp();
        return true;
    }
    const bool Enter = Key == Qt::Key_Return || Key == Qt::Key_Enter;
    if (Watched == LV_Dir) {
        if (Enter) {
            OpenSelectedDir();
            return true;
        }
        if (Key == Qt::Key_Left) {
            SelectRow(LV_Dir, 0);
            return true;
        }
        if (Key == Qt::Key_Right) {
            if (NextList()->isEnabled())
                ListKey(LV_Dir, Key);
            else
                SelectRow(LV_Dir, RowCount(LV_Dir) - 1);
            return true;
        }
        return false;
    }
    if (Watched == LV_Fav) {
        if (Enter) {
            const int Row = SelectedRow(LV_Fav);
            if (Row >= 0)
                ChangeDir(FavModel_->item(Row)->text());
            return true;
        }
        if (Key == Qt::Key_Delete) {
            RemoveFavourite();
            return true;
        }
        return false;
    }
    if (auto* L = qobject_cast<QListView*>(Watched)) {
        if (Enter) {
            ActivateList(L);
            return true;
        }
        return ListKey(L, Key);
    }
    return false;
}
