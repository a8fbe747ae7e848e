#include "gui/core/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "core/SNES.h"

namespace
{
constexpr int IconSize = 32;

QImage Blank(int W, int H, QColor Fill = Qt::transparent)
{
    QImage I(W, H, QImage::Format_ARGB32);
    I.fill(Fill);
    return I;
}

// A cartridge seen from the front: grey shell, label, contacts.
void PaintCart(QPainter& P, QRectF R)
{
    P.setPen(QPen(QColor(60, 60, 60), 1));
    P.setBrush(QColor(170, 170, 178));
    QPainterPath Shell;
    Shell.addRoundedRect(R, 3, 3);
    P.drawPath(Shell);
    P.setBrush(QColor(90, 80, 160));
    P.drawRect(QRectF(R.left() + R.width() * 0.18, R.top() + R.height() * 0.12, R.width() * 0.64, R.height() * 0.5));
    P.setBrush(QColor(220, 180, 60));
    P.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i)
        P.drawRect(QRectF(R.left() + R.width() * (0.2 + i * 0.13), R.bottom() - R.height() * 0.2, R.width() * 0.08,
                          R.height() * 0.14));
}

void PaintFloppy(QPainter& P, QRectF R)
{
    P.setPen(QPen(QColor(20, 20, 60), 1));
    P.setBrush(QColor(40, 70, 150));
    P.drawRect(R);
    P.setBrush(QColor(200, 200, 210));
    P.drawRect(QRectF(R.left() + R.width() * 0.25, R.top(), R.width() * 0.5, R.height() * 0.35));
    P.setBrush(Qt::white);
    P.drawRect(QRectF(R.left() + R.width() * 0.15, R.top() + R.height() * 0.55, R.width() * 0.7, R.height() * 0.45));
}

void PaintArrowCircle(QPainter& P, QRectF R, QColor C)
{
    P.setPen(QPen(C, 3, Qt::SolidLine, Qt::RoundCap));
    P.setBrush(Qt::NoBrush);
    P.drawArc(R, 30 * 16, 280 * 16);
    QPointF Tip(R.right(), R.center().y() - 2);
    QPolygonF Head({Tip + QPointF(-5, -3), Tip + QPointF(3, -4), Tip + QPointF(1, 4)});
    P.setBrush(C);
    P.setPen(Qt::NoPen);
    P.drawPolygon(Head);
}

void PaintPlay(QPainter& P, QRectF R)
{
    P.setPen(QPen(QColor(0, 90, 0), 1));
    P.setBrush(QColor(40, 190, 60));
    P.drawPolygon(QPolygonF({R.topLeft(), QPointF(R.right(), R.center().y()), R.bottomLeft()}));
}

void PaintFolder(QPainter& P, QRectF R)
{
    P.setPen(QPen(QColor(120, 90, 20), 1));
    P.setBrush(QColor(240, 200, 90));
    P.drawRect(QRectF(R.left(), R.top() + 3, R.width() * 0.45, 5));
    P.drawRect(QRectF(R.left(), R.top() + 6, R.width(), R.height() - 6));
}

void PaintText(QPainter& P, QRectF R, const QString& T, QColor C, int Size, bool Bold = true)
{
    QFont F(QStringLiteral("DejaVu Sans"));
    F.setPixelSize(Size);
    F.setBold(Bold);
    P.setFont(F);
    P.setPen(C);
    P.drawText(R, Qt::AlignCenter, T);
}

