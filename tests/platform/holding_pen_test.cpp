// The holding pen keeps the exact characters to send, whether it shows them
// as an editable text box or, for a large show, as a paged read-only view.

#include <QScrollBar>
#include <QtTest>
#include <string>

#include "platform/holding_pen.h"
#include "platform/paged_text_view.h"

using namespace fulgor;

namespace {

// A show of cue records with CR LF line ends, exactly `bytes` long.
std::string showOfSize(std::size_t bytes) {
    std::string show;
    for (int i = 0; show.size() < bytes; ++i) show += "S\t" + std::to_string(i) + "\t1\t1\t10\r\n";
    show.resize(bytes - 2);
    return show + "\r\n";
}

QString withLf(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

class HoldingPenTest : public QObject {
    Q_OBJECT

private slots:
    void aShowUpToTheLimitStaysEditableAndOneByteMoreIsPaged() {
        HoldingPen pen;
        for (std::size_t bytes : {HoldingPen::kEditableBytes, HoldingPen::kEditableBytes + 1}) {
            const std::string show = showOfSize(bytes);
            pen.setSendText(show);
            const bool paged = bytes > HoldingPen::kEditableBytes;
            QCOMPARE(pen.isPaged(), paged);
            QCOMPARE(pen.isReadOnly(), paged);
            QCOMPARE(pen.pager()->isVisibleTo(&pen), paged);
            QCOMPARE(pen.sendText(), show);
            QCOMPARE(pen.shownText(), withLf(show));
            // The text box holds the text only while it is the one shown.
            QCOMPARE(pen.toPlainText().isEmpty(), paged);
        }
    }

    void thePagerShowsEachLineWithoutItsLineEnd() {
        HoldingPen pen;
        std::string show = showOfSize(HoldingPen::kEditableBytes + 100) + "N\tF\xC3\xAAte";
        pen.setSendText(show);
        PagedTextView* pager = pen.pager();
        const int lines = static_cast<int>(std::count(show.begin(), show.end(), '\n')) + 1;
        QCOMPARE(pager->lineCount(), lines);
        QCOMPARE(pager->line(0), QStringLiteral("S\t0\t1\t1\t10"));
        QCOMPARE(pager->line(lines - 1), QString::fromUtf8("N\tF\u00eate"));
        QCOMPARE(pager->line(lines), QString());

        // A last line end leaves an empty last line, as in a text box.
        pen.setSendText(showOfSize(HoldingPen::kEditableBytes + 100));
        QCOMPARE(pen.pager()->line(pen.pager()->lineCount() - 1), QString());
        QCOMPARE(pen.pager()->line(pen.pager()->lineCount() - 2).left(2), QStringLiteral("S\t"));
    }

    void ctrlEndAndCtrlHomeScrollThePager() {
        HoldingPen pen;
        pen.resize(400, 300);
        pen.show();
        pen.setSendText(showOfSize(HoldingPen::kEditableBytes * 2));
        QScrollBar* bar = pen.pager()->verticalScrollBar();
        QVERIFY(bar->maximum() > 1000);
        QTest::keyClick(pen.pager(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(pen.pager()->firstVisibleLine(), bar->maximum());
        QTest::keyClick(pen.pager(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(pen.pager()->firstVisibleLine(), 0);
        QTest::keyClick(pen.pager(), Qt::Key_PageDown);
        QCOMPARE(pen.pager()->firstVisibleLine(), bar->pageStep());
    }

    void replacingTheTextLeavesThePagedViewAndSendsTheNewText() {
        HoldingPen pen;
        pen.setSendText(showOfSize(HoldingPen::kEditableBytes + 1));
        pen.setPlainText(QStringLiteral("S\t1\t2\nS\t0\t0"));
        QVERIFY(!pen.isPaged());
        QVERIFY(!pen.isReadOnly());
        QCOMPARE(pen.sendText(), std::string("S\t1\t2\r\nS\t0\t0"));

        pen.setSendText({});
        QCOMPARE(pen.sendText(), std::string());
        QCOMPARE(pen.shownText(), QString());
    }

    // Pasted text may end its lines with LF alone; the pen sends CR LF either way.
    void pastedTextIsSentWithCrLfOnBothSidesOfTheLimit() {
        HoldingPen pen;
        for (std::size_t bytes : {std::size_t{40}, 2 * HoldingPen::kEditableBytes}) {
            std::string crlf = showOfSize(bytes);
            QString lf = withLf(crlf);
            pen.setPastedText(lf + QStringLiteral("N\t\u00a0"));
            QCOMPARE(pen.sendText(), crlf + "N\t\xC2\xA0");
            QCOMPARE(pen.isPaged(), bytes > HoldingPen::kEditableBytes);
        }
    }
};

QTEST_MAIN(HoldingPenTest)
#include "holding_pen_test.moc"
