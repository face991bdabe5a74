#include "gui/desktop/alert_notifier.h"

#include <QDBusAbstractInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace lark::ui {

// The notification service's interface, with its two signals declared so that they can be
// connected to like any Qt signal.
class NotificationsProxy : public QDBusAbstractInterface
{
    Q_OBJECT

public:
    NotificationsProxy(const QDBusConnection &bus, QObject *parent)
        : QDBusAbstractInterface(QStringLiteral("org.freedesktop.Notifications"),
                                 QStringLiteral("/org/freedesktop/Notifications"),
                                 "org.freedesktop.Notifications", bus, parent)
    { }

Q_SIGNALS:
    void ActionInvoked(uint id, const QString &actionKey);
    void NotificationClosed(uint id, uint reason);
};

namespace {

const QString kAcknowledge = QStringLiteral("acknowledge");
const QString kDefault = QStringLiteral("default"); // a click on the notification itself

} // namespace

AlertNotifier::AlertNotifier(std::function<void()> acknowledge, QObject *parent)
    : AlertNotifier(QDBusConnection::sessionBus(), std::move(acknowledge), parent)
{ }

AlertNotifier::AlertNotifier(const QDBusConnection &bus, std::function<void()> acknowledge,
                             QObject *parent)
    : QObject(parent)
    , m_proxy(new NotificationsProxy(bus, this))
    , m_acknowledge(std::move(acknowledge))
{
    connect(m_proxy, &NotificationsProxy::ActionInvoked, this, &AlertNotifier::onActionInvoked);
    connect(m_proxy, &NotificationsProxy::NotificationClosed, this, &AlertNotifier::onClosed);
}

AlertNotifier::~AlertNotifier()
{
    withdraw();
}

void AlertNotifier::showAlert(const QString &reason)
{
    m_shown = true;
    const QStringList actions {kDefault, QStringLiteral("确认"), kAcknowledge,
                               QStringLiteral("确认")};
    const QVariantMap hints {{QStringLiteral("urgency"), QVariant::fromValue(uchar(2))},
                             {QStringLiteral("category"), QStringLiteral("im.received")}};
    const QString body = QStringLiteral("%1。按“确认”停止振铃并查看详细资料。").arg(reason);
    // Expiry 0: the notification stays until the alert is acknowledged.
    auto *watcher = new QDBusPendingCallWatcher(
        m_proxy->asyncCall(QStringLiteral("Notify"), QStringLiteral("Lark"), m_id, QString(),
                           QStringLiteral("Lark 警示"), body, actions, hints, 0),
        this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                const QDBusPendingReply<uint> reply = *call;
                if (reply.isError())
                    m_shown = false;
                else
                    onNotified(reply.value());
            });
}

void AlertNotifier::onNotified(uint id)
{
    // A notification that did not replace the one shown, or was withdrawn before it arrived.
    if (m_id != 0 && m_id != id)
        m_proxy->asyncCall(QStringLiteral("CloseNotification"), m_id);
    m_id = id;
    if (!m_shown)
        withdraw();
}

void AlertNotifier::withdraw()
{
    m_shown = false;
    if (m_id != 0)
        m_proxy->asyncCall(QStringLiteral("CloseNotification"), m_id);
    m_id = 0;
}

void AlertNotifier::onActionInvoked(uint id, const QString &action)
{
    if (id == 0 || id != m_id || (action != kAcknowledge && action != kDefault))
        return;
    withdraw();
    m_acknowledge();
}

void AlertNotifier::onClosed(uint id)
{
    if (id != 0 && id == m_id) {
        m_id = 0;
        m_shown = false;
    }
}

} // namespace lark::ui

#include "alert_notifier.moc"
