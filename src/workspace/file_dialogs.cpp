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
    QString chosen = prompter.saveFileName(request);
    if (chosen.isEmpty()) return chosen;  // cancelled: the dialog keeps the name it held
    state.dialogFileName = withDefaultExtension(chosen, request.defaultExtension);
    return state.dialogFileName;
}

QString withDefaultExtension(const QString& name, const QString& extension) {
    if (extension.isEmpty() || QFileInfo(name).fileName().contains(QLatin1Char('.'))) return name;
    return name + QLatin1Char('.') + extension;
}

}  // namespace fulgor
