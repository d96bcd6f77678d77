// Which rows a find text matches: the fields searched and the case rule.

#include <gtest/gtest.h>

#include "vault/ItemList.h"

namespace {

TEST(ItemFindTest, FindsTextInLocationUrlUserIdAndHintIgnoringAsciiCase) {
    const CMemoryItemList::Row row = {"Bank of Kent", "https://EXAMPLE.org", "Kate",
                                      "Älter ask", "secret note", "Passw0rd"};
    const struct {
        const char* text;
        bool found;
    } cases[] = {
        {"", true},         {"bank", true},   {"OF K", true},    {"example.ORG", true},
        {"kaTE", true},     {"ask", true},    {"Älter", true},   {"älter", false},
        {"note", false},    {"passw0rd", false}, {"Kate!", false}, {"bank of kent!", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RowMatchesFind(row, FoldAsciiCase(c.text)), c.found) << c.text;
    }
}

}  // namespace
