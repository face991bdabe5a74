#include "engine/engine.h"

namespace lark {

SlotSettings Engine::slotSettings(int slot)
{
    std::lock_guard lock(settingsLock);
    return {tables.watchCodes[slot], tables.priceAlarm[slot], tables.changeAlarmPct[slot],
            tables.bigOrderAlarm[slot], tables.volumeRatioAlarm[slot]};
}

// The settings command's OK: one step under settingsLock, then whatever the ranking change
// needs. A running refresh loop sees rankingOn and hands the list over by itself.
SettingsRestart Engine::applySettings(int slot, const SlotSettings &s, const Options &chosen)
{
    m_rankingPage = 0;
    Options before;
    {
        std::lock_guard lock(settingsLock);
        before = options;
        options = chosen;
        tables.setSlot(slot, s.code, s.priceAlarm, s.changeAlarmPct, s.bigOrderAlarm,
                       s.volumeRatioAlarm);
    }
    storeSettings();
    if (chosen.rankingOn) {
        bool changed = !before.rankingOn || before.rankingMarket != chosen.rankingMarket
            || before.rankingSortKey != chosen.rankingSortKey;
        if (changed && startRankingPass(0))
            return SettingsRestart::RankingPass;
    } else if (before.rankingOn && startRefreshLoop()) {
        return SettingsRestart::RefreshLoop;
    }
    return SettingsRestart::None;
}

void Engine::chooseNextInterfaceSize(int size)
{
    {
        std::lock_guard lock(settingsLock);
        nextInterfaceSize = size;
    }
    storeSettings();
}

void Engine::setCode(int slot, std::string_view code)
{
    if (slot < 0 || slot >= kSlotCount)
        return;
    {
        std::lock_guard lock(settingsLock);
        tables.watchCodes[slot] = code;
    }
    storeSettings();
}

// What the user has just set is on the disk at once: a crash, a kill or a power cut loses none
// of it. The exit saves everything again and reports what it could not store.
void Engine::storeSettings()
{
    if (!m_config.settings)
        return;
    std::lock_guard lock(settingsLock);
    int next = nextInterfaceSize; // the exit's save, not this one, settles a size of none
    m_config.settings->saveSettings(tables, m_interfaceSize, next, versionText);
}

} // namespace lark
