#include "launch/quit_signals.h"

#include <csignal>
#include <initializer_list>

namespace lark {

void onQuitSignals(void (*handler)(int), bool restartCalls)
{
    struct sigaction action
    {
    };
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = restartCalls ? SA_RESTART : 0;
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
}

} // namespace lark
