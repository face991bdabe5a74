// The link control and the About dialog.
#include "gui/controls/hyperlink.h"
#include "gui/dialogs/about_dialog.h"

#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using namespace lark::ui;

namespace {

struct Recorder
{
    explicit Recorder(int result)
    {
        previous = HyperLink::setTargetOpener([this, result](const QString &target) {
            targets << target;
            return result;
        });
    }
    ~Recorder() { HyperLink::setTargetOpener(previous); }

    QStringList targets;
    TargetOpener previous;
};

void hover(HyperLink &link, QPoint point)
{
    QMouseEvent move(QEvent::MouseMove, point, link.mapToGlobal(point), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&link, &move);
}

void leave(HyperLink &link)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(&link, &event);
}

} // namespace

class HyperlinkTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void coloursFollowHoverFocusAndHistory();
    void opensOnReleaseOrOnPress();
    void failedOpenIsReportedAndLinkStaysUnvisited();
    void failureMessages_data();
    void failureMessages();
    void changeLinkStyleRefusesSharedBit();
    void commandCutAtPlaceholder_data();
    void commandCutAtPlaceholder();
    void attachTakesTextAsTargetAndFits();
    void aboutDialogHasBothLinks();
};

void HyperlinkTest::initTestCase()
{
    QApplication::setApplicationName(QStringLiteral("Lark"));
}

void HyperlinkTest::coloursFollowHoverFocusAndHistory()
{
    Recorder opened(42);
    QWidget host;
    auto *button = new QPushButton(QStringLiteral("OK"), &host);
    auto *link = new HyperLink(QStringLiteral("halvern.example"), &host);
    link->move(0, 40);
    link->attach();
    button->setFocus();
    host.show();
    host.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&host));
    auto shown = [&] { return link->palette().color(QPalette::WindowText); };
    QCOMPARE(shown(), HyperLink::linkColour);

    hover(*link, QPoint(2, 2));
    QCOMPARE(shown(), HyperLink::linkColour); // no hover colour by default
    QVERIFY(link->changeLinkStyle(0, HyperLink::LinkHoverColour, true));
    QCOMPARE(shown(), HyperLink::hoverColour);
    leave(*link);
    QCOMPARE(shown(), HyperLink::linkColour);

    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(opened.targets, QStringList {"halvern.example"});
    QVERIFY(link->hasFocus());
    QCOMPARE(shown(), HyperLink::activeColour);
    link->clearFocus();
    QCOMPARE(shown(), HyperLink::visitedColour);
    hover(*link, QPoint(2, 2));
    QCOMPARE(shown(), HyperLink::hoverColour);
    hover(*link, QPoint(-5, 2));
    link->changeLinkStyle(0, HyperLink::LinkNoActiveColour, true);
    link->setFocus();
    QCOMPARE(shown(), HyperLink::visitedColour);
}

void HyperlinkTest::opensOnReleaseOrOnPress()
{
    Recorder opened(42);
    HyperLink link(QStringLiteral("page"));
    link.attach();
    QTest::mousePress(&link, Qt::LeftButton, {}, QPoint(2, 2));
    QVERIFY(opened.targets.isEmpty());
    QTest::mouseRelease(&link, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(opened.targets.size(), 1);

    QVERIFY(link.changeLinkStyle(0, HyperLink::LinkFollowOnPress, true));
    QTest::mousePress(&link, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(opened.targets.size(), 2);
    QTest::mouseRelease(&link, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(opened.targets.size(), 2);
    QTest::keyClick(&link, Qt::Key_Space);
    QCOMPARE(opened.targets.size(), 3);
}

void HyperlinkTest::failedOpenIsReportedAndLinkStaysUnvisited()
{
    Recorder opened(2);
    HyperLink link(QStringLiteral("missing.htm"));
    link.attach();
    QString caption, text;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        caption = box->windowTitle();
        text = box->text();
        box->accept();
    });
    link.followTarget();
    QCOMPARE(caption, QStringLiteral("Lark"));
    QCOMPARE(text, QStringLiteral("Can't open link:\n\nThe specified file was not found."));
    QVERIFY(!link.isVisited());
    QCOMPARE(link.textColour(), HyperLink::linkColour);
}

void HyperlinkTest::failureMessages_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("2") << 2 << "Can't open link:\n\nThe specified file was not found.";
    QTest::newRow("31") << 31
                        << "Can't open link:\n\nThere is no application associated\nwith the "
                           "given filename extension.";
    QTest::newRow("17") << 17 << "Can't open link:\n\nUnknown Error (17) occurred.";
    QTest::newRow("26 keeps its blank")
        << 26 << "Can't open link:\n\nA sharing violation occurred. ";
}

