#pragma once
// The main window: toolbars, register tabs and status bar.

#include <QMainWindow>

#include "core/Broadcast.h"

class tForm_Main : public QMainWindow, public tReceiver {
    Q_OBJECT
public:
    explicit tForm_Main(QWidget* Parent = nullptr);
    ~tForm_Main() override;
    void Notify(const void* Sender, std::string_view Msg) override;
};
