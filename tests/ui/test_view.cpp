// The quote list view: columns per size, the list port, in-place code edit, double-click,
// the page zones and the clock.
#include "gui/controls/clock_label.h"
#include "gui/forms.h"
#include "gui/view/view_ports.h"
#include "test_rig.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace lark;
using namespace lark::test;

namespace {

void setRankingOn(Engine &engine)
{
    std::lock_guard lock(engine.settingsLock);
    engine.options.rankingOn = 1;
}

// Paint events a widget receives.
struct PaintCounter : QObject
{
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// A loopback port whose connections are taken in by the kernel and never answered.
struct SilentServer
{
    SilentServer()
    {
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::bind(socket, reinterpret_cast<sockaddr *>(&address), size) == 0
            && ::listen(socket, 8) == 0
            && ::getsockname(socket, reinterpret_cast<sockaddr *>(&address), &size) == 0)
            port = ntohs(address.sin_port);
    }
    ~SilentServer() { ::close(socket); }
    int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    int port = 0;
};

void moveMouse(QWidget *widget, QPoint point)
{
    QMouseEvent move(QEvent::MouseMove, point, widget->mapToGlobal(point), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

class ViewTest : public QObject
{
    Q_OBJECT

private slots:
    void columnsPerSize_data();
    void columnsPerSize();
    void listPortCarriesWorkerCallsInOrder();
    void passRepaintsOnceAndAnUnchangedPassNotAtAll();
    void escCancelsCodeEditEnterStoresIt();
    void doubleClickOpensChartOfRowOnly();
    void pageZonesNeedRankingModeAndStockList();
    void pageZonesTurnPagesFromZero();
    void clockIsRightOnReadAndTicksOnlyWhileShown();
    void tipsTellMarketStateAndLastPass_data();
    void tipsTellMarketStateAndLastPass();
    void ringingRowStandsOutUntilAcknowledged();
};

void ViewTest::columnsPerSize_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<QList<int>>("rightAligned");
    QTest::newRow("large") << 1 << QStringList {"  代码", "    名称", "最新价 ", "成交量  ",
                                                "涨跌  ", "买入  ",   "卖出  ",  "涨跌幅  "}
                           << QList<int> {45, 62, 55, 60, 50, 50, 50, 50}
                           << QList<int> {0, 0, 1, 1, 1, 1, 1, 1};
    QTest::newRow("medium") << 2
                            << QStringList {"  代码", "    名称", "最新价 ", "成交量  ", "涨跌幅 "}
                            << QList<int> {45, 62, 55, 60, 50} << QList<int> {0, 0, 1, 1, 1};
    QTest::newRow("small") << 3 << QStringList {"  代码", "    名称", "最新价 "}
                           << QList<int> {45, 62, 50} << QList<int> {0, 0, 1};
    QTest::newRow("unknown size is large")
        << 7 << QStringList {"  代码", "    名称", "最新价 ", "成交量  ",
                             "涨跌  ", "买入  ",   "卖出  ",  "涨跌幅  "}
        << QList<int> {45, 62, 55, 60, 50, 50, 50, 50} << QList<int> {0, 0, 1, 1, 1, 1, 1, 1};
}

void ViewTest::columnsPerSize()
{
    QFETCH(int, size);
    QFETCH(QStringList, headers);
    QFETCH(QList<int>, widths);
    QFETCH(QList<int>, rightAligned);
    WindowRig rig(size, Feed::Nothing);
    QTreeWidget *list = rig.list();
    QCOMPARE(list->columnCount(), headers.size());
    for (int c = 0; c < headers.size(); ++c) {
        QCOMPARE(list->headerItem()->text(c), headers[c]);
        QCOMPARE(list->columnWidth(c), widths[c]);
        const auto alignment = Qt::Alignment(list->headerItem()->textAlignment(c));
        QCOMPARE(bool(alignment & Qt::AlignRight), bool(rightAligned[c]));
    }
    QCOMPARE(list->palette().color(QPalette::Base), QColor(29, 56, 119));
}

// Worker calls land in the order they were made, a row beyond the end pads the list, and a
// column the size lacks is ignored.
void ViewTest::listPortCarriesWorkerCallsInOrder()
{
    QTreeWidget list;
    QLabel status;
    QPushButton previous, next;
    previous.setEnabled(false);
    ui::configureQuoteList(&list, ui::sizeLayout(3), [](int, const QString &) {});
    ui::ViewQuoteList port({&list, &status, &previous, &next},
                           {Qt::AlignLeft, Qt::AlignLeft, Qt::AlignRight});
    std::thread worker([&] {
        port.insertRow(2, "600061");
        for (int i = 1; i <= 200; ++i)
            port.setText(2, 2, std::to_string(i));
        port.setText(2, 5, "beyond the columns");
        port.setText(7, 0, "no such row");
        port.deleteRow(2);
        port.setTextColour({12, 239, 80});
        port.setTextColour({252, 20, 79}); // the last colour before a row is the row's own
        port.insertRow(2, "600062");
        port.setText(2, 1, "名称");
        port.setTextColour({12, 239, 80});
        port.insertRow(3, "600063");
        port.deleteRow(3);
        port.setStatusText("Halvern--Orvale");
        port.enablePageButton(PageButton::Previous);
    });
    worker.join();
    QTRY_COMPARE(status.text(), QStringLiteral("Halvern--Orvale"));
    QCOMPARE(list.topLevelItemCount(), 3);
    QCOMPARE(list.topLevelItem(0)->text(0), QString());
    QCOMPARE(list.topLevelItem(2)->text(0), QStringLiteral("600062"));
    QCOMPARE(list.topLevelItem(2)->text(1), QStringLiteral("名称"));
    QCOMPARE(list.topLevelItem(2)->text(2), QString()); // rewritten whole
    // Each row in its own colour; the list's own text colour follows none of them.
    QCOMPARE(list.topLevelItem(2)->foreground(1).color(), QColor(252, 20, 79));
    QCOMPARE(list.topLevelItem(0)->data(0, Qt::ForegroundRole), QVariant());
    QVERIFY(list.palette().color(QPalette::Text) != QColor(252, 20, 79));
    QVERIFY(previous.isEnabled());

    // A deletion that is the last call is carried out all the same.
    port.insertRow(1, "0001");
    port.setText(1, 2, "7.00");
    port.deleteRow(0);
    QTRY_COMPARE(list.topLevelItem(0)->text(0), QStringLiteral("0001"));
    QCOMPARE(list.topLevelItemCount(), 3);
    QCOMPARE(list.topLevelItem(0)->text(2), QStringLiteral("7.00"));
}

// A pass rewrites every row whole (delete, insert, texts, colour): on screen that is one
// repaint, and none at all when every text and the colour are what the list already shows.
void ViewTest::passRepaintsOnceAndAnUnchangedPassNotAtAll()
{
    QTreeWidget list;
    QLabel status;
    QPushButton previous, next;
    ui::configureQuoteList(&list, ui::sizeLayout(3), [](int, const QString &) {});
    list.resize(250, 80);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    ui::ViewQuoteList port({&list, &status, &previous, &next},
                           {Qt::AlignLeft, Qt::AlignLeft, Qt::AlignRight});
    auto pass = [&](const std::string &price) {
        std::thread worker([&] {
            for (int row = 0; row < 3; ++row) {
                port.setTextColour({252, 20, 79});
                port.deleteRow(row);
                port.insertRow(row, "60006" + std::to_string(row));
                for (const auto &[column, text] : {std::pair {1, "名称"}, {2, price.c_str()}})
                    port.setText(row, column, text);
            }
        });
        worker.join();
    };
    pass("10.00");
    QTRY_COMPARE(list.topLevelItemCount(), 3);
    QTest::qWait(200); // the first rows lay the list out
    PaintCounter counter;
    list.viewport()->installEventFilter(&counter);
    pass("10.01");
    QTRY_COMPARE(list.topLevelItem(2)->text(2), QStringLiteral("10.01"));
    QTest::qWait(200);
    QCOMPARE(counter.paints, 1);
    pass("10.01");
    QTest::qWait(200);
    QCOMPARE(counter.paints, 1);
}

void ViewTest::escCancelsCodeEditEnterStoresIt()
{
    WindowRig rig;
    rig.frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&rig.frame));
    QTRY_COMPARE_WITH_TIMEOUT(rig.filledRows(), 16, 10000);
    QTreeWidget *list = rig.list();
    auto edit = [&](const QString &keys, Qt::Key end) {
        list->editItem(list->topLevelItem(2), 0);
        auto *editor = list->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, keys);
        QTest::keyClick(editor, end);
        QTRY_VERIFY(!list->findChild<QLineEdit *>());
    };
    const std::string before = rig.engine().codeAt(2);
    edit("600100", Qt::Key_Escape);
    QCOMPARE(rig.engine().codeAt(2), before);
    edit("6001009", Qt::Key_Return);
    QCOMPARE(rig.engine().codeAt(2), std::string("600100"));
    QTRY_COMPARE_WITH_TIMEOUT(list->topLevelItem(2)->text(0), QStringLiteral("600100"), 5000);
}

