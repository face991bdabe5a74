#pragma once

#include "launch/command_line.h"

#include <functional>
#include <ostream>

namespace lark {

// lark --find TEXT: asks the quote server (the built-in one unless one is given) for its stock
// lists and prints the instruments TEXT matches, best first, at most 20, a line each: code,
// name, market, kind, tab-separated, as a terminal may show them. Needs no settings and no
// display. 0 when something matched; 1 when nothing did or the lists did not arrive.
int runFind(const CommandLine &options,
            const std::function<const char *(const char *)> &environment, std::ostream &out,
            std::ostream &err);

} // namespace lark
