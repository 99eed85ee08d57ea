#include "platform/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace fulgor {

QString programFolder() {
    QString home = qEnvironmentVariable("FULGOR_HOME");
    if (!home.isEmpty()) {
        QDir().mkpath(home);
        return home;
    }
    QString executableFolder = QCoreApplication::applicationDirPath();
    if (QFileInfo(executableFolder).isWritable()) return executableFolder;
    QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(appData);
    return appData;
}

}  // namespace fulgor
