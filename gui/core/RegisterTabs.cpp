#include "core/RegisterTabs.h"

#include <QTableWidget>

void LoadRegisterFile() {}

void BuildRegisterTab(int, QTableWidget*) {}

void FillRegisterTab(int, QTableWidget*, bool) {}
