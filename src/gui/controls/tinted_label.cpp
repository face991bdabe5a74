#include "gui/controls/tinted_label.h"

#include <QApplication>

namespace lark::ui {

TintedLabel::TintedLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    setFont(QApplication::font());
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(false);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kDetailBackground);
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    setAutoFillBackground(true);
}

} // namespace lark::ui
