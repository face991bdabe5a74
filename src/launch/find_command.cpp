#include "launch/find_command.h"

#include "base/terminal_text.h"
#include "launch/launch_setup.h"
#include "lookup/directory_listings.h"
#include "lookup/instrument_directory.h"
#include "protocol/quote_session.h"
#include "protocol/stock_messages.h"
#include "quoteserver/quote_server.h"

namespace lark {
namespace {

constexpr size_t kMostPrinted = 20;

} // namespace

int runFind(const CommandLine &options,
            const std::function<const char *(const char *)> &environment, std::ostream &out,
            std::ostream &err)
{
    LaunchSetup setup;
    chooseQuoteServer(options, environment, setup);
    QuoteSession session(setup.quoteServer);
    const StockLists lists = session.connect() ? fetchStockMessages(session) : StockLists {};
    if (!lists.loaded()) {
        err << "lark: the quote server sent no stock lists\n";
        return 1;
    }
    const InstrumentDirectory directory(directoryListings(lists));
    const std::vector<Match> matches = directory.find(*options.find, kMostPrinted);
    for (const Match &m : matches) {
        const Listing &l = m.listing;
        out << terminalText(l.code) << '\t' << terminalText(l.name) << '\t'
            << exchangeName(l.exchange) << '\t' << kindName(l.kind) << '\n';
    }
    return matches.empty() ? 1 : 0;
}

} // namespace lark
