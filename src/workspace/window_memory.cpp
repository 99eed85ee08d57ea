#include "workspace/window_memory.h"

#include <QSettings>
#include <QSplitter>
#include <QVariantList>

#include "platform/script_grid_view.h"

namespace fulgor {
namespace {

const QString kGeometry = QStringLiteral("Window/geometry");

QString splitterKey(const QSplitter* splitter) {
    return QStringLiteral("Splitters/") + splitter->objectName();
}

QString columnsKey(const ScriptGridView* grid) {
    return QStringLiteral("ColumnWidths/") + grid->objectName();
}

}  // namespace

void saveWindowMemory(const QWidget& window, QSettings& settings) {
    settings.setValue(kGeometry, window.saveGeometry());
    for (const QSplitter* splitter : window.findChildren<QSplitter*>()) {
        if (!splitter->objectName().isEmpty())
            settings.setValue(splitterKey(splitter), splitter->saveState());
    }
    for (const ScriptGridView* grid : window.findChildren<ScriptGridView*>()) {
        QVariantList widths;
        for (int c = 0; grid->model() && c < grid->model()->columnCount(); ++c)
            widths << grid->columnWidth(c);
        settings.setValue(columnsKey(grid), widths);
    }
}

void restoreWindowMemory(QWidget& window, const QSettings& settings) {
    if (settings.contains(kGeometry))
        window.restoreGeometry(settings.value(kGeometry).toByteArray());
    for (QSplitter* splitter : window.findChildren<QSplitter*>()) {
        if (!splitter->objectName().isEmpty() && settings.contains(splitterKey(splitter)))
            splitter->restoreState(settings.value(splitterKey(splitter)).toByteArray());
    }
    for (ScriptGridView* grid : window.findChildren<ScriptGridView*>()) {
        const QVariantList widths = settings.value(columnsKey(grid)).toList();
        if (!grid->model() || widths.size() != grid->model()->columnCount()) continue;
        for (int c = 0; c < widths.size(); ++c) {
            // A hidden (zero-width) or unreadable width keeps the grid's own.
            int width = widths[c].toInt();
            if (width > 0) grid->setColumnWidth(c, width);
        }
    }
}

}  // namespace fulgor
