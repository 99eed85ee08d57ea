#pragma once
// The program's folder, where its own files live (the serial log "Serial.log").

#include <QString>

namespace fulgor {

// The folder named by the environment variable FULGOR_HOME when it is set;
// else the executable's folder when it is writable; else the user's
// application-data folder. A missing FULGOR_HOME or application-data folder is created. Needs a
// QCoreApplication.
QString programFolder();

}  // namespace fulgor
