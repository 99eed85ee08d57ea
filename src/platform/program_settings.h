#pragma once
// Where the program keeps what it remembers between runs for the user (recent
// files, the window's size, splitter positions and column widths).

#include <QSettings>
#include <memory>

namespace fulgor {

// "Fulgor.ini" in the folder named by FULGOR_HOME when that is set, so that a
// test run never touches the user's own settings; else the user's
// configuration folder (~/.config/Fulgor/Fulgor.conf). Needs a QCoreApplication.
std::unique_ptr<QSettings> programSettings();

}  // namespace fulgor
