#pragma once
// A GUI application object for the subcommands that draw (fonts and images
// need one), on the offscreen platform so that no display is needed.

#include <QGuiApplication>
#include <memory>

#include "app/cli.h"

namespace fulgor::cli {

// Makes sure a QGuiApplication exists: creates one in `holder` when the
// process has no application object yet. Reports and returns false when the
// process already has an application object that is not a GUI one.
bool ensureGuiApplication(const Args& args, Io& io, std::unique_ptr<QGuiApplication>& holder);

}  // namespace fulgor::cli
