// The engine's quote list on the screen: calls batched per burst and carried out together.
#include "gui/view/list_edit.h"
#include "gui/view/view_ports.h"

#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QTreeWidget>

#include <algorithm>
#include <optional>
#include <utility>
#include <variant>

namespace lark::ui {
namespace {

// Long enough to take in a whole pass against the built-in market, short enough to look
// immediate.
constexpr int kBatchMilliseconds = 30;
constexpr qint64 kDumpMilliseconds = 200;
// Behind the ringing stock's row: dark enough for both text colours, unlike any list colour.
const QColor kMarkedBackground(120, 88, 0);

struct DeleteAll
{
};
struct Delete
{
    int row;
};
struct Insert
{
    int row;
    QString code;
};
struct Text
{
    int row;
    int column;
    QString text;
};
struct Colour
{
    QColor colour;
};
struct Status
{
    QString text;
};
struct EnablePage
{
    PageButton button;
};

} // namespace

struct ViewQuoteList::Call
{
    std::variant<DeleteAll, Delete, Insert, Text, Colour, Status, EnablePage> what;
};

ViewQuoteList::ViewQuoteList(QuoteListControls controls, std::vector<Qt::Alignment> alignments)
    : m_controls(controls)
    , m_alignments(std::move(alignments))
    , m_dumpPath(qEnvironmentVariable("LARK_DUMP_LIST"))
{
    m_batchTimer.setSingleShot(true);
    m_batchTimer.setInterval(kBatchMilliseconds);
    QObject::connect(&m_batchTimer, &QTimer::timeout, m_controls.list, [this] { carryOut(); });
    m_dumpTimer.setSingleShot(true);
    QObject::connect(&m_dumpTimer, &QTimer::timeout, m_controls.list, [this] { dump(); });
}

ViewQuoteList::~ViewQuoteList() = default;

void ViewQuoteList::deleteAllRows()
{
    add({DeleteAll {}});
}

void ViewQuoteList::deleteRow(int row)
{
    add({Delete {row}});
}

void ViewQuoteList::insertRow(int row, const std::string &code)
{
    add({Insert {row, QString::fromStdString(code)}});
}

void ViewQuoteList::setText(int row, int column, const std::string &text)
{
    add({Text {row, column, QString::fromStdString(text)}});
}

void ViewQuoteList::setTextColour(Rgb colour)
{
    add({Colour {QColor(colour.red, colour.green, colour.blue)}});
}

void ViewQuoteList::setStatusText(const std::string &text)
{
    add({Status {QString::fromStdString(text)}});
}

void ViewQuoteList::enablePageButton(PageButton button)
{
    add({EnablePage {button}});
}

// The first call of a burst starts the batch timer on the list's thread (dropped when the list
// is gone).
void ViewQuoteList::add(Call call)
{
    std::lock_guard lock(m_mutex);
    m_calls.push_back(std::move(call));
    if (m_calls.size() == 1)
        QMetaObject::invokeMethod(
            m_controls.list, [this] { m_batchTimer.start(); }, Qt::QueuedConnection);
}

void ViewQuoteList::carryOut()
{
    std::vector<Call> calls;
    {
        std::lock_guard lock(m_mutex);
        calls.swap(m_calls);
    }
    ListEdit rows(m_controls.list, [this] { return makeItem(); });
    for (Call &call : calls) {
        std::visit(
            [&](auto &c) {
                using T = std::decay_t<decltype(c)>;
                if constexpr (std::is_same_v<T, DeleteAll>)
                    rows.deleteAllRows();
                else if constexpr (std::is_same_v<T, Delete>)
                    rows.deleteRow(c.row);
                else if constexpr (std::is_same_v<T, Insert>)
                    rows.insertRow(c.row, c.code, std::exchange(m_pendingColour, std::nullopt));
                else if constexpr (std::is_same_v<T, Text>)
                    rows.setText(c.row, c.column, c.text);
                else if constexpr (std::is_same_v<T, Colour>)
                    m_pendingColour = c.colour;
                else if constexpr (std::is_same_v<T, Status>)
                    m_controls.status->setText(c.text);
                else
                    (c.button == PageButton::Previous ? m_controls.previousPage
                                                      : m_controls.nextPage)
                        ->setEnabled(true);
            },
            call.what);
    }
    const bool changed = rows.commit();
    if (changed)
        applyMark();
    if (changed && !m_dumpPath.isEmpty() && !m_dumpTimer.isActive()) {
        // At once, unless the last dump was less than the interval ago.
        const qint64 since = m_lastDump.isValid() ? m_lastDump.elapsed() : kDumpMilliseconds;
        m_dumpTimer.start(int(std::max<qint64>(0, kDumpMilliseconds - since)));
    }
}

void ViewQuoteList::markRow(const QString &code)
{
    if (code == m_markedCode)
        return;
    m_markedCode = code;
    applyMark();
}

void ViewQuoteList::applyMark()
{
    QTreeWidget *list = m_controls.list;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        QTreeWidgetItem *item = list->topLevelItem(row);
        const bool marked = !m_markedCode.isEmpty() && item->text(0).trimmed() == m_markedCode;
        const QBrush brush = marked ? QBrush(kMarkedBackground) : QBrush();
        for (int column = 0; column < list->columnCount(); ++column)
            if (item->background(column) != brush)
                item->setBackground(column, brush);
    }
}

QTreeWidgetItem *ViewQuoteList::makeItem() const
{
    auto *item = new QTreeWidgetItem;
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    for (int c = 0; c < static_cast<int>(m_alignments.size()); ++c)
        item->setTextAlignment(c, m_alignments[c] | Qt::AlignVCenter);
    return item;
}

void ViewQuoteList::dump()
{
    m_lastDump.start();
    QSaveFile file(m_dumpPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    const QTreeWidget *list = m_controls.list;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        file.write(itemTexts(list, list->topLevelItem(row)).join(u'\t').toUtf8() + '\n');
    file.commit();
}

} // namespace lark::ui
