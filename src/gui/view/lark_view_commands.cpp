// The popup menu of the quote list, the commands behind it and the tray acknowledgement.
#include "gui/controls/hyperlink.h"
#include "gui/desktop/alert_notifier.h"
#include "gui/dialogs/detail_dialog.h"
#include "gui/dialogs/settings_dialog.h"
#include "gui/view/lark_view.h"
#include "gui/view/popup_menu.h"
#include "protocol/wire_format.h"

#include <QColorDialog>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QUrl>

namespace lark::ui {
namespace {

constexpr const char *kGuideResource = ":/help/guide.html";

// A notification the user closed comes back after this while the alert still rings.
constexpr auto kRenotifyAfter = std::chrono::seconds(10);

} // namespace

QMenu *LarkView::makeContextMenu(QPoint viewportPoint)
{
    QTreeWidgetItem *item = m_quoteList->itemAt(viewportPoint);
    if (item) {
        m_contextRow = m_quoteList->indexOfTopLevelItem(item);
        // The row as the list control reports it: in the list's own coordinates, header
        // included, not in those of the viewport below the header.
        const QPoint viewportOffset
            = m_quoteList->viewport()->geometry().topLeft() - m_quoteList->contentsRect().topLeft();
        m_menuPos = mapToGlobal(QPoint(0, 0)) + m_quoteList->visualItemRect(item).topLeft()
            + viewportOffset + QPoint(50, 50);
    } else {
        m_menuPos = QCursor::pos() + QPoint(5, 5);
    }
    return makePopupMenu({m_engine->isNetworkReady(), item != nullptr}, window());
}

void LarkView::openContextMenu(QPoint viewportPoint)
{
    QMenu *menu = makeContextMenu(viewportPoint);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    connect(menu, &QMenu::triggered, this, [this](QAction *action) {
        const auto id = commandOf(action);
        if (!id)
            return;
        // After the menu has gone, so that a modal dialog does not open inside its event loop.
        QMetaObject::invokeMethod(
            this, [this, id = *id] { runCommand(id); }, Qt::QueuedConnection);
    });
    menu->popup(m_menuPos);
}

void LarkView::runCommand(Command id)
{
    if (m_closing)
        return;
    switch (id) {
    case Command::Settings:
        onSettings();
        break;
    case Command::Detail:
        onDetail();
        break;
    case Command::TodayTip:
        openWebPage(wire::kTodayTipPath);
        break;
    case Command::WeeklyMemo:
        openWebPage(wire::kWeeklyMemoPath);
        break;
    case Command::BackgroundColour:
        onBackgroundColour();
        break;
    case Command::Help:
        onHelp();
        break;
    default:
        emit frameCommand(id);
    }
}

void LarkView::onSettings()
{
    if (!m_engine->isNetworkReady())
        return;
    SettingsDialog dialog(settingsRecord(m_contextRow, m_engine->slotSettings(m_contextRow),
                                         m_engine->optionsSnapshot()));
    dialog.offerCodes(codeDirectory());
    if (runModal(dialog) != QDialog::Accepted)
        return;
    const SettingsRecord &chosen = dialog.record();
    // Whichever way ranking went, the pass or loop that fills the list enables the buttons.
    m_prevPageButton->hide();
    m_nextPageButton->hide();
    m_engine->applySettings(chosen.stockIndex - 1, chosenSlotSettings(chosen),
                            chosenOptions(chosen));
}

void LarkView::onDetail()
{
    if (!m_engine->optionsSnapshot().rankingOn)
        showDetail(m_engine->codeAt(m_contextRow), m_engine->volumeBaselineAt(m_contextRow));
}

void LarkView::showDetail(const std::string &code, int32_t ratioBaseline)
{
    const EngineConfig &config = m_engine->config();
    DetailDialogSetup setup;
    setup.quoteServer = config.quoteServer;
    setup.timeouts = config.timeouts;
    setup.clock = config.clock;
    setup.openChart = [this](const std::string &stock) {
        HyperLink::openTarget(QString::fromStdString(m_engine->chartUrl(stock)));
    };
    DetailDialog dialog(code, ratioBaseline, std::move(setup));
    runModal(dialog);
}

void LarkView::openWebPage(std::string_view path)
{
    HyperLink::openTarget(QString::fromStdString(m_engine->webPageUrl(path)));
}

// For the rest of the run only: the next start has the usual colour again. The dialog starts
// at the colour the list has now.
void LarkView::onBackgroundColour()
{
    QColorDialog dialog(m_quoteList->palette().color(QPalette::Base));
    if (runModal(dialog) != QDialog::Accepted)
        return;
    QPalette colours = m_quoteList->palette();
    colours.setColor(QPalette::Base, dialog.selectedColor());
    m_quoteList->setPalette(colours);
    update();
}

// The guide travels inside the program; the browser gets a copy in the user's cache.
void LarkView::onHelp()
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    const QString copy = dir + QStringLiteral("/guide.html");
    QFile::remove(copy);
    if (QDir().mkpath(dir) && QFile::copy(QString::fromLatin1(kGuideResource), copy))
        HyperLink::openTarget(QUrl::fromLocalFile(copy).toString());
}

// While the dialog is open the engine has no ringing alert, so a second double-click finds
// nothing to acknowledge.
void LarkView::acknowledgeAlerts()
{
    if (m_closing)
        return;
    const auto code = m_engine->beginAcknowledge();
    if (!code)
        return;
    m_notifier->withdraw();
    showGlance(); // the row and the tip no longer ring
    showDetail(*code, 0);
    m_engine->finishAcknowledge();
}

// Without a notification area an alert shows as a desktop notification; once a tray icon can
// be shown, the icon takes over.
void LarkView::watchAlertWithoutTray()
{
    // Ringing first: the tray's availability is asked of the window system.
    std::string code = m_engine->ringingAlert();
    if (!code.empty() && QSystemTrayIcon::isSystemTrayAvailable())
        code.clear();
    if (code.empty()) {
        if (m_notifier->isShown())
            m_notifier->withdraw();
        m_notifiedCode.clear();
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (code == m_notifiedCode && (m_notifier->isShown() || now - m_notifiedAt < kRenotifyAfter))
        return;
    m_notifier->showAlert(QString::fromStdString(m_engine->ringingAlertReason()));
    m_notifiedCode = code;
    m_notifiedAt = now;
}

int LarkView::runModal(QDialog &dialog)
{
    // The window stays on top of everything, so its dialogs must too.
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    m_modal = &dialog;
    const int result = dialog.exec();
    return m_closing ? int(QDialog::Rejected) : result;
}

} // namespace lark::ui