void ViewTest::doubleClickOpensChartOfRowOnly()
{
    OpenedTargets opened;
    WindowRig rig;
    rig.frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.frame));
    QTRY_COMPARE_WITH_TIMEOUT(rig.filledRows(), 16, 10000);
    QTreeWidget *list = rig.list();
    const QRect row = list->visualItemRect(list->topLevelItem(1));
    const QRect last = list->visualItemRect(list->topLevelItem(15));
    QVERIFY(last.bottom() + 5 < list->viewport()->height());
    for (QPoint point : {row.center(), last.center() + QPoint(0, 10)}) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, point);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, point);
    }
    const QString code = list->topLevelItem(1)->text(0);
    QCOMPARE(opened.targets,
             QStringList {QString::fromStdString(rig.engine().chartUrl(code.toStdString()))});
}

void ViewTest::pageZonesNeedRankingModeAndStockList()
{
    auto pressNextZone = [](WindowRig &rig) {
        QTest::mouseClick(&rig.view(), Qt::LeftButton, {}, QPoint(470, 285));
    };
    WindowRig withoutList(1, Feed::Nothing);
    QTRY_VERIFY(withoutList.control<QLabel>(ui::QuoteFormControl::StatusText)->text()
                == QStringLiteral("网络发生故障,请退出!"));
    setRankingOn(withoutList.engine());
    pressNextZone(withoutList);
    QCOMPARE(withoutList.engine().rankingPage(), 0);
    QVERIFY(withoutList.control<QPushButton>(ui::QuoteFormControl::NextPage)->isEnabled());

    WindowRig watching;
    QTRY_VERIFY_WITH_TIMEOUT(watching.engine().stockMessagesLoaded, 10000);
    pressNextZone(watching);
    QCOMPARE(watching.engine().rankingPage(), 0);
    QVERIFY(watching.control<QPushButton>(ui::QuoteFormControl::NextPage)->isEnabled());
    QVERIFY(watching.server->requestCount("GETORDERHQ") == 0);
}

