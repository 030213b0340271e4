// Walking depth-first template trees that only their counts delimit.

#include "runtime/template/template_tree.h"
#include "runtime/template/template_values.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using runtime::TemplateRecord;

// A record of a test tree: its tag (kept in Value, so a visit can be told apart), the number of
// children it announces and its Index.
struct Node {
    int32_t tag;
    int32_t count;
    int32_t index = 0;
};

std::vector<TemplateRecord> Records(const std::vector<Node>& nodes) {
    std::vector<TemplateRecord> records(nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        records[i] = TemplateRecord{};
        records[i].Value = nodes[i].tag;
        records[i].ControlCount = nodes[i].count;
        records[i].Index = nodes[i].index;
    }
    return records;
}

// One visit as "tag<parent-tag@depth", the root's parent written as "-".
std::vector<std::string> Walk(const std::vector<TemplateRecord>& records, std::size_t* length) {
    std::vector<std::string> visits;
    *length = runtime::WalkTemplateTree(
        records.data(), records.size(),
        [&](const TemplateRecord& record, const TemplateRecord* parent, int depth) {
            visits.push_back(std::to_string(record.Value) + "<" +
                             (parent ? std::to_string(parent->Value) : std::string("-")) + "@" +
                             std::to_string(depth));
        });
    return visits;
}

std::vector<int32_t> ChildTags(const std::vector<TemplateRecord>& records, std::size_t at) {
    std::vector<int32_t> tags;
    for (const TemplateRecord& child : runtime::TemplateChildren(&records[at], records.size() - at)) {
        tags.push_back(child.Value);
    }
    return tags;
}

struct TreeCase {
    const char* name;
    std::vector<Node> nodes;
    std::size_t length;                 // records the root's subtree occupies
    std::vector<std::string> visits;    // in walk order
    std::vector<int32_t> rootChildren;  // tags of the root's direct children
};

TEST(TemplateTree, WalksEveryRecordDepthFirstAndFindsEachNextSibling) {
    const TreeCase cases[] = {
        {"a form without controls", {{0, 0}}, 1, {"0<-@0"}, {}},
        {"controls without children", {{0, 3}, {1, 0}, {2, 0}, {3, 0}}, 4,
         {"0<-@0", "1<0@1", "2<0@1", "3<0@1"}, {1, 2, 3}},
        {"a container whose next sibling follows its last descendant",
         {{0, 3}, {1, 0}, {2, 2}, {3, 1}, {4, 0}, {5, 0}, {6, 0}}, 7,
         {"0<-@0", "1<0@1", "2<0@1", "3<2@2", "4<3@3", "5<2@2", "6<0@1"}, {1, 2, 6}},
        {"the last control is a container", {{0, 2}, {1, 0}, {2, 2}, {3, 0}, {4, 0}}, 5,
         {"0<-@0", "1<0@1", "2<0@1", "3<2@2", "4<2@2"}, {1, 2}},
        {"a negative count announces no children", {{0, 2}, {1, -3}, {2, 0}}, 3,
         {"0<-@0", "1<0@1", "2<0@1"}, {1, 2}},
        {"records behind the tree are not part of it", {{0, 1}, {1, 0}, {9, 0}, {9, 0}}, 2,
         {"0<-@0", "1<0@1"}, {1}},
    };
    for (const auto& c : cases) {
        const auto records = Records(c.nodes);
        std::size_t walked = 0;
        EXPECT_EQ(Walk(records, &walked), c.visits) << c.name;
        EXPECT_EQ(walked, c.length) << c.name;
        EXPECT_EQ(runtime::SubtreeLength(records.data(), records.size()), c.length) << c.name;
        EXPECT_EQ(ChildTags(records, 0), c.rootChildren) << c.name;
    }
}

TEST(TemplateTree, ChildrenOfANestedContainer) {
    const auto records = Records({{0, 3}, {1, 0}, {2, 2}, {3, 1}, {4, 0}, {5, 0}, {6, 0}});
    EXPECT_EQ(ChildTags(records, 2), (std::vector<int32_t>{3, 5}));
    EXPECT_EQ(ChildTags(records, 3), (std::vector<int32_t>{4}));
    EXPECT_EQ(ChildTags(records, 1), (std::vector<int32_t>{})) << "count 0 has no children";
    EXPECT_EQ(runtime::SubtreeLength(&records[2], records.size() - 2), 4u);
}

TEST(TemplateTree, CountsThatClaimMissingRecordsGiveNothing) {
    const struct {
        const char* name;
        std::vector<Node> nodes;
    } cases[] = {
        {"the root claims more controls than there are", {{0, 4}, {1, 0}, {2, 0}}},
        {"a nested container claims too many", {{0, 2}, {1, 5}, {2, 0}, {3, 0}}},
    };
    for (const auto& c : cases) {
        const auto records = Records(c.nodes);
        std::size_t walked = 99;
        EXPECT_EQ(Walk(records, &walked), std::vector<std::string>{}) << c.name;
        EXPECT_EQ(walked, 0u) << c.name;
        EXPECT_EQ(runtime::SubtreeLength(records.data(), records.size()), 0u) << c.name;
        EXPECT_EQ(ChildTags(records, 0), std::vector<int32_t>{}) << c.name;
    }
    EXPECT_EQ(runtime::SubtreeLength(nullptr, 5), 0u);
    const auto one = Records({{0, 0}});
    EXPECT_EQ(runtime::SubtreeLength(one.data(), 0), 0u) << "no record available";
}

TEST(TemplateTree, IdentifiersFollowIndexNotRecordOrder) {
    // Like a form whose designer numbered the controls backwards, with a group box in between.
    const auto records = Records({{0, 3}, {1, 0, 8}, {2, 2, 0}, {3, 0, 5}, {4, 0, 6}, {5, 0, 1}});
    std::vector<int32_t> ids;
    runtime::WalkTemplateTree(records.data(), records.size(),
                              [&](const TemplateRecord& record, const TemplateRecord* parent, int) {
                                  if (parent) ids.push_back(runtime::ControlIdFromIndex(record.Index));
                              });
    EXPECT_EQ(ids, (std::vector<int32_t>{1008, 1000, 1005, 1006, 1001}));
}

}  // namespace
