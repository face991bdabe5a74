#pragma once

#include "gui/resource_ids.h"

#include <QWidget>

namespace lark::ui {

class LarkView;

// The borderless, always-on-top window at the top-left corner of the screen. The view fills
// it and gives it its size; minimising hides it, so only the tray icon brings it back.
class MainFrame : public QWidget
{
    Q_OBJECT

public:
    MainFrame();

    LarkView *view() const { return m_view; }

    // Commands of the popup menu. The sizes take effect at the next start.
    void onSizeLarge();
    void onSizeMedium();
    void onSizeSmall();
    void onMinimise();
    // Routes a popup menu command the view left to the frame; the rest go to the application.
    void onCommand(Command id);
    // Shown, raised and active (see restore()) whenever the file is touched.
    void restoreWhenTouched(const QString &file);

signals:
    // About and exit, for the application object.
    void appCommand(lark::ui::Command id);
    // After the view has shut down; settingsNotSaved first when its save failed.
    void settingsNotSaved();
    void closed();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void onTrayLeftClicked(bool alertHasFlashed);
    // Shown, raised and active, also from the tray or minimised.
    void restore();

    LarkView *m_view;
    bool m_minimised = false;
};

} // namespace lark::ui
