#include "app/cli_gui_application.h"

#include <ostream>

namespace fulgor::cli {

bool ensureGuiApplication(const Args& args, Io& io, std::unique_ptr<QGuiApplication>& holder) {
    // The application keeps argc and argv for its whole life.
    static int argc = 3;
    static char name[] = "fulgor", platformOption[] = "-platform", platform[] = "offscreen";
    static char* argv[] = {name, platformOption, platform, nullptr};
    if (!QCoreApplication::instance()) {
        holder = std::make_unique<QGuiApplication>(argc, argv);
        return true;
    }
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return true;
    complain(args, io) << "drawing needs a GUI application object\n";
    return false;
}

}  // namespace fulgor::cli
