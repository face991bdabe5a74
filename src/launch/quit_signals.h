#pragma once

namespace lark {

// Routes every signal that ends a run with the settings saved to handler: SIGINT, SIGTERM and
// SIGHUP (a closed terminal or an ended session). restartCalls: system calls the signal
// interrupts start again (SA_RESTART) rather than fail with EINTR.
void onQuitSignals(void (*handler)(int), bool restartCalls);

} // namespace lark