// The previous zone at page 0 asks for page 0 again; the next zone then asks for page 1.
void ViewTest::pageZonesTurnPagesFromZero()
{
    WindowRig rig;
    QTRY_VERIFY_WITH_TIMEOUT(rig.engine().stockMessagesLoaded, 10000);
    setRankingOn(rig.engine());
    const std::string firstPage = "GETORDERHQ?507193&1&0&3&0&16";
    const std::string secondPage = "GETORDERHQ?507193&1&0&3&16&16";
    auto *next = rig.control<QPushButton>(ui::QuoteFormControl::NextPage);
    for (int press = 1; press <= 2; ++press) {
        QTest::mouseClick(&rig.view(), Qt::LeftButton, {}, QPoint(466, 46));
        QCOMPARE(rig.engine().rankingPage(), 0);
        QVERIFY(!rig.control<QPushButton>(ui::QuoteFormControl::PreviousPage)->isEnabled());
        QVERIFY(!next->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(rig.server->requestCount(firstPage) == uint64_t(press), 10000);
        // The engine enables the next page again once the page is filled.
        QTRY_VERIFY_WITH_TIMEOUT(next->isEnabled(), 10000);
    }
    QTest::mouseClick(&rig.view(), Qt::LeftButton, {}, QPoint(479, 294));
    QCOMPARE(rig.engine().rankingPage(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(rig.server->requestCount(secondPage) == 1, 10000);

    moveMouse(&rig.view(), QPoint(470, 290));
    QCOMPARE(rig.view().cursor().shape(), Qt::PointingHandCursor);
    moveMouse(&rig.view(), QPoint(100, 10));
    QCOMPARE(rig.view().cursor().shape(), Qt::SizeAllCursor);
    moveMouse(&rig.view(), QPoint(100, 40));
    QCOMPARE(rig.view().cursor().shape(), Qt::ArrowCursor);
}

// Hidden in every size, the clock never wakes the window; its text is still the time.
void ViewTest::clockIsRightOnReadAndTicksOnlyWhileShown()
{
    WindowRig rig(1, Feed::Nothing, [](EngineConfig &config, WindowRig &) {
        config.clock = [] {
            std::tm time {};
            time.tm_hour = 9;
            time.tm_min = 5;
            time.tm_sec = 7;
            time.tm_mday = 7;
            return time;
        };
    });
    auto *clock = rig.control<ui::ClockLabel>(ui::QuoteFormControl::ClockText);
    QVERIFY(!clock->isVisible());
    QVERIFY(!clock->isTicking());
    QCOMPARE(clock->timeText(), QStringLiteral("9:5:7"));
    rig.frame.show();
    clock->show();
    QVERIFY(clock->isTicking());
    QCOMPARE(clock->text(), QStringLiteral("9:5:7"));
    clock->hide();
    QVERIFY(!clock->isTicking());
}

void ViewTest::tipsTellMarketStateAndLastPass_data()
{
    QTest::addColumn<QString>("feed"); // simulated, silent (accepts, never answers) or none
    QTest::addColumn<QString>("market");
    QTest::addColumn<QString>("tip");
    QTest::newRow("connecting") << "silent"
                                << "模拟行情"
                                << "Tamberly: 模拟行情，正在连接";
    QTest::newRow("failing") << "none"
                             << ""
                             << "Tamberly: 自 10:31:05 起取不到行情";
    QTest::newRow("closed") << "simulated"
                            << "实时行情: 休市"
                            << "Tamberly: 实时行情: 休市，上次刷新 10:31:05";
}

void ViewTest::tipsTellMarketStateAndLastPass()
{
    QFETCH(QString, feed);
    QFETCH(QString, market);
    QFETCH(QString, tip);
    SilentServer silent;
    QVERIFY(silent.port != 0);
    WindowRig rig(1, feed == "simulated" ? Feed::Simulated : Feed::Nothing,
                  [&](EngineConfig &config, WindowRig &r) {
                      if (feed == "silent")
                          config.quoteServer.port = silent.port;
                      config.clock = [] {
                          std::tm time {};
                          time.tm_hour = 10;
                          time.tm_min = 31;
                          time.tm_sec = 5;
                          time.tm_mday = 7;
                          return time;
                      };
                      r.marketText = market.toStdString();
                  });
    QTRY_COMPARE(rig.frame.toolTip(), tip);
    QCOMPARE(rig.view().trayIcon()->toolTip(), tip);
}

void ViewTest::ringingRowStandsOutUntilAcknowledged()
{
    OpenedTargets opened; // the alarm's chart page
    WindowRig rig(2);
    QTRY_VERIFY(rig.engine().isNetworkReady());
    {
        std::lock_guard lock(rig.engine().settingsLock);
        rig.engine().tables.bigOrderAlarm[1] = 1;
    }
    QTRY_VERIFY(!rig.engine().ringingAlert().empty());
    const QString code = QString::fromStdString(rig.engine().ringingAlert());
    auto marked = [&](int row) {
        return rig.list()->topLevelItem(row)->background(0).style() != Qt::NoBrush;
    };
    QTRY_VERIFY(rig.list()->topLevelItemCount() > 1 && marked(1));
    QCOMPARE(rig.list()->topLevelItem(1)->text(0), code);
    QVERIFY(!marked(0));
    QVERIFY(rig.view().trayIcon()->toolTip().contains(
        QString::fromStdString(rig.engine().ringingAlertReason())));
    QVERIFY(rig.engine().beginAcknowledge());
    QTRY_VERIFY(!marked(1));
    QVERIFY(!rig.view().trayIcon()->toolTip().contains(QStringLiteral("警示")));
    rig.engine().finishAcknowledge();
}

QTEST_MAIN(ViewTest)
#include "test_view.moc"
