// What the window and the tray say at a glance: which market, how the figures are coming, when
// the last pass ended, and which stock rings. The engine tells when any of it may have changed.
#include "gui/forms.h"
#include "gui/view/lark_view.h"
#include "gui/view/view_ports.h"

namespace lark::ui {

void LarkView::showGlance()
{
    if (!m_engine || m_closing)
        return;
    std::string state = m_marketText ? m_marketText() : std::string();
    const std::string feed = feedStateText(m_engine->feedState());
    if (!feed.empty())
        state += (state.empty() ? "" : "，") + feed;
    const QString name = QString::fromLatin1(kProgramName);
    const QString tip
        = state.empty() ? name : name + QStringLiteral(": ") + QString::fromStdString(state);
    if (window()->toolTip() != tip)
        window()->setToolTip(tip);

    const std::string reason = m_engine->ringingAlertReason();
    const QString trayTip
        = reason.empty() ? tip : tip + QStringLiteral("\n警示: ") + QString::fromStdString(reason);
    if (m_trayIcon && m_trayIcon->toolTip() != trayTip)
        m_trayIcon->setToolTip(trayTip);
    const std::string ringing = m_engine->ringingAlert();
    m_listPort->markRow(QString::fromStdString(ringing));
    // Only a ringing alert can need a notification; otherwise nothing wakes for it.
    watchAlertWithoutTray();
    if (ringing.empty())
        m_alertWatch.stop();
    else if (!m_alertWatch.isActive())
        m_alertWatch.start();
}

} // namespace lark::ui
