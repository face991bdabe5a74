#include "gui/dialogs/exclamation_box.h"

#include <QMessageBox>

namespace lark::ui {

void showExclamation(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Lark"), text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace lark::ui
