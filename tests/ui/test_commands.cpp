// The popup menu of the quote list and the commands behind it, and the tray acknowledgement:
// what each enables, where its values go, and what it starts.
#include "gui/desktop/alert_notifier.h"
#include "gui/dialogs/detail_dialog.h"
#include "gui/dialogs/settings_dialog.h"
#include "gui/view/popup_menu.h"
#include "test_rig.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QtTest>

using namespace lark;
using namespace lark::test;
using namespace lark::ui;

namespace {

constexpr const char *kRankingQuery = "GETORDERHQ";

template<typename T>
T *field(QWidget *dialog, ControlId id)
{
    return dialog->findChild<T *>(id.objectName());
}

QString actionName(Command id)
{
    return QString::number(static_cast<int>(id));
}

QStringList itemTexts(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions()) {
        if (action->menu())
            texts << action->text() + "[" + itemTexts(action->menu()).join(',') + "]";
        else if (!action->isSeparator())
            texts << action->text() + "=" + action->objectName();
    }
    return texts;
}

// The stock code the detail dialog opened by command shows; empty when none opened.
QString detailShownFor(const std::function<void()> &command)
{
    QString code;
    whenOpen<DetailDialog>([&](DetailDialog *dialog) {
        if (QTest::qWaitFor([dialog] { return !dialog->isQueryPending(); }, 10'000))
            code = field<QLabel>(dialog, DetailControl::Code)->text().trimmed();
        dialog->accept();
    });
    command();
    return code;
}

bool isEnabled(const QMenu *menu, Command id)
{
    return menu->findChild<QAction *>(actionName(id))->isEnabled();
}

QPoint rowPoint(WindowRig &rig, int row)
{
    return rig.list()->visualItemRect(rig.list()->topLevelItem(row)).center();
}

// A window whose 16 rows are filled, so the network thread is ready.
void waitUntilFilled(WindowRig &rig)
{
    rig.frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.frame));
    QTRY_COMPARE_WITH_TIMEOUT(rig.filledRows(), 16, 10000);
    QVERIFY(rig.engine().networkReady);
}

void setRanking(QWidget *dialog, bool on)
{
    auto *box = field<QCheckBox>(dialog, SettingsControl::RankingOn);
    if (box->isChecked() != on)
        box->click();
}

} // namespace

class CommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void menuHasItsOrderTextsAndIds();
    void menuEnablingFollowsReadinessAndRow();
    void settingsGoToTheSlotTheDialogNames();
    void settingsRestartsFollowTheRankingChange();
    void detailOpensForTheRowOutsideRankingOnly();
    void pagesHelpAndColour();
    void trayDoubleClickAcknowledgesEvenBeforeAFlash();
    void commandsAreRoutedToFrameAndApplication();
};

void CommandsTest::menuHasItsOrderTextsAndIds()
{
    using C = Command;
    auto item = [](const char *text, Command id) {
        return QString::fromUtf8(text) + "=" + actionName(id);
    };
    std::unique_ptr<QMenu> menu(makePopupMenu({true, true}, nullptr));
    QCOMPARE(itemTexts(menu.get()),
             QStringList({item("设置...", C::Settings), item("详细资料", C::Detail),
                          item("今日提示", C::TodayTip), item("一周备忘", C::WeeklyMemo),
                          item("大界面", C::SizeLarge), item("中界面", C::SizeMedium),
                          item("小界面", C::SizeSmall), item("背景颜色...", C::BackgroundColour),
                          item("最小化", C::Minimise),
                          "帮助[" + item("关于Tamberly...", C::About) + ","
                              + item("使用方法...", C::Help) + "]",
                          item("退出", C::Exit)}));
}

void CommandsTest::menuEnablingFollowsReadinessAndRow()
{
    {
        // The stock lists come late, so the network thread is not ready for a while.
        WindowRig rig(1, Feed::Simulated, [](EngineConfig &, WindowRig &rig) {
            rig.server->injectFault({quoteserver::FaultKind::Delay, "getstkmsg", 3000, 0, 500, 1});
        });
        std::unique_ptr<QMenu> menu(rig.view().makeContextMenu(QPoint(5, 5)));
        QVERIFY(!isEnabled(menu.get(), Command::Settings));
        QVERIFY(isEnabled(menu.get(), Command::TodayTip));
        // The command itself refuses too, without opening anything.
        rig.view().runCommand(Command::Settings);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(!rig.engine().networkReady);
    }
    WindowRig rig;
    waitUntilFilled(rig);
    // On a row: the row's corner as the list reports it (below the 16-pixel header, rows 13
    // pixels high) from the view's origin, plus (50, 50).
    for (int row : {0, 1, 5}) {
        std::unique_ptr<QMenu> onRow(rig.view().makeContextMenu(rowPoint(rig, row)));
        QVERIFY(isEnabled(onRow.get(), Command::Settings));
        QVERIFY(isEnabled(onRow.get(), Command::Detail));
        QCOMPARE(rig.view().contextRow(), row);
        QCOMPARE(rig.view().menuPos(),
                 rig.view().mapToGlobal(QPoint(0, 0)) + QPoint(0, 16 + 13 * row) + QPoint(50, 50));
    }

    // Below the last row: at the cursor, no detail, and the row stays the last one hit.
    const QPoint below(10, rig.list()->viewport()->height() - 2);
    QVERIFY(!rig.list()->itemAt(below));
    QCursor::setPos(QPoint(100, 120));
    std::unique_ptr<QMenu> offRow(rig.view().makeContextMenu(below));
    QVERIFY(!isEnabled(offRow.get(), Command::Detail));
    QCOMPARE(rig.view().contextRow(), 5);
    QCOMPARE(rig.view().menuPos(), QCursor::pos() + QPoint(5, 5));
}

