#include "gui/controls/clock_label.h"

#include <chrono>
#include <cstdio>

namespace lark::ui {
namespace {

// Until just after the next whole second of the wall clock.
std::chrono::milliseconds untilNextSecond()
{
    using namespace std::chrono;
    const auto intoSecond
        = duration_cast<milliseconds>(system_clock::now().time_since_epoch()) % seconds(1);
    return seconds(1) - intoSecond + milliseconds(1);
}

} // namespace

ClockLabel::ClockLabel(QWidget *parent)
    : QLabel(parent)
{
    m_tick.setSingleShot(true);
    m_tick.setTimerType(Qt::PreciseTimer);
    connect(&m_tick, &QTimer::timeout, this, &ClockLabel::tick);
}

void ClockLabel::setClock(LocalClock clock)
{
    m_clock = std::move(clock);
    if (isVisible())
        tick();
}

QString ClockLabel::timeText() const
{
    const std::tm time = m_clock();
    char text[16];
    std::snprintf(text, sizeof text, "%d:%d:%d", time.tm_hour, time.tm_min, time.tm_sec);
    return QString::fromLatin1(text);
}

void ClockLabel::showEvent(QShowEvent *event)
{
    QLabel::showEvent(event);
    tick();
}

void ClockLabel::hideEvent(QHideEvent *event)
{
    QLabel::hideEvent(event);
    m_tick.stop();
}

void ClockLabel::tick()
{
    setText(timeText());
    m_tick.start(untilNextSecond());
}

} // namespace lark::ui
