#pragma once

#include "engine/watch_list.h"

#include <string>

namespace lark {

// Where the watch list and its thresholds live between runs: loaded once as the network thread
// starts, saved once when the engine stops.
class SettingsPort
{
public:
    virtual ~SettingsPort() = default;
    // Leaves everything as it was when nothing is stored.
    virtual void loadSettings(WatchTables &tables, std::string &versionText) = 0;
    // nextInterfaceSize 0 takes interfaceSize. False when something could not be stored (the
    // front end tells the user); whatever was stored before stays whole.
    virtual bool saveSettings(const WatchTables &tables, int interfaceSize, int &nextInterfaceSize,
                              const std::string &versionText)
        = 0;
};

} // namespace lark
