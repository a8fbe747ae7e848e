#pragma once
// The cartridge browser: the "files" page lists the cartridge files of a
// folder (with marks for zip archives and IPS patches beside them) and loads
// one on Enter or a double click; the "ROM" page shows the internal header
// of the loaded cartridge, read-only, and lets the user say whether it is a
// LoROM, HiROM or extended HiROM board.

#include "gui/savestates/FileBrowser.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QStackedWidget;

class tForm_Cart final : public tFileBrowser
{
    Q_OBJECT
  public:
    tForm_Cart(const tWindowRow& Row, QWidget* Parent);

    // Loads the selected cartridge; true when it was loaded.
    bool LoadSelected();
    // Shows the "files" (0) or "ROM" (1) page.
    void ShowPage(int Page);
    // Shows the header the cartridge holds for the accepted map-mode tab.
    void ShowHeader();
    QStringList CartNames() const;

    QListView* LV_Cart = nullptr;
    QTabBar* TC_Mode = nullptr;
    QGroupBox* Header = nullptr;

  protected:
    std::function<void(tFolderResult&)> ListingWork() const override;
    void ShowResult(const std::shared_ptr<const tFolderResult>& R) override;
    bool NoCurrentDir() const override;
    QListView* NextList() const override { return LV_Cart; }
    bool ListKey(QListView* List, int Key) override;
    void ActivateList(QListView* List) override;
    QList<QListView*> PlaceLists() const override { return {LV_Cart}; }
    void OnNotify(const void* Sender, tNote Msg) override;

  private:
    void CreateRomPage(QWidget* Page);
    QComboBox* AddCombo(const char* Name);
    void ChangeMode(int Tab);

    tNamesModel* CartModel_ = nullptr;
    std::shared_ptr<const tFolderResult> Shown_ = std::make_shared<tFolderResult>();
    const std::vector<tCartEntry>& Carts() const { return Shown_->Carts; }
    QStackedWidget* Pages_ = nullptr;
    QList<QComboBox*> Combos_;
    int ModeTag_ = 0;
    bool Filled_ = false;
};
