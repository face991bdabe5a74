#include "fake_notifications.h"
#include "gui/desktop/alert_notifier.h"

#include <QDBusConnection>
#include <QTest>

#include <memory>

using namespace lark::ui;

class TestAlertNotifier : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void acknowledgeActionCallsBack();
    void otherActionsAndNotificationsAreIgnored();
    void withdrawClosesTheNotification();
    void withdrawnBeforeTheServiceAnswered();
    void closedByTheUserIsNoLongerShown();
    void noServiceMeansNothingShown();

private:
    uint showAndWait(const QString &code);

    PrivateBus m_bus;
    QString m_address;
    std::unique_ptr<FakeNotifications> m_service;
    std::unique_ptr<AlertNotifier> m_notifier;
    int m_acknowledged = 0;
    QString m_serverName;
    QString m_clientName;
};

void TestAlertNotifier::initTestCase()
{
    if (!PrivateBus::daemonInstalled())
        QSKIP("no dbus-daemon for a private session bus");
    m_address = m_bus.start();
    QVERIFY(!m_address.isEmpty());
}

void TestAlertNotifier::init()
{
    // Fresh connections each time, so no test sees another's signals.
    static int round = 0;
    ++round;
    m_serverName = QString("server%1").arg(round);
    m_clientName = QString("client%1").arg(round);
    QDBusConnection server = QDBusConnection::connectToBus(m_address, m_serverName);
    m_service = std::make_unique<FakeNotifications>();
    QVERIFY(
        server.registerObject("/org/freedesktop/Notifications", m_service.get(),
                              QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals));
    QVERIFY(server.registerService("org.freedesktop.Notifications"));
    const QDBusConnection client = QDBusConnection::connectToBus(m_address, m_clientName);
    m_acknowledged = 0;
    m_notifier = std::make_unique<AlertNotifier>(client, [this] { ++m_acknowledged; });
}

void TestAlertNotifier::cleanup()
{
    m_notifier.reset();
    QDBusConnection::disconnectFromBus(m_clientName);
    QDBusConnection::disconnectFromBus(m_serverName);
    m_service.reset();
}

uint TestAlertNotifier::showAndWait(const QString &code)
{
    const int before = m_service->shown.size();
    m_notifier->showAlert(code);
    if (!QTest::qWaitFor([&] { return m_service->shown.size() > before; }))
        return 0;
    QTest::qWait(50); // the reply reaches the notifier
    return m_service->shown.last().id;
}

void TestAlertNotifier::acknowledgeActionCallsBack()
{
    const uint id = showAndWait("600061");
    QVERIFY(id != 0);
    const FakeNotifications::Shown &shown = m_service->shown.last();
    QVERIFY(shown.body.contains("600061"));
    QVERIFY(shown.actions.contains("acknowledge"));
    QCOMPARE(shown.expiry, 0);
    QVERIFY(m_notifier->isShown());

    emit m_service->ActionInvoked(id, "acknowledge");
    QTRY_COMPARE(m_acknowledged, 1);
    QVERIFY(!m_notifier->isShown());
    QTRY_COMPARE(m_service->closed, QList<uint> {id});
}

void TestAlertNotifier::otherActionsAndNotificationsAreIgnored()
{
    const uint id = showAndWait("600061");
    emit m_service->ActionInvoked(id + 7, "acknowledge");
    emit m_service->ActionInvoked(id, "something-else");
    QTest::qWait(200);
    QCOMPARE(m_acknowledged, 0);
    QVERIFY(m_notifier->isShown());
    emit m_service->ActionInvoked(id, "default"); // a click on the notification itself
    QTRY_COMPARE(m_acknowledged, 1);
}

void TestAlertNotifier::withdrawClosesTheNotification()
{
    const uint id = showAndWait("0001");
    m_notifier->withdraw();
    QVERIFY(!m_notifier->isShown());
    QTRY_COMPARE(m_service->closed, QList<uint> {id});
    emit m_service->ActionInvoked(id, "acknowledge");
    QTest::qWait(200);
    QCOMPARE(m_acknowledged, 0);
}

void TestAlertNotifier::withdrawnBeforeTheServiceAnswered()
{
    m_notifier->showAlert("0001");
    m_notifier->withdraw();
    QTRY_COMPARE(m_service->closed.size(), 1);
    QVERIFY(!m_notifier->isShown());
}

void TestAlertNotifier::closedByTheUserIsNoLongerShown()
{
    const uint id = showAndWait("0001");
    emit m_service->NotificationClosed(id, 2);
    QTRY_VERIFY(!m_notifier->isShown());
    showAndWait("0001");
    QCOMPARE(m_service->shown.last().replaces, 0u);
    QVERIFY(m_notifier->isShown());
}

void TestAlertNotifier::noServiceMeansNothingShown()
{
    QDBusConnection::disconnectFromBus(m_serverName);
    m_notifier->showAlert("600061");
    QTRY_VERIFY(!m_notifier->isShown());
    QCOMPARE(m_acknowledged, 0);
}

QTEST_MAIN(TestAlertNotifier)
#include "test_alert_notifier.moc"
