#pragma once
// A scripted serial link: output queues in memory and reaches "the line" only
// when the test drains it, so a test decides when the buffer runs empty.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "comms/serial_link.h"
#include "core/utf8_text.h"

namespace fulgor::test {

class FakeSerialLink : public SerialLink {
public:
    bool opens = true;  // whether open() succeeds
    std::string openFailure = "no such device";

    std::vector<std::string> calls;   // port operations, in order
    std::vector<std::string> pieces;  // every output() accepted
    std::vector<std::int64_t> queuedAtHandOver;
    std::string line;   // what left the link, in order
    std::string queue;  // what waits to leave
    std::string device, settings;

    void setPort(const std::string& d) override { device = d, calls.push_back("port " + d); }
    void setSettings(const std::string& s) override { settings = s, calls.push_back(s); }
    void setLineControl(bool on) override { calls.push_back(on ? "line on" : "line off"); }
    void open() override {
        calls.push_back("open");
        m_open = opens;
        m_failure = opens ? "" : openFailure;
    }
    void close() override {
        m_open = false;
        queue.clear();
        calls.push_back("close");
    }
    bool isOpen() const override { return m_open; }
    std::string failureReason() const override { return m_failure; }
    std::int64_t outputCount() const override {
        return m_open ? static_cast<std::int64_t>(utf8Length(queue)) : 0;
    }
    void discardOutput() override { queue.clear(), calls.push_back("discard"); }
    Status output(std::string_view text) override {
        EXPECT_LE(utf8Length(text), static_cast<std::size_t>(kMaxOutputPiece));
        if (!m_open) return Error{"the port is not open"};
        queuedAtHandOver.push_back(outputCount());
        pieces.emplace_back(text);
        queue += text;
        return {};
    }
    std::string statusText() const override { return std::to_string(outputCount()) + " queued"; }
    std::string capturePath() const override { return m_capture; }
    Status setCapturePath(const std::string& path) override {
        m_capture = path;
        return {};
    }
    void clearTerminal() override { calls.push_back("clear terminal"); }
    void setScrollBack(int lines) override { calls.push_back("keep " + std::to_string(lines)); }

    // Puts up to `count` queued characters on the line.
    void drain(std::int64_t count) {
        std::size_t bytes = utf8Offset(queue, static_cast<std::size_t>(count));
        line += queue.substr(0, bytes);
        queue.erase(0, bytes);
    }
    void drainAll() { drain(static_cast<std::int64_t>(queue.size())); }
    // The port closes by itself, as when the device goes away.
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
