#include "comms/transmission.h"

#include <algorithm>

#include "core/cp1252.h"
#include "core/rounding.h"
#include "core/utf8_text.h"

namespace fulgor {
namespace {

constexpr std::string_view kStopped = "Transmission stopped: ";

// `count` characters of `text` from character `first` on (fewer where it ends).
std::string_view characters(std::string_view text, std::int64_t first, std::int64_t count) {
    std::string_view rest = text.substr(utf8Offset(text, static_cast<std::size_t>(first)));
    return rest.substr(0, utf8Offset(rest, static_cast<std::size_t>(count)));
}

}  // namespace

std::int64_t PercentDone(std::int64_t total, std::int64_t done) {
    if (total == 0) return 0;
    return static_cast<std::int64_t>(
        roundHalfEven(static_cast<double>(done) * 100 / static_cast<double>(total)));
}

SendStep Transmission::click(std::string_view text, const PortState& port,
                             std::string_view portBoxText) {
    if (m_state.SendLength == 0) return start(text, port, portBoxText);
    SendStep step;
    step.askCancel = true;
    return step;
}

SendStep Transmission::start(std::string_view text, const PortState& port,
                             std::string_view portBoxText) {
    auto length = static_cast<std::int64_t>(utf8Length(text));
    SendStep step;
    if (length == 0) return step;
    // Refusing the whole text up front means a show is never sent in part
    // because of a character found late in it.
    if (Result<std::string> bytes = encode1252(text); !bytes) {
        step.messages.push_back("The text cannot be sent: " + bytes.error());
        step.end = SendEnd::Failed;
        return step;
    }

    m_display = {};
    m_display.status = kTransmittingStatus;
    m_display.charactersLeft = std::to_string(length);
    m_display.progress = static_cast<int>(PercentDone(length, 0));
    m_display.progressVisible = true;
    m_display.busyPointer = true;
    m_device = portDevice(port);
    m_sent = 0;
    m_lastQueued = 0;
    m_stalledTicks = 0;
    PortOutcome reopened = SaxUpTransmit(port, portBoxText, m_link);
    step.portLabel = reopened.portLabel;
    if (reopened.message) step.messages.push_back(*reopened.message);

    m_state.SendLength = length;
    m_show = {};
    m_show.port = portDevice(port);
    m_show.settings = port.PortSettings;
    m_show.length = length;
    m_show.firstLine = firstLineOf(text);
    if (Status handed = handOver(text, std::min(length, kMaxOutputPiece)); !handed) {
        // The steps after the failing one are not carried out: the display keeps
        // what it shows, only the pointer returns (the buttons were never
        // disabled). SendLength goes back to 0 as well, so the next click starts
        // afresh instead of offering to cancel a transmission that never ran.
        m_state = {};
        m_display.busyPointer = false;
        step.messages.push_back(handed.error());
        step.end = SendEnd::Failed;
        return step;
    }
    m_lastQueued = m_link.outputCount();
    m_timerRunning = true;
    m_display.commButtonsEnabled = false;
    m_display.buttonCaption = kTransmitCancelCaption;
    return step;
}

SendStep Transmission::confirmCancel() {
    SendStep step;
    if (m_state.SendLength > 0) {
        std::int64_t handed = static_cast<std::int64_t>(m_show.sent.size());
        step.sent = finished(SendEnding::Cancelled, handed - m_link.outputCount());
    }
    m_state = {};
    m_display.buttonCaption = kTransmitShowCaption;
    m_display.status = kCancelledStatus;
    m_display.busyPointer = false;
    // Dropping the queue before closing keeps close() from waiting for it to drain.
    m_link.discardOutput();
    m_link.close();
    step.portLabel = kPortClosedLabel;
    return step;
}

SendStep Transmission::tick(std::string_view currentText) {
    if (m_state.SendLength > 0 && !m_link.isOpen()) {
        std::string reason = m_link.failureReason();
        return fail(reason.empty() ? m_device + ": the port closed" : reason);
    }
    std::int64_t queued = m_link.outputCount();
    if (m_state.SendLength > 0 && queued > 0 && queued >= m_lastQueued) {
        if (++m_stalledTicks >= m_stallTicks) {
            return fail(m_device + ": the panel has taken no characters for " +
                        std::to_string(kStallSeconds) + " seconds");
        }
    } else {
        m_stalledTicks = 0;
    }
    if (m_state.SendHanded >= m_state.SendLength) {
        if (m_link.outputCount() == 0) {
            SendStep step;
            step.end = m_state.SendLength > 0 ? SendEnd::Completed : SendEnd::Stopped;
            if (step.end == SendEnd::Completed)
                step.sent =
                    finished(SendEnding::Complete, static_cast<std::int64_t>(m_show.sent.size()));
            m_state = {};
            m_display = {};
            m_timerRunning = false;
            return step;
        }
    } else if (m_link.outputCount() == 0) {
        std::int64_t count = std::min(kMaxOutputPiece, m_state.SendLength - m_state.SendHanded);
        if (Status handed = handOver(currentText, count); !handed) return fail(handed.error());
    }
    showProgress();
    return {};
}

Status Transmission::handOver(std::string_view text, std::int64_t count) {
    std::string_view piece = characters(text, m_state.SendHanded, count);
    Status handed = m_link.output(piece);
    if (!handed) return handed;
    m_state.SendHanded += count;
    // The link took the piece, so the code page holds every character of it.
    m_show.sent += encode1252(piece).value();
    return handed;
}

void Transmission::showProgress() {
    std::int64_t queued = m_link.outputCount();
    m_sent = m_state.SendHanded - queued;
    m_lastQueued = queued;
    m_display.charactersLeft = std::to_string(m_state.SendLength - m_state.SendHanded + queued);
    m_display.progress =
        static_cast<int>(PercentDone(m_state.SendLength, m_state.SendHanded - queued));
    m_display.status = m_link.statusText();
}

SendStep Transmission::fail(std::string reason) {
    SendStep step;
    // A port that went away cannot say what it still held: the last tick's count stands.
    if (m_link.isOpen()) m_sent = m_state.SendHanded - m_link.outputCount();
    step.sent = finished(SendEnding::PortLost, m_sent);
    std::string message = std::string(kStopped) + reason + ". " + std::to_string(m_sent) + " of " +
                          std::to_string(m_state.SendLength) + " characters went out.";
    m_link.discardOutput();
    m_link.close();
    m_state = {};
    m_display = {};
    m_timerRunning = false;
    step.messages.push_back(std::move(message));
    step.portLabel = kPortClosedLabel;
    step.end = SendEnd::Failed;
    return step;
}

SentShow Transmission::finished(SendEnding ending, std::int64_t leftPort) {
    SentShow show = std::move(m_show);
    show.sent.resize(static_cast<std::size_t>(
        std::clamp<std::int64_t>(leftPort, 0, static_cast<std::int64_t>(show.sent.size()))));
    show.ending = ending;
    m_show = {};
    return show;
}

}  // namespace fulgor
