#include "gui/main_frame.h"

#include "gui/forms.h"
#include "gui/view/lark_view.h"

#include <QCloseEvent>
#include <QFileSystemWatcher>

namespace lark::ui {

MainFrame::MainFrame()
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_view(new LarkView(this))
{
    // Never shown as a caption; it names the window to task switchers and screen readers.
    setWindowTitle(QString::fromLatin1(kProgramName));
    setAccessibleName(QString::fromLatin1(kProgramName));
    connect(m_view, &LarkView::trayLeftClicked, this, &MainFrame::onTrayLeftClicked);
    connect(m_view, &LarkView::frameCommand, this, &MainFrame::onCommand);
}

void MainFrame::onCommand(Command id)
{
    switch (id) {
    case Command::SizeLarge:
        onSizeLarge();
        break;
    case Command::SizeMedium:
        onSizeMedium();
        break;
    case Command::SizeSmall:
        onSizeSmall();
        break;
    case Command::Minimise:
        onMinimise();
        break;
    default:
        emit appCommand(id);
    }
}

void MainFrame::onSizeLarge()
{
    m_view->setNextInterfaceSize(1);
}

void MainFrame::onSizeMedium()
{
    m_view->setNextInterfaceSize(2);
}

void MainFrame::onSizeSmall()
{
    m_view->setNextInterfaceSize(3);
}

void MainFrame::onMinimise()
{
    showMinimized();
}

void MainFrame::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        m_minimised = true;
        // Hiding inside the state change would fight the window system's own handling.
        QMetaObject::invokeMethod(this, &QWidget::hide, Qt::QueuedConnection);
    }
}

void MainFrame::closeEvent(QCloseEvent *event)
{
    m_view->shutdown();
    event->accept();
    if (m_view->engine().settingsSaveFailed())
        emit settingsNotSaved();
    emit closed();
}

// Until an alert has flashed the icon a click restores a minimised window or minimises a shown
// one; from then on it hides a shown window or shows a hidden one.
void MainFrame::onTrayLeftClicked(bool alertHasFlashed)
{
    if (alertHasFlashed) {
        if (isVisible())
            hide();
        else
            restore();
    } else if (m_minimised || isMinimized()) {
        restore();
    } else {
        onMinimise();
    }
}

void MainFrame::restore()
{
    m_minimised = false;
    showNormal();
    raise();
    activateWindow();
}

void MainFrame::restoreWhenTouched(const QString &file)
{
    auto *watcher = new QFileSystemWatcher({file}, this);
    connect(watcher, &QFileSystemWatcher::fileChanged, this, &MainFrame::restore);
}

} // namespace lark::ui
