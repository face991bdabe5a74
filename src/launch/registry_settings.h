#pragma once

#include "engine/settings_port.h"
#include "store/settings_store.h"

namespace lark {

// The engine's settings kept in the registry tree.
class RegistrySettings : public SettingsPort
{
public:
    explicit RegistrySettings(std::filesystem::path root)
        : m_store(std::move(root))
    { }

    void provisionMakerKey() const { m_store.provisionMakerKey(); }
    // 1 when missing, unreadable or not a size the program has a layout for.
    int readInterfaceSize() const { return validInterfaceSize(m_store.readInterfaceSize()); }

    void loadSettings(WatchTables &tables, std::string &versionText) override;
    void saveSettings(const WatchTables &tables, int interfaceSize, int &nextInterfaceSize,
                      const std::string &versionText) override;

    const SettingsStore &store() const { return m_store; }

private:
    SettingsStore m_store;
};

} // namespace lark
