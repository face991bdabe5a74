#pragma once

#include "gui/dialogs/dialog_template.h"

namespace lark::ui {

// The settings dialog (130) and the detail dialog (134) as their templates give them.
const DialogTemplate &settingsDialogTemplate();
const DialogTemplate &detailDialogTemplate();

} // namespace lark::ui
