#include "platform/program_settings.h"

#include <QDir>

#include "platform/program_folder.h"

namespace fulgor {

std::unique_ptr<QSettings> programSettings() {
    // The settings are the user's, not the program folder's (which may be the
    // executable's own): only FULGOR_HOME moves them.
    if (!qEnvironmentVariable("FULGOR_HOME").isEmpty()) {
        return std::make_unique<QSettings>(
            QDir(programFolder()).filePath(QStringLiteral("Fulgor.ini")), QSettings::IniFormat);
    }
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Fulgor"), QStringLiteral("Fulgor"));
}

}  // namespace fulgor
