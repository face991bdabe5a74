#include "gui/view/popup_menu.h"

namespace lark::ui {
namespace {

struct Item
{
    int id; // 0: separator
    const char *text;
};

void addItems(QMenu *menu, std::initializer_list<Item> items)
{
    for (const Item &item : items) {
        if (item.id == 0) {
            menu->addSeparator();
            continue;
        }
        QAction *action = menu->addAction(QString::fromUtf8(item.text));
        action->setObjectName(QString::number(item.id));
        action->setData(item.id);
    }
}

} // namespace

QMenu *makePopupMenu(const PopupMenuState &state, QWidget *parent)
{
    using namespace commands;
    auto *menu = new QMenu(parent);
    addItems(menu,
             {{kSettings, "设置..."},
              {kDetail, "详细资料"},
              {0, nullptr},
              {kTodayTip, "今日提示"},
              {kWeeklyMemo, "一周备忘"},
              {0, nullptr},
              {kSizeLarge, "大界面"},
              {kSizeMedium, "中界面"},
              {kSizeSmall, "小界面"},
              {0, nullptr},
              {kBackgroundColour, "背景颜色..."},
              {kMinimise, "最小化"}});
    QMenu *help = menu->addMenu(QStringLiteral("帮助"));
    addItems(help, {{kAbout, "关于Tamberly..."}, {kHelp, "使用方法..."}});
    addItems(menu, {{0, nullptr}, {kExit, "退出"}});
    menu->findChild<QAction *>(QString::number(kSettings))->setEnabled(state.settingsEnabled);
    menu->findChild<QAction *>(QString::number(kDetail))->setEnabled(state.detailEnabled);
    return menu;
}

int commandOf(const QAction *action)
{
    return action ? action->data().toInt() : 0;
}

} // namespace lark::ui
