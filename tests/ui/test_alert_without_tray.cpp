// A desktop without a notification area (the offscreen platform has none): a ringing alert
// shows as a desktop notification, and its action acknowledges it as the tray double-click does.
#include "fake_notifications.h"
#include "gui/desktop/alert_notifier.h"
#include "gui/dialogs/detail_dialog.h"
#include "test_rig.h"

#include <QDBusConnection>
#include <QtTest>

using namespace lark;
using namespace lark::test;

class AlertWithoutTrayTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void notificationActionAcknowledges();

private:
    PrivateBus m_bus;
};

// A private session bus for the program, before anything connects to one.
void AlertWithoutTrayTest::initTestCase()
{
    if (!PrivateBus::daemonInstalled())
        QSKIP("no dbus-daemon for a private session bus");
    const QString address = m_bus.start();
    QVERIFY(!address.isEmpty());
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
}

void AlertWithoutTrayTest::notificationActionAcknowledges()
{
    QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
    QDBusConnection server
        = QDBusConnection::connectToBus(qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"), "fake");
    FakeNotifications service;
    QVERIFY(
        server.registerObject("/org/freedesktop/Notifications", &service,
                              QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals));
    QVERIFY(server.registerService("org.freedesktop.Notifications"));

    OpenedTargets opened;
    WindowRig rig;
    QTRY_COMPARE_WITH_TIMEOUT(rig.filledRows(), 16, 10000);
    const std::string code = rig.engine().codeAt(2);
    {
        std::lock_guard lock(rig.engine().settingsLock);
        rig.engine().options.ringOn = 0;
        rig.engine().tables.priceAlarm[2] = 0.001f;
    }
    QTRY_VERIFY_WITH_TIMEOUT(!service.shown.isEmpty(), 10000);
    // Why it rang: the stock, the rule, the figure and the threshold.
    const QString body = service.shown.last().body;
    QVERIFY2(body.startsWith(QString::fromStdString(code + " "))
                 && body.contains("高于预警价 0.00"),
             qPrintable(body));
    QTRY_VERIFY(rig.view().alertNotifier()->isShown());

    // The action opens the stock's detail dialog; closing it ends the alert.
    QString detailCode;
    whenOpen<ui::DetailDialog>([&](ui::DetailDialog *dialog) {
        if (QTest::qWaitFor([dialog] { return !dialog->isQueryPending(); }, 10'000))
            detailCode
                = dialog->findChild<QLabel *>(ui::ControlId(DetailControl::Code).objectName())
                      ->text()
                      .trimmed();
        dialog->close();
    });
    emit service.ActionInvoked(service.shown.last().id, "acknowledge");
    QTRY_COMPARE(detailCode, QString::fromStdString(code));
    QTRY_COMPARE(rig.engine().activeAlerts(), 0);
    QVERIFY(!rig.view().alertNotifier()->isShown());
    QDBusConnection::disconnectFromBus("fake");
}

QTEST_MAIN(AlertWithoutTrayTest)
#include "test_alert_without_tray.moc"
