#pragma once

#include "gui/resource_ids.h"

#include <QMenu>

#include <optional>

namespace lark::ui {

// Decided each time the menu opens.
struct PopupMenuState
{
    bool settingsEnabled; // the network thread is ready
    bool detailEnabled; // the right-click hit a row
};

// The popup menu (its commands: Command) in its fixed order; each action's objectName is its
// command's number.
QMenu *makePopupMenu(const PopupMenuState &state, QWidget *parent);

// The command of an action of that menu.
std::optional<Command> commandOf(const QAction *action);

} // namespace lark::ui
