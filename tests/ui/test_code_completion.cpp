#include "gui/controls/code_completion.h"
#include "gui/dialogs/settings_dialog.h"
#include "gui/forms.h"
#include "gui/view/view_ports.h"

#include <QLineEdit>
#include <QTreeWidget>
#include <QtTest>

#include <memory>
#include <mutex>
#include <thread>

using namespace lark;
using namespace lark::ui;

namespace {

// As the lists name them: the simulated market's index-like entries, the live market's stocks
// (tests/data/live/boards_*.json).
std::shared_ptr<const InstrumentDirectory> marketDirectory()
{
    using E = Exchange;
    using K = InstrumentKind;
    return std::make_shared<const InstrumentDirectory>(std::vector<Listing> {
        {"000001", "平安银行", E::Shenzhen, K::Stock},
        {"000002", "万  科Ａ", E::Shenzhen, K::Stock},
        {"1A0001", "上证指数", E::Shanghai, K::Index},
        {"1A0002", "Ａ股指数", E::Shanghai, K::Index},
        {"600061", "国投资本", E::Shanghai, K::Stock},
    });
}

// A directory that is still being built when first asked for, and is finished, as the engine's
// is, on another thread that then tells whoever waits.
class LateDirectory
{
public:
    DirectoryRequest request()
    {
        return [this](std::function<void()> whenReady) {
            std::lock_guard lock(m_mutex);
            if (whenReady)
                m_waiting.push_back(std::move(whenReady));
            return m_directory;
        };
    }
    void finish()
    {
        std::thread builder([this] {
            std::vector<std::function<void()>> waiting;
            {
                std::lock_guard lock(m_mutex);
                m_directory = marketDirectory();
                waiting.swap(m_waiting);
            }
            for (const auto &tell : waiting)
                tell();
        });
        builder.join();
    }

private:
    std::mutex m_mutex;
    std::shared_ptr<const InstrumentDirectory> m_directory;
    std::vector<std::function<void()>> m_waiting;
};

QTreeWidget *listOf(QLineEdit *field)
{
    return field->findChild<QTreeWidget *>(QStringLiteral("codeCompletion"));
}

QStringList rowTexts(const QTreeWidget *list)
{
    QStringList rows;
    for (int k = 0; k < list->topLevelItemCount(); ++k) {
        const QTreeWidgetItem *item = list->topLevelItem(k);
        rows << item->text(0) + ' ' + item->text(1) + ' ' + item->text(2);
    }
    return rows;
}

void press(QWidget *field, const QList<Qt::Key> &keys)
{
    for (Qt::Key key : keys)
        QTest::keyClick(field, key);
}

} // namespace

class TestCodeCompletion : public QObject
{
    Q_OBJECT

private slots:
    void settingsCodeField_data();
    void settingsCodeField();
    void clickChoosesARow();
    void quoteListEditorKeepsItsEnterAndEscForTheList();
};

void TestCodeCompletion::settingsCodeField_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QList<Qt::Key>>("keys");
    QTest::addColumn<QString>("field");

    const QStringList payh {QStringLiteral("000001 平安银行 深圳")};
    QTest::newRow("initials, Down, Enter fills the code")
        << "payh" << payh << QList {Qt::Key_Down, Qt::Key_Return} << "000001";
    QTest::newRow("Esc leaves the field as typed")
        << "payh" << payh << QList {Qt::Key_Down, Qt::Key_Escape} << "payh";
    QTest::newRow("Down stops at the last row, Up goes back")
        << "1a00"
        << QStringList {QStringLiteral("1A0001 上证指数 上海"),
                        QStringLiteral("1A0002 Ａ股指数 上海")}
        << QList {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Return} << "1A0001";
    QTest::newRow("an unknown code is marked and cannot be chosen")
        << "600068" << QStringList {QStringLiteral("600068 无此代码 ")}
        << QList {Qt::Key_Down, Qt::Key_Escape} << "600068";
}

// The list appears once the directory is built, the keys pick from it, and the dialog never
// sees an Enter or Esc the list took.
void TestCodeCompletion::settingsCodeField()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, shown);
    QFETCH(QList<Qt::Key>, keys);
    QFETCH(QString, field);

    LateDirectory directory;
    SettingsDialog dialog(settingsRecord(0, SlotSettings {"600061"}, Options {}));
    dialog.offerCodes(directory.request());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *code = dialog.findChild<QLineEdit *>(ControlId(SettingsControl::StockCode).objectName());
    code->setFocus();
    code->clear();
    QTest::keyClicks(code, typed);
    QVERIFY(!listOf(code)->isVisible());
    directory.finish();
    QTRY_VERIFY(listOf(code)->isVisible());
    QCOMPARE(rowTexts(listOf(code)), shown);

    press(code, keys);
    QCOMPARE(code->text(), field);
    QVERIFY(!listOf(code)->isVisible());
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), 0);
}

void TestCodeCompletion::clickChoosesARow()
{
    LateDirectory directory;
    directory.finish();
    QLineEdit field;
    new CodeCompletion(&field, directory.request());
    field.show();
    QVERIFY(QTest::qWaitForWindowExposed(&field));
    QTest::keyClicks(&field, "1A");
    QTreeWidget *list = listOf(&field);
    QTRY_VERIFY(list->isVisible());
    QCOMPARE(list->topLevelItemCount(), 2);
    const QRect second = list->visualItemRect(list->topLevelItem(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(field.text(), QStringLiteral("1A0002"));
    QVERIFY(!list->isVisible());
}

// In the quote list's code editor, Enter and Esc belong to the open list first: Enter writes
// the chosen code and a second one confirms it; Esc closes the list and a second one cancels.
void TestCodeCompletion::quoteListEditorKeepsItsEnterAndEscForTheList()
{
    LateDirectory directory;
    directory.finish();
    QStringList confirmed;
    QTreeWidget quotes;
    configureQuoteList(
        &quotes, sizeLayout(3),
        [&](int row, const QString &code) { confirmed << QString::number(row) + ':' + code; },
        directory.request());
    auto *item = new QTreeWidgetItem(&quotes, {QStringLiteral("600061")});
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    quotes.resize(250, 80);
    quotes.show();
    QVERIFY(QTest::qWaitForWindowExposed(&quotes));

    for (const bool confirm : {true, false}) {
        quotes.editItem(item, 0);
        auto *editor = quotes.findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->clear();
        QTest::keyClicks(editor, "payh");
        QTRY_VERIFY(listOf(editor)->isVisible());
        press(editor, {Qt::Key_Down, confirm ? Qt::Key_Return : Qt::Key_Escape});
        QCOMPARE(editor->text(), confirm ? QStringLiteral("000001") : QStringLiteral("payh"));
        QVERIFY(confirmed.isEmpty() || !confirm);
        press(editor, {confirm ? Qt::Key_Return : Qt::Key_Escape});
        QTRY_VERIFY(!quotes.findChild<QLineEdit *>());
    }
    QCOMPARE(confirmed, QStringList {QStringLiteral("0:000001")});
}

QTEST_MAIN(TestCodeCompletion)
#include "test_code_completion.moc"
