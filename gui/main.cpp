// Orlik: the program's entry.

#include <QWidget>

#include "gui/core/Application.h"
#include "gui/core/Program.h"
#include "core/SharedData.h"

int main(int argc, char** argv)
{
    tApplication App(argc, argv);
    FindProgramDir(ExecutableDir());
    if (!CreateProgram()) {
        FreeProgram();
        return 1;
    }
    Startup();
    MainWindow()->show();
    int Result = App.exec();
    FreeProgram();
    return Result;
}
