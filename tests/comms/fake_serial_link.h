#pragma once
// A scripted serial link: output queues in memory and reaches "the line" only
// when the test drains it, so a test decides exactly when the buffer runs empty.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "comms/serial_link.h"
#include "core/utf8_text.h"

namespace fulgor::test {

class FakeSerialLink : public SerialLink {
public:
    // Scripted behaviour.
    bool opens = true;  // whether open() succeeds
    std::string openFailure = "no such device";
    bool captureFails = false;

    // What happened.
    std::vector<std::string> calls;              // operations in order
    std::vector<std::string> pieces;             // every output() accepted
    std::vector<std::int64_t> queuedAtHandOver;  // output count when each piece came
    std::string line;                            // characters that left the link, in order
    std::string queue;                           // characters waiting to leave
    std::string device, settings;
    int scrollBack = kTerminalScrollBack;

    void setPort(const std::string& d) override { device = d, calls.push_back("port " + d); }
    void setSettings(const std::string& s) override {
        settings = s, calls.push_back("settings " + s);
    }
    void setLineControl(bool on) override { calls.push_back(on ? "line on" : "line off"); }
    void open() override {
        calls.push_back("open");
        m_open = opens;
        m_failure = opens ? "" : openFailure;
    }
    void close() override {
        calls.push_back("close");
        m_open = false;
        queue.clear();
    }
    bool isOpen() const override { return m_open; }
    std::string failureReason() const override { return m_failure; }
    std::int64_t outputCount() const override {
        return m_open ? static_cast<std::int64_t>(utf8Length(queue)) : 0;
    }
    void discardOutput() override {
        calls.push_back("discard");
        queue.clear();
    }
    Status output(std::string_view text) override {
        EXPECT_LE(utf8Length(text), static_cast<std::size_t>(kMaxOutputPiece));
        if (!m_open) return Error{"the port is not open"};
        queuedAtHandOver.push_back(outputCount());
        pieces.emplace_back(text);
        queue += text;
        return {};
    }
    std::string statusText() const override {
        return m_open ? std::to_string(outputCount()) + " queued" : "closed";
    }
    std::string capturePath() const override { return m_capture; }
    Status setCapturePath(const std::string& path) override {
        if (!path.empty() && captureFails) return Error{"cannot open " + path};
        m_capture = path;
        return {};
    }
    void clearTerminal() override { calls.push_back("clear terminal"); }
    void setScrollBack(int lines) override {
        scrollBack = lines;
        calls.push_back("scroll-back " + std::to_string(lines));
    }

    // Sends up to `count` queued characters onto the line.
    void drain(std::int64_t count) {
        std::size_t bytes =
            utf8Offset(queue, static_cast<std::size_t>(std::max<std::int64_t>(count, 0)));
        line += queue.substr(0, bytes);
        queue.erase(0, bytes);
    }
    void drainAll() { drain(static_cast<std::int64_t>(utf8Length(queue))); }
    // The device goes away: the port closes by itself.
    void failNow(const std::string& reason) {
        m_open = false;
        m_failure = reason;
        queue.clear();
    }

private:
    bool m_open = false;
    std::string m_failure;
    std::string m_capture;
};

}  // namespace fulgor::test
