#pragma once
// The program's windows, one instance each, made at start in the order of the
// window table (WindowTable.h). Nobody owns another's window; they reach each
// other through these pointers.

#include <vector>

class QWidget;
class tForm_Main;
class tForm_Memory;
class tForm_Options;
class tForm_Palette;
class tForm_Quit;
class tForm_SMV;
class tForm_SPC;
class tToolWindow;
class tWindowList;

extern tForm_Main* Form_Main;
extern tToolWindow* Form_Cart;
extern tToolWindow* Form_Hex;
extern tToolWindow* Form_List;
extern tForm_Memory* Form_Memory;
extern tToolWindow* Form_Open;
extern tForm_Options* Form_Options;
extern tForm_Palette* Form_Palette;
extern tToolWindow* Form_Preview;
extern tForm_Quit* Form_Quit;
extern tToolWindow* Form_Scene;
extern tToolWindow* Form_Search;
extern tForm_SMV* Form_SMV;
extern tForm_SPC* Form_SPC;

extern tWindowList* WindowList;

// The tool windows in creation order (empty before creation).
std::vector<tToolWindow*> ToolWindows();
// True for the main window and the tool windows, false for dialogs and boxes.
bool IsProgramWindow(const QWidget* W);
