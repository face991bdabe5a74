#pragma once

// A window on a fresh settings tree for the widget tests, fed by the simulated quote server
// (or by nothing, when it must stay without data), and a recorder for the pages it opens.

#include "gui/controls/hyperlink.h"
#include "gui/dialogs/control_id.h"
#include "gui/main_frame.h"
#include "gui/view/lark_view.h"
#include "launch/registry_settings.h"
#include "quoteserver/quote_server.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <memory>

namespace lark::test {

// Keeps what the program opens instead of starting a browser.
class OpenedTargets
{
public:
    explicit OpenedTargets(int result = 42)
    {
        m_previous = ui::HyperLink::setTargetOpener([this, result](const QString &target) {
            targets << target;
            return result;
        });
    }
    ~OpenedTargets() { ui::HyperLink::setTargetOpener(m_previous); }

    QStringList targets; // the opener runs on the user-interface thread only

private:
    ui::TargetOpener m_previous;
};

// Runs work on the modal dialog of type T as soon as it is open; the command that opens it
// runs meanwhile in the caller.
template<typename T>
void whenOpen(std::function<void(T *)> work)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, work] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            work(dialog);
        }
    });
    timer->start();
}

enum class Feed { Simulated, Nothing };

struct WindowRig
{
    using Adjust = std::function<void(EngineConfig &, WindowRig &)>;

    explicit WindowRig(int size = 1, Feed feed = Feed::Simulated, const Adjust &adjust = {})
        : settings(registryRoot())
        , marketText(feed == Feed::Simulated ? "模拟行情" : "")
    {
        settings.prepare();
        EngineConfig config;
        // Nothing listens on port 1, so the engine ends up without data at once.
        config.quoteServer = {"127.0.0.1", 1};
        if (feed == Feed::Simulated) {
            server = std::make_unique<quoteserver::QuoteServer>();
            config.quoteServer.port = server->start();
        }
        config.chartServer = config.quoteServer;
        config.webSite = config.quoteServer;
        config.interfaceSize = size;
        config.settings = &settings;
        config.pauseUnit = std::chrono::milliseconds(20);
        config.flashPhase = std::chrono::milliseconds(20);
        if (adjust)
            adjust(config, *this);
        frame.view()->initialUpdate(std::move(config), [this] { return marketText; });
    }

    std::filesystem::path registryRoot() const
    {
        return std::filesystem::path(dir.path().toStdString()) / "registry";
    }
    std::filesystem::path productKey() const
    {
        return registryRoot() / "SOFTWARE" / "halvern" / "tamberly";
    }

    ui::LarkView &view() { return *frame.view(); }
    Engine &engine() { return view().engine(); }
    template<typename T>
    T *control(ui::QuoteFormControl id)
    {
        return frame.findChild<T *>(ui::ControlId(id).objectName());
    }
    QTreeWidget *list() { return control<QTreeWidget>(ui::QuoteFormControl::QuoteList); }

    // Rows whose name column the engine has filled.
    int filledRows()
    {
        int filled = 0;
        for (int row = 0; row < list()->topLevelItemCount(); ++row)
            filled += !list()->topLevelItem(row)->text(1).isEmpty();
        return filled;
    }

    QTemporaryDir dir;
    RegistrySettings settings;
    std::string marketText; // what the launch would say of the market; adjust may change it
    std::unique_ptr<quoteserver::QuoteServer> server;
    ui::MainFrame frame; // last: its engine stops before the server and the settings go
};

} // namespace lark::test
