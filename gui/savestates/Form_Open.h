#pragma once
// The savestate browser: the folders of the current folder, the names that
// have savestates there and, for the selected name, its slots with their
// preview pictures. Enter or a double click on a slot loads it through the
// main window's checked load.

#include "gui/savestates/FileBrowser.h"

class tForm_Open final : public tFileBrowser
{
    Q_OBJECT
  public:
    tForm_Open(const tWindowRow& Row, QWidget* Parent);

    // Loads the selected slot; true when it was loaded.
    bool LoadSlot();
    // The slot list's entries' full names, in their order.
    QStringList SlotPaths() const;
    // Whether the slot in Row shows a picture taken from its file.
    bool SlotHasPicture(int Row) const;

    QListView* LV_Cart = nullptr;
    QListView* LV_Slot = nullptr;

  protected:
    std::function<void(tFolderResult&)> ListingWork() const override;
    void ShowResult(const std::shared_ptr<const tFolderResult>& R) override;
    bool NoCurrentDir() const override;
    QListView* NextList() const override { return LV_Cart; }
    bool ListKey(QListView* List, int Key) override;
    void ActivateList(QListView* List) override;
    QList<QListView*> PlaceLists() const override { return {LV_Cart, LV_Slot}; }

  private:
    void FillSlots(int Group);
    void SelectGroup(int Group, bool LastSlot);

    tNamesModel* CartModel_ = nullptr;
    QStandardItemModel* SlotModel_ = nullptr;
    std::shared_ptr<const tFolderResult> Shown_ = std::make_shared<tFolderResult>();
    const std::vector<tStateGroup>& Groups() const { return Shown_->Groups; }
    uint64_t SlotGen_ = 0;
};
