#include "launch/registry_settings.h"

namespace lark {

static_assert(kStoredSlots == kSlotCount);

void RegistrySettings::loadSettings(WatchTables &tables, std::string &versionText)
{
    auto stored = m_store.load();
    if (!stored)
        return;
    for (int slot = 0; slot < kSlotCount; ++slot)
        tables.watchCodes[slot] = stored->codes[slot].value_or(std::string(kDefaultCodes[slot]));
    tables.changeAlarmPct = stored->changeAlarmPct;
    tables.bigOrderAlarm = stored->bigOrderAlarm;
    tables.volumeRatioAlarm = stored->volumeRatioAlarm;
    versionText = stored->versionText;
}

bool RegistrySettings::saveSettings(const WatchTables &tables, int interfaceSize,
                                    int &nextInterfaceSize, const std::string &versionText)
{
    if (nextInterfaceSize == 0)
        nextInterfaceSize = interfaceSize;
    StoredSettings stored;
    for (int slot = 0; slot < kSlotCount; ++slot)
        stored.codes[slot] = tables.watchCodes[slot];
    stored.changeAlarmPct = tables.changeAlarmPct;
    stored.bigOrderAlarm = tables.bigOrderAlarm;
    stored.volumeRatioAlarm = tables.volumeRatioAlarm;
    stored.interfaceSize = nextInterfaceSize;
    stored.versionText = versionText;
    return m_store.save(stored);
}

std::string unsavedSettingsMessage(const std::filesystem::path &root)
{
    return "设置未能全部保存 (the settings could not all be saved) in " + root.string();
}

} // namespace lark
