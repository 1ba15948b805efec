// Card numbers and card codes.
#include <gtest/gtest.h>

#include <set>

#include "cards/CardMod.h"

namespace quorrel {
namespace {

TEST(Cards, DetermineCardMapsTheFourBlocksAndNothingOutside) {
    const std::pair<int, const char*> expected[] = {{1, "AS"},  {10, "10S"}, {13, "KS"}, {14, "AD"},  {26, "KD"},
                                                    {27, "AC"}, {36, "10C"}, {40, "AH"}, {49, "10H"}, {52, "KH"},
                                                    {0, ""},    {53, ""},    {-1, ""},   {11, "JS"},  {25, "QD"}};
    for (const auto& [number, code] : expected) EXPECT_EQ(DetermineCard(number), code) << number;
}

TEST(Cards, EveryCardNumberGivesADistinctCodeThatReadsBack) {
    std::set<std::string> codes;
    for (int n = 1; n <= 52; ++n) {
        const std::string code = DetermineCard(n);
        EXPECT_EQ(code.find(' '), std::string::npos) << code;
        codes.insert(code);
        const int rank = (n - 1) % 13 + 1;
        EXPECT_EQ(GetCardValue(code), rank) << code;
        const int block = (n - 1) / 13;  // spades, diamonds, clubs, hearts
        EXPECT_EQ(CardColor(code), block == 0 || block == 2 ? 2 : 1) << code;
        EXPECT_EQ(BuildCardString(rank, code), code);
        EXPECT_EQ(CardNumber(code), n);
    }
    for (const char* noCard : {"", "S", "1S", "11S", "010S", "?S", "0S", "10X", "as", "AS ", " AS", "KSS"})
        EXPECT_EQ(CardNumber(noCard), 0) << noCard;
    EXPECT_EQ(codes.size(), 52u);
}

TEST(Cards, CardColorReadsOnlyTheUpperCaseSuitLetter) {
    EXPECT_EQ(CardColor("KS"), 2);
    EXPECT_EQ(CardColor("10C"), 2);
    EXPECT_EQ(CardColor("AD"), 1);
    EXPECT_EQ(CardColor("10H"), 1);
    EXPECT_EQ(CardColor(""), 0);
    EXPECT_EQ(CardColor("ks"), 0);
    EXPECT_EQ(CardColor("KS "), 0);  // a code ending in a blank has no suit
}

TEST(Cards, GetCardValueTreatsEveryLengthButTwoAsATen) {
    EXPECT_EQ(GetCardValue("10D"), 10);
    EXPECT_EQ(GetCardValue("AH"), 1);
    EXPECT_EQ(GetCardValue("KC"), 13);
    EXPECT_EQ(GetCardValue("QC"), 12);
    EXPECT_EQ(GetCardValue("JD"), 11);
    EXPECT_EQ(GetCardValue("7S"), 7);
    EXPECT_EQ(GetCardValue(""), 10);
    EXPECT_EQ(GetCardValue("7"), 10);
    EXPECT_EQ(GetCardValue("10HX"), 10);
    EXPECT_EQ(GetCardValue("XS"), 0);
    EXPECT_EQ(GetCardValue("kS"), 0);  // case-sensitive
}

TEST(Cards, BuildCardStringTakesOnlyTheSuitOfTheGivenCode) {
    EXPECT_EQ(BuildCardString(1, "7S"), "AS");
    EXPECT_EQ(BuildCardString(13, "QC"), "KC");
    EXPECT_EQ(BuildCardString(10, "9D"), "10D");
    EXPECT_EQ(BuildCardString(12, "10H"), "QH");
    EXPECT_EQ(BuildCardString(10, "KS"), "10S");
}

}  // namespace
}  // namespace quorrel
