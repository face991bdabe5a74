#include "gui/view/list_edit.h"

#include <QBrush>
#include <QTreeWidget>

#include <algorithm>
#include <unordered_set>

namespace lark::ui {

QStringList itemTexts(const QTreeWidget *list, const QTreeWidgetItem *item)
{
    QStringList texts;
    for (int c = 0; c < list->columnCount(); ++c)
        texts << item->text(c);
    return texts;
}

namespace {

std::optional<QColor> colourOf(const QTreeWidgetItem *item)
{
    const QVariant foreground = item->data(0, Qt::ForegroundRole);
    return foreground.isValid() ? std::optional(foreground.value<QBrush>().color()) : std::nullopt;
}

} // namespace

ListEdit::ListEdit(QTreeWidget *list, std::function<QTreeWidgetItem *()> makeItem)
    : m_list(list)
    , m_makeItem(std::move(makeItem))
{
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        QTreeWidgetItem *item = list->topLevelItem(row);
        m_rows.push_back({item, itemTexts(list, item), colourOf(item)});
    }
}

void ListEdit::deleteAllRows()
{
    m_rows.clear();
    m_deletedAt = -1;
}

void ListEdit::deleteRow(int row)
{
    m_deletedAt = -1;
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    m_deletedItem = m_rows[row].item;
    m_deletedAt = row;
    m_rows.erase(m_rows.begin() + row);
}

// A row beyond the end is padded to, so that it stands at its slot's index.
void ListEdit::insertRow(int row, const QString &code, std::optional<QColor> colour)
{
    const bool reuse = row == m_deletedAt && m_deletedItem;
    m_deletedAt = -1;
    if (row < 0)
        return;
    const QStringList empty(m_list->columnCount());
    while (static_cast<int>(m_rows.size()) < row)
        m_rows.push_back({nullptr, empty, std::nullopt});
    QStringList texts = empty;
    if (!texts.isEmpty())
        texts[0] = code;
    m_rows.insert(m_rows.begin() + row, {reuse ? m_deletedItem : nullptr, texts, colour});
}

// A column the list lacks is ignored.
void ListEdit::setText(int row, int column, const QString &text)
{
    m_deletedAt = -1;
    if (row < 0 || row >= static_cast<int>(m_rows.size()) || column < 0
        || column >= m_list->columnCount())
        return;
    m_rows[row].texts[column] = text;
}

bool ListEdit::commit()
{
    const int before = m_list->topLevelItemCount();
    removeDroppedItems();
    const bool removed = m_list->topLevelItemCount() != before;
    const bool added = placeNewItems();
    const bool written = writeRows();
    return removed || added || written;
}

// Items the rows no longer hold; the survivors keep their order, so each new row's index is
// where it goes once they are gone.
void ListEdit::removeDroppedItems()
{
    std::unordered_set<QTreeWidgetItem *> kept;
    for (const Row &row : m_rows)
        if (row.item)
            kept.insert(row.item);
    for (int index = m_list->topLevelItemCount() - 1; index >= 0; --index)
        if (!kept.count(m_list->topLevelItem(index)))
            delete m_list->takeTopLevelItem(index);
}

bool ListEdit::placeNewItems()
{
    bool placed = false;
    for (int index = 0; index < static_cast<int>(m_rows.size()); ++index) {
        Row &row = m_rows[index];
        if (row.item)
            continue;
        row.item = m_makeItem();
        m_list->insertTopLevelItem(index, row.item);
        placed = true;
    }
    return placed;
}

bool ListEdit::writeRows()
{
    bool written = false;
    for (const Row &row : m_rows) {
        for (int c = 0; c < m_list->columnCount(); ++c) {
            if (row.item->text(c) != row.texts[c]) {
                row.item->setText(c, row.texts[c]);
                written = true;
            }
        }
        if (colourOf(row.item) == row.colour)
            continue;
        for (int c = 0; c < m_list->columnCount(); ++c)
            row.item->setData(c, Qt::ForegroundRole,
                              row.colour ? QVariant(QBrush(*row.colour)) : QVariant());
        written = true;
    }
    return written;
}

} // namespace lark::ui
