#include "gui/view/lark_view.h"

#include "gui/controls/clock_label.h"
#include "gui/controls/hyperlink.h"
#include "gui/desktop/alert_notifier.h"
#include "gui/forms.h"
#include "gui/view/view_ports.h"

#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>
#include <QWindow>

namespace lark::ui {
namespace {

const QColor kFormColour(29, 56, 119);
// How soon a ringing alert shows again as a notification, where no tray icon can, once the
// user has closed it; rare work, so no hurry.
constexpr auto kAlertWatchInterval = std::chrono::seconds(1);

QWidget *makeQuoteList(const ControlTemplate &, QWidget *parent)
{
    auto *list = new QTreeWidget(parent);
    list->setAccessibleName(QStringLiteral("行情列表"));
    list->hide(); // the first layout shows it
    return list;
}

QWidget *makeClock(const ControlTemplate &, QWidget *parent)
{
    return new ClockLabel(parent);
}

QWidget *makeSiteLink(const ControlTemplate &control, QWidget *parent)
{
    return new HyperLink(QString::fromUtf8(control.text), parent);
}

} // namespace

LarkView::LarkView(QWidget *frame)
    : QWidget(frame)
{
    loadResources();
    using C = QuoteFormControl;
    const auto controls = buildDialog(this, quoteFormTemplate(),
                                      {{C::QuoteList, makeQuoteList},
                                       {C::ClockText, makeClock},
                                       {C::SiteNameLink, makeSiteLink}});
    m_clockText = control<ClockLabel>(controls, C::ClockText);
    m_statusText = control<QLabel>(controls, C::StatusText);
    m_prevPageButton = control<QPushButton>(controls, C::PreviousPage);
    m_nextPageButton = control<QPushButton>(controls, C::NextPage);
    m_siteNameLink = control<HyperLink>(controls, C::SiteNameLink);
    m_quoteList = control<QTreeWidget>(controls, C::QuoteList);
    for (QWidget *hidden : std::initializer_list<QWidget *> {m_clockText, m_statusText,
                                                             m_prevPageButton, m_nextPageButton})
        hidden->hide();
    m_siteNameLink->attach();
    setMouseTracking(true);
    connect(m_quoteList, &QTreeWidget::itemDoubleClicked, this, &LarkView::openChart);
    m_quoteList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_quoteList, &QWidget::customContextMenuRequested, this, &LarkView::openContextMenu);
}

LarkView::~LarkView()
{
    shutdown();
}

void LarkView::initialUpdate(EngineConfig config, std::function<std::string()> marketText)
{
    m_layout = &sizeLayout(validInterfaceSize(config.interfaceSize));
    m_siteNameLink->changeLinkStyle(0, HyperLink::LinkHoverColour, true);
    setUpTrayIcon();
    m_clockText->setClock(config.clock);
    m_background = QIcon(picturePath(m_layout->background)).pixmap(m_layout->backgroundSize);
    const QSize outer = frameOuterSize(*m_layout);
    window()->setFixedSize(outer);
    window()->move(0, 0);
    move(0, 0);
    setFixedSize(outer);
    configureQuoteList(
        m_quoteList, *m_layout,
        [this](int row, const QString &code) { storeEditedCode(row, code); }, codeDirectory());
    createEngine(std::move(config));
    // The link names the site; it opens the site rather than a file called by its name.
    m_siteNameLink->setTarget(QString::fromStdString(m_engine->webPageUrl("/")));
    m_marketText = std::move(marketText);
    showGlance();
    layOutControls();
    // The list, not the link, has the keyboard first: a focused link would show as active.
    m_quoteList->setFocus();
    m_engine->start();
}

void LarkView::createEngine(EngineConfig config)
{
    std::vector<Qt::Alignment> alignments;
    for (const ColumnSpec &column : m_layout->columns)
        alignments.push_back(column.alignment);
    m_listPort = std::make_unique<ViewQuoteList>(
        QuoteListControls {m_quoteList, m_statusText, m_prevPageButton, m_nextPageButton},
        std::move(alignments));
    m_desktopPort = std::make_unique<ViewDesktop>(
        this, [this](TrayPicture picture) { showTrayPicture(picture); }, [this] { showGlance(); });
    m_engine = std::make_unique<Engine>(std::move(config), *m_listPort, *m_desktopPort);
}

