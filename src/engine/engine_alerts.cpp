#include "engine/engine.h"

#include "engine/alarm_rules.h"

namespace lark {
namespace {

constexpr int kToneHertz = 500;
constexpr int kToneMilliseconds = 300;

} // namespace

void Engine::checkAlarms(int slot, const QuoteRecord &record, float changePct)
{
    std::vector<FiredAlarm> fired;
    std::string code;
    {
        std::lock_guard lock(settingsLock);
        fired = fireAlarms(tables, options, slot, {record.last, record.volume, changePct},
                           m_config.clock());
        code = tables.watchCodes[slot];
    }
    for (const FiredAlarm &alarm : fired)
        raiseAlert(code, alarmReason(code, record.name, alarm));
}

void Engine::raiseAlert(const std::string &code, const std::string &reason)
{
    m_threads.start([this, code, reason] { alertThread(code, reason); });
}

// One alert: opens the chart at once, then waits its turn to ring and flash until the user
// acknowledges it, and hands the turn to the next alert once the user has seen it.
int Engine::alertThread(std::string code, std::string reason)
{
    {
        std::lock_guard lock(m_alertLock);
        if (optionsSnapshot().chartOnAlarm)
            m_desktop.openUrl(chartUrl(code));
        ++m_activeAlertCount;
    }
    if (!ringToken.wait())
        return 1;
    {
        std::lock_guard lock(m_alertLock);
        m_alertStopRequested = false;
        m_lastAlertCode = code;
        m_lastAlertReason = reason;
    }
    m_desktop.glanceChanged();
    while (!quitRequested) {
        {
            std::lock_guard lock(m_alertLock);
            if (m_alertStopRequested)
                break;
        }
        ringOnce(optionsSnapshot());
    }
    {
        std::lock_guard lock(m_alertLock);
        --m_activeAlertCount;
    }
    if (alertAcknowledged.wait())
        ringToken.set();
    return 1;
}

void Engine::ringOnce(const Options &o)
{
    if (o.ringOn)
        m_desktop.playTone(kToneHertz, kToneMilliseconds);
    if (o.flashOn) {
        m_desktop.setTrayPicture(TrayPicture::Alert);
        pause(m_config.flashPhase);
        m_desktop.setTrayPicture(TrayPicture::Normal);
        if (!o.ringOn)
            pause(m_config.flashPhase);
    }
    if (!o.ringOn && !o.flashOn)
        pause(m_config.flashPhase); // nothing to show: only wait for the acknowledgement
}

// Only a ringing alert is acknowledged. Between two alerts the stop flag is still set; taking
// that as an acknowledgement would be undone by the next alert clearing it, which would then
// ring with nobody left to stop it.
std::optional<std::string> Engine::beginAcknowledge()
{
    std::lock_guard lock(m_alertLock);
    if (m_activeAlertCount <= 0 || m_alertStopRequested)
        return std::nullopt;
    m_alertStopRequested = true;
    return m_lastAlertCode;
}

void Engine::finishAcknowledge()
{
    alertAcknowledged.set();
}

int Engine::activeAlerts()
{
    std::lock_guard lock(m_alertLock);
    return m_activeAlertCount;
}

std::string Engine::ringingAlert()
{
    std::lock_guard lock(m_alertLock);
    return m_activeAlertCount > 0 && !m_alertStopRequested ? m_lastAlertCode : std::string();
}

std::string Engine::ringingAlertReason()
{
    std::lock_guard lock(m_alertLock);
    return m_activeAlertCount > 0 && !m_alertStopRequested ? m_lastAlertReason : std::string();
}

std::string Engine::lastAlert()
{
    std::lock_guard lock(m_alertLock);
    return m_lastAlertCode;
}

} // namespace lark
