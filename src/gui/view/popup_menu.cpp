#include "gui/view/popup_menu.h"

namespace lark::ui {
namespace {

struct Item
{
    std::optional<Command> id; // none: separator
    const char *text;
};

QString objectNameOf(Command id)
{
    return QString::number(static_cast<int>(id));
}

void addItems(QMenu *menu, std::initializer_list<Item> items)
{
    for (const Item &item : items) {
        if (!item.id) {
            menu->addSeparator();
            continue;
        }
        QAction *action = menu->addAction(QString::fromUtf8(item.text));
        action->setObjectName(objectNameOf(*item.id));
        action->setData(QVariant::fromValue(*item.id));
    }
}

} // namespace

QMenu *makePopupMenu(const PopupMenuState &state, QWidget *parent)
{
    using C = Command;
    const Item separator {std::nullopt, nullptr};
    auto *menu = new QMenu(parent);
    addItems(menu,
             {{C::Settings, "设置..."},
              {C::Detail, "详细资料"},
              separator,
              {C::TodayTip, "今日提示"},
              {C::WeeklyMemo, "一周备忘"},
              separator,
              {C::SizeLarge, "大界面"},
              {C::SizeMedium, "中界面"},
              {C::SizeSmall, "小界面"},
              separator,
              {C::BackgroundColour, "背景颜色..."},
              {C::Minimise, "最小化"}});
    QMenu *help = menu->addMenu(QStringLiteral("帮助"));
    addItems(help, {{C::About, "关于Tamberly..."}, {C::Help, "使用方法..."}});
    addItems(menu, {separator, {C::Exit, "退出"}});
    menu->findChild<QAction *>(objectNameOf(C::Settings))->setEnabled(state.settingsEnabled);
    menu->findChild<QAction *>(objectNameOf(C::Detail))->setEnabled(state.detailEnabled);
    return menu;
}

std::optional<Command> commandOf(const QAction *action)
{
    if (!action || !action->data().canConvert<Command>())
        return std::nullopt;
    return action->data().value<Command>();
}

} // namespace lark::ui
