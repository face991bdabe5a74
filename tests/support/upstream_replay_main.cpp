// lark-upstream-replay DATA_DIR [--list-flood ROWS]: the public quote services replayed from
// recorded replies on a free loopback port, for scripts; with --list-flood every list page
// carries ROWS rows. Prints "listening on URL", serves until SIGINT or SIGTERM, then prints how
// many requests of each kind it answered and the bytes of their bodies ("KIND REQUESTS BYTES");
// SIGUSR1 prints the same so far and goes on.
#include "upstream_replay.h"

#include <csignal>
#include <cstdio>
#include <string>

int main(int argc, char **argv)
{
    const bool flood = argc == 4 && std::string(argv[2]) == "--list-flood";
    if (argc != 2 && !flood) {
        std::fprintf(stderr, "usage: lark-upstream-replay DATA_DIR [--list-flood ROWS]\n");
        return 2;
    }
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    lark::test::UpstreamReplay replay(argv[1]);
    if (flood)
        replay.setListFlood(std::stoul(argv[3]));
    replay.start();
    std::printf("listening on %s\n", replay.url().c_str());
    std::fflush(stdout);
    // What was asked, for the script that ends it or asks.
    for (;;) {
        int signal = 0;
        sigwait(&signals, &signal);
        for (const char *kind :
             {"quotes", "sina", "history", "bars", "minutes", "lists", "ranking"})
            std::printf("%s %zu %zu\n", kind, replay.count(kind), replay.bytes(kind));
        std::fflush(stdout);
        if (signal != SIGUSR1)
            return 0;
    }
}
