#include "gui/view/view_ports.h"

#include "gui/forms.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSaveFile>
#include <QStyledItemDelegate>
#include <QTreeWidget>

namespace lark::ui {
namespace {

constexpr int kRowHeight = 13;
constexpr int kHeaderHeight = 16;
constexpr int kFontPixels = 11;
const QColor kListBackground(29, 56, 119);

// Compact rows, and an editor for the code column only; a confirmed edit goes to the
// callback instead of the list, which keeps its text until the next refresh rewrites it.
class CodeEditDelegate : public QStyledItemDelegate
{
public:
    CodeEditDelegate(QObject *parent, std::function<void(int, const QString &)> onEdited)
        : QStyledItemDelegate(parent)
        , m_onEdited(std::move(onEdited))
    { }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &,
                          const QModelIndex &index) const override
    {
        if (index.column() != 0)
            return nullptr;
        auto *editor = new QLineEdit(parent);
        editor->setMaxLength(kCodeLength);
        editor->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[!-~]*")), editor));
        return editor;
    }

    void setModelData(QWidget *editor, QAbstractItemModel *,
                      const QModelIndex &index) const override
    {
        m_onEdited(index.row(), static_cast<QLineEdit *>(editor)->text());
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), kRowHeight};
    }

private:
    std::function<void(int, const QString &)> m_onEdited;
};

void applyColumns(QTreeWidget *list, const SizeLayout &layout)
{
    const int columns = static_cast<int>(layout.columns.size());
    list->setColumnCount(columns);
    for (int c = 0; c < columns; ++c) {
        const ColumnSpec &spec = layout.columns[c];
        list->headerItem()->setText(c, QString::fromUtf8(spec.header));
        list->headerItem()->setTextAlignment(c, spec.alignment | Qt::AlignVCenter);
        list->setColumnWidth(c, spec.width);
    }
    list->header()->setSectionsClickable(false);
    list->header()->setStretchLastSection(false);
    list->header()->setFixedHeight(kHeaderHeight);
}

} // namespace

void configureQuoteList(QTreeWidget *list, const SizeLayout &layout,
                        std::function<void(int row, const QString &code)> onCodeEdited)
{
    // A font whose digits fit six to the code column, with its own Chinese glyphs.
    QFont font = list->font();
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(kFontPixels);
    list->setFont(font);
    applyColumns(list, layout);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setAllColumnsShowFocus(true);
    list->setFrameShape(QFrame::NoFrame);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette colours = list->palette();
    colours.setColor(QPalette::Base, kListBackground);
    colours.setColor(QPalette::Text, Qt::black);
    list->setPalette(colours);
    list->setItemDelegate(new CodeEditDelegate(list, std::move(onCodeEdited)));
    list->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
}

ViewQuoteList::ViewQuoteList(QuoteListControls controls, std::vector<Qt::Alignment> alignments)
    : m_controls(controls)
    , m_alignments(std::move(alignments))
    , m_dumpPath(qEnvironmentVariable("LARK_DUMP_LIST"))
{
    m_dumpTimer.setSingleShot(true);
    m_dumpTimer.setInterval(200);
    QObject::connect(&m_dumpTimer, &QTimer::timeout, m_controls.list, [this] { dump(); });
}

// A deletion the next call may still turn into a rewrite of the same row.
struct ViewQuoteList::HeldDelete
{
    int row;
    bool cancelled = false; // both under m_mutex
    bool done = false;
};

// Queued on the list's thread; dropped when the list is gone.
template<typename Work>
void ViewQuoteList::post(Work work)
{
    QMetaObject::invokeMethod(m_controls.list, std::move(work), Qt::QueuedConnection);
}

void ViewQuoteList::deleteAllRows()
{
    std::lock_guard lock(m_mutex);
    m_lastDelete.reset();
    post([this] {
        m_controls.list->clear();
        changed();
    });
}

