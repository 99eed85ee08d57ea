#include "platform/qt_serial_link.h"

#include <sys/ioctl.h>

#include <QFile>
#include <algorithm>
#include <utility>

#include "comms/line_settings.h"
#include "comms/terminal.h"
#include "core/cp1252.h"
#include "files/file_io.h"

namespace fulgor {
namespace {

QSerialPort::Parity qtParity(LineSettings::Parity parity) {
    switch (parity) {
        case LineSettings::Parity::None:
            return QSerialPort::NoParity;
        case LineSettings::Parity::Even:
            return QSerialPort::EvenParity;
        case LineSettings::Parity::Odd:
            return QSerialPort::OddParity;
        case LineSettings::Parity::Mark:
            return QSerialPort::MarkParity;
        case LineSettings::Parity::Space:
            return QSerialPort::SpaceParity;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits qtStopBits(LineSettings::StopBits stopBits) {
    switch (stopBits) {
        case LineSettings::StopBits::One:
            return QSerialPort::OneStop;
        case LineSettings::StopBits::OneAndHalf:
            return QSerialPort::OneAndHalfStop;
        case LineSettings::StopBits::Two:
            return QSerialPort::TwoStop;
    }
    return QSerialPort::OneStop;
}

}  // namespace

QtSerialLink::QtSerialLink(TerminalPane* terminal, QObject* parent)
    : QObject(parent), m_terminal(terminal) {
    if (m_terminal) m_terminal->setMaximumLines(kTerminalScrollBack);
    connect(&m_port, &QSerialPort::readyRead, this, &QtSerialLink::receive);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialLink::onError);
}

QtSerialLink::~QtSerialLink() {
    close();
}

void QtSerialLink::setPort(const std::string& device) {
    m_device = device;
}

void QtSerialLink::setSettings(const std::string& settings) {
    m_settings = settings;
}

void QtSerialLink::setLineControl(bool on) {
    m_lineControl = on;
}

void QtSerialLink::open() {
    m_failureReason.clear();
    Result<LineSettings> settings = parseLineSettings(m_settings);
    if (!settings) {
        m_failureReason = m_device + ": " + settings.error();
        return;
    }
    m_port.setPortName(QString::fromStdString(m_device));
    m_port.setBaudRate(settings.value().baud);
    m_port.setParity(qtParity(settings.value().parity));
    m_port.setDataBits(static_cast<QSerialPort::DataBits>(settings.value().dataBits));
    m_port.setStopBits(qtStopBits(settings.value().stopBits));
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_failureReason = m_device + ": " + m_port.errorString().toStdString();
        return;
    }
    m_afterCr = false;
    // Not every device has modem control lines (a pseudo-terminal has none);
    // their absence does not stop the port from working.
    if (m_lineControl) {
        m_port.setDataTerminalReady(true);
        m_port.setRequestToSend(true);
    }
}

void QtSerialLink::close() {
    discardOutput();
    // Discarding on a failed device reports the failure, which already closes the port.
    if (m_port.isOpen()) m_port.close();
}

bool QtSerialLink::isOpen() const {
    return m_port.isOpen();
}

std::string QtSerialLink::failureReason() const {
    return m_failureReason;
}

std::int64_t QtSerialLink::outputCount() const {
    if (!m_port.isOpen()) return 0;
    int driverQueue = 0;
    if (::ioctl(m_port.handle(), TIOCOUTQ, &driverQueue) != 0) driverQueue = 0;
    return m_port.bytesToWrite() + driverQueue;
}

void QtSerialLink::discardOutput() {
    if (m_port.isOpen()) m_port.clear(QSerialPort::Output);
}

Status QtSerialLink::output(std::string_view text) {
    if (!m_port.isOpen()) {
        std::string why = m_failureReason.empty() ? "" : " (" + m_failureReason + ")";
        return Error{"Cannot send: the port " + m_device + " is not open" + why};
    }
    Result<std::string> bytes = encode1252(text);
    if (!bytes) return Error{"Cannot send: " + bytes.error()};
    const std::string& data = bytes.value();
    if (m_port.write(data.data(), static_cast<qint64>(data.size())) !=
        static_cast<qint64>(data.size())) {
        return Error{"Cannot send to " + m_device + ": " + m_port.errorString().toStdString()};
    }
    return {};
}

std::string QtSerialLink::statusText() const {
    if (!m_port.isOpen()) return m_device + " closed";
    return m_device + " at " + m_settings + ": " + std::to_string(outputCount()) +
           " characters queued";
}

std::string QtSerialLink::capturePath() const {
    return m_capturePath;
}

Status QtSerialLink::setCapturePath(const std::string& path) {
    // What the log took in while capturing reaches the disk as capture ends.
    if (const std::string ended = std::exchange(m_capturePath, {}); !ended.empty())
        if (Status synced = syncFile(ended); !synced) return synced;
    if (path.empty()) return {};
    // Adding nothing creates the file, or finds out now that it cannot be written.
    if (Status opened = appendToFile(path, {}); !opened) return opened;
    m_capturePath = path;
    return {};
}

void QtSerialLink::clearTerminal() {
    if (m_terminal) m_terminal->clear();
}

void QtSerialLink::setScrollBack(int lines) {
    if (!m_terminal) return;
    // Dropping the kept lines means emptying the pane and keeping only the
    // line being written.
    if (lines <= 0) m_terminal->clear();
    m_terminal->setMaximumLines(std::max(lines, 1));
}

void QtSerialLink::receive() {
    QByteArray bytes = m_port.readAll();
    const std::string_view arrived(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    Status captured =
        m_capturePath.empty() ? Status{} : appendToFile(m_capturePath, arrived, FileSync::AtEnd);
    if (m_terminal) {
        std::string text;
        appendTerminalText(arrived, m_afterCr, text);
        m_terminal->append(QString::fromStdString(text));
    }
    if (captured) return;
    // Capture stops before anyone hears of it, so what arrives while the
    // operator reads the message is not tried again and reported twice.
    m_capturePath.clear();
    emit captureFailed(QString::fromStdString(captured.error()));
}

void QtSerialLink::onError(QSerialPort::SerialPortError error) {
    bool portFailed = error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
                      error == QSerialPort::WriteError;
    // The port keeps signalling for as long as it stays open, even while it
    // closes: the first signal closes it, the rest find the reason recorded.
    if (!portFailed || !m_port.isOpen() || !m_failureReason.empty()) return;
    // After a hang-up Qt's error text is built from a stale errno, so say what
    // happened in the operator's terms: the device went away or the line dropped.
    m_failureReason =
        QFile::exists(QString::fromStdString(m_device))
            ? m_device + ": the line hung up (the panel or its cable was disconnected)"
            : m_device + ": the device was removed";
    m_port.close();
    emit failed(QString::fromStdString(m_failureReason));
}

}  // namespace fulgor
