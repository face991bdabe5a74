#include "gui/controls/tinted_label.h"
#include "gui/dialogs/detail_dialog.h"
#include "quoteserver/quote_server.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

using namespace lark;
using namespace lark::ui;
using lark::quoteserver::Fault;
using lark::quoteserver::FaultKind;

namespace {

using D = DetailControl;

const std::pair<D, const char *> kCaptions[]
    = {{D::Bid3Caption, "买三"},       {D::Bid2Caption, "买二"},
       {D::Bid1Caption, "买一"},       {D::Ask3Caption, "卖三"},
       {D::Ask2Caption, "卖二"},       {D::Ask1Caption, "卖一"},
       {D::VolumeCaption, "成交量"},   {D::ChangePercentCaption, "涨幅"},
       {D::ChangeCaption, "涨跌价"},   {D::OpenCaption, "开盘价"},
       {D::LastCaption, "最新价"},     {D::LowCaption, "最低价"},
       {D::HighCaption, "最高价"},     {D::AmountCaption, "成交额"},
       {D::VolumeRatioCaption, "量比"}};

// The labels that show figures: all but the code and the captions.
std::vector<TintedLabel *> valueLabels(const QDialog &dialog)
{
    auto isCaption = [](const QString &name) {
        return std::any_of(std::begin(kCaptions), std::end(kCaptions), [&](const auto &caption) {
            return ControlId(caption.first).objectName() == name;
        });
    };
    std::vector<TintedLabel *> labels;
    for (TintedLabel *label : dialog.findChildren<TintedLabel *>()) {
        const QString name = label->objectName();
        if (name != ControlId(D::Code).objectName() && !isCaption(name))
            labels.push_back(label);
    }
    return labels;
}

std::tm quarterPastTen()
{
    std::tm t {};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_hour = 10;
    t.tm_min = 15;
    return t;
}

const SessionTimeouts kQuickTimeouts {std::chrono::milliseconds(2000), std::chrono::seconds(3)};

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

// A detail dialog whose messages and chart requests are recorded.
struct Opened
{
    Opened(int port, const std::string &code, int32_t baseline,
           const std::string &host = "127.0.0.1", SessionTimeouts timeouts = kQuickTimeouts)
    {
        DetailDialogSetup setup;
        setup.quoteServer = {host, port};
        setup.timeouts = timeouts;
        setup.openChart = [this](const std::string &c) { charts.push_back(c); };
        setup.clock = [this] {
            if (refreshButton())
                refreshEnabledDuringQuery = refreshButton()->isEnabled();
            return quarterPastTen();
        };
        setup.report = [this](QWidget *, const QString &text) { messages << text; };
        dialog = std::make_unique<DetailDialog>(code, baseline, std::move(setup));
    }
    QString text(D id) const
    {
        return dialog->findChild<TintedLabel *>(ControlId(id).objectName())->text();
    }
    QPushButton *button(D id) const
    {
        return dialog ? dialog->findChild<QPushButton *>(ControlId(id).objectName()) : nullptr;
    }
    QPushButton *refreshButton() const { return button(D::Refresh); }
    // Waits until the query in progress has answered.
    bool settled() const
    {
        return QTest::qWaitFor([this] { return !dialog->isQueryPending(); }, 10'000);
    }

    std::unique_ptr<DetailDialog> dialog;
    QStringList messages;
    std::vector<std::string> charts;
    bool refreshEnabledDuringQuery = false;
};

} // namespace

class TestDetailDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void showsQuoteInItsFormats();
    void everyStaticIsTintedOnLightBlue();
    void rejectedReplyShowsDashes_data();
    void rejectedReplyShowsDashes();
    void refreshFetchesAgain();
    void focusStartsOnRefreshAndSpaceRefreshes();
    void networkFailureLeavesRefreshDisabled_data();
    void networkFailureLeavesRefreshDisabled();
    void unresolvableHostIsReported();
    void slowQueryLeavesTheWindowLiveAndOkClosesAtOnce();

private:
    std::unique_ptr<quoteserver::QuoteServer> m_server;
    int m_port = 0;
};

void TestDetailDialog::initTestCase()
{
    m_server = std::make_unique<quoteserver::QuoteServer>(quoteserver::QuoteServerOptions {});
    m_port = m_server->start();
    quoteserver::PinnedQuote figures;
    figures.name = "浦发银行";
    figures.previousClose = 10000;
    figures.last = 10500;
    figures.open = 10100;
    figures.high = 10600;
    figures.low = 9900;
    figures.volume = 12345;
    figures.amount = 250'000'000;
    figures.ask1Price = 10510;
    figures.ask1Volume = 99;
    figures.bid3Price = 10480;
    figures.bid3Volume = 100;
    m_server->pin("600061", figures);
    figures.volume = 600'000;
    m_server->pin("0001", figures);
}

void TestDetailDialog::cleanup()
{
    m_server->clearFaults();
}

