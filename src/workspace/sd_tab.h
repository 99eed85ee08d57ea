#pragma once
// The SD Show Script tab. Its commands (opening an SD database, sorting,
// filtering, sending to Talsen) are not built yet, so its controls are shown
// disabled and the tab serves no menu command.

#include "workspace/workspace_tab.h"

namespace fulgor {

class SdTab : public WorkspaceTab {
    Q_OBJECT
public:
    explicit SdTab(QWidget* parent = nullptr);

    bool serves(MenuCommand) const override { return false; }
    void run(MenuCommand) override {}
};

}  // namespace fulgor
