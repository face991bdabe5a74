// The desktop side of the engine: pages, tone, tray picture and questions, carried out on the
// user-interface thread.
#include "gui/controls/hyperlink.h"
#include "gui/desktop/tone_player.h"
#include "gui/view/view_ports.h"

#include <QApplication>
#include <QMessageBox>

#include <optional>

namespace lark::ui {

ViewDesktop::ViewDesktop(QObject *context, std::function<void(TrayPicture)> showTrayPicture,
                         std::function<void()> showGlance)
    : m_context(context)
    , m_showTrayPicture(std::move(showTrayPicture))
    , m_showGlance(std::move(showGlance))
{ }

void ViewDesktop::openUrl(const std::string &url)
{
    QMetaObject::invokeMethod(
        m_context, [target = QString::fromStdString(url)] { HyperLink::openTarget(target); },
        Qt::QueuedConnection);
}

// On the alert's own thread: the next cycle must wait for the tone's end, and a window that
// closes cuts it short rather than wait for the sound server's buffer.
void ViewDesktop::playTone(int hertz, int milliseconds)
{
    if (!closing())
        ui::playTone(hertz, milliseconds, [this] { return closing(); });
}

void ViewDesktop::setTrayPicture(TrayPicture picture)
{
    QMetaObject::invokeMethod(
        m_context, [this, picture] { m_showTrayPicture(picture); }, Qt::QueuedConnection);
}

void ViewDesktop::glanceChanged()
{
    QMetaObject::invokeMethod(
        m_context, [this] { m_showGlance(); }, Qt::QueuedConnection);
}

// The worker waits here, not in a blocking queued call, so a window that closes meanwhile
// (and joins this worker) never waits on itself.
bool ViewDesktop::askOkCancel(const std::string &text)
{
    auto answer = std::make_shared<std::optional<bool>>();
    QMetaObject::invokeMethod(
        m_context,
        [this, answer, question = QString::fromStdString(text)] {
            const bool ok = ask(question);
            std::lock_guard lock(m_mutex);
            *answer = ok;
            m_wake.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [&] { return m_closing || answer->has_value(); });
    return answer->value_or(false);
}

void ViewDesktop::close()
{
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_wake.notify_all();
    if (m_question)
        m_question->reject();
}

bool ViewDesktop::ask(const QString &text)
{
    if (closing())
        return false;
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text,
                    QMessageBox::Ok | QMessageBox::Cancel);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    m_question = &box;
    return box.exec() == QMessageBox::Ok && !closing();
}

bool ViewDesktop::closing()
{
    std::lock_guard lock(m_mutex);
    return m_closing;
}

} // namespace lark::ui
