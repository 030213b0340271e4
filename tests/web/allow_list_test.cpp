// The allow list of --allow: the lists it reads and refuses, and the peers it serves.
#include "app/web/allow_list.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr std::uint32_t Ip(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    return (a << 24) | (b << 16) | (c << 8) | d;
}

TEST(AllowList, ReadsNetworksAndServesOnlyTheirPeers) {
    const struct {
        const char* text;
        std::vector<std::uint32_t> allowed;
        std::vector<std::uint32_t> refused;
    } cases[] = {
        {"127.0.0.2", {Ip(127, 0, 0, 2)}, {Ip(127, 0, 0, 1), Ip(127, 0, 0, 3)}},
        {"192.168.1.0/24", {Ip(192, 168, 1, 0), Ip(192, 168, 1, 255)}, {Ip(192, 168, 2, 1)}},
        // Host bits under the mask are cleared: the network is 10.1.0.0/16.
        {"10.1.2.3/16", {Ip(10, 1, 200, 7)}, {Ip(10, 2, 0, 1)}},
        {"0.0.0.0/0", {Ip(0, 0, 0, 0), Ip(255, 255, 255, 255)}, {}},
        {"127.0.0.1,192.168.0.0/16,10.0.0.8/31",
         {Ip(127, 0, 0, 1), Ip(192, 168, 7, 7), Ip(10, 0, 0, 9)},
         {Ip(127, 0, 0, 2), Ip(10, 0, 0, 10)}},
        {"1.2.3.4/32", {Ip(1, 2, 3, 4)}, {Ip(1, 2, 3, 5)}},
        {"128.0.0.0/1", {Ip(200, 1, 1, 1)}, {Ip(127, 255, 255, 255)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        web::AllowList list;
        ASSERT_TRUE(web::ParseAllowList(c.text, list));
        for (std::uint32_t a : c.allowed) EXPECT_TRUE(list.Allows(a)) << std::hex << a;
        for (std::uint32_t a : c.refused) EXPECT_FALSE(list.Allows(a)) << std::hex << a;
    }
    EXPECT_TRUE(web::AllowList{}.Allows(Ip(8, 8, 8, 8))) << "no list serves every peer";
}

TEST(AllowList, RefusesMalformedListsAndLeavesTheListAsItWas) {
    std::string tooMany;
    for (int i = 0; i <= static_cast<int>(web::kMaxAllowEntries); ++i) tooMany += (i ? ",10.0.0." : "10.0.0.") + std::to_string(i);
    const std::string refused[] = {
        "", ",", "127.0.0.1,", ",127.0.0.1", "127.0.0.1,,10.0.0.1", "127.0.0.1/", "127.0.0.1/33",
        "127.0.0.1/-1", "127.0.0.1/8/8", "127.0.0.1/008", "127.0.0", "127.0.0.1.1", "256.0.0.1",
        "localhost", "127.0.0.1 ", "::1", tooMany,
    };
    for (const std::string& text : refused) {
        web::AllowList list;
        ASSERT_TRUE(web::ParseAllowList("1.2.3.4", list));
        const web::AllowList before = list;
        EXPECT_FALSE(web::ParseAllowList(text, list)) << "\"" << text << "\"";
        EXPECT_EQ(list, before) << "\"" << text << "\"";
    }
    web::AllowList full;
    EXPECT_TRUE(web::ParseAllowList(tooMany.substr(tooMany.find(',') + 1), full)) << "sixteen entries fit";
    EXPECT_EQ(full.count, web::kMaxAllowEntries);
}

}  // namespace
