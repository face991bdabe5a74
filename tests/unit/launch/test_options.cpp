// Options and environment as a hostile or careless caller gives them: only real host names and
// addresses pass, an error is one line naming its option, settings roots are absolute.
#include "launch/command_line.h"
#include "quoteserver/live/live_options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace lark;

namespace {

using Environment = std::map<std::string, std::string>;

// The environment as the program reads it, from the map.
std::function<const char *(const char *)> lookup(const Environment &env)
{
    return [&env](const char *name) -> const char * {
        auto it = env.find(name);
        return it == env.end() ? nullptr : it->second.c_str();
    };
}

CommandLineResult parse(const std::vector<std::string> &arguments, const Environment &env = {})
{
    return parseCommandLine(arguments, lookup(env));
}

} // namespace

TEST(Options, OnlyDnsNamesAndAddressesWithAPortInRangeAreHosts)
{
    const std::pair<const char *, ServerAddress> good[] = {
        {"quotes.example.com", {"quotes.example.com", 80}},
        {"a-b.example:8080", {"a-b.example", 8080}},
        {"localhost.", {"localhost.", 80}},
        {"127.0.0.1:1", {"127.0.0.1", 1}},
        {"[::1]", {"::1", 80}},
        {"[fe80::1:2]:65535", {"fe80::1:2", 65535}},
    };
    for (const auto &[text, address] : good)
        EXPECT_EQ(parseServerAddress(text), address) << text;
    for (const char *bad : {"",         "x;id",       "x y",        "$(id)",      "http://x",
                            "x/y",      "a_b",        "-a.example", "a-.example", "a..b",
                            ".",        "127.0.0.1:", "::1",        "[::1",       "[::1]80",
                            "[x]:80",   "1.2.3",      "256.1.1.1",  "host:0",     "host:65536",
                            "host:+80", "host:-1",    "host:8o",    "[::1]:"}) {
        EXPECT_FALSE(parseServerAddress(bad)) << bad;
    }
    EXPECT_EQ(ServerAddress({"::1", 8080}).baseUrl(), "http://[::1]:8080");
}

TEST(Options, ABadValueIsOneLineNamingItsOptionOrVariable)
{
    struct Case
    {
        std::vector<std::string> arguments;
        Environment env;
        const char *named;
    };
    const Case cases[] = {
        {{"--chart-server", "x;id"}, {}, "--chart-server"},
        {{"--web-site", "127.0.0.1:"}, {}, "--web-site"},
        {{"--quote-server", "a\nb\x1b[2J"}, {}, "--quote-server"},
        {{"--quote-server"}, {}, "--quote-server"},
        {{"--registry", ""}, {}, "--registry"},
        {{"--bogus"}, {}, "--bogus"},
        {{"--market", "e\x01!"}, {}, "market"},
        {{"--autostart", "o\nn"}, {}, "--autostart"},
        {{"--bo\x1b]0;x\x07gus"}, {}, "unknown option"},
        {{}, {{"LARK_MARKET", "live\n"}}, "LARK_MARKET"},
        {{}, {{"LARK_QUOTE_SERVER", "a b"}}, "LARK_QUOTE_SERVER"},
    };
    for (const Case &c : cases) {
        const std::string error = parse(c.arguments, c.env).error;
        EXPECT_NE(error.find(c.named), std::string::npos) << error;
        EXPECT_TRUE(std::none_of(error.begin(), error.end(), [](char ch) {
            return static_cast<unsigned char>(ch) < 0x20 || ch == 0x7f;
        })) << error;
    }
    EXPECT_EQ(parse({"--quote-server", "[::1]:9000"}).options.quoteServer,
              ServerAddress({"::1", 9000}));
}

TEST(Options, FoldersFromTheEnvironmentCountOnlyWhenAbsolute)
{
    auto root
        = [](const Environment &env) { return settingsRoot(parse({}, env).options, lookup(env)); };
    EXPECT_EQ(root({{"LARK_REGISTRY", "/r"}, {"HOME", "/h"}}), "/r");
    EXPECT_EQ(root({{"LARK_REGISTRY", "r"}, {"HOME", "/h"}}), "/h/.config/lark/registry");
    EXPECT_EQ(root({{"XDG_CONFIG_HOME", "/x"}, {"HOME", "/h"}}), "/x/lark/registry");
    EXPECT_EQ(root({{"XDG_CONFIG_HOME", "x"}, {"HOME", "/h"}}), "/h/.config/lark/registry");
    for (const Environment &homeless : {Environment {}, Environment {{"HOME", "h"}}}) {
        const std::filesystem::path fallback = root(homeless); // the account's home
        EXPECT_TRUE(fallback.is_absolute()) << fallback;
        EXPECT_EQ(fallback.filename(), "registry");
    }
    EXPECT_EQ(settingsRoot(parse({"--registry", "here"}).options,
                           [](const char *) { return static_cast<const char *>(nullptr); }),
              "here"); // typed by the user: theirs to mean

    // The live market's cache of board lists follows the same rules.
    auto cache = [](const Environment &env) { return quoteserver::defaultCacheDir(lookup(env)); };
    EXPECT_EQ(cache({{"XDG_CACHE_HOME", "/c"}, {"HOME", "/h"}}), "/c/lark");
    EXPECT_EQ(cache({{"XDG_CACHE_HOME", "c"}, {"HOME", "/h"}}), "/h/.cache/lark");
    EXPECT_TRUE(cache({{"HOME", "h"}}).is_absolute());
}
