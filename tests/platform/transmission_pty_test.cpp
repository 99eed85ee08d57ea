// Transmissions over a real pseudo-terminal, cancelled at random points: the
// panel must always receive an exact prefix of the text, and all of it when the
// transmission was not cancelled.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <algorithm>
#include <array>
#include <chrono>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "comms/transmission.h"
#include "core/cp1252.h"
#include "platform/qt_serial_link.h"
#include "support/pty_panel.h"

namespace fulgor {
namespace {

// Consecutive transmissions draw their bytes from eight disjoint sets (the
// byte value modulo 8), so bytes that reach the panel late, after the next
// few transmissions have begun, can still be told apart and charged to their own.
constexpr int kSets = 8;
int setOf(char byte) {
    return static_cast<unsigned char>(byte) % kSets;
}

struct Sent {
    int set = 0;
    std::string bytes;     // the text, as the bytes the panel should see
    std::string received;  // what has arrived of it so far
    bool cancelled = false;
};

// Charges every newly arrived byte to the transmission of its set, looking
// back at most kSets - 1 transmissions; fails on a byte that fits none.
::testing::AssertionResult charge(std::vector<Sent>& sent, std::string_view arrived) {
    std::size_t first = sent.size() >= kSets ? sent.size() - kSets : 0;
    for (char byte : arrived) {
        std::size_t owner = first;
        while (owner < sent.size() && sent[owner].set != setOf(byte)) ++owner;
        if (owner == sent.size())
            return ::testing::AssertionFailure() << "a byte that no recent transmission sent";
        sent[owner].received += byte;
    }
    for (std::size_t i = first; i < sent.size(); ++i) {
        const Sent& one = sent[i];
        if (one.bytes.compare(0, one.received.size(), one.received) != 0)
            return ::testing::AssertionFailure()
                   << "transmission " << i << " of " << sent.size()
                   << " is not a prefix: " << one.received.size() << " of " << one.bytes.size()
                   << " bytes arrived, " << (one.cancelled ? "cancelled" : "not cancelled")
                   << ", first difference at "
                   << (std::mismatch(one.received.begin(), one.received.end(), one.bytes.begin())
                           .first -
                       one.received.begin());
    }
    return ::testing::AssertionSuccess();
}

TEST(TransmissionOverPty, EveryTransmissionArrivesAsAnExactPrefixAndWholeUnlessCancelled) {
    static int argc = 1;
    static char name[] = "serial_tests";
    static char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    test::PtyPanel panel;
    ASSERT_TRUE(panel.ok());
    QtSerialLink link;
    // Ticks here follow each other as fast as the loop runs, not 100 ms apart,
    // so a queue standing still for a few ticks is no stall.
    Transmission transmission(link, std::numeric_limits<int>::max());
    PortState port;
    port.PortPath = panel.device();

    std::mt19937 random(20261206);
    std::vector<Sent> sent;
    std::size_t seen = 0;
    auto collect = [&] {
        std::string arrived = panel.received();
        ::testing::AssertionResult charged = charge(sent, std::string_view(arrived).substr(seen));
        seen = arrived.size();
        return charged;
    };
    constexpr int kTransmissions = 1000;
    for (int n = 0; n < kTransmissions; ++n) {
        Sent one;
        one.set = n % kSets;
        // Up to three pieces: often longer than the pseudo-terminal holds, so
        // that a cancel can fall in the middle of the text.
        std::size_t length = std::uniform_int_distribution<std::size_t>(1, 40000)(random);
        for (std::size_t i = 0; i < length; ++i) {
            int value =
                std::uniform_int_distribution<int>(0, (255 - one.set) / kSets)(random) * kSets +
                one.set;
            one.bytes += static_cast<char>(value);
        }
        // A tenth run to the end; the rest are cancelled once the panel has
        // read a random share of the text, from none of it on. Counted in
        // bytes, not time, so that a busy machine moves no cancel.
        bool cancels = std::uniform_int_distribution<int>(0, 9)(random) != 0;
        const std::size_t cancelAfter =
            panel.receivedBytes() +
            std::uniform_int_distribution<std::size_t>(0, length - 1)(random);
        std::string text = decode1252(one.bytes);

        SendStep started = transmission.click(text, port, panel.device());
        ASSERT_TRUE(started.messages.empty()) << started.messages[0];
        SendEnd end = SendEnd::None;
        for (int rounds = 0; end == SendEnd::None; ++rounds) {
            ASSERT_LT(rounds, 1000000) << "transmission " << n << " never ended";
            if (cancels && !one.cancelled && panel.receivedBytes() >= cancelAfter) {
                transmission.confirmCancel();
                one.cancelled = true;
            }
            end = transmission.tick(text).end;
            QCoreApplication::processEvents();
        }
        EXPECT_EQ(end, one.cancelled ? SendEnd::Stopped : SendEnd::Completed) << n;
        sent.push_back(std::move(one));
        ASSERT_TRUE(collect()) << "after " << n;
        // Reopening the port drops what the panel has not read yet, so a
        // finished transmission is read whole before the next one starts.
        for (int waits = 0;
             !sent.back().cancelled && sent.back().received.size() < sent.back().bytes.size();
             ++waits) {
            ASSERT_LT(waits, 10000) << "transmission " << n << " did not arrive whole";
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ASSERT_TRUE(collect()) << "after " << n;
        }
    }
    int cutMidway = 0, completed = 0;
    for (std::size_t i = 0; i < sent.size(); ++i) {
        const Sent& one = sent[i];
        if (!one.cancelled) {
            ++completed;
            EXPECT_EQ(one.received, one.bytes) << "transmission " << i;
        } else if (!one.received.empty() && one.received.size() < one.bytes.size()) {
            ++cutMidway;
        }
    }
    // The cancels fell where they should test something.
    EXPECT_GT(cutMidway, 20) << completed;
    EXPECT_GT(completed, 100);
}

}  // namespace
}  // namespace fulgor
