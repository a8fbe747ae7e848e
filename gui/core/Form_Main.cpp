#include "core/Form_Main.h"

#include <QApplication>

tForm_Main::tForm_Main(QWidget* Parent) : QMainWindow(Parent)
{
    setObjectName(QStringLiteral("Form_Main"));
    setWindowTitle(QApplication::applicationName());
    RegisterReceiver(tBusSlot::Form_Main, this);
}

tForm_Main::~tForm_Main() { RegisterReceiver(tBusSlot::Form_Main, nullptr); }

void tForm_Main::Notify(const void*, std::string_view) {}
