#include "gui/resource_ids.h"

namespace lark::ui {
namespace {

QString resourcePath(const char *kind, int id)
{
    return QStringLiteral(":/res/%1-%2.png").arg(QLatin1String(kind)).arg(id);
}

} // namespace

QString picturePath(IconId icon)
{
    return resourcePath("icon", static_cast<int>(icon));
}

QString picturePath(BitmapId bitmap)
{
    return resourcePath(bitmap == BitmapId::MailPicture ? "about" : "background",
                        static_cast<int>(bitmap));
}

} // namespace lark::ui
