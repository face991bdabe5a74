#pragma once

#include <QColor>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

namespace lark::ui {

// The texts of each of the list's columns in the item.
QStringList itemTexts(const QTreeWidget *list, const QTreeWidgetItem *item);

// A batch of the engine's row calls played on a copy of the list's rows, each row in its own
// colour, then carried to the list in one go: only what differs at the end is touched, so a rewrite
// that shows what was already there costs no repaint. A row deleted and at once inserted again at
// its index keeps its item, and with it the selection and an open code edit.
class ListEdit
{
public:
    ListEdit(QTreeWidget *list, std::function<QTreeWidgetItem *()> makeItem);

    void deleteAllRows();
    void deleteRow(int row);
    // colour: the row's text colour, by its own figures; none leaves the list's.
    void insertRow(int row, const QString &code, std::optional<QColor> colour = {});
    void setText(int row, int column, const QString &text);

    // Brings the list to the rows played; true when anything on it changed.
    bool commit();

private:
    struct Row
    {
        QTreeWidgetItem *item; // null for a row the batch added
        QStringList texts; // one a column
        std::optional<QColor> colour;
    };

    void removeDroppedItems();
    bool placeNewItems();
    bool writeRows();

    QTreeWidget *m_list;
    std::function<QTreeWidgetItem *()> m_makeItem;
    std::vector<Row> m_rows;
    QTreeWidgetItem *m_deletedItem = nullptr; // the last call's deleted row, while it may return
    int m_deletedAt = -1;
};

} // namespace lark::ui
