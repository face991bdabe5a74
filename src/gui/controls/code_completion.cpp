#include "gui/controls/code_completion.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTreeWidget>

namespace lark::ui {
namespace {

constexpr size_t kRows = 10;
const char *const kUnknownCode = "无此代码";

bool choosable(const QTreeWidgetItem *item)
{
    return item && (item->flags() & Qt::ItemIsSelectable);
}

} // namespace

CodeCompletion::CodeCompletion(QLineEdit *field, DirectoryRequest request)
    : QObject(field)
    , m_field(field)
    , m_request(std::move(request))
    , m_list(new QTreeWidget(field))
{
    m_list->setObjectName(QStringLiteral("codeCompletion"));
    m_list->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    m_list->setAttribute(Qt::WA_ShowWithoutActivating);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setColumnCount(3);
    m_list->setHeaderHidden(true);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setFont(field->font());
    connect(m_list, &QTreeWidget::itemClicked, this, &CodeCompletion::choose);
    connect(field, &QLineEdit::textEdited, this, [this] {
        m_typing = true;
        refresh();
    });
    field->installEventFilter(this);
    // The directory is built at the first ask: ask before the first key.
    m_request({});
}

bool CodeCompletion::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::FocusOut || event->type() == QEvent::Hide)
        close();
    return takeKey(event);
}

bool CodeCompletion::takeKey(QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !m_list->isVisible())
        return false;
    switch (static_cast<QKeyEvent *>(event)->key()) {
    case Qt::Key_Down:
        step(1);
        return true;
    case Qt::Key_Up:
        step(-1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!choosable(m_list->currentItem())) {
            close();
            return false;
        }
        choose(m_list->currentItem());
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    default:
        return false;
    }
}

void CodeCompletion::refresh()
{
    const QString typed = m_field->text().trimmed();
    if (!m_typing || typed.isEmpty()) {
        close();
        return;
    }
    // Not built yet: look again once it is, if the user still types here by then.
    QPointer<CodeCompletion> self(this);
    const auto directory = m_request([self] {
        QMetaObject::invokeMethod(
            qApp,
            [self] {
                if (self)
                    self->refresh();
            },
            Qt::QueuedConnection);
    });
    if (!directory)
        return;
    fill(*directory, typed);
    if (m_list->topLevelItemCount() == 0)
        close();
    else
        place();
}

void CodeCompletion::fill(const InstrumentDirectory &directory, const QString &typed)
{
    m_list->clear();
    const auto matches = directory.find(typed.toStdString(), kRows);
    const bool known = !matches.empty() && matches.front().kind == MatchKind::ExactCode;
    if (!known && instrumentOf(typed.toUpper().toStdString())) {
        auto *unknown = new QTreeWidgetItem(m_list, {typed, QString::fromUtf8(kUnknownCode)});
        unknown->setFlags(Qt::NoItemFlags);
    }
    for (const Match &m : matches) {
        const Listing &l = m.listing;
        new QTreeWidgetItem(m_list,
                            {QString::fromStdString(l.code), QString::fromStdString(l.name),
                             QString::fromUtf8(exchangeName(l.exchange))});
    }
}

void CodeCompletion::place()
{
    int width = 2 * m_list->frameWidth();
    for (int column = 0; column < m_list->columnCount(); ++column) {
        m_list->resizeColumnToContents(column);
        width += m_list->columnWidth(column);
    }
    const int rows = m_list->topLevelItemCount();
    const int height = 2 * m_list->frameWidth() + rows * m_list->sizeHintForRow(0);
    m_list->setGeometry(QRect(m_field->mapToGlobal(QPoint(0, m_field->height())),
                              QSize(std::max(width, m_field->width()), height)));
    m_list->show();
}

// From no row, Down goes to the first that may be chosen; Up from the first goes back to none.
void CodeCompletion::step(int rows)
{
    QList<QTreeWidgetItem *> items;
    for (int k = 0; k < m_list->topLevelItemCount(); ++k)
        if (choosable(m_list->topLevelItem(k)))
            items << m_list->topLevelItem(k);
    const qsizetype at = items.indexOf(m_list->currentItem());
    const qsizetype next = std::clamp<qsizetype>(at + rows, -1, items.size() - 1);
    m_list->setCurrentItem(next < 0 ? nullptr : items[next]);
}

void CodeCompletion::choose(QTreeWidgetItem *item)
{
    if (!choosable(item))
        return;
    m_field->setText(item->text(0));
    close();
}

void CodeCompletion::close()
{
    m_typing = false;
    m_list->hide();
    m_list->clear();
}

} // namespace lark::ui
