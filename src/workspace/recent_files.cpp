#include "workspace/recent_files.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "platform/program_settings.h"

namespace fulgor {
namespace {

QString settingsKey(const QString& key) {
    return QStringLiteral("RecentFiles/") + key;
}

}  // namespace

QStringList withRecentFile(QStringList files, const QString& path) {
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kRecentFilesKept) files.removeLast();
    return files;
}

RecentFiles::RecentFiles(QMenu* menu, std::function<void(const QString&)> open, QObject* parent)
    : QObject(parent), m_menu(menu), m_open(std::move(open)) {
    showFor(QString());
}

QStringList RecentFiles::files(const QString& key) {
    QStringList kept = programSettings()->value(settingsKey(key)).toStringList();
    // A hand-edited settings file may hold more than the menu shows.
    return kept.mid(0, kRecentFilesKept);
}

void RecentFiles::store(const QString& key, const QStringList& files) {
    programSettings()->setValue(settingsKey(key), files);
}

void RecentFiles::add(const QString& key, const QString& path) {
    store(key, withRecentFile(files(key), QFileInfo(path).absoluteFilePath()));
    if (key == m_key) showFor(key);
}

void RecentFiles::remove(const QString& key, const QString& path) {
    QStringList kept = files(key);
    kept.removeAll(path);
    store(key, kept);
    if (key == m_key) showFor(key);
}

void RecentFiles::showFor(const QString& key) {
    m_key = key;
    // The entry picked may be the one running this (an open records its file):
    // it goes once its signal has returned.
    for (QAction* old : m_menu->actions()) {
        m_menu->removeAction(old);
        old->setParent(nullptr);
        old->deleteLater();
    }
    const QStringList kept = key.isEmpty() ? QStringList() : files(key);
    for (int i = 0; i < kept.size(); ++i) {
        const QString& path = kept[i];
        // "&1 /shows/finale.csv": a digit to pick it by key, then the whole path.
        QAction* action = m_menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
            QDir::toNativeSeparators(path).replace(QLatin1Char('&'), QStringLiteral("&&"))));
        action->setObjectName(QStringLiteral("mnuRecent%1").arg(i));
        action->setData(path);
        connect(action, &QAction::triggered, this, [this, path] { m_open(path); });
    }
    m_menu->menuAction()->setEnabled(!kept.isEmpty());
}

}  // namespace fulgor
