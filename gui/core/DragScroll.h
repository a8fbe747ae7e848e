#pragma once
// Dragging a picture with the mouse: the view scrolls by the distance the
// pointer moved, and the pointer may go only as far as the view can scroll,
// so the spot it grabbed stays under it.

#include <QPoint>

class QAbstractScrollArea;

class tDragScroll
{
  public:
    void Start(QAbstractScrollArea* Area, QPoint Global);
    // Scrolls to follow the pointer at Global and holds the pointer within
    // the scroll range; false when no drag is running.
    bool Move(QPoint Global);
    void Stop() { Area_ = nullptr; }
    bool Active() const { return Area_ != nullptr; }

  private:
    QAbstractScrollArea* Area_ = nullptr;
    QPoint Start_;
    QPoint ScrollStart_;
};
