#pragma once
// The application object: an exception that escapes an event handler is shown
// once in a box and the program goes on.

#include <QApplication>

class tApplication : public QApplication
{
    Q_OBJECT
  public:
    tApplication(int& Argc, char** Argv) : QApplication(Argc, Argv) {}
    bool notify(QObject* Receiver, QEvent* Event) override;
};
