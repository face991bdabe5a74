#pragma once

#include <QApplication>

#include <memory>

namespace lark {

class CLarkDoc;
class CMainFrame;
class SettingsStore;
struct LaunchSetup;

// The window program: makes document, frame and view, and turns SIGTERM and SIGINT into the
// exit command, so every way of ending closes the window the same way.
class CLarkApp : public QApplication
{
    Q_OBJECT

public:
    CLarkApp(int &argc, char **argv);
    ~CLarkApp() override;

    // Starts the engine in the view and shows the window.
    void initInstance(const LaunchSetup &setup);
    CMainFrame *mainFrame() const { return m_frame.get(); }

    // Commands of the popup menu.
    void onCommand(int id);
    void onAbout();
    void onExit();

private:
    void watchQuitSignals();

    bool m_simulated = false;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<CLarkDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame; // last: it goes first, while the store still exists
};

} // namespace lark
