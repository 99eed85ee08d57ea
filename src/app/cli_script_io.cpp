#include "app/cli_script_io.h"

#include <cctype>
#include <filesystem>
#include <optional>
#include <ostream>
#include <span>

#include "core/in_order_worker.h"

namespace fulgor::cli {
namespace {

std::optional<std::string> inputPath(const Args& args, Io& io) {
    if (args.positional.size() != 1) {
        complain(args, io) << "expected one input file, got " << args.positional.size() << '\n';
        return std::nullopt;
    }
    return args.positional[0];
}

template <class Script>
std::optional<Script> readInput(const Args& args, Io& io,
                                const std::function<Result<Script>(const std::string&)>& read) {
    std::optional<std::string> path = inputPath(args, io);
    if (!path) return std::nullopt;
    Result<Script> script = read(*path);
    if (!script) {
        complain(args, io) << script.error() << '\n';
        return std::nullopt;
    }
    return std::move(script.value());
}

// Writes -o or standard output from `read`, which reads the input script at
// the path it is given and writes as it goes, keeping in `written` what its
// writing last gave: a failure while the writing went well is the input's.
bool rewriteInput(const Args& args, Io& io,
                  const std::function<Status(const std::string& path, const ByteSink& sink,
                                             Status& written)>& read) {
    std::optional<std::string> path = inputPath(args, io);
    if (!path) return false;
    Status inputFailure;
    auto produce = [&](const ByteSink& sink) -> Status {
        Status written;
        Status status = read(*path, sink, written);
        if (!status && written) inputFailure = status;
        return status;
    };
    return writeOutputFrom(args, produce, io, &inputFailure);
}

}  // namespace

std::optional<TalsenScript> readTalsenInput(const Args& args, Io& io, ColumnsRead columns) {
    return readInput<TalsenScript>(
        args, io, [columns](const std::string& path) { return readTalsenFile(path, {}, columns); });
}

std::optional<KavrinScript> readKavrinInput(const Args& args, Io& io, ColumnsRead columns) {
    return readInput<KavrinScript>(
        args, io, [columns](const std::string& path) { return readKavrinFile(path, {}, columns); });
}

std::optional<HeldTalsenScript> holdTalsenInput(const Args& args, Io& io, ColumnsRead columns) {
    return readInput<HeldTalsenScript>(
        args, io, [columns](const std::string& path) { return holdTalsenFile(path, columns); });
}

std::optional<HeldKavrinScript> holdKavrinInput(const Args& args, Io& io, ColumnsRead columns) {
    return readInput<HeldKavrinScript>(
        args, io, [columns](const std::string& path) { return holdKavrinFile(path, columns); });
}

std::optional<ScriptInput> readScriptInput(const Args& args, Io& io) {
    std::optional<std::string> path = inputPath(args, io);
    if (!path) return std::nullopt;
    std::string extension = std::filesystem::path(*path).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".csv") {
        std::optional<TalsenScript> script = readTalsenInput(args, io);
        if (!script) return std::nullopt;
        return ScriptInput{std::move(script->table), ScriptGrid::Talsen};
    }
    if (extension == ".kvn") {
        std::optional<KavrinScript> script = readKavrinInput(args, io);
        if (!script) return std::nullopt;
        return ScriptInput{std::move(script->table), ScriptGrid::Kavrin};
    }
    complain(args, io) << "cannot read \"" << *path
                       << "\": it is neither a Talsen script (.csv) nor a Kavrin script (.kvn)\n";
    return std::nullopt;
}

bool rewriteTalsenLines(
    const Args& args, Io& io,
    const std::function<Status(const TalsenHeader& header, const ByteSink& sink)>& begin,
    const std::function<LineRewrite()>& makeRewrite) {
    // A run long enough to share has most of its lines rewritten on a helper
    // thread meanwhile, this one also reading the lines and writing them out:
    // rewriting, not reading or writing, is most of the work.
    constexpr std::size_t kLinesToShare = 512;
    auto rewriteRun = [](const LineRewrite& rewrite, std::span<const std::string_view> lines,
                         int firstRow, std::string& out) {
        out.clear();
        for (std::size_t i = 0; i < lines.size(); ++i)
            rewrite(lines[i], firstRow + static_cast<int>(i), out);
    };
    return rewriteInput(
        args, io, [&](const std::string& path, const ByteSink& sink, Status& written) -> Status {
            std::string first;
            std::string second;
            first.reserve(kPieceBytes + kRowRoom);
            const LineRewrite rewrite = makeRewrite();
            LineRewrite helperRewrite;
            std::optional<InOrderWorker> helper;
            return readTalsenLines(
                path, [&](const TalsenHeader& header) { return written = begin(header, sink); },
                [&](std::span<const std::string_view> lines, int firstRow) -> Status {
                    const bool shared = lines.size() >= kLinesToShare;
                    const std::size_t mine = shared ? lines.size() * 2 / 5 : lines.size();
                    auto rewriteMine = [&] {
                        rewriteRun(rewrite, lines.first(mine), firstRow, first);
                        written = sink(first);
                    };
                    if (!shared) {
                        rewriteMine();
                        return written;
                    }
                    if (!helper) {
                        helperRewrite = makeRewrite();
                        second.reserve(kPieceBytes + kRowRoom);
                        helper.emplace(1);
                    }
                    // The helper reads the lines, which are gone once this returns.
                    static_cast<void>(helper->alongside(
                        [&, mine, firstRow] {
                            // Made in a string of the helper's own: beside
                            // `first` on this stack, every append would fight
                            // over one cache line.
                            std::string made = std::move(second);
                            rewriteRun(helperRewrite, lines.subspan(mine),
                                       firstRow + static_cast<int>(mine), made);
                            second = std::move(made);
                            return Status{};
                        },
                        rewriteMine));
                    if (!written) return written;
                    return written = sink(second);
                });
        });
}

bool writeTalsenOutput(const Args& args, const TalsenScript& script, Io& io) {
    return writeOutputFrom(
        args, [&](const ByteSink& sink) { return writeTalsen(script, script.table, sink); }, io);
}

bool writeKavrinOutput(const Args& args, const KavrinScript& script, Io& io) {
    return writeOutputFrom(
        args,
        [&](const ByteSink& sink) { return writeKavrin(script.showName, script.table, sink); }, io);
}

bool writeHeldTalsenOutput(const Args& args, const HeldTalsenScript& script, ColumnSet changed,
                           Io& io) {
    return writeOutputFrom(
        args, [&](const ByteSink& sink) { return writeHeldTalsen(script, changed, sink); }, io);
}

bool writeHeldKavrinOutput(const Args& args, const HeldKavrinScript& script, ColumnSet changed,
                           Io& io) {
    return writeOutputFrom(
        args, [&](const ByteSink& sink) { return writeHeldKavrin(script, changed, sink); }, io);
}

}  // namespace fulgor::cli