void TestDetailDialog::showsQuoteInItsFormats()
{
    Opened shown(m_port, "600061", 0);
    QVERIFY(shown.settled());
    QVERIFY(shown.messages.isEmpty());
    QCOMPARE(shown.text(D::Code), "600061");
    QCOMPARE(shown.text(D::Name), "浦发银行");
    QCOMPARE(shown.text(D::Last), "10.50 ");
    QCOMPARE(shown.text(D::Open), "10.10 ");
    QCOMPARE(shown.text(D::High), "10.60 ");
    QCOMPARE(shown.text(D::Low), "9.90  ");
    QCOMPARE(shown.text(D::Change), "0.50  ");
    QCOMPARE(shown.text(D::ChangePercent), "  5.00");
    QCOMPARE(shown.text(D::Volume), "123");
    QCOMPARE(shown.text(D::Ask1Volume), "0");
    QCOMPARE(shown.text(D::Ask1Price), "10.51 ");
    QCOMPARE(shown.text(D::Bid3Volume), "1");
    QCOMPARE(shown.text(D::Bid3Price), "10.48 ");
    QCOMPARE(shown.text(D::Amount), "25000.00");
    QCOMPARE(shown.text(D::VolumeRatio), "  0.00"); // no baseline
    for (const auto &[id, caption] : kCaptions)
        QCOMPARE(shown.text(id), QString::fromUtf8(caption));
    QVERIFY(shown.refreshButton()->isEnabled());
    QCOMPARE(m_server->requestCount("GetStkOneHQWithNameSH?507193&600061"), uint64_t(1));

    Opened shenzhen(m_port, "0001", 5000);
    QVERIFY(shenzhen.settled());
    QCOMPARE(m_server->requestCount("GetStkOneHQWithNameSZ?507193&0001"), uint64_t(1));
    QCOMPARE(shenzhen.text(D::VolumeRatio), "  1.20");
    QTest::mouseClick(shenzhen.button(D::Chart), Qt::LeftButton);
    QCOMPARE(shenzhen.charts, std::vector<std::string> {"0001"});
}

void TestDetailDialog::everyStaticIsTintedOnLightBlue()
{
    Opened shown(m_port, "600061", 0);
    QVERIFY(shown.settled());
    const QColor lightBlue(150, 172, 233);
    QCOMPARE(shown.dialog->windowTitle(), "详细资料:");
    QCOMPARE(shown.dialog->findChildren<TintedLabel *>().size(), 38);
    QCOMPARE(shown.dialog->palette().color(QPalette::Window), lightBlue);
    shown.dialog->show();
    const QImage picture = shown.dialog->grab().toImage();
    QCOMPARE(picture.pixelColor(2, 2), lightBlue);
    const QRect name
        = shown.dialog->findChild<TintedLabel *>(ControlId(D::Name).objectName())->geometry();
    QCOMPARE(picture.pixelColor(name.right() - 1, name.bottom() - 1), lightBlue);
}

void TestDetailDialog::rejectedReplyShowsDashes_data()
{
    QTest::addColumn<int>("length");
    QTest::newRow("96 bytes") << 96;
    QTest::newRow("98 bytes") << 98;
    QTest::newRow("empty") << 0;
}

void TestDetailDialog::rejectedReplyShowsDashes()
{
    QFETCH(int, length);
    Fault fault;
    fault.kind = FaultKind::WrongLength;
    fault.pathContains = "GetStkOneHQ";
    fault.length = size_t(length);
    m_server->injectFault(fault);
    Opened shown(m_port, "600061", 0);
    QVERIFY(shown.settled());
    QCOMPARE(shown.text(D::Code), "600061");
    const auto values = valueLabels(*shown.dialog);
    QCOMPARE(values.size(), size_t(22));
    for (const TintedLabel *label : values)
        QCOMPARE(label->text(), "--");
    for (const auto &[id, caption] : kCaptions)
        QCOMPARE(shown.text(id), QString::fromUtf8(caption));
    QVERIFY(shown.refreshButton()->isEnabled());
}

void TestDetailDialog::refreshFetchesAgain()
{
    Opened shown(m_port, "600061", 0);
    QVERIFY(shown.settled());
    shown.refreshEnabledDuringQuery = true;
    Fault fault;
    fault.kind = FaultKind::WrongLength;
    fault.length = 96;
    fault.count = 1;
    m_server->injectFault(fault);
    QTest::mouseClick(shown.refreshButton(), Qt::LeftButton);
    QVERIFY(!shown.refreshEnabledDuringQuery);
    QVERIFY(!shown.refreshButton()->isEnabled());
    QVERIFY(shown.settled());
    QCOMPARE(shown.text(D::Last), "--");
    QTest::mouseClick(shown.refreshButton(), Qt::LeftButton);
    QVERIFY(shown.settled());
    QCOMPARE(shown.text(D::Last), "10.50 ");
    QVERIFY(shown.refreshButton()->isEnabled());
}

