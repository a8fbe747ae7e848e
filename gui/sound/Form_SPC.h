#pragma once
// The SPC editor: the header, the ID666 tag and the extended tags of the SPC
// image the program holds, opening SPC files and saving the held one. The
// values live in a tSPC_Editor; the window only binds them to its controls.

#include <array>

#include "gui/core/FileDialog.h"
#include "gui/core/ToolWindow.h"
#include "sound/SPC_Editor.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class QToolButton;

class tForm_SPC final : public tToolWindow
{
    Q_OBJECT
  public:
    tForm_SPC(const tWindowRow& Row, QWidget* Parent);

    tSPC_Editor& Editor() { return Editor_; }
    // Runs the open or save dialog and its action.
    void GUI_ClickOpen();
    void GUI_ClickSave();

  protected:
    void OnNotify(const void* Sender, tNote Msg) override;
    void LoadSettings(const tSettings& Section) override;
    void SaveSettings(tSettings& Section) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

  private:
    void CreateHeader(QWidget* Parent, class QBoxLayout* Into);
    void CreateID666(QWidget* Parent, QBoxLayout* Into);
    QWidget* CreateExtended(QWidget* Parent);
    void CreatePages();
    // "new SPC": the fields as typed stay unless a new file is held.
    void ShowSPC();
    void ShowFields();
    void ShowTagList();
    void GUI_SetID666();
    void GUI_ChangeVersion();
    void GUI_SelectTag();
    void GUI_SelectID();
    void ShowTagPage();
    void ShowPage(int Index);
    void ShowInteger(uint32_t Value);
    void UpdateTagRow();
    // The tag of the selected row, or nullptr.
    tSPC_ExtTag* CurrentTag();
    void StoreNumber(uint32_t Value);

    tSPC_Editor Editor_;
    bool Filling_ = false;
    tFileDialog DlgOpen, DlgSave;

    QToolButton *Btn_Open, *Btn_Save, *Btn_Add, *Btn_Remove;
    QLineEdit *Edit_Sig, *Edit_Version;
    QCheckBox *CBox_ID666, *CBox_Binary, *CBox_Extended;
    QGroupBox* Group_ID666;
    QLineEdit *Edit_Song, *Edit_Game, *Edit_Artist, *Edit_Comments, *Edit_Dumper;
    QComboBox *Combo_Day, *Combo_Month, *Combo_Year, *Combo_Emulator;
    QLineEdit *Edit_Length1, *Edit_Length2, *Edit_Fade1, *Edit_Fade2;
    std::array<QCheckBox*, 8> CBox_Muted{};

    QTableWidget *LV_Tags, *LV_IDs;
    QTabWidget* PC;
    std::array<QCheckBox*, 8> CBox_Bits{};
    QSpinBox *UD_Byte, *UD_Word, *UD_Int2, *UD_Track;
    QLineEdit *Edit_Int1, *Memo;
    QLabel *Label_Int1, *Label_Int2;
    QComboBox *Combo_DateDay, *Combo_DateMonth, *Combo_DateYear, *Combo_Track, *Combo_Emulator2;
};
