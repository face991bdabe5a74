// The baseline for the window benchmarks: a bare Qt window of Lark's size and flags showing the
// same 16 x 8 list with Chinese text, every text rewritten every 4 s. What painting the list
// costs, with nothing of Lark's own.
#include <QApplication>
#include <QHeaderView>
#include <QTimer>
#include <QTreeWidget>

#include <array>

namespace {

constexpr int kRows = 16;
const std::array<const char *, 8> kHeaders {"  代码", "    名称", "最新价 ", "成交量  ",
                                            "涨跌  ", "买入  ",   "卖出  ",  "涨跌幅  "};
const std::array<int, 8> kWidths {45, 62, 55, 60, 50, 50, 50, 50};
const std::array<const char *, 4> kNames {"浦发银行", "平安银行", "万科Ａ", "国华网安"};

// Texts like a pass's: a code, a name and figures that move with the pass number.
QStringList rowTexts(int row, int pass)
{
    const double last = 10.0 + row + 0.01 * ((pass * 7 + row * 3) % 50);
    const double change = 0.01 * ((pass * 5 + row) % 40 - 20);
    return {
        QString::asprintf("%06d", 600061 + row), QString::fromUtf8(kNames[row % kNames.size()]),
        QString::asprintf("%6.2f", last),        QString::number(10000 + pass * 37 + row),
        QString::asprintf("%6.2f", change),      QString::asprintf("%6.2f", last - 0.01),
        QString::asprintf("%6.2f", last + 0.01), QString::asprintf("%6.2f", 100 * change / last)};
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window.setWindowTitle(QStringLiteral("ListWindow"));
    window.setGeometry(0, 0, 492, 350);

    QTreeWidget list(&window);
    list.setGeometry(2, 18, 487, 330);
    QFont font = list.font();
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(11);
    list.setFont(font);
    list.setColumnCount(static_cast<int>(kHeaders.size()));
    for (int c = 0; c < list.columnCount(); ++c) {
        list.headerItem()->setText(c, QString::fromUtf8(kHeaders[c]));
        list.setColumnWidth(c, kWidths[c]);
    }
    list.header()->setFixedHeight(16);
    list.setRootIsDecorated(false);
    list.setUniformRowHeights(true);
    list.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette colours = list.palette();
    colours.setColor(QPalette::Base, QColor(29, 56, 119));
    colours.setColor(QPalette::Text, QColor(252, 20, 79));
    list.setPalette(colours);
    for (int row = 0; row < kRows; ++row)
        list.addTopLevelItem(new QTreeWidgetItem(rowTexts(row, 0)));

    int pass = 0;
    QTimer refresh;
    QObject::connect(&refresh, &QTimer::timeout, &list, [&] {
        ++pass;
        for (int row = 0; row < kRows; ++row) {
            const QStringList texts = rowTexts(row, pass);
            for (int c = 0; c < texts.size(); ++c)
                list.topLevelItem(row)->setText(c, texts[c]);
        }
    });
    refresh.start(4000);

    window.show();
    return app.exec();
}
