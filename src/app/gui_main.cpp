// The full program: the window, and every headless command with the ones
// that draw. `fulgor` hands it the window and the drawing with the arguments
// it was given, and it decides from them as `fulgor` does.

#include <QApplication>
#include <QStringList>

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
    return fulgor::cli::launch(argc, argv, [&] { return runWindow(argc, argv); });
}
