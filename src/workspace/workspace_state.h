#pragma once
// What the window holds for the whole life of the program and more than one
// tab uses.

#include <QString>

#include "comms/port_setup.h"
#include "core/script_columns.h"
#include "core/table.h"

namespace fulgor {

struct WorkspaceState {
    Table talsen{1, talsen::ColumnCount};
    Table kavrin{1, kavrin::ColumnCount};
    QString talsenPath;      // the Talsen file last opened (saving does not change it)
    QString kavrinPath;      // the Kavrin file last opened
    QString dialogFileName;  // the name the shared file dialog last held
    int conflictCount = 0;   // conflicting Kavrin rows found by the last conflict check
    PortState port;          // PortNumber and PortSettings
};

}  // namespace fulgor
