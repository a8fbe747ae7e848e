#include "core/Program.h"

#include <QApplication>
#include <QMessageBox>

#include "app/Model.h"
#include "core/Broadcast.h"
#include "core/Config.h"
#include "core/FileIO.h"
#include "core/Form_Main.h"
#include "core/Form_Quit.h"
#include "core/Messages.h"
#include "core/ProgramWindows.h"
#include "core/SharedData.h"
#include "core/ToolWindow.h"
#include "core/WindowList.h"
#include "render/PPU.h"
#include "tools/Form_Options.h"

tForm_Main* Form_Main = nullptr;
tToolWindow* Form_Cart = nullptr;
tToolWindow* Form_Hex = nullptr;
tToolWindow* Form_List = nullptr;
tToolWindow* Form_Memory = nullptr;
tToolWindow* Form_Open = nullptr;
tForm_Options* Form_Options = nullptr;
tToolWindow* Form_Palette = nullptr;
tToolWindow* Form_Preview = nullptr;
tForm_Quit* Form_Quit = nullptr;
tToolWindow* Form_Scene = nullptr;
tToolWindow* Form_Search = nullptr;
tToolWindow* Form_SMV = nullptr;
tToolWindow* Form_SPC = nullptr;
tWindowList* WindowList = nullptr;

namespace
{
QString Q(std::string_view S)
{
    return QString::fromUtf8(S.data(), static_cast<qsizetype>(S.size()));
}

// Message boxes for the core's reports.
class tBoxMessenger : public tMessenger
{
  public:
    void Error(std::string_view Text) override
    {
        QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), Q(Text));
    }
    void Notice(std::string_view Text, std::string_view Button) override
    {
        QMessageBox Box(QMessageBox::Information, QApplication::applicationName(), Q(Text), QMessageBox::NoButton,
                        QApplication::activeWindow());
        Box.addButton(Q(Button), QMessageBox::AcceptRole);
        Box.exec();
    }
    bool Question(std::string_view Text) override
    {
        return QMessageBox::warning(QApplication::activeWindow(), QApplication::applicationName(), Q(Text),
                                    QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    }
} BoxMessenger;

tForm_Placeholder* Placeholder(const char* Name, const char* Caption, const char* Hint, tBusSlot Slot)
{
    return new tForm_Placeholder(QString::fromLatin1(Name), QString::fromLatin1(Caption), QString::fromLatin1(Hint),
                                 Slot, Form_Main);
}

void CreateWindows()
{
    Form_Main = new tForm_Main;
    tForm_Placeholder* CartBrowser = Placeholder("Form_Cart", "CartViewer", "Btn_CartOpen", tBusSlot::Form_Cart);
    CartBrowser->AddCommand(QStringLiteral("insert a cartridge with the system dialog..."),
                            [] { Form_Main->OpenCartWithDialog(); });
    Form_Cart = CartBrowser;
    Form_Hex = Placeholder("Form_Hex", "HexEditor", "Btn_Hex", tBusSlot::Form_Hex);
    Form_List = Placeholder("Form_List", "ListEditor", "Btn_List", tBusSlot::Form_List);
    Form_Memory = Placeholder("Form_Memory", "MemViewer", "Btn_Memory", tBusSlot::Form_Memory);
    tForm_Placeholder* StateBrowser =
        Placeholder("Form_Open", "open a savestate", "Btn_StateOpen", tBusSlot::Form_Open);
    StateBrowser->AddCommand(QStringLiteral("load a savestate with the system dialog..."),
                             [] { Form_Main->OpenStateWithDialog(); });
    Form_Open = StateBrowser;
    Form_Options = new tForm_Options(Form_Main);
    Form_Palette = Placeholder("Form_Palette", "PalViewer", "Btn_Palette", tBusSlot::Form_Palette);
    Form_Preview = Placeholder("Form_Preview", "preview", "Btn_Preview", tBusSlot::Form_Preview);
    Form_Quit = new tForm_Quit(Form_Main);
    Form_Scene = Placeholder("Form_Scene", "SceneViewer", "Btn_Scene", tBusSlot::Form_Scene);
    Form_Search = Placeholder("Form_Search", "search", "", tBusSlot::Form_Search);
    Form_SMV = Placeholder("Form_SMV", "SMV Editor", "Btn_SMV", tBusSlot::Form_SMV);
    Form_SPC = Placeholder("Form_SPC", "SPC Editor", "Btn_SPC", tBusSlot::Form_SPC);
}
} // namespace

std::vector<tToolWindow*> ToolWindows()
{
    std::vector<tToolWindow*> W;
    for (tToolWindow* T :
         {Form_Cart, Form_Hex, Form_List, Form_Memory, Form_Open, static_cast<tToolWindow*>(Form_Options), Form_Palette,
          Form_Preview, static_cast<tToolWindow*>(Form_Quit), Form_Scene, Form_Search, Form_SMV, Form_SPC})
        if (T)
            W.push_back(T);
    return W;
}

bool IsProgramWindow(const QWidget* W)
{
    if (!W)
        return false;
    if (W == Form_Main)
        return true;
    for (tToolWindow* T : ToolWindows())
        if (W == T)
            return true;
    return false;
}

void ShowMissingFileError(const QString& FileName)
{
    QMessageBox Box(QMessageBox::Critical, QStringLiteral("Orlik"), QStringLiteral("Could not find ") + FileName,
                    QMessageBox::Abort);
    Box.exec();
}

QString ExceptionText(const QString& Message)
{
    return QStringLiteral("Exception: \"") + Message + QStringLiteral("\".");
}

void ShowException(const QString& Message)
{
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), ExceptionText(Message));
}

bool CreateProgram()
{
    CreateModelObjects();
    WindowList = new tWindowList;
    SetMessenger(&BoxMessenger);
    if (!FileExists(ProgramDir + "SNES.txt")) {
        ShowMissingFileError(QStringLiteral("SNES.txt"));
        return false;
    }
    QApplication::setApplicationName(QString::fromUtf8(ProgramTitle));
    CreateWindows();
    return true;
}

void Startup()
{
    StartupDone = true;
    Form_Main->LoadRegisterDescriptions();
    Broadcast(nullptr, Note::Startup);
    // The empty machine state is drawn once.
    if (PPU)
        PPU->Notify(nullptr, Note::NewSNES);
    Form_Options->StartupStep();
    Form_Main->FinishStartup();
}

void FreeProgram()
{
    StartupDone = false;
    if (Form_Main)
        Form_Main->StartTimer()->stop();
    tToolWindow** Windows[] = {&Form_SPC,  &Form_SMV,    &Form_Search, &Form_Scene, &Form_Preview, &Form_Palette,
                               &Form_Open, &Form_Memory, &Form_List,   &Form_Hex,   &Form_Cart};
    for (tToolWindow** W : Windows) {
        delete *W;
        *W = nullptr;
    }
    delete Form_Quit;
    Form_Quit = nullptr;
    delete Form_Options;
    Form_Options = nullptr;
    delete Form_Main;
    Form_Main = nullptr;
    delete WindowList;
    WindowList = nullptr;
    SetMessenger(nullptr);
    FreeModelObjects();
    QuitConfirmed = false;
}

QWidget* MainWindow()
{
    return Form_Main;
}