// The refresh loop replaces a row by deleting and inserting it. When the insertion comes
// before the deletion was carried out, both become one rewrite of the row, which keeps its
// selection and an open code edit.
void ViewQuoteList::deleteRow(int row)
{
    std::lock_guard lock(m_mutex);
    auto held = std::make_shared<HeldDelete>(HeldDelete {row});
    m_lastDelete = held;
    post([this, row, held] {
        {
            std::lock_guard lock(m_mutex);
            if (held->cancelled)
                return;
            held->done = true;
        }
        removeRow(row);
    });
}

void ViewQuoteList::insertRow(int row, const std::string &code)
{
    std::lock_guard lock(m_mutex);
    const bool reuse = m_lastDelete && m_lastDelete->row == row && !m_lastDelete->done;
    if (reuse)
        m_lastDelete->cancelled = true;
    m_lastDelete.reset();
    post([this, row, reuse, code = QString::fromStdString(code)] { placeRow(row, code, reuse); });
}

void ViewQuoteList::setText(int row, int column, const std::string &text)
{
    std::lock_guard lock(m_mutex);
    m_lastDelete.reset();
    post([this, row, column, text = QString::fromStdString(text)] {
        QTreeWidget *list = m_controls.list;
        if (row < 0 || row >= list->topLevelItemCount() || column < 0
            || column >= list->columnCount())
            return;
        list->topLevelItem(row)->setText(column, text);
        changed();
    });
}

void ViewQuoteList::setTextColour(Rgb colour)
{
    std::lock_guard lock(m_mutex);
    m_lastDelete.reset();
    post([this, colour = QColor(colour.red, colour.green, colour.blue)] {
        QPalette colours = m_controls.list->palette();
        if (colours.color(QPalette::Text) == colour)
            return;
        colours.setColor(QPalette::Text, colour);
        m_controls.list->setPalette(colours);
    });
}

void ViewQuoteList::setStatusText(const std::string &text)
{
    std::lock_guard lock(m_mutex);
    m_lastDelete.reset();
    post([this, text = QString::fromStdString(text)] { m_controls.status->setText(text); });
}

void ViewQuoteList::enablePageButton(PageButton button)
{
    std::lock_guard lock(m_mutex);
    m_lastDelete.reset();
    QPushButton *target
        = button == PageButton::Previous ? m_controls.previousPage : m_controls.nextPage;
    post([target] { target->setEnabled(true); });
}

void ViewQuoteList::removeRow(int row)
{
    if (row >= 0 && row < m_controls.list->topLevelItemCount()) {
        delete m_controls.list->takeTopLevelItem(row);
        changed();
    }
}

// A row beyond the end is padded to, so that it stands at its slot's index.
void ViewQuoteList::placeRow(int row, const QString &code, bool reuse)
{
    QTreeWidget *list = m_controls.list;
    if (row < 0)
        return;
    if (reuse && row < list->topLevelItemCount()) {
        QTreeWidgetItem *item = list->topLevelItem(row);
        for (int c = 0; c < list->columnCount(); ++c)
            item->setText(c, c == 0 ? code : QString());
        changed();
        return;
    }
    auto makeRow = [&](const QString &text) {
        auto *item = new QTreeWidgetItem({text});
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        for (int c = 0; c < static_cast<int>(m_alignments.size()); ++c)
            item->setTextAlignment(c, m_alignments[c] | Qt::AlignVCenter);
        return item;
    };
    while (list->topLevelItemCount() < row)
        list->addTopLevelItem(makeRow(QString()));
    list->insertTopLevelItem(row, makeRow(code));
    changed();
}

void ViewQuoteList::changed()
{
    if (!m_dumpPath.isEmpty() && !m_dumpTimer.isActive())
        m_dumpTimer.start();
}

void ViewQuoteList::dump() const
{
    QSaveFile file(m_dumpPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    const QTreeWidget *list = m_controls.list;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        QStringList cells;
        for (int c = 0; c < list->columnCount(); ++c)
            cells << list->topLevelItem(row)->text(c);
        file.write(cells.join(u'\t').toUtf8() + '\n');
    }
    file.commit();
}

} // namespace lark::ui
