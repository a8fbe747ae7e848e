#include "gui/core/DragScroll.h"

#include <QAbstractScrollArea>
#include <QCursor>
#include <QScrollBar>

#include <algorithm>

void tDragScroll::Start(QAbstractScrollArea* Area, QPoint Global)
{
    Area_ = Area;
    Start_ = Global;
    ScrollStart_ = {Area->horizontalScrollBar()->value(), Area->verticalScrollBar()->value()};
}

bool tDragScroll::Move(QPoint Global)
{
    if (!Area_)
        return false;
    // On each axis the pointer may lie between Start - (Maximum - Scroll)
    // and Start + (Scroll - Minimum): beyond that the view cannot follow.
    auto Held = [](int Pointer, int Start, int Scroll, const QScrollBar* Bar) {
        return std::clamp(Pointer, Start + Scroll - Bar->maximum(), Start + Scroll - Bar->minimum());
    };
    QScrollBar* H = Area_->horizontalScrollBar();
    QScrollBar* V = Area_->verticalScrollBar();
    const QPoint To(Held(Global.x(), Start_.x(), ScrollStart_.x(), H),
                    Held(Global.y(), Start_.y(), ScrollStart_.y(), V));
    H->setValue(ScrollStart_.x() - (To.x() - Start_.x()));
    V->setValue(ScrollStart_.y() - (To.y() - Start_.y()));
    if (To != Global) {
        QCursor::setPos(To);
        // Where the pointer cannot be moved (some platforms refuse), the
        // drag goes on from where the pointer is, so that moving back
        // scrolls at once.
        if (QCursor::pos() != To)
            Start_ += Global - To;
    }
    return true;
}
