#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPdfWriter>
#include <memory>
#include <optional>
#include <ostream>

#include "app/cli_commands.h"
#include "app/cli_gui_application.h"
#include "app/cli_script_io.h"
#include "app/cli_sd_show.h"
#include "files/file_io.h"
#include "platform/grid_columns.h"
#include "platform/grid_layout.h"
#include "platform/page_texts.h"
#include "platform/program_folder.h"
#include "platform/sd_grid_columns.h"
#include "platform/sd_table_model.h"
#include "platform/table_printer.h"

namespace fulgor::cli {
namespace {

// What gets printed: a script table with its grid's columns, or the view of a
// show database; and the page header.
struct Printable {
    Table table;
    ScriptGrid grid = ScriptGrid::Talsen;
    std::span<const GridColumn> columns;
    std::unique_ptr<SdDatabase> show;
    QString header;
};

// The model the grid shows, and its columns as the grid starts.
struct PrintedGrid {
    std::unique_ptr<QAbstractItemModel> model;
    std::vector<PlacedColumn> columns;
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
        return Printable{std::move(script->table),
                         ScriptGrid::Talsen,
                         kTalsenGridColumns,
                         {},
                         talsenPageHeader(absolute)};
    }
    if (extension == QLatin1String("kvn")) {
        std::optional<KavrinScript> script = readKavrinInput(args, io);
        if (!script) return std::nullopt;
        return Printable{std::move(script->table),
                         ScriptGrid::Kavrin,
                         kKavrinGridColumns,
                         {},
                         kavrinPageHeader(absolute, QString::fromStdString(script->showName))};
    }
    if (extension == QLatin1String("scx")) {
        std::optional<SdOpenView> show = openSdView("print", args.positional[0], args, io);
        if (!show) return std::nullopt;
        show->events.reset();
        return Printable{{}, {}, {}, std::move(show->database), sdPageHeader(absolute)};
    }
    io.err << "fulgor print: cannot print \"" << args.positional[0]
           << "\": it is neither a Talsen script (.csv), a Kavrin script (.kvn) nor an SD show "
              "(.scx)\n";
    return std::nullopt;
}

// Sort and filter belong to the SD view; a script prints in its own order.
bool viewOptionsMisplaced(const Args& args, const Printable& printable, Io& io) {
    if (printable.show || (!args.value("--sort") && args.allValues("--filter").empty()))
        return false;
    io.err << "fulgor print: --sort and --filter apply to SD shows (.scx) only\n";
    return true;
}

Result<PrintedGrid> printedGrid(Printable& printable) {
    if (printable.show) {
        auto model = std::make_unique<SdTableModel>();
        if (Status shown = model->setDatabase(printable.show.get()); !shown)
            return Error{shown.error()};
        // As the SD tab sizes its columns when a show opens.
        std::vector<PlacedColumn> columns =
            sdStartingColumns(*model, QFontMetrics(QGuiApplication::font()));
        return PrintedGrid{std::move(model), std::move(columns)};
    }
    auto model =
        std::make_unique<ScriptTableModel>(printable.table, printable.grid, printable.columns);
    // As in the window: Talsen rows without a firing address show yellow.
    model->setHighlighting(printable.grid == ScriptGrid::Talsen);
    return PrintedGrid{std::move(model), startingColumns(printable.columns)};
}

}  // namespace

int drawPrint(const Args& args, Io& io) {
    std::optional<std::string> pdfPath = args.value("--pdf");
    if (!pdfPath) {
        io.err << "fulgor print: --pdf OUT.pdf is required\n";
        return kBadUsage;
    }
    std::optional<Printable> printable = readPrintable(args, io);
    if (!printable || viewOptionsMisplaced(args, *printable, io)) return kBadUsage;

    std::unique_ptr<QGuiApplication> application;
    if (!ensureGuiApplication(args, io, application)) return kBadUsage;

    Result<PrintedGrid> grid = printedGrid(*printable);
    if (!grid) {
        io.err << "fulgor print: " << grid.error() << '\n';
        return kBadUsage;
    }
    QAbstractItemModel& model = *grid.value().model;
    std::vector<PlacedColumn> columns = std::move(grid.value().columns);
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
    io.err << "Printed " << model.rowCount() << " rows on " << pages.value()
           << (pages.value() == 1 ? " page" : " pages") << " to " << *pdfPath << '\n';
    return kDone;
}

}  // namespace fulgor::cli
