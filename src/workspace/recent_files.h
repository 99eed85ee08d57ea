#pragma once
// File > Open Recent: the last files opened or saved, kept per tab across runs.

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QMenu;

namespace fulgor {

inline constexpr int kRecentFilesKept = 8;

// `files` with `path` moved (or added) to the front, kept to kRecentFilesKept.
QStringList withRecentFile(QStringList files, const QString& path);

class RecentFiles : public QObject {
    Q_OBJECT
public:
    // Fills `menu` (owned by the caller) and calls `open` with the path of an
    // entry the user picks.
    RecentFiles(QMenu* menu, std::function<void(const QString&)> open, QObject* parent = nullptr);

    // The list kept under `key` (one per tab: "Talsen", "Kavrin", "SD"), most recent first.
    static QStringList files(const QString& key);
    // Records a file opened or saved under `key`, by its absolute path.
    void add(const QString& key, const QString& path);
    // Drops a file from the list under `key` (one that is gone).
    void remove(const QString& key, const QString& path);
    // Shows the list under `key` in the menu; an empty key or list disables it.
    void showFor(const QString& key);

private:
    static void store(const QString& key, const QStringList& files);

    QMenu* m_menu;
    std::function<void(const QString&)> m_open;
    QString m_key;
};

}  // namespace fulgor