void CommandsTest::settingsGoToTheSlotTheDialogNames()
{
    WindowRig rig;
    waitUntilFilled(rig);
    delete rig.view().makeContextMenu(rowPoint(rig, 2));
    int openedOn = 0;
    whenOpen<SettingsDialog>([&](SettingsDialog *dialog) {
        openedOn = field<QLineEdit>(dialog, SettingsControl::StockIndex)->text().toInt();
        QCOMPARE(field<QLineEdit>(dialog, SettingsControl::StockCode)->text().toStdString(),
                 rig.engine().codeAt(2));
        field<QLineEdit>(dialog, SettingsControl::StockIndex)->setText(" 7 ");
        field<QLineEdit>(dialog, SettingsControl::StockCode)->setText("600123");
        field<QLineEdit>(dialog, SettingsControl::AlarmPrice)->setText("12.5");
        dialog->accept();
    });
    const std::string before = rig.engine().codeAt(2);
    rig.view().runCommand(Command::Settings);
    QCOMPARE(openedOn, 3);
    QCOMPARE(rig.engine().codeAt(6), std::string("600123"));
    QCOMPARE(rig.engine().slotSettings(6).priceAlarm, 12.5f);
    QCOMPARE(rig.engine().codeAt(2), before);
    // On the disk at once, as a start after a crash would read it, not only at exit.
    {
        RegistrySettings afterACrash(rig.registryRoot());
        WatchTables stored;
        std::string version;
        afterACrash.loadSettings(stored, version);
        QCOMPARE(stored.watchCodes[6], std::string("600123"));
    }

    // Cancel changes nothing.
    whenOpen<SettingsDialog>([](SettingsDialog *dialog) {
        field<QLineEdit>(dialog, SettingsControl::StockCode)->setText("000001");
        dialog->reject();
    });
    rig.view().runCommand(Command::Settings);
    QCOMPARE(rig.engine().codeAt(2), before);
}

void CommandsTest::settingsRestartsFollowTheRankingChange()
{
    WindowRig rig;
    waitUntilFilled(rig);
    auto confirm = [&](std::function<void(QWidget *)> change) {
        whenOpen<SettingsDialog>([change](SettingsDialog *dialog) {
            change(dialog);
            dialog->accept();
        });
        rig.view().runCommand(Command::Settings);
    };
    auto rankingRequests = [&] { return rig.server->requestCount(kRankingQuery); };

    confirm([](QWidget *dialog) { setRanking(dialog, true); });
    QTRY_COMPARE_WITH_TIMEOUT(rankingRequests(), uint64_t(1), 5000);
    QTRY_VERIFY(rig.list()->topLevelItemCount() == 16
                && !rig.list()->topLevelItem(0)->text(0).isEmpty());
    QCOMPARE(rig.engine().rankingPage(), 0);
    QVERIFY(!rig.control<QPushButton>(QuoteFormControl::PreviousPage)->isVisible());

    // The same board and key again: nothing starts, the page stays.
    confirm([](QWidget *) {});
    QTest::qWait(300);
    QCOMPARE(rankingRequests(), uint64_t(1));

    // Only the sort key changes: exactly one new pass.
    confirm([](QWidget *dialog) {
        auto *sort = field<QComboBox>(dialog, SettingsControl::SortKey);
        sort->setCurrentIndex((sort->currentIndex() + 1) % sort->count());
    });
    QTRY_COMPARE_WITH_TIMEOUT(rankingRequests(), uint64_t(2), 5000);

    // Ranking off: the watch list comes back through one refresh loop. The loop starts with
    // the shortest pause; then the longest (60 x 20 ms here) goes to the running loop, and one
    // loop asks for each stock at most once in the window below. Two loops would ask twice.
    const std::string quotes = "GetStkOneHQWithName";
    confirm([](QWidget *dialog) { setRanking(dialog, false); });
    // The loop clears the list before it writes the first row again.
    auto firstCode = [&] {
        QTreeWidgetItem *first = rig.list()->topLevelItem(0);
        return first ? first->text(0).trimmed().toStdString() : std::string();
    };
    QTRY_COMPARE_WITH_TIMEOUT(firstCode(), rig.engine().codeAt(0), 5000);
    const uint64_t beforeLongPause = rig.server->requestCount(quotes);
    confirm([](QWidget *dialog) {
        field<QSlider>(dialog, SettingsControl::RefreshSlider)->setValue(60);
    });
    // A whole pass after the change: the pause the loop takes next is the long one, however
    // slowly a busy machine ran the passes before.
    QTRY_VERIFY_WITH_TIMEOUT(rig.server->requestCount(quotes) >= beforeLongPause + 16, 5000);
    const uint64_t start = rig.server->requestCount(quotes);
    QTest::qWait(1100);
    QVERIFY(rig.server->requestCount(quotes) - start <= 16);
    QCOMPARE(rankingRequests(), uint64_t(2));
}

