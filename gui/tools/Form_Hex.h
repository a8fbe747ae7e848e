#pragma once
// The hex editor: a private copy of one memory block shown and edited byte
// by byte, written back on Enter, at once with "update immediately", or when
// another block is chosen. The copy, the caret and the window rules are
// tHexModel's; the geometry is tHexLayout's; the blocks are HexBlocks().

#include <QImage>

#include <array>
#include <map>
#include <vector>

#include "core/Picture32.h"
#include "gui/core/FileDialog.h"
#include "gui/core/ToolWindow.h"
#include "tools/HexBlocks.h"
#include "tools/HexLayout.h"
#include "tools/HexModel.h"

class QLineEdit;
class QGroupBox;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class QTabBar;
class QTabWidget;
class QTimer;
class QToolButton;
class tHexView;

class tForm_Hex final : public tToolWindow
{
    Q_OBJECT
  public:
    tForm_Hex(const tWindowRow& Row, QWidget* Parent);
    ~tForm_Hex() override;

    // For the search window: the copy on view, and moving the window.
    const tHexModel& Model() const { return Model_; }
    void SetWindow(int64_t Start);
    // Counts the changes of the block on view; a search restarts when it moves.
    uint64_t SourceGeneration() const { return Generation_; }

    // Writes the copy back when it was edited, and announces it.
    void Commit();
    const tHexBlock& CurrentBlock() const;
    void SelectSource(int Page, int Tab);

  public slots:
    // The options window changed colours, font or spacing.
    void ApplyOptions();
    // The options window's "codepage..." button.
    void LoadCodePage();

  protected:
    void OnNotify(const void* Sender, tNote Msg) override;
    void LoadSettings(const tSettings& Section) override;
    void SaveSettings(tSettings& Section) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;

  private:
    friend class tHexView;
    void Startup();
    // Names and shows the tabs for the state as it is now.
    void ShowTabs();
    void LoadSource();
    void ShowSource();
    void Reload();
    void Layout();
    void ShowWindowState();
    void ShowInfo();
    void ShowCaret();
    void GUI_ChangeSource();
    void GUI_ClickJump(bool Forward);
    void GUI_OffsetEntered();
    void GUI_ClickSave();
    void GUI_Search();
    void AfterKey(const tHexKeyResult& R);
    bool SetCodePage(const tPicture32& Picture);
    // The glyphs drawn in one colour (built on first use).
    const std::vector<QImage>& Glyphs(QRgb Colour);

    tHexModel Model_;
    tHexLayout Layout_;
    std::vector<tHexSourceState> SourceStates;
    int Page_ = 1, Tab_ = 0;
    bool Started_ = false;
    bool Switching_ = false;
    uint64_t Generation_ = 0;
    bool CaretShown = true;
    tPicture32 CodePage_;
    std::map<QRgb, std::vector<QImage>> GlyphCache;

    QTabWidget* PC_Base = nullptr;
    std::array<QTabBar*, HexPageCount> Tabs{};
    QGroupBox* Group_Offset = nullptr;
    QLineEdit* Edit_Offset = nullptr;
    QSpinBox* UD_Offset = nullptr;
    QToolButton* Btn_Minus = nullptr;
    QToolButton* Btn_Plus = nullptr;
    QRadioButton* RBtn_JumpWin = nullptr;
    QRadioButton* RBtn_JumpLine = nullptr;
    QSpinBox* UD_xRes = nullptr;
    QSpinBox* UD_yRes = nullptr;
    QToolButton* Btn_Move = nullptr;
    QToolButton* Btn_Update = nullptr;
    QToolButton* Btn_Search = nullptr;
    std::array<QLineEdit*, 7> ValueFields{};
    QLineEdit* Edit_SelOffs = nullptr;
    QLineEdit* Edit_CurSize = nullptr;
    QScrollArea* ScrollBox = nullptr;
    tHexView* Image = nullptr;
    QTimer* Timer = nullptr;
    tFileDialog DlgSave_Data, DlgSave_CP, DlgOpen_CP;
};
