#pragma once
// The drawing of the main window's three popup menus: a picture at the left
// of each item (the save formats, the savestate previews, the cartridge
// picture), the caption beside it, the checked item in bold, and the
// selected item's picture blended with the highlight colour when the option
// "highlight menu bitmaps" is on.

#include <QImage>
#include <QProxyStyle>

class QAction;

enum class tMenuItemKind { SaveFormat, RecentFile, RecentClear };

void SetMenuItemKind(QAction* Item, tMenuItemKind Kind);
void SetMenuItemPicture(QAction* Item, const QImage& Picture);

// Half-and-half blend of every component with Highlight. With KeyMagenta,
// pixels of the transparent colour $FF00FF become Highlight itself.
QImage BlendWithHighlight(const QImage& Picture, QRgb Highlight, bool KeyMagenta);

class tMenuStyle : public QProxyStyle
{
    Q_OBJECT
  public:
    tMenuStyle();
    void drawControl(ControlElement Element, const QStyleOption* Option, QPainter* Painter,
                     const QWidget* Widget) const override;
    QSize sizeFromContents(ContentsType Type, const QStyleOption* Option, const QSize& Size,
                           const QWidget* Widget) const override;
};