QImage PaintIcon(const QString& N)
{
    QImage I = Blank(IconSize, IconSize);
    QPainter P(&I);
    P.setRenderHint(QPainter::Antialiasing);
    const QRectF Full(2, 2, 28, 28);
    if (N == QLatin1String("Btn_StateOpen")) {
        PaintFolder(P, QRectF(2, 6, 26, 22));
        PaintText(P, QRectF(6, 12, 20, 16), QStringLiteral("S"), QColor(120, 60, 0), 13);
    } else if (N == QLatin1String("Btn_StateReload")) {
        PaintArrowCircle(P, QRectF(5, 5, 22, 22), QColor(30, 110, 200));
    } else if (N == QLatin1String("Btn_StateSave")) {
        PaintFloppy(P, QRectF(4, 4, 24, 24));
    } else if (N == QLatin1String("Btn_StateExec")) {
        PaintPlay(P, QRectF(7, 5, 20, 22));
    } else if (N == QLatin1String("Btn_CartOpen")) {
        PaintCart(P, QRectF(4, 3, 24, 26));
    } else if (N == QLatin1String("Btn_CartReload")) {
        PaintCart(P, QRectF(2, 2, 20, 22));
        PaintArrowCircle(P, QRectF(14, 14, 14, 14), QColor(30, 110, 200));
    } else if (N == QLatin1String("Btn_CartSave")) {
        PaintCart(P, QRectF(2, 2, 20, 22));
        PaintFloppy(P, QRectF(16, 16, 14, 14));
    } else if (N == QLatin1String("Btn_CartExec")) {
        PaintCart(P, QRectF(2, 2, 20, 22));
        PaintPlay(P, QRectF(17, 14, 13, 15));
    } else if (N == QLatin1String("Btn_SPC")) {
        P.setPen(QPen(QColor(60, 20, 120), 3));
        P.drawLine(QPointF(12, 24), QPointF(12, 6));
        P.drawLine(QPointF(24, 20), QPointF(24, 4));
        P.drawLine(QPointF(12, 6), QPointF(24, 4));
        P.setBrush(QColor(60, 20, 120));
        P.drawEllipse(QPointF(9, 24), 4, 3);
        P.drawEllipse(QPointF(21, 20), 4, 3);
    } else if (N == QLatin1String("Btn_SMV")) {
        P.setPen(QPen(Qt::black, 1));
        P.setBrush(QColor(50, 50, 50));
        P.drawRect(QRectF(4, 6, 24, 20));
        P.setBrush(Qt::white);
        for (int i = 0; i < 5; ++i) {
            P.drawRect(QRectF(6 + i * 4.5, 8, 2, 2));
            P.drawRect(QRectF(6 + i * 4.5, 22, 2, 2));
        }
        P.setBrush(QColor(120, 180, 240));
        P.drawRect(QRectF(7, 12, 18, 8));
    } else if (N == QLatin1String("Btn_Preview")) {
        P.setPen(QPen(Qt::black, 1));
        P.setBrush(QColor(120, 200, 255));
        P.drawRect(QRectF(4, 7, 24, 18));
        P.setBrush(QColor(40, 150, 40));
        P.drawPolygon(QPolygonF({QPointF(4, 25), QPointF(12, 15), QPointF(18, 21), QPointF(22, 17), QPointF(28, 25)}));
    } else if (N == QLatin1String("Btn_Palette")) {
        static const QColor C[] = {Qt::red,     Qt::yellow,          Qt::green, Qt::cyan, Qt::blue,
                                   Qt::magenta, QColor(255, 128, 0), Qt::white, Qt::black};
        P.setPen(QPen(Qt::black, 1));
        for (int i = 0; i < 9; ++i) {
            P.setBrush(C[i]);
            P.drawRect(QRectF(4 + (i % 3) * 8, 4 + (i / 3) * 8, 8, 8));
        }
    } else if (N == QLatin1String("Btn_Memory")) {
        P.setPen(Qt::NoPen);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x) {
                P.setBrush(((x * 7 + y * 3) % 5) < 2 ? QColor(30, 30, 120) : QColor(160, 200, 255));
                P.drawRect(QRectF(4 + x * 4, 4 + y * 4, 4, 4));
            }
        P.setPen(QPen(Qt::black, 1));
        P.setBrush(Qt::NoBrush);
        P.drawRect(QRectF(4, 4, 24, 24));
    } else if (N == QLatin1String("Btn_Scene")) {
        P.setPen(QPen(Qt::black, 1));
        P.setBrush(QColor(100, 160, 255));
        P.drawRect(QRectF(3, 5, 26, 22));
        P.setBrush(QColor(250, 220, 60));
        P.drawEllipse(QPointF(22, 11), 3, 3);
        P.setBrush(QColor(120, 80, 40));
        P.drawRect(QRectF(3, 22, 26, 5));
        P.setBrush(QColor(220, 40, 40));
        P.drawRect(QRectF(9, 15, 5, 7));
    } else if (N == QLatin1String("Btn_Hex")) {
        P.setPen(QPen(Qt::black, 1));
        P.setBrush(Qt::white);
        P.drawRect(QRectF(3, 5, 26, 22));
        PaintText(P, QRectF(3, 5, 26, 22), QStringLiteral("0F"), QColor(0, 0, 160), 13);
    } else if (N == QLatin1String("Btn_List")) {
        P.setPen(QPen(Qt::black, 1));
        P.setBrush(Qt::white);
        P.drawRect(QRectF(4, 4, 24, 24));
        P.setPen(QPen(QColor(0, 0, 128), 2));
        for (int i = 0; i < 5; ++i)
            P.drawLine(QPointF(8, 9 + i * 4), QPointF(24, 9 + i * 4));
    } else if (N == QLatin1String("Btn_Options")) {
        P.setPen(QPen(Qt::black, 1));
        for (int i = 0; i < 3; ++i) {
            P.setBrush(Qt::white);
            P.drawRect(QRectF(4, 5 + i * 8, 6, 6));
            P.setPen(QPen(QColor(0, 120, 0), 2));
            P.drawLine(QPointF(5, 8 + i * 8), QPointF(7, 10 + i * 8));
            P.drawLine(QPointF(7, 10 + i * 8), QPointF(11, 4 + i * 8));
            P.setPen(QPen(Qt::black, 2));
            P.drawLine(QPointF(14, 8 + i * 8), QPointF(28, 8 + i * 8));
            P.setPen(QPen(Qt::black, 1));
        }
    } else if (N == QLatin1String("Btn_Help")) {
        P.setPen(QPen(QColor(0, 60, 140), 1));
        P.setBrush(QColor(60, 130, 230));
        P.drawEllipse(Full.adjusted(1, 1, -1, -1));
        PaintText(P, Full, QStringLiteral("?"), Qt::white, 20);
    } else if (N == QLatin1String("Btn_Quit")) {
        P.setPen(QPen(QColor(120, 0, 0), 1));
        P.setBrush(QColor(210, 40, 40));
        P.drawEllipse(Full.adjusted(1, 1, -1, -1));
        P.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
        P.drawLine(QPointF(11, 11), QPointF(21, 21));
        P.drawLine(QPointF(21, 11), QPointF(11, 21));
    }
    return I;
}

