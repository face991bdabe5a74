#pragma once

#include <QObject>
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
