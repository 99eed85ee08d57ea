#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPdfWriter>
#include <optional>
#include <ostream>

#include "app/cli_commands.h"
#include "app/cli_script_io.h"
#include "files/file_io.h"
#include "platform/grid_columns.h"
#include "platform/grid_layout.h"
#include "platform/page_texts.h"
#include "platform/program_folder.h"
#include "platform/table_printer.h"

namespace fulgor::cli {
namespace {

// What gets printed: the table, its grid's columns and the page header.
struct Printable {
    Table table;
    ScriptGrid grid;
    std::span<const GridColumn> columns;
    QString header;
};

std::optional<Printable> readPrintable(const Args& args, Io& io) {
    if (args.positional.size() != 1) {
        io.err << "fulgor print: expected one script to print, got " << args.positional.size()
               << '\n';
        return std::nullopt;
    }
    const QString path = QString::fromStdString(args.positional[0]);
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == QLatin1String("csv")) {
        std::optional<TalsenScript> script = readTalsenInput(args, io);
        if (!script) return std::nullopt;
        return Printable{std::move(script->table), ScriptGrid::Talsen, kTalsenGridColumns,
                         talsenPageHeader(absolute)};
    }
    if (extension == QLatin1String("kvn")) {
        std::optional<KavrinScript> script = readKavrinInput(args, io);
        if (!script) return std::nullopt;
        return Printable{std::move(script->table), ScriptGrid::Kavrin, kKavrinGridColumns,
                         kavrinPageHeader(absolute, QString::fromStdString(script->showName))};
    }
    if (extension == QLatin1String("scx")) {
        io.err << "fulgor print: cannot print \"" << args.positional[0]
               << "\": printing SD show databases (.scx) is not available yet\n";
        return std::nullopt;
    }
    io.err << "fulgor print: cannot print \"" << args.positional[0]
           << "\": it is neither a Talsen script (.csv) nor a Kavrin script (.kvn)\n";
    return std::nullopt;
}

int run(const Args& args, Io& io) {
    std::optional<std::string> pdfPath = args.value("--pdf");
    if (!pdfPath) {
        io.err << "fulgor print: --pdf OUT.pdf is required\n";
        return kBadUsage;
    }
    std::optional<Printable> printable = readPrintable(args, io);
    if (!printable) return kBadUsage;

    // Fonts need a GUI application; the offscreen platform needs no display.
    int argc = 3;
    char name[] = "fulgor", platformOption[] = "-platform", platform[] = "offscreen";
    char* argv[] = {name, platformOption, platform, nullptr};
    std::optional<QGuiApplication> application;
    if (!QCoreApplication::instance()) {
        application.emplace(argc, argv);
    } else if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        io.err << "fulgor print: printing needs a GUI application object\n";
        return kBadUsage;
    }

    ScriptTableModel model(printable->table, printable->grid, printable->columns);
    // As in the window: Talsen rows without a firing address show yellow.
    model.setHighlighting(printable->grid == ScriptGrid::Talsen);
    std::vector<PlacedColumn> columns = startingColumns(printable->columns);
    if (std::optional<std::string> layoutName = args.value("--layout")) {
        const QString name = QString::fromStdString(*layoutName);
        const QString layoutPath = QDir(programFolder()).filePath(kLayoutFileName);
        Result<GridLayout> layout = loadGridLayout(layoutPath, name);
        if (!layout) {
            io.err << "fulgor print: " << layout.error() << '\n';
            return kBadUsage;
        }
        Result<std::vector<PlacedColumn>> arranged =
            arrangeColumns(layout.value(), name, columns, columnNames(model));
        if (!arranged) {
            io.err << "fulgor print: " << arranged.error() << '\n';
            return kBadUsage;
        }
        columns = std::move(arranged.value());
    }

    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    Result<int> pages = [&]() -> Result<int> {
        QPdfWriter writer(&buffer);
        setPdfPageLayout(writer);
        writer.setTitle(printable->header);
        writer.setCreator(QStringLiteral("Fulgor"));
        return printTable(writer, model, columns, {printable->header, kPageFooter});
    }();
    if (!pages) {
        io.err << "fulgor print: " << pages.error() << '\n';
        return kBadUsage;
    }
    if (Status written =
            writeFileAtomically(*pdfPath, std::string_view(pdf.constData(), pdf.size()));
        !written) {
        complain(args, io) << written.error() << '\n';
        return kBadUsage;
    }
    io.err << "Printed " << printable->table.rowCount() << " rows on " << pages.value()
           << (pages.value() == 1 ? " page" : " pages") << " to " << *pdfPath << '\n';
    return kDone;
}

}  // namespace

Command printCommand() {
    return {"print",
            "SCRIPT.csv|SHOW.kvn --pdf OUT.pdf [--layout NAME]",
            "Prints a Talsen or Kavrin script table to a PDF file, laid out as Print "
            "Preview shows.",
            "  --pdf OUT.pdf   the PDF file to write (A4 portrait)\n"
            "  --layout NAME   arrange the columns by the grid layout NAME (TalsenScript,\n"
            "                  KavrinScript) saved in Pellor.grx in the program's folder\n"
            "                  (FULGOR_HOME when set)\n"
            "Each page has the header \"Talsen Script Table - \" or \"Kavrin Script Table - \"\n"
            "with the script's path (and the show name), the column headers and the footer\n"
            "\"Page: N\". A table wider than the page is scaled down to fit its width.\n"
            "SD show databases (.scx) cannot be printed yet.\n",
            {{"--pdf", true}, {"--layout", true}},
            run};
}

}  // namespace fulgor::cli
