#pragma once
// The shared file dialog of the window: every dialog's chosen name becomes the
// dialog file name the window keeps.

#include <QString>

#include "platform/prompter.h"
#include "workspace/workspace_state.h"

namespace fulgor {

// File Open's dialog: second filter entry preselected, file name emptied.
// Returns the chosen name, empty when cancelled.
QString askOpenFileName(WorkspaceState& state, Prompter& prompter, const QString& title,
                        const QString& filter);

// A save dialog; `request.fileName` is what the dialog shows at first, and
// the dialog file name from then on, also when the dialog is cancelled. A name
// typed without an extension gets `request.defaultExtension`, if any.
QString askSaveFileName(WorkspaceState& state, Prompter& prompter,
                        const FileDialogRequest& request);

// `name` with ".ext" added when its last path component has no extension.
QString withDefaultExtension(const QString& name, const QString& extension);

}  // namespace fulgor
