#pragma once

#include "lookup/instrument_directory.h"

#include <QObject>

class QEvent;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace lark::ui {

// The instruments what is typed into a code field matches (code, name, market), listed under
// the field as the user types: Down and Up pick a row, Enter or a click writes its code into
// the field, Esc closes the list and leaves the field as typed. A whole code the directory does
// not know shows as 无此代码. What the field accepts stays its own business: the list only
// helps, and the focus never leaves the field. User-interface thread only.
class CodeCompletion : public QObject
{
    Q_OBJECT

public:
    // A child of the field; the list is its own small window, named "codeCompletion".
    CodeCompletion(QLineEdit *field, DirectoryRequest request);

    // A key the field receives while the list shows: true when the list took it.
    bool takeKey(QEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    void fill(const InstrumentDirectory &directory, const QString &typed);
    void place();
    void step(int rows);
    void choose(QTreeWidgetItem *item);
    void close();

    QLineEdit *m_field;
    DirectoryRequest m_request;
    QTreeWidget *m_list;
    bool m_typing = false; // the user typed since the list last closed
};

} // namespace lark::ui
