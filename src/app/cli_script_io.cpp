#include "app/cli_script_io.h"

#include <ostream>

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
                                Result<Script> (*read)(const std::string&)) {
    std::optional<std::string> path = inputPath(args, io);
    if (!path) return std::nullopt;
    Result<Script> script = read(*path);
    if (!script) {
        complain(args, io) << script.error() << '\n';
        return std::nullopt;
    }
    return std::move(script.value());
}

}  // namespace

std::optional<TalsenScript> readTalsenInput(const Args& args, Io& io) {
    return readInput<TalsenScript>(args, io, readTalsenFile);
}

std::optional<KavrinScript> readKavrinInput(const Args& args, Io& io) {
    return readInput<KavrinScript>(args, io, readKavrinFile);
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

}  // namespace fulgor::cli
