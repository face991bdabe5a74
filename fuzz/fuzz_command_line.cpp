// Lark's command line and environment: the input is NUL-separated pieces, each an argument or,
// as "ENV:NAME=VALUE", an environment variable. Every piece is also parsed as an address alone.

#include "fuzz_check.h"
#include "launch/command_line.h"

#include <algorithm>
#include <map>

using namespace lark;

namespace {

bool hostCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.'
        || c == '-' || c == ':';
}

// An accepted address names a plain host and a port in range, and reads back from its URL.
void checkAddress(const ServerAddress &address)
{
    LARK_FUZZ_CHECK(!address.host.empty());
    LARK_FUZZ_CHECK(std::all_of(address.host.begin(), address.host.end(), hostCharacter));
    LARK_FUZZ_CHECK(address.port >= 1 && address.port <= 65535);
    const std::string url = address.baseUrl();
    LARK_FUZZ_CHECK(url.starts_with("http://"));
    LARK_FUZZ_CHECK(parseServerAddress(std::string_view(url).substr(7)) == address);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t length)
{
    const std::string_view input = fuzz::asBytes(data, length);
    std::vector<std::string> arguments;
    std::map<std::string, std::string> environment;
    for (size_t start = 0; start <= input.size();) {
        const size_t end = std::min(input.find('\0', start), input.size());
        const std::string piece(input.substr(start, end - start));
        start = end + 1;
        if (auto address = parseServerAddress(piece))
            checkAddress(*address);
        const size_t equals = piece.find('=');
        if (piece.starts_with("ENV:") && equals != std::string::npos)
            environment[piece.substr(4, equals - 4)] = piece.substr(equals + 1);
        else
            arguments.push_back(piece);
    }
    const CommandLineResult result
        = parseCommandLine(arguments, [&environment](const char *name) -> const char * {
              auto it = environment.find(name);
              return it == environment.end() ? nullptr : it->second.c_str();
          });
    // One line on a terminal, whatever the arguments held.
    LARK_FUZZ_CHECK(std::none_of(result.error.begin(), result.error.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
    }));
    if (!result.error.empty())
        return 0;
    for (const auto &address :
         {result.options.quoteServer, result.options.chartServer, result.options.webSite}) {
        if (address)
            checkAddress(*address);
    }
    const auto registry = environment.find("LARK_REGISTRY");
    const bool typed
        = std::find(arguments.begin(), arguments.end(), "--registry") != arguments.end();
    if (result.options.registry && !typed)
        LARK_FUZZ_CHECK(result.options.registry->is_absolute() && registry != environment.end());
    return 0;
}
