// lark-upstream-replay DATA_DIR: the public quote services replayed from recorded replies on
// a free loopback port, for scripts. Prints "listening on URL", serves until killed.
#include "upstream_replay.h"

#include <csignal>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: lark-upstream-replay DATA_DIR\n");
        return 2;
    }
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    lark::test::UpstreamReplay replay(argv[1]);
    replay.start();
    std::printf("listening on %s\n", replay.url().c_str());
    std::fflush(stdout);
    int signal = 0;
    sigwait(&signals, &signal);
    return 0;
}
