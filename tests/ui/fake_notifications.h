#pragma once

#include <QObject>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// A notification service that records what it is asked and sends the signals a user's clicks
// would.
class FakeNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Shown
    {
        uint id;
        uint replaces;
        QString summary;
        QString body;
        QStringList actions;
        int expiry;
    };
    QList<Shown> shown;
    QList<uint> closed;

public slots:
    uint Notify(const QString &, uint replaces, const QString &, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &, int expiry)
    {
        const uint id = replaces ? replaces : uint(shown.size() + 40);
        shown.append({id, replaces, summary, body, actions, expiry});
        return id;
    }
    void CloseNotification(uint id) { closed.append(id); }

signals:
    void ActionInvoked(uint id, const QString &actionKey);
    void NotificationClosed(uint id, uint reason);
};

// A session bus of the test's own, ended with the object.
class PrivateBus
{
public:
    static bool daemonInstalled() { return !daemon().isEmpty(); }
    ~PrivateBus()
    {
        m_process.terminate();
        m_process.waitForFinished();
    }

    // Starts the bus; its address, or empty when it did not come up.
    QString start()
    {
        m_process.start(daemon(), {"--session", "--nofork", "--print-address"});
        if (!m_process.waitForReadyRead(5000))
            return {};
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }

private:
    static QString daemon() { return QStandardPaths::findExecutable("dbus-daemon"); }

    QProcess m_process;
};
