#include "gui/core/Application.h"

#include <exception>

#include "gui/core/Program.h"

bool tApplication::notify(QObject* Receiver, QEvent* Event)
{
    try {
        return QApplication::notify(Receiver, Event);
    } catch (const std::exception& E) {
        ShowException(QString::fromUtf8(E.what()));
    } catch (...) {
        ShowException(QStringLiteral("unknown error"));
    }
    return false;
}
