#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>

namespace lark::ui {

class NotificationsProxy;

// Shows a running alert as a desktop notification (freedesktop notifications over D-Bus) for
// desktops without a notification area. Its "acknowledge" action, or a click on the
// notification itself, calls the acknowledge callback, as a double-click on the tray icon does.
class AlertNotifier : public QObject
{
    Q_OBJECT

public:
    explicit AlertNotifier(std::function<void()> acknowledge, QObject *parent = nullptr);
    // On the given bus instead of the session bus.
    AlertNotifier(const QDBusConnection &bus, std::function<void()> acknowledge,
                  QObject *parent = nullptr);
    ~AlertNotifier() override;

    // Shows the alert, saying why it rang (the stock, its name, the rule, the figure and the
    // threshold), in place of the notification shown. Returns at once; the notification may
    // be refused later when no notification service answers.
    void showAlert(const QString &reason);
    // Takes the notification away: the alert was acknowledged, or a tray icon took over.
    void withdraw();
    // True from showAlert until the notification is withdrawn, acknowledged or closed.
    bool isShown() const { return m_shown; }

private:
    void onNotified(uint id);
    void onActionInvoked(uint id, const QString &action);
    void onClosed(uint id);

    NotificationsProxy *m_proxy;
    std::function<void()> m_acknowledge;
    uint m_id = 0; // the server's id of the notification shown, 0 while none is known
    bool m_shown = false;
};

} // namespace lark::ui
