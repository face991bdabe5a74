#include "gui/lark_doc.h"

namespace lark {

LarkDoc::LarkDoc(QObject *parent)
    : QObject(parent)
{ }

} // namespace lark