QPixmap CursorPixmap(int Number, QPoint& Hot)
{
    QImage I = Blank(32, 32);
    QPainter P(&I);
    P.setRenderHint(QPainter::Antialiasing);
    P.setPen(QPen(Qt::black, 1.5));
    P.setBrush(Qt::white);
    switch (Number) {
    case crHand: { // an open hand for panning
        for (int f = 0; f < 4; ++f)
            P.drawRoundedRect(QRectF(8 + f * 4, 4 + (f == 0 || f == 3 ? 3 : 0), 4, 14), 2, 2);
        P.drawRoundedRect(QRectF(7, 14, 17, 12), 4, 4);
        Hot = QPoint(16, 16);
        break;
    }
    case crMove: { // four arrows
        P.drawLine(QPointF(16, 3), QPointF(16, 29));
        P.drawLine(QPointF(3, 16), QPointF(29, 16));
        P.setBrush(Qt::black);
        P.drawPolygon(QPolygonF({QPointF(16, 2), QPointF(12, 7), QPointF(20, 7)}));
        P.drawPolygon(QPolygonF({QPointF(16, 30), QPointF(12, 25), QPointF(20, 25)}));
        P.drawPolygon(QPolygonF({QPointF(2, 16), QPointF(7, 12), QPointF(7, 20)}));
        P.drawPolygon(QPolygonF({QPointF(30, 16), QPointF(25, 12), QPointF(25, 20)}));
        Hot = QPoint(16, 16);
        break;
    }
    case crPick: { // a pipette whose tip picks the colour
        P.translate(16, 16);
        P.rotate(45);
        P.drawRect(QRectF(-3, -12, 6, 18));
        P.setBrush(Qt::black);
        P.drawRect(QRectF(-5, -15, 10, 5));
        P.drawLine(QPointF(0, 6), QPointF(0, 13));
        Hot = QPoint(7, 25);
        break;
    }
    default: { // a magnifier
        P.drawEllipse(QPointF(13, 13), 9, 9);
        P.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap));
        P.drawLine(QPointF(20, 20), QPointF(28, 28));
        Hot = QPoint(13, 13);
        break;
    }
    }
    return QPixmap::fromImage(I);
}
} // namespace

