#pragma once

#include "engine/engine.h"
#include "gui/resource_ids.h"

#include <QPixmap>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

class QDialog;
class QLabel;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace lark::ui {

class AlertNotifier;
class ClockLabel;
class HyperLink;
class ViewDesktop;
class ViewQuoteList;
struct SizeLayout;

// The one view of the window: the background of the size in use, the quote list the engine
// fills, the site link, the drag strip and the page zones. It owns the engine, which it starts
// once everything is in place and stops when the window closes.
class LarkView : public QWidget
{
    Q_OBJECT

public:
    explicit LarkView(QWidget *frame);
    ~LarkView() override;

    // Size, columns, tray icon, clock; then the engine starts.
    // marketText tells where the figures come from, for the window's tooltip; it may change
    // (the real market failing, answering again). Empty: nothing to tell.
    void initialUpdate(EngineConfig config, std::function<std::string()> marketText);
    // Stops the engine (threads joined, settings saved) and removes the tray icon. Idempotent.
    void shutdown();

    Engine &engine() { return *m_engine; }
    // A size chosen now takes effect at the next start.
    void setNextInterfaceSize(int size);
    QSystemTrayIcon *trayIcon() const { return m_trayIcon; }
    AlertNotifier *alertNotifier() const { return m_notifier; }

    // The popup menu for a right-click at a point of the list's viewport: remembers the row
    // and where the menu goes, and decides which items are enabled.
    QMenu *makeContextMenu(QPoint viewportPoint);
    int contextRow() const { return m_contextRow; }
    QPoint menuPos() const { return m_menuPos; }
    // Carries out a command of the popup menu; the frame gets those that are not the view's.
    void runCommand(Command id);
    // The tray double-click: stops the ringing alert and shows its stock until the user closes
    // the dialog, then lets the next alert ring. Nothing while no alert rings.
    void acknowledgeAlerts();

signals:
    // A left click on the tray icon; alertHasFlashed once an alert has flashed the icon.
    void trayLeftClicked(bool alertHasFlashed);
    // A popup menu command for the frame or the application.
    void frameCommand(lark::ui::Command id);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void createEngine(EngineConfig config);
    void setUpTrayIcon();
    void onTrayActivated(QSystemTrayIcon::ActivationReason reason);
    void showTrayPicture(TrayPicture picture);
    void layOutControls();
    // The tips of the window and the tray, the ringing stock's row marked, and the watch for
    // an alert without a tray: after each pass and each alert that starts or is acknowledged.
    void showGlance();
    void beginDrag(QPoint globalPoint);
    void turnPage(int step);
    void updateCursor(QPoint point);
    void openChart(QTreeWidgetItem *item);
    void storeEditedCode(int row, const QString &code);
    // The engine's directory, for the code fields.
    DirectoryRequest codeDirectory();
    void openContextMenu(QPoint viewportPoint);
    void watchAlertWithoutTray();

    // Commands of the popup menu.
    void onSettings();
    void onDetail();
    void openWebPage(std::string_view path);
    void onBackgroundColour();
    void onHelp();
    void showDetail(const std::string &code, int32_t ratioBaseline);
    // Runs a modal dialog that the window's closing dismisses; Rejected once closing.
    int runModal(QDialog &dialog);

    ClockLabel *m_clockText = nullptr;
    QLabel *m_statusText = nullptr;
    QPushButton *m_prevPageButton = nullptr;
    QPushButton *m_nextPageButton = nullptr;
    HyperLink *m_siteNameLink = nullptr;
    QTreeWidget *m_quoteList = nullptr;

    const SizeLayout *m_layout = nullptr;
    QPixmap m_background;
    QSystemTrayIcon *m_trayIcon = nullptr;
    bool m_alertHasFlashed = false;
    AlertNotifier *m_notifier = nullptr;
    QTimer m_alertWatch;
    std::string m_notifiedCode;
    std::chrono::steady_clock::time_point m_notifiedAt;
    int m_contextRow = 0;
    QPoint m_menuPos;
    QPointer<QDialog> m_modal;
    bool m_closing = false;
    std::function<std::string()> m_marketText;
    bool m_dragging = false;
    QPoint m_dragOffset;

    std::unique_ptr<ViewQuoteList> m_listPort;
    std::unique_ptr<ViewDesktop> m_desktopPort;
    std::unique_ptr<Engine> m_engine; // after the ports: it is stopped before they go
};

} // namespace lark::ui
