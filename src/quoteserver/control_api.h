#pragma once

#include <map>
#include <string>
#include <string_view>

namespace lark::quoteserver {

class QuoteServer;

struct ControlAnswer
{
    int status = 200;
    std::string text = "ok";
};

// Carries out one /control/ request on the server through its public interface.
// command is the path after "/control/"; params the key=value arguments.
ControlAnswer handleControl(QuoteServer &server, std::string_view command,
                            const std::multimap<std::string, std::string> &params);

// The endpoints, for --help.
const char *controlUsage();

} // namespace lark::quoteserver
