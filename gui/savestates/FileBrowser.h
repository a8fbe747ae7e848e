#pragma once
// What the savestate and cartridge browsers share: the volume tabs, the
// folder list, the favourites, the folder display and the browse / add /
// remove buttons, the keys that move between folders, and the reading of a
// folder on a worker thread.
//
// A refresh lists the folder off the user-interface thread; every refresh
// gets a new generation number, and results of an older generation are
// dropped, so a slow disk never shows a folder the user has already left.
// Refreshes are debounced, and a folder whose time stamp has not changed is
// not read again.

#include <QAbstractListModel>
#include <QHash>
#include <QThreadPool>

#include <functional>
#include <memory>

#include "app/FolderModel.h"
#include "gui/core/ToolWindow.h"

class QBoxLayout;
class QFileSystemWatcher;
class QLineEdit;
class QListView;
class QStandardItemModel;
class QTabBar;
class QTimer;
class QToolButton;
class QVBoxLayout;

// What the worker hands back for one folder.
struct tFolderResult {
    tFolderListing Listing;
    std::vector<tStateGroup> Groups;
    std::vector<tCartEntry> Carts;
};

// A list whose rows are made on demand from the folder's result: thousands of
// names cost no items up front.
class tNamesModel final : public QAbstractListModel
{
  public:
    using tData = std::function<QVariant(int Row, int Role)>;
    tNamesModel(QObject* Parent, tData Data) : QAbstractListModel(Parent), Data_(std::move(Data)) {}
    void Reset(int Rows)
    {
        beginResetModel();
        Rows_ = Rows;
        endResetModel();
    }
    int rowCount(const QModelIndex& Parent = {}) const override { return Parent.isValid() ? 0 : Rows_; }
    QVariant data(const QModelIndex& I, int Role) const override
    {
        return I.isValid() && I.row() < Rows_ ? Data_(I.row(), Role) : QVariant();
    }

  private:
    tData Data_;
    int Rows_ = 0;
};

class tFileBrowser : public tToolWindow
{
    Q_OBJECT
  public:
    tFileBrowser(const tWindowRow& Row, QWidget* Parent);
    ~tFileBrowser() override;

    QString CurrentDir() const { return Dir_; }
    // Makes Dir current and reads it (after the debounce); "" or a missing
    // folder keeps the current one.
    void ChangeDir(const QString& Dir);
    // Reads the folder now, bypassing the debounce (and the time stamp when
    // Force is set).
    void Refresh(bool Force = false);
    // Forgets every folder read and every file checked, so that the next
    // visit reads from the disk.
    void ForgetFolders();
    // True while a read of the folder is under way or about to start.
    bool Busy() const;
    // The favourites in their order.
    QStringList Favourites() const;
    void AddFavourite();
    void RemoveFavourite();
    // Opens the selected entry of the folder list.
    void OpenSelectedDir();
    // Backspace: up to the parent folder, or to the volume tabs at a root.
    void GoUp();

    QTabBar* TC_Drive = nullptr;
    QListView* LV_Dir = nullptr;
    QListView* LV_Fav = nullptr;
    QLineEdit* Edit = nullptr;
    QToolButton* Btn_Browse = nullptr;
    QToolButton* Btn_Add = nullptr;
    QToolButton* Btn_Remove = nullptr;

  protected:
    // The work done on the worker after the listing (detection, grouping);
    // it must capture copies only, never the window.
    virtual std::function<void(tFolderResult&)> ListingWork() const = 0;
    // The folder's result on the user-interface thread: fill the own lists.
    virtual void ShowResult(const std::shared_ptr<const tFolderResult>& R) = 0;
    // Whether "." is left out of the folder list.
    virtual bool NoCurrentDir() const = 0;
    // The list that follows the folder list (names or cartridges).
    virtual QListView* NextList() const = 0;
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    // Keys of the own lists; true when consumed.
    virtual bool ListKey(QListView* /*List*/, int /*Key*/) { return false; }
    virtual void ActivateList(QListView* /*List*/) {}

    // The selection of one list as kept between runs: caption and distance
    // from the top visible row.
    struct tListPlace {
        QString Caption;
        int Distance = 0;
    };
    // A read-only list of Model (which it takes over) whose keys reach
    // ListKey; AddTitledList puts it under a caption into Into, disabled.
    QListView* MakeList(QWidget* Owner, const char* Name, QAbstractItemModel* Model);
    QListView* AddTitledList(QWidget* Owner, QBoxLayout* Into, const char* Name, const QString& Title,
                             QAbstractItemModel* Model);
    static tListPlace PlaceOf(QListView* List);
    // Selects the item with the caption, keeping its distance from the top;
    // false when there is none.
    static bool RestorePlace(QListView* List, const tListPlace& Place);
    static void SelectRow(QListView* List, int Row);
    static int SelectedRow(const QListView* List);
    static int RowCount(const QListView* List);

    void OnNotify(const void* Sender, tNote Msg) override;
    void LoadSettings(const tSettings& Section) override;
    void SaveSettings(tSettings& Section) override;
    // The selections of the own lists after the folder list's and before
    // the favourites', in the order they are restored.
    virtual QList<QListView*> PlaceLists() const = 0;
    void RememberPlaces();
    // Restores what RememberPlaces kept, list by list while each is found;
    // the own lists call this when their items arrived.
    void RestorePendingPlaces();
    QList<tListPlace> Pending_Places;
    bool Restoring_ = false;
    void showEvent(QShowEvent* Event) override;

    // Layout of the files page: the own lists go between the folder list
    // and the favourites.
    QVBoxLayout* FilesLayout = nullptr;
    QWidget* FilesPage = nullptr;
    void FinishLayout(QWidget* OwnLists);
    std::shared_ptr<tFolderCache> Cache_ = std::make_shared<tFolderCache>();
    QThreadPool Pool_;
    uint64_t Gen_ = 0;

  private:
    void StartRead(bool Force);
    void Deliver(uint64_t Gen, std::shared_ptr<tFolderResult> R, bool DirsOnly);
    void FillDrives();
    void SelectDriveTab();
    void UpdateFavouriteMarks();
    void ShowFavourites(const QStringList& Items);

    QStandardItemModel* DirModel_ = nullptr;
    QStandardItemModel* FavModel_ = nullptr;
    QFileSystemWatcher* Watcher_ = nullptr;
    QTimer* Debounce_ = nullptr;
    QString Dir_;
    QString SelectAfterUp_;
    QString ReadDir_;       // the folder of the last complete read
    qint64 ReadStamp_ = -1; // its modification time then
    // The last folders read, for going back to one that has not changed.
    struct tMemo {
        qint64 Stamp = -1;
        std::shared_ptr<tFolderResult> Result;
    };
    QHash<QString, tMemo> Memo_;
    int Pending_ = 0;
    bool FirstShown_ = false;
    bool ForceNext_ = false;
};

// The folder's modification time in milliseconds (-1 when unreadable).
qint64 FolderStamp(const QString& Dir);
