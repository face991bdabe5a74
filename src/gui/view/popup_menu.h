#pragma once

#include <QMenu>

namespace lark::ui {

// Command ids of the popup menu (menu 102). Each action's objectName is its id.
namespace commands {
inline constexpr int kSettings = 32772;
inline constexpr int kDetail = 6;
inline constexpr int kTodayTip = 32793;
inline constexpr int kWeeklyMemo = 32791;
inline constexpr int kSizeLarge = 32780;
inline constexpr int kSizeMedium = 32779;
inline constexpr int kSizeSmall = 32778;
inline constexpr int kBackgroundColour = 32775;
inline constexpr int kMinimise = 61186;
inline constexpr int kAbout = 57664;
inline constexpr int kHelp = 32776;
inline constexpr int kExit = 57665;
} // namespace commands

// Decided each time the menu opens.
struct PopupMenuState
{
    bool settingsEnabled; // the network thread is ready
    bool detailEnabled; // the right-click hit a row
};

// The popup menu in its fixed order; a triggered action's data() is its command id.
QMenu *makePopupMenu(const PopupMenuState &state, QWidget *parent);

// The id of an action of that menu, 0 for none.
int commandOf(const QAction *action);

} // namespace lark::ui
