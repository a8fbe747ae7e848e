#pragma once
// The SMV editor: shows a Snes9x movie's header, metadata and ROM
// information and starts the movie (its quicksave into the machine state, or
// its SRAM into the cartridge). Movies are read only.

#include <array>

#include "gui/core/FileDialog.h"
#include "gui/core/ToolWindow.h"
#include "sound/SMV.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QTableWidget;
class QToolButton;

class tForm_SMV final : public tToolWindow
{
    Q_OBJECT
  public:
    tForm_SMV(const tWindowRow& Row, QWidget* Parent);

    const tSMV& Movie() const { return Movie_; }
    // Runs the open dialog; on a choice, LoadMovie.
    void GUI_ClickOpen();
    // Reads the movie, shows it and starts it.
    void LoadMovie(const QString& FileName);

  protected:
    void LoadSettings(const tSettings& Section) override;
    void SaveSettings(tSettings& Section) override;

  private:
    void ShowMovie();
    void GUI_ClickSync0();
    void GUI_ClickROMInfo();

    tSMV Movie_;
    tFileDialog DlgOpen, DlgSave;
    QToolButton *Btn_Open, *Btn_Save;
    QGroupBox* Group_Header;
    QLineEdit *Edit_Signature, *Edit_Version, *Edit_UID, *Edit_RerecordCount, *Edit_FrameCount;
    std::array<QCheckBox*, 5> CBox_Pads{};
    QRadioButton *RBtn_Quicksave, *RBtn_SRAM;
    QCheckBox* CBox_PAL;
    std::array<QCheckBox*, 7> CBox_Sync{};
    QLabel *Label_Metadata, *Label_CRC32, *Label_ROM;
    QPlainTextEdit* Edit_Metadata;
    QLineEdit *Edit_CRC32, *Edit_ROM;
    QTableWidget* LV;
};