// The first tab stop has the focus, so Space and Enter refresh rather than close the dialog.
// While a query runs the focus waits on the dialog, where keys reach no other button.
void TestDetailDialog::focusStartsOnRefreshAndSpaceRefreshes()
{
    Opened shown(m_port, "0001", 0);
    shown.dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(shown.dialog.get()));
    QVERIFY(shown.settled());
    QCOMPARE(QApplication::focusWidget(), shown.refreshButton());
    const auto asked
        = [this] { return m_server->requestCount("GetStkOneHQWithNameSZ?507193&0001"); };
    const uint64_t before = asked();
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Space, Qt::Key_Return}) {
        QTest::keyClick(QApplication::focusWidget(), key);
        QCOMPARE(QApplication::focusWidget(), shown.dialog.get());
        QVERIFY(shown.settled());
        QCOMPARE(QApplication::focusWidget(), shown.refreshButton());
    }
    QCOMPARE(asked(), before + 3);
    QVERIFY(shown.dialog->isVisible());
    QVERIFY(shown.charts.empty());
}

void TestDetailDialog::networkFailureLeavesRefreshDisabled_data()
{
    QTest::addColumn<bool>("serverStopped");
    QTest::newRow("connection dropped") << false;
    QTest::newRow("server gone") << true;
}

void TestDetailDialog::networkFailureLeavesRefreshDisabled()
{
    QFETCH(bool, serverStopped);
    quoteserver::QuoteServer gone;
    int port = m_port;
    if (serverStopped) {
        port = gone.start();
        gone.stop();
    } else {
        Fault fault;
        fault.kind = FaultKind::Drop;
        m_server->injectFault(fault);
    }
    Opened shown(port, "600061", 0);
    QVERIFY(shown.settled());
    QVERIFY(shown.messages.isEmpty());
    QVERIFY(!shown.refreshButton()->isEnabled());
    QCOMPARE(shown.dialog->focusWidget(), shown.button(D::Chart)); // the first tab stop left
    QCOMPARE(shown.text(D::Last), "最新价"); // the template's text stays
    m_server->clearFaults();
    QTest::mouseClick(shown.refreshButton(), Qt::LeftButton);
    QVERIFY(!shown.refreshButton()->isEnabled());
    QCOMPARE(shown.text(D::Last), "最新价");
}

void TestDetailDialog::unresolvableHostIsReported()
{
    Opened shown(80, "600061", 0, "nonexistent.invalid");
    QVERIFY(shown.settled());
    QCOMPARE(shown.messages, QStringList {"严重错误发生!!!"});
    QVERIFY(shown.refreshButton()->isEnabled());
    QTest::mouseClick(shown.refreshButton(), Qt::LeftButton);
    QVERIFY(!shown.dialog->isQueryPending());
    QCOMPARE(shown.text(D::Last), "最新价");
    QCOMPARE(shown.text(D::LastCaption), "最新价");
    QTest::mouseClick(shown.button(D::Chart), Qt::LeftButton);
    QCOMPARE(shown.charts, std::vector<std::string> {"600061"});
    QTest::mouseClick(shown.button(D::Ok), Qt::LeftButton);
    QCOMPARE(shown.dialog->result(), int(QDialog::Accepted));
}

// A quote that takes 10 s: the window behind the dialog keeps painting and its timers keep
// firing, and 确定 closes the dialog (its query aborted, its worker joined) at once.
void TestDetailDialog::slowQueryLeavesTheWindowLiveAndOkClosesAtOnce()
{
    quoteserver::QuoteServer slow;
    const int port = slow.start();
    Fault fault;
    fault.kind = FaultKind::Delay;
    fault.pathContains = "GetStkOneHQ";
    fault.delayMs = 10'000;
    slow.injectFault(fault);

    QWidget window;
    PaintCounter painted;
    window.installEventFilter(&painted);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        ++ticks;
        window.update();
    });
    ticker.start(10);

    Opened shown(port, "600061", 0, "127.0.0.1", SessionTimeouts {});
    QVERIFY(shown.dialog->isQueryPending());
    QVERIFY(!shown.refreshButton()->isEnabled());
    bool liveWhilePending = false;
    QElapsedTimer closing;
    QTimer::singleShot(0, shown.dialog.get(), [&] {
        const int paintsBefore = painted.paints;
        const int ticksBefore = ticks;
        liveWhilePending
            = QTest::qWaitFor([&] { return painted.paints > paintsBefore && ticks > ticksBefore; })
            && shown.dialog->isQueryPending()
            && slow.requestCount("GetStkOneHQWithNameSH?507193&600061") == 1;
        closing.start();
        QTest::mouseClick(shown.button(D::Ok), Qt::LeftButton);
    });
    QCOMPARE(shown.dialog->exec(), int(QDialog::Accepted));
    shown.dialog.reset();
    const qint64 closedIn = closing.elapsed();
    QVERIFY(liveWhilePending);
    QVERIFY2(closedIn <= 100, qPrintable(QString::number(closedIn) + " ms"));
}

QTEST_MAIN(TestDetailDialog)
#include "test_detail_dialog.moc"
