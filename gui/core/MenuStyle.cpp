#include "gui/core/MenuStyle.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

#include "gui/core/Icons.h"
#include "core/Options.h"

namespace
{
const char* KindProperty = "OrlikMenuKind";
const char* PictureProperty = "OrlikMenuPicture";

// Space for pictures: save-format pictures are 48 x 48, previews and the
// cartridge picture fit in 64 x 56.
constexpr int RecentTextLeft = 72;
constexpr int RecentPictureWidth = 64;
constexpr int RecentPictureHeight = 56;

QAction* ActionAt(const QStyleOptionMenuItem* Opt, const QWidget* Widget)
{
    auto* Menu = qobject_cast<const QMenu*>(Widget);
    if (!Menu)
        return nullptr;
    // The style option does not name its action; find it by its rectangle.
    for (QAction* A : Menu->actions())
        if (Menu->actionGeometry(A) == Opt->rect)
            return A;
    return nullptr;
}

// The magenta background of a save-format picture shows the menu colour.
QImage KeyOutMagenta(const QImage& Picture, QRgb Background)
{
    QImage I = Picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < I.height(); ++y) {
        auto* Row = reinterpret_cast<QRgb*>(I.scanLine(y));
        for (int x = 0; x < I.width(); ++x)
            if ((Row[x] & 0xFFFFFF) == 0xFF00FF)
                Row[x] = Background | 0xFF000000u;
    }
    return I;
}

int KindOf(const QAction* A)
{
    return A ? A->property(KindProperty).toInt() - 1 : -1;
}

QImage FitPicture(const QImage& P)
{
    if (P.isNull() || (P.width() <= RecentPictureWidth && P.height() <= RecentPictureHeight))
        return P;
    auto Mode = Options().CBox_MainNoFilter ? Qt::FastTransformation : Qt::SmoothTransformation;
    return P.scaled(RecentPictureWidth, RecentPictureHeight, Qt::KeepAspectRatio, Mode);
}
} // namespace

void SetMenuItemKind(QAction* Item, tMenuItemKind Kind)
{
    Item->setProperty(KindProperty, static_cast<int>(Kind) + 1);
}

void SetMenuItemPicture(QAction* Item, const QImage& Picture)
{
    Item->setProperty(PictureProperty, Picture);
}

QImage BlendWithHighlight(const QImage& Picture, QRgb Highlight, bool KeyMagenta)
{
    QImage I = Picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < I.height(); ++y) {
        auto* Row = reinterpret_cast<QRgb*>(I.scanLine(y));
        for (int x = 0; x < I.width(); ++x) {
            QRgb C = Row[x];
            if (KeyMagenta && (C & 0xFFFFFF) == 0xFF00FF) {
                Row[x] = Highlight | 0xFF000000u;
                continue;
            }
            Row[x] = qRgba((qRed(C) + qRed(Highlight)) / 2, (qGreen(C) + qGreen(Highlight)) / 2,
                           (qBlue(C) + qBlue(Highlight)) / 2, qAlpha(C));
        }
    }
    return I;
}

tMenuStyle::tMenuStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

void tMenuStyle::drawControl(ControlElement Element, const QStyleOption* Option, QPainter* Painter,
                             const QWidget* Widget) const
{
    const auto* Opt = qstyleoption_cast<const QStyleOptionMenuItem*>(Option);
    if (Element != CE_MenuItem || !Opt || Opt->menuItemType == QStyleOptionMenuItem::Separator) {
        QProxyStyle::drawControl(Element, Option, Painter, Widget);
        return;
    }
    QAction* A = ActionAt(Opt, Widget);
    const int Kind = KindOf(A);
    if (Kind < 0) {
        QProxyStyle::drawControl(Element, Option, Painter, Widget);
        return;
    }
    const bool Selected = Opt->state & State_Selected;
    const bool Enabled = Opt->state & State_Enabled;
    const QPalette& Pal = Opt->palette;
    const QRect R = Opt->rect;
    Painter->save();
    Painter->fillRect(R, Selected ? Pal.highlight() : Pal.window());

    QImage Pic = A->property(PictureProperty).value<QImage>();
    const bool IsSave = Kind == static_cast<int>(tMenuItemKind::SaveFormat);
    if (!IsSave)
        Pic = FitPicture(Pic);
    if (!Pic.isNull()) {
        if (Selected && Options().CBox_MainHighlight)
            Pic = BlendWithHighlight(Pic, Pal.highlight().color().rgb(), IsSave);
        else if (IsSave)
            Pic = KeyOutMagenta(Pic, Pal.window().color().rgb());
        Painter->drawImage(R.left() + 1, R.top() + (R.height() - Pic.height()) / 2, Pic);
    }
    QFont F = Painter->font();
    F.setBold(Opt->checked);
    Painter->setFont(F);
    const int TextLeft = IsSave ? (Pic.isNull() ? 48 : Pic.width()) + 8 : RecentTextLeft;
    QRect TextRect(R.left() + TextLeft, R.top(), R.width() - TextLeft, R.height());
    const int Flags = Qt::AlignVCenter | Qt::AlignLeft | Qt::TextShowMnemonic | Qt::TextSingleLine;
    if (!Enabled && !Selected) {
        Painter->setPen(Pal.light().color());
        Painter->drawText(TextRect.translated(1, 1), Flags, Opt->text);
        Painter->setPen(QColor(0x80, 0x80, 0x80));
    } else if (!Enabled)
        Painter->setPen(QColor(0x80, 0x80, 0x80));
    else
        Painter->setPen(Selected ? Pal.highlightedText().color() : Pal.windowText().color());
    Painter->drawText(TextRect, Flags, Opt->text);
    Painter->restore();
}

QSize tMenuStyle::sizeFromContents(ContentsType Type, const QStyleOption* Option, const QSize& Size,
                                   const QWidget* Widget) const
{
    const auto* Opt = qstyleoption_cast<const QStyleOptionMenuItem*>(Option);
    if (Type != CT_MenuItem || !Opt || Opt->menuItemType == QStyleOptionMenuItem::Separator)
        return QProxyStyle::sizeFromContents(Type, Option, Size, Widget);
    auto* Menu = qobject_cast<const QMenu*>(Widget);
    QAction* Found = nullptr;
    if (Menu)
        for (QAction* A : Menu->actions())
            if (A->text() == Opt->text && KindOf(A) >= 0)
                Found = A;
    const int Kind = KindOf(Found);
    if (Kind < 0)
        return QProxyStyle::sizeFromContents(Type, Option, Size, Widget);
    QFont F = Opt->font;
    F.setBold(true);
    QFontMetrics M(F);
    const int TextW = M.horizontalAdvance(QString(Opt->text).remove(QLatin1Char('&')));
    const int TextH = M.height();
    if (Kind == static_cast<int>(tMenuItemKind::SaveFormat))
        return {std::max(TextW, 32) + 1 + 96, std::max(TextH, 48) + 1};
    const QImage Cart = CartPicture();
    if (Kind == static_cast<int>(tMenuItemKind::RecentClear))
        return {std::max(TextW, Cart.width()) + 1 + RecentTextLeft, TextH + 1 + 4};
    return {std::max(TextW, Cart.width()) + 1 + 128, std::max({TextH, RecentPictureHeight, Cart.height()}) + 1};
}
