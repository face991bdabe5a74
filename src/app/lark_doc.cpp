#include "lark_doc.h"

namespace lark {

CLarkDoc::CLarkDoc(QObject *parent)
    : QObject(parent)
{ }

} // namespace lark
