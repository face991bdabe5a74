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

    // Before the first load of a run (see SettingsStore::prepare).
    void prepare() const { m_store.prepare(); }
    // 1 when missing, unreadable or not a size the program has a layout for.
    int readInterfaceSize() const { return validInterfaceSize(m_store.readInterfaceSize()); }

    void loadSettings(WatchTables &tables, std::string &versionText) override;
    bool saveSettings(const WatchTables &tables, int interfaceSize, int &nextInterfaceSize,
                      const std::string &versionText) override;

    const std::filesystem::path &root() const { return m_store.registry().root(); }

private:
    SettingsStore m_store;
};

// What the front ends tell the user when the settings could not all be saved.
std::string unsavedSettingsMessage(const std::filesystem::path &root);

} // namespace lark
