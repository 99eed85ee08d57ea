#pragma once
// What the window remembers between runs: its size and place, the positions
// of its splitters and the column widths of the script grids.

class QSettings;
class QWidget;

namespace fulgor {

// Stores the geometry of `window`, the state of every named QSplitter in it
// and the column widths of every script grid (by objectName).
void saveWindowMemory(const QWidget& window, QSettings& settings);

// Gives them back as stored; anything not stored, or stored for columns the
// grid no longer has, stays as it is.
void restoreWindowMemory(QWidget& window, const QSettings& settings);

}  // namespace fulgor
