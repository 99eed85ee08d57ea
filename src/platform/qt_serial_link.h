#pragma once
// The serial link over QSerialPort, with the terminal pane that shows what the
// panel sends back and the capture file that logs it.

#include <QObject>
#include <QSerialPort>
#include <string>

#include "comms/serial_link.h"

namespace fulgor {

// Where what the panel sends back is shown. The link itself needs no widgets,
// so the command line can send a show without Qt Widgets; the window passes
// its text pane through PlainTextTerminal.
class TerminalPane {
public:
    virtual ~TerminalPane() = default;
    virtual void append(const QString& text) = 0;
    virtual void clear() = 0;
    // At least one line is always kept: the line being written.
    virtual void setMaximumLines(int lines) = 0;
};

class QtSerialLink : public QObject, public SerialLink {
    Q_OBJECT
public:
    // `terminal`, when given, shows what arrives (decoded from Windows-1252)
    // and keeps kTerminalScrollBack lines; without one, what arrives is only
    // captured. The terminal must outlive the link.
    explicit QtSerialLink(TerminalPane* terminal = nullptr, QObject* parent = nullptr);
    ~QtSerialLink() override;

    void setPort(const std::string& device) override;
    void setSettings(const std::string& settings) override;
    void setLineControl(bool on) override;

    void open() override;
    // Drops queued output first, so closing never waits for the line to drain.
    void close() override;
    bool isOpen() const override;
    std::string failureReason() const override;

    // Qt's own buffer plus the driver's queue (TIOCOUTQ).
    std::int64_t outputCount() const override;
    void discardOutput() override;
    Status output(std::string_view text) override;

    // "DEVICE at SETTINGS: N characters queued", or "DEVICE closed".
    std::string statusText() const override;

    // The capture file is appended to, so an earlier log is never lost. What
    // arrives is added to it through the one writer as it comes; when that
    // fails, capture stops and captureFailed() says why.
    std::string capturePath() const override;
    Status setCapturePath(const std::string& path) override;

    void clearTerminal() override;
    void setScrollBack(int lines) override;

signals:
    // The port closed by itself because the device failed or went away.
    void failed(const QString& reason);
    // Capturing stopped because what arrived could not be added to the
    // capture file; `reason` names the file and the system's cause.
    void captureFailed(const QString& reason);

private:
    void receive();
    void onError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
    TerminalPane* m_terminal;
    std::string m_capturePath;  // empty when not capturing
    std::string m_device;
    std::string m_settings;
    bool m_lineControl = false;
    std::string m_failureReason;
    bool m_afterCr = false;  // what arrived last ended with CR
};

}  // namespace fulgor
