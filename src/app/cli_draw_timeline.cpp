#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <charconv>
#include <ostream>

#include "app/cli_commands.h"
#include "app/cli_gui_application.h"
#include "app/cli_script_io.h"
#include "files/file_io.h"
#include "platform/timeline_painter.h"
#include "show_view/timeline_marks.h"

namespace fulgor::cli {
namespace {

constexpr int kSmallest = 200;
constexpr int kLargest = 8000;

// The pixel size given with `option`, `fallback` when absent; nothing (reported)
// when it is not a whole number from kSmallest to kLargest.
std::optional<int> pixelSize(const Args& args, Io& io, std::string_view option, int fallback) {
    std::optional<std::string> text = args.value(option);
    if (!text) return fallback;
    int value = 0;
    auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (error != std::errc() || end != text->data() + text->size() || value < kSmallest ||
        value > kLargest) {
        complain(args, io) << option << " must be a whole number of pixels from " << kSmallest
                           << " to " << kLargest << ", not \"" << *text << "\"\n";
        return std::nullopt;
    }
    return value;
}

}  // namespace

int drawTimeline(const Args& args, Io& io) {
    std::optional<std::string> pngPath = args.value("--png");
    if (!pngPath) {
        complain(args, io) << "--png OUT.png is required\n";
        return kBadUsage;
    }
    std::optional<int> width = pixelSize(args, io, "--width", 1600);
    if (!width) return kBadUsage;
    std::optional<int> height = pixelSize(args, io, "--height", 900);
    if (!height) return kBadUsage;
    std::optional<ScriptInput> script = readScriptInput(args, io);
    if (!script) return kBadUsage;

    std::unique_ptr<QGuiApplication> application;
    if (!ensureGuiApplication(args, io, application)) return kBadUsage;

    TimelineMarks marks = timelineMarks(script->table, script->grid);
    QImage image(*width, *height, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        TimelineView view = timelineViewFor(
            marks, image.size(), fittedRange(marks.firstTime, marks.lastTime), painter.font());
        paintTimeline(painter, image.size(), marks, view);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        complain(args, io) << "could not encode the picture as PNG\n";
        return kBadUsage;
    }
    if (Status written =
            writeFileAtomically(*pngPath, std::string_view(png.constData(), png.size()));
        !written) {
        complain(args, io) << written.error() << '\n';
        return kBadUsage;
    }
    io.err << "Drew " << marks.marks.size() << (marks.marks.size() == 1 ? " cue" : " cues")
           << " on " << marks.positionCount()
           << (marks.positionCount() == 1 ? " position" : " positions") << " to " << *pngPath
           << '\n';
    if (marks.untimed > 0)
        io.err << marks.untimed << (marks.untimed == 1 ? " line has" : " lines have")
               << " no readable time and is not drawn\n";
    return kDone;
}

}  // namespace fulgor::cli
