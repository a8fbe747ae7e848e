#pragma once
// The scene viewer: the composed screen of the loaded state and its parts
// (which layer reaches each screen, every background plane, the sprites, the
// mode 7 plane), the HDMA tables, the offset-per-tile table and the decoded
// registers; every picture can be saved or copied.
//
// Where things are defined:
//   Form_Scene.cpp       the controls, settings and user actions
//   Form_SceneDraw.cpp   Reload, the redraw dispatch, the pictures, the
//                        tile info, saving
//   Form_ScenePages.cpp  the HDMA, offset-per-tile and info pages

#include <array>

#include "core/Picture32.h"
#include "core/Picture8.h"
#include "gui/core/FileDialog.h"
#include "gui/core/ToolWindow.h"
#include "render/LayerPictures.h"
#include "render/SceneSwitches.h"
#include "render/SceneView.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabBar;
class QTabWidget;
class QTableWidget;
class QToolButton;
class tPictureView;

class tForm_Scene final : public tToolWindow
{
    Q_OBJECT
  public:
    tForm_Scene(const tWindowRow& Row, QWidget* Parent);

    // "new SNES": the layering and sprite list from the registers, then the
    // pages the update buttons let through.
    void Reload();
    // An option of the options window changed (its control's name).
    void OptionChanged(const QString& Name);
    // Forces a BG mode for inspection (the tab row, Ctrl+0..7).
    void ChooseMode(int Mode);

    // What the window shows, for its tests.
    const tSceneSwitches& Switches() const { return Switches_; }
    const tPicture8& Screen8() const { return Screen8_; }
    const tPicture32& Screen16() const { return Screen16_; }
    tPictureView* ScreenView() const { return View_Screen; }
    int RedrawCount(tScenePage Page) const { return RedrawCount_[static_cast<size_t>(Page)]; }

  protected:
    void OnNotify(const void* Sender, tNote Msg) override;
    void LoadSettings(const tSettings& Section) override;
    void SaveSettings(tSettings& Section) override;
    void showEvent(QShowEvent* Event) override;

  private:
    void CreateScreenPage(QWidget* Page);
    void CreateLayersPage(QWidget* Page);
    QWidget* CreateRightPanel(QWidget* Parent);
    void CreateHDMAPage(QWidget* Page);
    void CreateOffsetPage(QWidget* Page);
    void CreateInfoPage(QWidget* Page);

    // The page and layers sub-page on view.
    tScenePage VisiblePicturePage() const;
    // Marks a page for redrawing because the user changed it, then redraws
    // what is on view.
    void UserChanged(tScenePage Page);
    void RedrawVisible();
    void LayeringChanged();
    void ShowLayering();
    void DrawScreen();
    void DrawBG();
    void DrawSprites();
    void DrawMode7();
    void RefreshHDMA();
    void RefreshOffsetGrid();
    void RefreshInfo();
    void UpdateCaption();
    void UpdateLayerHint();
    void ShowTileInfo(const tTileInfo& Info);
    // The tile info of the layers sub-page on view: the selected sprite, or
    // nothing until the mouse points at a tile.
    void RefreshTileInfo();
    void HoverBG(QPoint At);
    void HoverMode7(QPoint At);
    void HoverSprites(QPoint At);
    void SaveOrCopy(bool Screen);
    void ChooseCustomColour();
    // Checks every sprite of the list, or inverts the checks.
    void SetAllSprites(bool Invert);
    std::array<uint8_t, 4> SpritePriorities() const;
    QString Number(long Value) const;

    tSceneSwitches Switches_;
    std::array<uint8_t, 128> SpriteActive_{};
    tTransparency Transparency_;
    tSceneRedraw Redraw_;
    std::array<int, static_cast<size_t>(tScenePage::Count)> RedrawCount_{};
    tPicture8 Screen8_, BG_, Sprites_, Mode7_;
    tPicture32 Screen16_;
    tDrawnLayer DrawnBG_;
    tTileInfo ShownTile_; // what the tile info panel shows, for a change of number format
    tPictureZoom ScreenZoom_;
    std::array<bool, 3> UpdateLayer_{true, true, true}; // backgrounds, sprites, mode 7
    tFileDialog DlgSave;
    bool Filling_ = false; // controls are being set by the program, not the user

    QTabBar* TC_BgMode = nullptr;
    QTabWidget* PC_Base = nullptr;
    QTabWidget* PC_Layers = nullptr;
    // screen page
    QTabBar* TC_Screens = nullptr;
    tPictureView* View_Screen = nullptr;
    QTabBar* TC_Layering = nullptr;
    QListWidget* LV_Layering = nullptr;
    QCheckBox* CBox_BG3P1Top = nullptr;
    QCheckBox* CBox_ScreenBoth = nullptr;
    QCheckBox* CBox_ScreenBrightness = nullptr;
    QCheckBox* CBox_ScreenNoMosaic = nullptr;
    QCheckBox* CBox_ScreenMasks = nullptr;
    QPushButton* Btn_VisReload = nullptr;
    QToolButton* Btn_MoveScreen = nullptr;
    QToolButton* Btn_UpdateScreen = nullptr;
    QToolButton* Btn_SaveScreen = nullptr;
    // layers page
    tPictureView* View_BG = nullptr;
    QTabBar* TC_BG = nullptr;
    QPushButton* Btn_BgPr1 = nullptr;
    QPushButton* Btn_BgPr0 = nullptr;
    QPushButton* Btn_StretchY = nullptr;
    tPictureView* View_Sprites = nullptr;
    std::array<QPushButton*, 4> Btn_SprPr{};
    QTableWidget* LV_Sprites = nullptr;
    tPictureView* View_Mode7 = nullptr;
    QTabBar* TC_M7 = nullptr;
    QPushButton* Btn_M7Pr1 = nullptr;
    QPushButton* Btn_M7Pr0 = nullptr;
    QPushButton* Btn_DirectColor = nullptr;
    QWidget* Panel_Right = nullptr;
    std::array<QLabel*, 8> TileLabels{};
    QLabel* Image_Tile = nullptr;
    QButtonGroup* TranspGroup = nullptr;
    QPushButton* Panel_TranspCustom = nullptr;
    QToolButton* Btn_MoveLayer = nullptr;
    QToolButton* Btn_UpdateLayer = nullptr;
    QToolButton* Btn_SaveLayer = nullptr;
    // HDMA page
    QTabBar* TC_HDMA = nullptr;
    QTableWidget* LV_HDMA = nullptr;
    QTableWidget* LV_ChnInfo = nullptr;
    QCheckBox* CBox_Active = nullptr;
    QCheckBox* CBox_Inactive = nullptr;
    // offset-per-tile page
    QTableWidget* StringGrid = nullptr;
    QTabBar* TC_OffsBG = nullptr;
    QTabBar* TC_OffsDim = nullptr;
    // info page
    std::array<QTableWidget*, 6> InfoLists{};
};