void LarkView::shutdown()
{
    if (!m_engine)
        return;
    m_closing = true;
    m_alertWatch.stop();
    if (m_modal)
        m_modal->reject();
    m_notifier->withdraw();
    m_desktopPort->close();
    m_engine->stop();
    if (m_trayIcon)
        m_trayIcon->hide();
}

void LarkView::setNextInterfaceSize(int size)
{
    m_engine->chooseNextInterfaceSize(size);
}

void LarkView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), kFormColour);
    painter.drawPixmap(0, 0, m_background);
}

void LarkView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOutControls();
}

void LarkView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_layout) {
        switch (zoneAt(*m_layout, event->position().toPoint())) {
        case ViewZone::DragStrip:
            beginDrag(event->globalPosition().toPoint());
            break;
        case ViewZone::PreviousPage:
            turnPage(-1);
            break;
        case ViewZone::NextPage:
            turnPage(1);
            break;
        case ViewZone::None:
            break;
        }
    }
    QWidget::mousePressEvent(event);
}

void LarkView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        window()->move(event->globalPosition().toPoint() - m_dragOffset);
    updateCursor(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

void LarkView::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    QWidget::mouseReleaseEvent(event);
}

void LarkView::setUpTrayIcon()
{
    m_trayIcon = new QSystemTrayIcon(QIcon(picturePath(IconId::Program)), this);
    m_trayIcon->setToolTip(QString::fromLatin1(kProgramName));
    connect(m_trayIcon, &QSystemTrayIcon::activated, this, &LarkView::onTrayActivated);
    m_trayIcon->show();
    m_notifier = new AlertNotifier([this] { acknowledgeAlerts(); }, this);
    connect(&m_alertWatch, &QTimer::timeout, this, &LarkView::watchAlertWithoutTray);
    m_alertWatch.setInterval(kAlertWatchInterval);
}

// A double-click acknowledges whether or not an alert has flashed the icon yet: an alert with
// flashing off would otherwise ring until the program ends.
void LarkView::onTrayActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger)
        emit trayLeftClicked(m_alertHasFlashed);
    else if (reason == QSystemTrayIcon::DoubleClick)
        acknowledgeAlerts();
}

void LarkView::showTrayPicture(TrayPicture picture)
{
    const bool alert = picture == TrayPicture::Alert;
    m_alertHasFlashed = m_alertHasFlashed || alert;
    m_trayIcon->setIcon(QIcon(picturePath(alert ? IconId::Alert : IconId::Program)));
}

// Before the size is known nothing is placed.
void LarkView::layOutControls()
{
    if (!m_layout)
        return;
    const ControlPlaces places = controlPlaces(*m_layout, size());
    auto place = [](QWidget *control, const QRect &where, bool visible) {
        control->setGeometry(where);
        control->raise();
        control->setVisible(visible);
    };
    place(m_quoteList, places.list, true);
    place(m_siteNameLink, places.link, true);
    place(m_clockText, places.clock, false);
    place(m_statusText, places.status, false);
    m_clockText->setEnabled(m_layout->size != 3);
}

// The window system moves the window where it can; otherwise the view follows the mouse.
void LarkView::beginDrag(QPoint globalPoint)
{
    QWindow *handle = window()->windowHandle();
    if (handle && handle->startSystemMove())
        return;
    m_dragging = true;
    m_dragOffset = globalPoint - window()->pos();
}

// The pass the engine starts enables the buttons again, on this thread and so after this.
void LarkView::turnPage(int step)
{
    if (!m_engine->turnRankingPage(step))
        return;
    m_prevPageButton->setEnabled(false);
    m_nextPageButton->setEnabled(false);
}

void LarkView::updateCursor(QPoint point)
{
    const ViewZone zone = m_layout ? zoneAt(*m_layout, point) : ViewZone::None;
    if (zone == ViewZone::DragStrip)
        setCursor(Qt::SizeAllCursor);
    else if (zone != ViewZone::None && m_engine->optionsSnapshot().rankingOn)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

void LarkView::openChart(QTreeWidgetItem *item)
{
    const QString code = item->text(0).trimmed();
    if (!code.isEmpty())
        HyperLink::openTarget(QString::fromStdString(m_engine->chartUrl(code.toStdString())));
}

DirectoryRequest LarkView::codeDirectory()
{
    return [this](std::function<void()> whenReady) {
        return m_engine->instrumentDirectory(std::move(whenReady));
    };
}

void LarkView::storeEditedCode(int row, const QString &code)
{
    m_engine->setCode(row, code.left(kCodeLength).toStdString());
}

} // namespace lark::ui
