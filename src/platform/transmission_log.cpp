#include "platform/transmission_log.h"

#include <QDateTime>
#include <QDir>

#include "files/file_io.h"
#include "platform/program_folder.h"

namespace fulgor {

LoggedTransmission logTransmission(const SentShow& show) {
    const QDateTime now = QDateTime::currentDateTime();
    LoggedTransmission logged;
    logged.line = transmissionRecordLine(show, {now.toSecsSinceEpoch(), now.offsetFromUtc()});
    const QString path =
        QDir(programFolder())
            .filePath(QString::fromUtf8(kTransmissionLogName.data(), kTransmissionLogName.size()));
    logged.appended = appendToFile(path.toStdString(), logged.line + '\n');
    return logged;
}

}  // namespace fulgor
