#pragma once

#include "store/registry.h"
#include "store/stored_settings.h"

#include <optional>

namespace lark {

// The stored settings, one text value each under SOFTWARE/halvern/tamberly.
class SettingsStore
{
public:
    explicit SettingsStore(std::filesystem::path root)
        : m_registry(std::move(root))
    { }

    // As the program starts: removes what an interrupted save left behind, and, as an installer
    // would on a machine that has never run the program, makes SOFTWARE/halvern when the tree
    // holds no SOFTWARE key at all, so that the first exit can save.
    void prepare() const;

    // The stored size as a number; 1 when missing or unreadable.
    int readInterfaceSize() const;
    // Nothing when the key path is missing.
    std::optional<StoredSettings> load() const;
    // Does nothing when the maker key is missing. False when some value was not stored; every
    // value is whole, old or new.
    bool save(const StoredSettings &settings) const;

    const Registry &registry() const { return m_registry; }

private:
    std::optional<Registry::Key> openProductKey() const;

    Registry m_registry;
};

} // namespace lark
