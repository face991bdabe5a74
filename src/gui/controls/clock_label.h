#pragma once

#include "engine/local_clock.h"

#include <QLabel>
#include <QTimer>

namespace lark::ui {

// The view's clock: "H:M:S" without leading zeros. While shown it follows the clock at each
// whole second; while hidden, as every size keeps it, it never wakes. User-interface thread.
class ClockLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ClockLabel(QWidget *parent = nullptr);

    void setClock(LocalClock clock);
    // The time now, shown or not.
    QString timeText() const;
    bool isTicking() const { return m_tick.isActive(); }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void tick();

    LocalClock m_clock = systemLocalTime;
    QTimer m_tick;
};

} // namespace lark::ui
