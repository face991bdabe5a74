// The window while the quote server misbehaves: the user-interface thread keeps answering
// within 100 ms whatever the replies are, and closing during a stalled query is prompt.
#include "quoteserver/fault.h"
#include "test_rig.h"

#include <QElapsedTimer>
#include <QtTest>

using namespace lark;
using namespace lark::test;
using namespace std::chrono;

namespace {

// The longest time the event loop went without running a 10 ms timer.
class LoopWatch
{
public:
    LoopWatch()
    {
        QObject::connect(&m_timer, &QTimer::timeout,
                         [this] { m_longest = std::max(m_longest, m_sinceLast.restart()); });
        m_sinceLast.start();
        m_timer.start(10);
    }
    qint64 longestGapMs() const { return m_longest; }

private:
    QTimer m_timer;
    QElapsedTimer m_sinceLast;
    qint64 m_longest = 0;
};

quoteserver::Fault fault(quoteserver::FaultKind kind, int delayMs = 0, size_t length = 0)
{
    return {kind, "GetStkOneHQ", delayMs, length, 500, -1};
}

} // namespace

class WindowFaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void uiThreadAnswersWhateverTheServerDoes();
    void closingDuringAStalledQueryIsPrompt();
};

void WindowFaultsTest::uiThreadAnswersWhateverTheServerDoes()
{
    WindowRig rig;
    rig.frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.frame));
    QTRY_COMPARE_WITH_TIMEOUT(rig.filledRows(), 16, 10000);
    LoopWatch watch;
    for (const quoteserver::Fault &f :
         {fault(quoteserver::FaultKind::WrongLength, 0, 0),
          fault(quoteserver::FaultKind::WrongLength, 0, 96),
          fault(quoteserver::FaultKind::WrongLength, 0, 1 << 20),
          fault(quoteserver::FaultKind::HttpError), fault(quoteserver::FaultKind::Drop),
          fault(quoteserver::FaultKind::Delay, 400)}) {
        rig.server->injectFault(f);
        QTest::qWait(400);
        rig.server->clearFaults();
    }
    rig.server->stop();
    QTest::qWait(500);
    qInfo("longest event loop gap: %lld ms", watch.longestGapMs());
    QVERIFY(watch.longestGapMs() < 100);
    // Every row still there, each either as it was or marked invalid.
    QCOMPARE(rig.list()->topLevelItemCount(), 16);
}

void WindowFaultsTest::closingDuringAStalledQueryIsPrompt()
{
    WindowRig rig;
    rig.frame.show();
    QTRY_COMPARE_WITH_TIMEOUT(rig.filledRows(), 16, 10000);
    rig.server->injectFault(fault(quoteserver::FaultKind::Delay, 60'000));
    QTRY_VERIFY(rig.server->requestCount("GetStkOneHQ") > 16); // the next pass has begun
    QTest::qWait(200);
    const auto started = steady_clock::now();
    rig.frame.close();
    QVERIFY(steady_clock::now() - started < milliseconds(1000));
    rig.server->clearFaults();
}

QTEST_MAIN(WindowFaultsTest)
#include "test_window_faults.moc"
