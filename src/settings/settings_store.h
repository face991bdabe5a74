#pragma once

#include "registry.h"
#include "watch_list.h"

#include <string>

namespace lark {

// The watch list, three of the four per-slot thresholds, the interface size and the version
// text, one text value each under SOFTWARE/halvern/tamberly.
class SettingsStore
{
public:
    explicit SettingsStore(std::filesystem::path root)
        : m_registry(std::move(root))
    { }

    // As an installer would on a machine that has never run the program: when the tree holds
    // no SOFTWARE key at all, make SOFTWARE/halvern, so that the first exit can save.
    void provisionMakerKey() const;

    // 1 when missing, unreadable or not a size the program has a layout for.
    int readInterfaceSize() const;
    // Leaves everything as it was when the key path is missing.
    void loadSettings(WatchTables &tables, std::string &versionText) const;
    // Does nothing when the maker key is missing. nextInterfaceSize 0 takes interfaceSize.
    void saveSettings(const WatchTables &tables, int interfaceSize, int &nextInterfaceSize,
                      const std::string &versionText) const;

    const Registry &registry() const { return m_registry; }

private:
    std::optional<Registry::Key> openProductKey() const;

    Registry m_registry;
};

} // namespace lark