void HyperlinkTest::failureMessages()
{
    QFETCH(int, code);
    QFETCH(QString, message);
    QCOMPARE(openFailureMessage(code), message);
}

void HyperlinkTest::changeLinkStyleRefusesSharedBit()
{
    HyperLink link(QStringLiteral("x"));
    link.attach();
    QCOMPARE(link.linkStyle(), 0x15u);
    QVERIFY(!link.changeLinkStyle(HyperLink::LinkHoverColour | HyperLink::LinkUnderline,
                                  HyperLink::LinkHoverColour, true));
    QCOMPARE(link.linkStyle(), 0x15u);
    QVERIFY(link.font().underline());
    QVERIFY(link.changeLinkStyle(HyperLink::LinkUnderline, HyperLink::LinkHoverColour, true));
    QCOMPARE(link.linkStyle(), 0x16u);
    QVERIFY(!link.font().underline());
}

void HyperlinkTest::commandCutAtPlaceholder_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("cut");
    QTest::newRow("quoted placeholder goes with its quote")
        << "\"/usr/lib/firefox-esr/firefox-esr\" -nohome \"%u\""
        << "\"/usr/lib/firefox-esr/firefox-esr\" -nohome ";
    QTest::newRow("plain placeholder") << "chromium %U --flag"
                                       << "chromium ";
    QTest::newRow("quoted before plain") << "browser %f \"%F\""
                                         << "browser %f ";
    QTest::newRow("no placeholder") << "browser --new-window"
                                    << "browser --new-window";
}

void HyperlinkTest::commandCutAtPlaceholder()
{
    QFETCH(QString, command);
    QFETCH(QString, cut);
    QCOMPARE(cutAtPlaceholder(command), cut);
}

void HyperlinkTest::attachTakesTextAsTargetAndFits()
{
    QWidget host;
    auto *link = new HyperLink(QStringLiteral("Orvale"), &host);
    link->setGeometry(20, 30, 200, 40);
    link->attach();
    QCOMPARE(link->target(), QStringLiteral("Orvale"));
    QCOMPARE(link->toolTip(), QStringLiteral("Orvale"));
    QVERIFY(link->font().underline());
    const QFontMetrics metrics(link->font());
    QCOMPARE(link->geometry(),
             QRect(20, 30, metrics.horizontalAdvance(QStringLiteral("Orvale")), metrics.height()));

    auto *empty = new HyperLink(QString(), &host);
    empty->attach();
    QVERIFY(empty->target().isEmpty());
    QVERIFY(empty->text().isEmpty());
}

void HyperlinkTest::aboutDialogHasBothLinks()
{
    AboutDialog about(FigureSource::Simulated, QStringLiteral("http://127.0.0.1:8080/"));
    QCOMPARE(about.windowTitle(), QStringLiteral("关于Tamberly"));
    QCOMPARE(about.webLink()->objectName(), ControlId(AboutControl::WebLink).objectName());
    QCOMPARE(about.webLink()->text(), QStringLiteral("halvern.example"));
    QCOMPARE(about.webLink()->target(), QStringLiteral("http://127.0.0.1:8080/"));
    QVERIFY(about.webLink()->linkStyle() & HyperLink::LinkHoverColour);
    QCOMPARE(about.mailLink()->target(), QStringLiteral("mailto:support@halvern.example"));
    QVERIFY(!about.mailLink()->pixmap().isNull());
    QCOMPARE(about.mailLink()->linkStyle() & 0x0f,
             unsigned(HyperLink::LinkUnderline | HyperLink::LinkHoverColour
                      | HyperLink::LinkFollowOnPress));
    bool notice = false;
    for (QLabel *label : about.findChildren<QLabel *>())
        notice |= label->text() == QStringLiteral("模拟行情");
    QVERIFY(notice);
}

QTEST_MAIN(HyperlinkTest)
#include "test_hyperlink.moc"
