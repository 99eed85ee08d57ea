// Fulgor runs headless when the first argument names a subcommand (it then
// never touches a display); given only script files, or nothing, it opens its
// window and loads them; anything else is a usage error.

#include <QApplication>
#include <QStringList>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "app/cli.h"
#include "platform/qt_prompter.h"
#include "workspace/main_window.h"

namespace {

int runWindow(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(fulgor::kAppTitle);
    QApplication::setApplicationVersion(QStringLiteral(FULGOR_VERSION));
    fulgor::QtPrompter prompter;
    fulgor::MainWindow window(prompter);
    prompter.setParent(&window);
    window.show();
    window.openFiles(QApplication::arguments().mid(1));
    return QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    std::vector<std::string> args(argv + 1, argv + argc);
    fulgor::cli::Launch launch = fulgor::cli::decideLaunch(args, fulgor::cli::displayAvailable());
    switch (launch.kind) {
        case fulgor::cli::Launch::Headless: {
            // A reader that goes away (a closed pipe) makes the write fail with a
            // message instead of killing the process silently.
            std::signal(SIGPIPE, SIG_IGN);
            fulgor::cli::Io io{std::cout, std::cerr};
            return fulgor::cli::run(args, io);
        }
        case fulgor::cli::Launch::Refused:
            std::cerr << launch.message;
            return fulgor::cli::kBadUsage;
        case fulgor::cli::Launch::Window:
            break;
    }
    return runWindow(argc, argv);
}
