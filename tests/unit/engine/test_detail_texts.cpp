#include "engine/detail_texts.h"
#include "protocol/wire_format.h"

#include <gtest/gtest.h>

#include <map>

using namespace lark;
using D = DetailControl;

TEST(DetailTexts, FundsShowThousandthsAndFiguresTheWireCouldNotCarryNoNumber)
{
    QuoteRecord r;
    r.previousClose = 3900;
    r.last = 3912;
    r.bid1Price = 3911;
    r.volume = 272478144;
    r.amount = 1066053376;
    std::tm tenThirty {};
    tenThirty.tm_hour = 10;
    tenThirty.tm_min = 30;
    auto texts = [&](const char *code) {
        std::map<D, std::string> byId;
        for (const auto &[id, text] : detailTexts(r, code, 0, tenThirty))
            byId[id] = text;
        return byId;
    };
    const auto fund = texts("510300");
    EXPECT_EQ(fund.at(D::Last), "3.912 ");
    EXPECT_EQ(fund.at(D::Bid1Price), "3.911 ");
    EXPECT_EQ(fund.at(D::Change), "0.012 ");
    EXPECT_EQ(fund.at(D::Volume), "2724781");
    EXPECT_EQ(fund.at(D::Amount), "106605.34");
    EXPECT_EQ(texts("600061").at(D::Last), "3.91  ");

    r.volume = r.amount = wire::kNotCarried;
    const auto index = texts("1A0001");
    EXPECT_EQ(index.at(D::Volume), "---");
    EXPECT_EQ(index.at(D::Amount), "---");
    EXPECT_EQ(index.at(D::VolumeRatio), "  0.00");
}
