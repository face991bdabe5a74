#include "support/engine_fixture.h"

#include "protocol/quote_record.h"

using namespace lark;
using namespace lark::test;

using InstrumentLookup = EngineFixture;

// The directory is built at the first ask once the lists are in, and everything it offers on
// the simulated market is what the market quotes under that code and name.
TEST_F(InstrumentLookup, OffersWhatTheMarketQuotes)
{
    Engine &e = startEngine();
    ASSERT_TRUE(waitForRows(16));
    AutoResetEvent ready;
    ASSERT_EQ(e.instrumentDirectory([&] { ready.set(); }), nullptr);
    ASSERT_TRUE(ready.waitFor(std::chrono::seconds(30)));
    const auto directory = e.instrumentDirectory();
    ASSERT_NE(directory, nullptr);

    QuoteSession session {config.quoteServer};
    ASSERT_TRUE(session.connect());
    size_t checked = 0;
    for (const char *typed : {"1A", "399", "510300", "159915", "6000", "000", "9009", "200"}) {
        const auto matches = directory->find(typed, 4);
        ASSERT_FALSE(matches.empty()) << typed;
        for (const Match &m : matches) {
            QuoteRecord quote;
            ASSERT_EQ(fetchQuote(session, m.listing.code, quote), QuoteOutcome::Valid)
                << m.listing.code;
            EXPECT_EQ(quote.name, m.listing.name) << m.listing.code;
            ++checked;
        }
    }
    EXPECT_GE(checked, 20u);
}
