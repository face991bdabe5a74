#pragma once

#include "gui/forms.h"
#include "gui/resource_ids.h"

#include <QApplication>

#include <memory>

namespace lark {
class RegistrySettings;
struct LaunchSetup;
} // namespace lark

namespace lark::ui {

class LarkDoc;
class MainFrame;

// Qt's own Chinese texts for the toolkit's dialogs and buttons; false when they are not
// installed.
bool installToolkitTranslations(QCoreApplication &app);

// The window program: makes document, frame and view, and turns SIGTERM, SIGINT and SIGHUP into
// the exit command, so every way of ending closes the window the same way.
class LarkApp : public QApplication
{
    Q_OBJECT

public:
    LarkApp(int &argc, char **argv);
    ~LarkApp() override;

    // Starts the engine in the view and shows the window.
    void initInstance(const LaunchSetup &setup);
    MainFrame *mainFrame() const { return m_frame.get(); }

    // Commands of the popup menu.
    void onCommand(Command id);
    void onAbout();
    void onExit();

private:
    void watchQuitSignals();
    void reportUnsavedSettings();

    FigureSource m_figures = FigureSource::QuoteServer;
    bool m_quitBySignal = false;
    std::unique_ptr<RegistrySettings> m_settings;
    std::unique_ptr<LarkDoc> m_doc;
    std::unique_ptr<MainFrame> m_frame; // last: it goes first, while the settings still exist
};

} // namespace lark::ui
