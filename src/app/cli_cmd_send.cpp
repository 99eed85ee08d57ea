#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <array>
#include <csignal>
#include <optional>
#include <ostream>

#include "app/cli_commands.h"
#include "comms/transmission.h"
#include "core/cp1252.h"
#include "files/file_io.h"
#include "platform/qt_serial_link.h"
#include "platform/transmission_log.h"

namespace fulgor::cli {
namespace {

struct NamedPreset {
    std::string_view name;
    const PortPreset& preset;
};
constexpr std::array<NamedPreset, 3> kPresetNames = {
    NamedPreset{"kavrin", kKavrinPreset}, {"fsk", kFskModemPreset}, {"pd", kPdPreset}};

const PortPreset* findPreset(std::string_view name) {
    for (const NamedPreset& named : kPresetNames) {
        if (named.name == name) return &named.preset;
    }
    return nullptr;
}

// "[###############               ] 50%  20000 characters left"
std::string progressBar(const SendDisplay& display) {
    constexpr int kWidth = 30;
    // A driver that reports more queued than was handed over must not break the bar.
    int filled = std::clamp(display.progress, 0, 100) * kWidth / 100;
    std::string bar = "[";
    bar.append(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(kWidth - filled), ' ');
    bar += "] " + std::to_string(display.progress) + "%  ";
    bar += display.charactersLeft;
    bar += " characters left";
    return bar;
}

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void onInterrupt(int) {
    g_interrupted = 1;
}

// Ctrl+C (SIGINT) during a transmission cancels it, as "Transmit Cancel" does,
// so that the show's record still says how far it got.
class InterruptCancels {
public:
    InterruptCancels() : m_previous(std::signal(SIGINT, onInterrupt)) { g_interrupted = 0; }
    ~InterruptCancels() { std::signal(SIGINT, m_previous); }
    InterruptCancels(const InterruptCancels&) = delete;
    InterruptCancels& operator=(const InterruptCancels&) = delete;
    bool interrupted() const { return g_interrupted != 0; }

private:
    void (*m_previous)(int);
};

void report(const SendStep& step, Io& io) {
    for (const std::string& message : step.messages) io.err << message << '\n';
}

// Runs the transmission's timer until it ends; the last step tells how.
SendStep runTimer(Transmission& transmission, std::string_view text, Io& io) {
    QEventLoop loop;
    QTimer timer;
    timer.setInterval(kTickMilliseconds);
    SendStep last;
    std::string shown;
    InterruptCancels interrupt;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (interrupt.interrupted()) {
            if (!shown.empty()) io.err << '\n';
            io.err << "Interrupted: the transmission is cancelled\n";
            last = transmission.confirmCancel();
            loop.quit();
            return;
        }
        SendStep step = transmission.tick(text);
        if (step.end == SendEnd::None) {
            std::string bar = progressBar(transmission.display());
            if (bar != shown) io.err << '\r' << bar << std::flush;
            shown = bar;
            return;
        }
        if (!shown.empty()) io.err << '\n';
        report(step, io);
        last = std::move(step);
        loop.quit();
    });
    timer.start();
    loop.exec();
    return last;
}

// Records the transmission in the program's log and prints its record line.
void record(const SendStep& ended, const Args& args, Io& io) {
    if (!ended.sent) return;
    LoggedTransmission logged = logTransmission(*ended.sent);
    io.out << logged.line << '\n';
    if (!logged.appended) complain(args, io) << logged.appended.error() << '\n';
}

int run(const Args& args, Io& io) {
    if (args.positional.size() != 1) {
        complain(args, io) << "expected one file to send, got " << args.positional.size() << '\n';
        return kBadUsage;
    }
    std::optional<std::string> portText = args.value("--port");
    if (!portText) {
        complain(args, io) << "--port N|PATH is required\n";
        return kBadUsage;
    }
    const PortPreset* preset = findPreset(args.value("--preset").value_or("kavrin"));
    if (!preset) {
        complain(args, io) << "--preset must be kavrin, fsk or pd\n";
        return kBadUsage;
    }
    PortState port;
    port.PortSettings = preset->settings;
    if (!takePortBox(port, *portText)) {
        complain(args, io) << "--port must be a port number from 1 to 32767 or a device path, "
                              "not \""
                           << *portText << "\"\n";
        return kBadUsage;
    }
    Result<std::string> bytes = readFileBytes(args.positional[0]);
    if (!bytes) {
        complain(args, io) << bytes.error() << '\n';
        return kBadUsage;
    }
    std::string text = decode1252(bytes.value());

    int argc = 1;
    char name[] = "fulgor";
    char* argv[] = {name, nullptr};
    std::optional<QCoreApplication> application;
    if (!QCoreApplication::instance()) application.emplace(argc, argv);

    QtSerialLink link;
    Transmission transmission(link);
    SendStep started = transmission.click(text, port, *portText);
    report(started, io);
    if (started.end == SendEnd::Failed) return kBadUsage;
    if (!transmission.timerRunning()) {
        complain(args, io) << args.positional[0] << " is empty; nothing was sent\n";
        return kDone;
    }
    SendStep ended = runTimer(transmission, text, io);
    record(ended, args, io);
    return ended.end == SendEnd::Completed ? kDone : kBadUsage;
}

}  // namespace

Command sendCommand() {
    return {"send",
            "FILE --port N|PATH [--preset kavrin|fsk|pd]",
            "Transmits a file (panel text, 8-bit) to the firing panel as Transmit Show does, "
            "in paced pieces.",
            "  --port N|PATH    port number (the device named by FULGOR_PORT_N, else "
            "/dev/ttyS<N-1>)\n"
            "                   or a device path such as /dev/ttyUSB0\n"
            "  --preset NAME    line settings of the Kavrin panel (kavrin, the default), the FSK\n"
            "                   modem (fsk) or the PD system at 9600 baud (pd)\n"
            "Progress shows on standard error. At the end the transmission's record goes to\n"
            "standard output and to Transmissions.log in the program's folder: date and time,\n"
            "port, line settings, bytes sent, their CRC-32, the text's first line and how it\n"
            "ended (complete, cancelled at byte N by Ctrl+C, or port lost at byte N). The exit\n"
            "status is 0 only when every character has left the port's output buffer, 1 when\n"
            "the port cannot be opened or fails, or the transmission is cancelled.\n",
            {{"--port", true}, {"--preset", true}},
            run};
}

}  // namespace fulgor::cli
