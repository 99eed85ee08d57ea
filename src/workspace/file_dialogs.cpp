#include "workspace/file_dialogs.h"

#include <QFileInfo>

namespace fulgor {

QString askOpenFileName(WorkspaceState& state, Prompter& prompter, const QString& title,
                        const QString& filter) {
    state.dialogFileName = prompter.openFileName({title, filter, 2, QString(), QString()});
    return state.dialogFileName;
}

QString askSaveFileName(WorkspaceState& state, Prompter& prompter,
                        const FileDialogRequest& request) {
    // The name shown becomes the dialog's own at once: after a cancel the next
    // dialog offers it again (a Kavrin save presets the show name).
    state.dialogFileName = request.fileName;
    QString chosen = prompter.saveFileName(request);
    if (chosen.isEmpty()) return chosen;
    state.dialogFileName = withDefaultExtension(chosen, request.defaultExtension);
    return state.dialogFileName;
}

QString withDefaultExtension(const QString& name, const QString& extension) {
    if (extension.isEmpty() || QFileInfo(name).fileName().contains(QLatin1Char('.'))) return name;
    return name + QLatin1Char('.') + extension;
}

}  // namespace fulgor
