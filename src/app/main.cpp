// Fulgor runs headless when the first argument names a subcommand (it then
// never touches a display); otherwise it opens its window, loading any script
// files given.

#include <QApplication>
#include <QStringList>
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
    if (!args.empty() && fulgor::cli::isCliWord(args[0])) {
        fulgor::cli::Io io{std::cout, std::cerr};
        return fulgor::cli::run(args, io);
    }
    return runWindow(argc, argv);
}
