#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace lark::ui {

// Shows a message to the user; dialogs take one so tests can record instead of blocking.
using MessageReporter = std::function<void(QWidget *parent, const QString &text)>;

// The program's message box: OK button, exclamation icon, caption "Lark".
void showExclamation(QWidget *parent, const QString &text);

} // namespace lark::ui
