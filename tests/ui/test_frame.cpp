// The borderless frame: its size per interface size, the size commands, minimising to the
// tray and back, and closing: prompt, settings saved, even with a question open.
#include "test_rig.h"

#include "gui/lark_app.h"
#include "launch/instance_lock.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QtTest>

using namespace lark;
using namespace lark::ui;
using namespace lark::test;

namespace {

int storedValues(const WindowRig &rig)
{
    int count = 0;
    for (const auto &entry : std::filesystem::directory_iterator(rig.productKey()))
        count += entry.is_regular_file();
    return count;
}

void clickTray(WindowRig &rig)
{
    emit rig.view().trayIcon()->activated(QSystemTrayIcon::Trigger);
}

} // namespace

class FrameTest : public QObject
{
    Q_OBJECT

private slots:
    void outerSizePerSize_data();
    void outerSizePerSize();
    void sizeCommandsTakeEffectAtNextStart();
    void minimiseHidesAndTrayClickRestores();
    void trayClickTogglesVisibilityAfterAlertFlash();
    void closingIsPromptAndSaves();
    void closingWithQuestionOpenDoesNotHang();
    void closingSaysSoWhenTheSaveFailed();
    void aSecondStartBringsTheWindowForward();
    void toolkitButtonsSpeakChinese();
};

void FrameTest::outerSizePerSize_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QSize>("outer");
    QTest::newRow("large") << 1 << QSize(492, 350);
    QTest::newRow("medium") << 2 << QSize(352, 217);
    QTest::newRow("small") << 3 << QSize(252, 165);
}

void FrameTest::outerSizePerSize()
{
    QFETCH(int, size);
    QFETCH(QSize, outer);
    WindowRig rig(size, Feed::Nothing);
    rig.frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.frame));
    QCOMPARE(rig.frame.frameGeometry(), QRect(QPoint(0, 0), outer));
    QCOMPARE(rig.view().geometry(), QRect(QPoint(0, 0), outer));
    QVERIFY(rig.frame.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(rig.frame.windowFlags() & Qt::WindowStaysOnTopHint);
}

void FrameTest::sizeCommandsTakeEffectAtNextStart()
{
    WindowRig chosen(2, Feed::Nothing);
    chosen.frame.onSizeSmall();
    chosen.frame.onSizeLarge();
    QCOMPARE(chosen.frame.size(), QSize(352, 217));
    chosen.frame.close();
    QCOMPARE(chosen.settings.readInterfaceSize(), 1);

    WindowRig unchanged(2, Feed::Nothing);
    unchanged.frame.close();
    QCOMPARE(unchanged.settings.readInterfaceSize(), 2);
}

void FrameTest::minimiseHidesAndTrayClickRestores()
{
    WindowRig rig(1, Feed::Nothing);
    rig.frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.frame));
    rig.frame.onMinimise();
    QTRY_VERIFY(!rig.frame.isVisible());
    clickTray(rig);
    QTRY_VERIFY(rig.frame.isVisible());
    QVERIFY(!rig.frame.isMinimized());
    clickTray(rig);
    QTRY_VERIFY(!rig.frame.isVisible());
    QVERIFY(rig.frame.isMinimized());
}

void FrameTest::trayClickTogglesVisibilityAfterAlertFlash()
{
    OpenedTargets opened;
    WindowRig rig;
    rig.frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.frame));
    QTRY_COMPARE_WITH_TIMEOUT(rig.filledRows(), 16, 10000);
    const qint64 quietIcon = rig.view().trayIcon()->icon().cacheKey();
    {
        std::lock_guard lock(rig.engine().settingsLock);
        rig.engine().tables.priceAlarm[0] = 0.001f;
    }
    QTRY_VERIFY_WITH_TIMEOUT(rig.view().trayIcon()->icon().cacheKey() != quietIcon, 10000);
    QCOMPARE(opened.targets.size(), 1); // the alarm's chart page

    clickTray(rig);
    QTRY_VERIFY(!rig.frame.isVisible());
    QVERIFY(!rig.frame.isMinimized());
    clickTray(rig);
    QTRY_VERIFY(rig.frame.isVisible());
}

void FrameTest::closingIsPromptAndSaves()
{
    WindowRig rig;
    rig.frame.show();
    QTRY_COMPARE_WITH_TIMEOUT(rig.filledRows(), 16, 10000);
    QElapsedTimer clock;
    clock.start();
    rig.frame.close();
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(storedValues(rig), 66);
    QVERIFY(!rig.view().trayIcon()->isVisible());
}

// On the 19th the engine asks whether to download a newer version; closing the window while
// that question is open must neither wait for an answer nor take the download for granted.
void FrameTest::closingWithQuestionOpenDoesNotHang()
{
    OpenedTargets opened;
    WindowRig rig(1, Feed::Simulated, [](EngineConfig &config, WindowRig &self) {
        self.server->setVersionText("version=2.1");
        config.clock = [] {
            std::tm time {};
            time.tm_mday = 19;
            time.tm_hour = 10;
            return time;
        };
    });
    rig.frame.show();
    QString question;
    qint64 closingTook = -1;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || closingTook >= 0)
            return;
        question = box->text();
        QElapsedTimer clock;
        clock.start();
        rig.frame.close();
        closingTook = clock.elapsed();
    });
    watch.start(20);
    QTRY_VERIFY_WITH_TIMEOUT(closingTook >= 0, 10000);
    QCOMPARE(question, QStringLiteral("请下载新版Tamberly! 最新版本是version=2.1"));
    QVERIFY2(closingTook < 1000, qPrintable(QString::number(closingTook)));
    QCOMPARE(storedValues(rig), 66);
    QVERIFY(opened.targets.filter("tamberly.zip").isEmpty());
}

// Something in a value's place that is not a value: it stays, and the user hears of it once.
void FrameTest::closingSaysSoWhenTheSaveFailed()
{
    WindowRig rig(1, Feed::Nothing, [](EngineConfig &, WindowRig &self) {
        std::filesystem::create_directories(self.productKey() / "3");
    });
    QSignalSpy notSaved(&rig.frame, &MainFrame::settingsNotSaved);
    rig.frame.show();
    rig.frame.close();
    QCOMPARE(notSaved.count(), 1);
    QVERIFY(std::filesystem::is_directory(rig.productKey() / "3"));
    QCOMPARE(storedValues(rig), 65);
}

void FrameTest::aSecondStartBringsTheWindowForward()
{
    WindowRig rig(1, Feed::Nothing);
    const InstanceLock first(rig.registryRoot());
    rig.frame.restoreWhenTouched(
        QString::fromStdString(InstanceLock::lockFile(rig.registryRoot()).string()));
    rig.frame.show();
    rig.frame.onMinimise();
    QTRY_VERIFY(!rig.frame.isVisible());
    const InstanceLock second(rig.registryRoot());
    QVERIFY(second.heldElsewhere());
    QTRY_VERIFY(rig.frame.isVisible());
}

QTEST_MAIN(FrameTest)
// Last: the translation stays installed for the rest of the run.
void FrameTest::toolkitButtonsSpeakChinese()
{
    QVERIFY(installToolkitTranslations(*qApp));
    QMessageBox box(QMessageBox::Question, QString(), QString(),
                    QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
}

#include "test_frame.moc"
