#include "gui/view/view_ports.h"

#include "gui/controls/code_completion.h"
#include "gui/forms.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QRegularExpressionValidator>
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
    CodeEditDelegate(QObject *parent, std::function<void(int, const QString &)> onEdited,
                     DirectoryRequest offerCodes)
        : QStyledItemDelegate(parent)
        , m_onEdited(std::move(onEdited))
        , m_offerCodes(std::move(offerCodes))
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
        if (m_offerCodes)
            new CodeCompletion(editor, m_offerCodes);
        return editor;
    }

    // The open list of codes sees the editor's keys first: Enter and Esc are its own then.
    bool eventFilter(QObject *editor, QEvent *event) override
    {
        auto *completion
            = editor->findChild<CodeCompletion *>(QString(), Qt::FindDirectChildrenOnly);
        if (completion && completion->takeKey(event))
            return true;
        return QStyledItemDelegate::eventFilter(editor, event);
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
    DirectoryRequest m_offerCodes;
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
                        std::function<void(int row, const QString &code)> onCodeEdited,
                        DirectoryRequest offerCodes)
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
    list->setItemDelegate(
        new CodeEditDelegate(list, std::move(onCodeEdited), std::move(offerCodes)));
    list->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
}

} // namespace lark::ui
