#pragma once
// One tab of the main window. Menu commands go to the tab that is showing;
// each tab runs only the commands it serves, and the window disables the
// others while that tab shows.

#include <QWidget>
#include <functional>

#include "workspace/menu_command.h"

namespace fulgor {

// Runs `change` on a script table as one undoable step, named `text`, of the
// tab that shows the table: how one tab changes another tab's table.
using TableChange = std::function<void(const QString& text, const std::function<void()>& change)>;

class WorkspaceTab : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    virtual bool serves(MenuCommand command) const = 0;
    // Precondition: serves(command).
    virtual void run(MenuCommand command) = 0;

signals:
    // A note for the window's status bar: worth seeing, not worth a modal box.
    void statusMessage(const QString& text);
    // The tab opened or saved the file at `path` (for File > Open Recent).
    void fileUsed(const QString& path);
};

}  // namespace fulgor
