#pragma once
// Sending the holding pen's text to the panel, paced by a 100 ms timer.
//
// The link takes at most kMaxOutputPiece characters at a time, so the text goes
// over in pieces; a piece is handed over only when the link's output count has
// run down to 0, and the transmission ends at the first tick after the last
// piece has left the link entirely.
//
// The window owns the timer, the widgets and the question box. Per event:
//   cmdSendShow click -> click(); when the step asks, put kCancelQuestion
//                        (title kCancelTitle, Yes/No) and on Yes confirmCancel()
//   timer tick        -> tick(), with the holding pen's text at that moment
// After each call it shows the step's messages and port label, copies display()
// to the widgets and runs the timer while timerRunning() says so.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "comms/port_setup.h"
#include "comms/serial_link.h"
#include "comms/transmission_record.h"

namespace fulgor {

inline constexpr std::string_view kTransmitShowCaption = "Transmit Show";
inline constexpr std::string_view kTransmitCancelCaption = "Transmit Cancel";
inline constexpr std::string_view kTransmittingStatus = "Transmitting";
inline constexpr std::string_view kCancelledStatus = "Cancelled!";
inline constexpr std::string_view kCancelQuestion = "Cancel Transmission?";
inline constexpr std::string_view kCancelTitle = "Send Show to Serial Device";
inline constexpr int kTickMilliseconds = 100;
// A panel that takes no character for this long while characters wait for it
// (it stopped reading, or its line is held) ends the transmission.
inline constexpr int kStallSeconds = 10;
inline constexpr int kStallTicks = kStallSeconds * 1000 / kTickMilliseconds;

// The buttons that EnableCommButtons switches: off while a transmission runs.
inline constexpr std::array<std::string_view, 4> kCommButtons = {"cmdClearHolding", "cmdFormatShow",
                                                                 "cmdTalsen2PD", "cmdCommPort"};

// done * 100 / total as a whole number, ties to even; 0 when total is 0.
std::int64_t PercentDone(std::int64_t total, std::int64_t done);

struct SendState {
    std::int64_t SendLength = 0;  // characters of the text being sent; 0 when idle
    std::int64_t SendHanded = 0;  // leading characters already handed to the link
};

// What the Communications tab shows about a transmission; the default is idle.
struct SendDisplay {
    std::string_view buttonCaption = kTransmitShowCaption;  // cmdSendShow
    std::string status;                                     // lblSendStatus
    std::string charactersLeft;                             // lblSendChars
    int progress = 0;                                       // elProgressBar1, 0..100
    bool progressVisible = false;
    bool busyPointer = false;        // hourglass over the whole program
    bool commButtonsEnabled = true;  // EnableCommButtons(commButtonsEnabled)
};

enum class SendEnd {
    None,       // nothing ended
    Completed,  // every character has left the link
    Stopped,    // the tick after a cancel (or with nothing to send) returned to idle
    Failed,     // the transmission could not start or went wrong; see the messages
};

struct SendStep {
    bool askCancel = false;                // a click during a transmission: ask kCancelQuestion
    std::vector<std::string> messages;     // message boxes to show, in order
    std::optional<std::string> portLabel;  // the new text of lblPortSets
    SendEnd end = SendEnd::None;
    // Set once when a transmission that had started ends (completed,
    // cancelled or failed): what left the port, for its record.
    std::optional<SentShow> sent;
};

class Transmission {
public:
    // The link must outlive the transmission. `stallTicks` is how many ticks
    // the queue may stand still before the transmission gives up.
    explicit Transmission(SerialLink& link, int stallTicks = kStallTicks)
        : m_link(link), m_stallTicks(stallTicks) {}

    // cmdSendShow. During a transmission only asks for the cancel question.
    // Otherwise starts sending `text` (UTF-8): an empty text starts nothing; a
    // text with a character the code page cannot hold is refused with a
    // message before anything is touched. Then the port is reopened with
    // SaxUpTransmit(port, portBoxText) and the first piece handed over. When
    // the link refuses it (the port did not open) the messages say why, the
    // display keeps "Transmitting", the count and the bar, the pointer returns
    // to normal and the timer does not start; the state is idle again, so the
    // next click starts afresh.
    SendStep click(std::string_view text, const PortState& port, std::string_view portBoxText);

    // Yes to the cancel question: back to idle at once, "Cancelled!" showing,
    // queued output dropped, the port closed. A running timer is left running:
    // its next tick ends the transmission and clears "Cancelled!" again. When
    // the transmission had already ended while the question was open, the
    // timer stays off and "Cancelled!" stays.
    SendStep confirmCancel();

    // Timer1. `currentText` is the holding pen's text now: later pieces are cut
    // from it at the position reached, so a text replaced meanwhile supplies
    // the rest. The transmission keeps the length counted at its start, so a
    // longer text is sent only up to that length. A port that failed or went
    // away ends the transmission with a message giving the system's reason; so
    // does a queue that has not shrunk for kStallTicks ticks. Every such
    // message names the port and says how many characters went out:
    // "Transmission stopped: REASON. N of M characters went out.", N as last
    // measured (after a failure the queue cannot be read, so at least N).
    SendStep tick(std::string_view currentText);

    const SendState& state() const { return m_state; }
    const SendDisplay& display() const { return m_display; }
    bool timerRunning() const { return m_timerRunning; }

private:
    SendStep start(std::string_view text, const PortState& port, std::string_view portBoxText);
    // Ends a running transmission at once, with `message` to show.
    SendStep fail(std::string reason);
    Status handOver(std::string_view text, std::int64_t count);
    void showProgress();
    // The record of the running transmission, ending as `ending` with
    // `leftPort` bytes on the line.
    SentShow finished(SendEnding ending, std::int64_t leftPort);

    SerialLink& m_link;
    int m_stallTicks;
    std::string m_device;  // the port the transmission opened, for its messages
    // Characters known to have left the link, as measured at the last look:
    // once the port has failed its queue can no longer be read.
    std::int64_t m_sent = 0;
    std::int64_t m_lastQueued = 0;
    int m_stalledTicks = 0;
    SendState m_state;
    SendDisplay m_display;
    bool m_timerRunning = false;
    SentShow m_show;              // the running transmission; `sent` holds every byte handed over
};

}  // namespace fulgor
