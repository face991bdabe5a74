#include "gui/lark_doc.h"

namespace lark::ui {

LarkDoc::LarkDoc(QObject *parent)
    : QObject(parent)
{ }

} // namespace lark::ui
