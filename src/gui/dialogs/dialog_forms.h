#pragma once

#include "gui/dialogs/dialog_template.h"

namespace lark::ui {

// The settings dialog and the detail dialog as their templates give them.
const DialogTemplate &settingsDialogTemplate();
const DialogTemplate &detailDialogTemplate();

} // namespace lark::ui