void CommandsTest::detailOpensForTheRowOutsideRankingOnly()
{
    WindowRig rig;
    waitUntilFilled(rig);
    delete rig.view().makeContextMenu(rowPoint(rig, 4));
    QCOMPARE(detailShownFor([&] { rig.view().runCommand(Command::Detail); }),
             QString::fromStdString(rig.engine().codeAt(4)));

    {
        std::lock_guard lock(rig.engine().settingsLock);
        rig.engine().options.rankingOn = 1;
    }
    rig.view().runCommand(Command::Detail);
    QVERIFY(!QApplication::activeModalWidget());
}

void CommandsTest::pagesHelpAndColour()
{
    OpenedTargets opened;
    WindowRig rig;
    rig.view().runCommand(Command::TodayTip);
    rig.view().runCommand(Command::WeeklyMemo);
    rig.view().runCommand(Command::Help);
    QCOMPARE(opened.targets.size(), 3);
    const QString site = QString::fromStdString(rig.engine().webPageUrl(""));
    QCOMPARE(opened.targets[0], site + "/jinribd/jrtishi.asp");
    QCOMPARE(opened.targets[1], site + "/jinribd/yizhoutz.asp");
    const QUrl guide(opened.targets[2]);
    QVERIFY(guide.isLocalFile());
    QFile copy(guide.toLocalFile());
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(copy.readAll()).contains("使用方法"));

    // The dialog starts at the list's colour, and in Chinese.
    whenOpen<QColorDialog>([](QColorDialog *dialog) {
        QCOMPARE(dialog->currentColor(), QColor(29, 56, 119));
        dialog->setCurrentColor(QColor(10, 200, 30));
        dialog->accept();
    });
    rig.view().runCommand(Command::BackgroundColour);
    QCOMPARE(rig.list()->palette().color(QPalette::Base), QColor(10, 200, 30));
    whenOpen<QColorDialog>([](QColorDialog *dialog) {
        QCOMPARE(dialog->currentColor(), QColor(10, 200, 30));
        dialog->reject();
    });
    rig.view().runCommand(Command::BackgroundColour);
    QCOMPARE(rig.list()->palette().color(QPalette::Base), QColor(10, 200, 30));
}

// With flashing off the icon never changes, and the double-click still ends the alert.
void CommandsTest::trayDoubleClickAcknowledgesEvenBeforeAFlash()
{
    OpenedTargets opened;
    WindowRig rig;
    waitUntilFilled(rig);
    // No alert: nothing opens.
    emit rig.view().trayIcon()->activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(!QApplication::activeModalWidget());
    {
        std::lock_guard lock(rig.engine().settingsLock);
        rig.engine().options.flashOn = 0;
        rig.engine().options.ringOn = 0;
        rig.engine().tables.priceAlarm[1] = 0.001f;
    }
    QTRY_COMPARE_WITH_TIMEOUT(rig.engine().activeAlerts(), 1, 10000);
    QTRY_VERIFY(!rig.engine().ringingAlert().empty());
    const std::string code = rig.engine().ringingAlert();
    QCOMPARE(code, rig.engine().codeAt(1));

    bool stoppedWhileOpen = false;
    whenOpen<DetailDialog>([&](DetailDialog *) {
        stoppedWhileOpen = rig.engine().ringingAlert().empty();
        // A second double-click meanwhile opens nothing more.
        emit rig.view().trayIcon()->activated(QSystemTrayIcon::DoubleClick);
    });
    QCOMPARE(detailShownFor(
                 [&] { emit rig.view().trayIcon()->activated(QSystemTrayIcon::DoubleClick); }),
             QString::fromStdString(code));
    QVERIFY(stoppedWhileOpen);
    QTRY_COMPARE(rig.engine().activeAlerts(), 0);
    QVERIFY(rig.engine().ringingAlert().empty());
}

void CommandsTest::commandsAreRoutedToFrameAndApplication()
{
    WindowRig rig;
    QSignalSpy appCommands(&rig.frame, &MainFrame::appCommand);
    rig.view().runCommand(Command::SizeSmall);
    {
        std::lock_guard lock(rig.engine().settingsLock);
        QCOMPARE(rig.engine().nextInterfaceSize, 3);
    }
    QCOMPARE(RegistrySettings(rig.registryRoot()).readInterfaceSize(), 3);
    rig.view().runCommand(Command::About);
    rig.view().runCommand(Command::Exit);
    QCOMPARE(appCommands.size(), 2);
    QCOMPARE(appCommands[0][0].value<Command>(), Command::About);
    QCOMPARE(appCommands[1][0].value<Command>(), Command::Exit);
}

QTEST_MAIN(CommandsTest)
#include "test_commands.moc"
