#pragma once

#include <QColor>
#include <QLabel>

namespace lark::ui {

// The detail dialog's background, behind its labels too.
inline const QColor kDetailBackground {150, 172, 233};

// A static text of the detail dialog: one line at the top-left corner, black on the dialog's
// light blue, in the application's default font rather than the dialog's.
class TintedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit TintedLabel(const QString &text, QWidget *parent = nullptr);
};

} // namespace lark::ui