QIcon ToolbarIcon(const QString& ButtonName)
{
    return QIcon(QPixmap::fromImage(PaintIcon(ButtonName)));
}

QImage SaveFormatPicture(int Format)
{
    QImage I = Blank(48, 48, QColor(0xFF, 0x00, 0xFF));
    QPainter P(&I);
    struct tLook {
        QColor Colour;
        const char* Text;
    };
    static const tLook Looks[] = {{QColor(128, 128, 128), "?"}, {QColor(200, 60, 30), "Z"},
                                  {QColor(40, 120, 200), "9x"}, {QColor(110, 110, 110), "GT"},
                                  {QColor(30, 150, 80), "SS"},  {QColor(150, 70, 170), "O"}};
    const tLook& L = Looks[Format >= 0 && Format <= 5 ? Format : 0];
    P.setPen(QPen(L.Colour.darker(160), 2));
    P.setBrush(L.Colour);
    P.drawRect(QRect(6, 6, 36, 36));
    PaintText(P, QRectF(6, 6, 36, 36), QString::fromLatin1(L.Text), Qt::white, 18);
    return I.convertToFormat(QImage::Format_RGB32);
}

QImage CartPicture()
{
    QImage I = Blank(64, 48);
    QPainter P(&I);
    P.setRenderHint(QPainter::Antialiasing);
    PaintCart(P, QRectF(8, 2, 48, 44));
    return I;
}

QImage QuitPicture()
{
    // A wide-eyed bird glancing at the door.
    QImage I = Blank(160, 96, QColor(235, 240, 250));
    QPainter P(&I);
    P.setRenderHint(QPainter::Antialiasing);
    P.setPen(QPen(QColor(70, 40, 10), 2));
    P.setBrush(QColor(140, 90, 40));
    P.drawEllipse(QPointF(60, 52), 30, 32);
    P.setBrush(QColor(240, 230, 210));
    P.drawEllipse(QPointF(60, 62), 16, 18);
    P.setBrush(Qt::white);
    P.drawEllipse(QPointF(50, 42), 8, 8);
    P.drawEllipse(QPointF(70, 42), 8, 8);
    P.setBrush(Qt::black);
    P.drawEllipse(QPointF(53, 43), 3, 3);
    P.drawEllipse(QPointF(73, 43), 3, 3);
    P.setBrush(QColor(240, 180, 20));
    P.drawPolygon(QPolygonF({QPointF(54, 52), QPointF(66, 52), QPointF(60, 66)}));
    // the door
    P.setPen(QPen(QColor(60, 30, 10), 2));
    P.setBrush(QColor(160, 110, 60));
    P.drawRect(QRectF(112, 14, 36, 72));
    P.setBrush(QColor(250, 210, 60));
    P.drawEllipse(QPointF(140, 52), 3, 3);
    return I;
}

QCursor ProgramCursor(int Number)
{
    QPoint Hot;
    QPixmap Pm = CursorPixmap(Number, Hot);
    return QCursor(Pm, Hot.x(), Hot.y());
}
