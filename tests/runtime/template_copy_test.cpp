// Copying template trees into runtime records, with a store that keeps its records, arrays and
// texts in tables.

#include "runtime/template/template_copy.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using runtime::RuntimeRecord;
using runtime::TemplateRecord;

class TableStore final : public runtime::TemplateCopyStore {
public:
    // The allocation of the n-th record (counted from 0) fails; -1 for none.
    int failRecord = -1;
    bool failArrays = false;

    RuntimeRecord* NewRecord(uint32_t* slot) override {
        if (recordsAsked_++ == failRecord) return nullptr;
        *slot = NextSlot();
        return (records_[*slot] = std::make_unique<RuntimeRecord>()).get();
    }
    uint32_t* NewChildArray(uint32_t entries, uint32_t* slot) override {
        if (failArrays) return nullptr;
        *slot = NextSlot();
        return (arrays_[*slot] = std::vector<uint32_t>(entries, 0)).data();
    }
    uint32_t CopyText(uint32_t reference, RuntimeRecord* captionRecord) override {
        const uint32_t slot = NextSlot();
        texts_[slot] = "text " + std::to_string(reference);
        if (captionRecord != nullptr) captionRecord->CaptionLength = static_cast<int32_t>(texts_[slot].size());
        return slot;
    }
    RuntimeRecord* RecordAt(uint32_t slot) { return records_.at(slot).get(); }
    uint32_t* ChildArrayAt(uint32_t slot) { return arrays_.at(slot).data(); }

    std::size_t Live() const { return records_.size() + arrays_.size() + texts_.size(); }
    std::size_t LiveRecords() const { return records_.size(); }
    // The text a slot refers to, "-" for none.
    std::string TextAt(uint32_t slot) const {
        const auto found = texts_.find(slot);
        return found == texts_.end() ? "-" : found->second;
    }
    // The Index values of a record's children, in array order.
    std::vector<int32_t> ChildIndexes(const RuntimeRecord& record) {
        std::vector<int32_t> indexes;
        if (record.Children == 0) return indexes;
        for (const uint32_t* child = ChildArrayAt(record.Children); *child != 0; ++child) {
            indexes.push_back(RecordAt(*child)->Index);
        }
        return indexes;
    }
    RuntimeRecord& Child(const RuntimeRecord& record, std::size_t position) {
        return *RecordAt(ChildArrayAt(record.Children)[position]);
    }

private:
    uint32_t NextSlot() { return next_ += 0x100; }
    uint32_t next_ = 0x10000;
    int recordsAsked_ = 0;
    std::map<uint32_t, std::unique_ptr<RuntimeRecord>> records_;
    std::map<uint32_t, std::vector<uint32_t>> arrays_;
    std::map<uint32_t, std::string> texts_;
};

// A template record tagged by its Index, announcing `count` children, with distinct text
// references derived from the tag.
TemplateRecord Record(int32_t index, int32_t count, int32_t type = 5) {
    TemplateRecord record{};
    record.Index = index;
    record.ControlCount = count;
    record.Type = type;
    record.FontName = 0x100 + static_cast<uint32_t>(index);
    record.Text = 0x200 + static_cast<uint32_t>(index);
    record.ToolTipText = 0x300 + static_cast<uint32_t>(index);
    record.Self = 0xABCD0000u + static_cast<uint32_t>(index);
    record.Left = 10 * index;
    return record;
}

// Form (index 100, window kind) with A(1); G(2) holding G1(21) and G2(22), G2 holding G2a(221);
// and B(3).
std::vector<TemplateRecord> NestedForm() {
    std::vector<TemplateRecord> records{Record(100, 3, 3), Record(1, 0), Record(2, 2, 6), Record(21, 0),
                                        Record(22, 1, 12), Record(221, 0), Record(3, 0)};
    records[0].Menu = 101;
    return records;
}

TEST(TemplateCopy, CopiesTheTreeIntoChildArraysInRecordOrder) {
    const std::vector<TemplateRecord> templates = NestedForm();
    TableStore store;
    RuntimeRecord* form = runtime::CopyFormTemplate(templates[0], templates.data(), store);
    ASSERT_NE(form, nullptr);

    EXPECT_EQ(store.ChildIndexes(*form), (std::vector<int32_t>{1, 2, 3}));
    RuntimeRecord& group = store.Child(*form, 1);
    EXPECT_EQ(store.ChildIndexes(group), (std::vector<int32_t>{21, 22}));
    EXPECT_EQ(store.ChildIndexes(store.Child(group, 1)), (std::vector<int32_t>{221}));
    EXPECT_EQ(store.ChildIndexes(store.Child(*form, 0)), std::vector<int32_t>{}) << "a leaf has no array";
    EXPECT_EQ(store.Child(*form, 0).Children, 0u);
}

TEST(TemplateCopy, RecordsKeepTheirSlotsAndGetRuntimeTexts) {
    const std::vector<TemplateRecord> templates = NestedForm();
    TableStore store;
    RuntimeRecord* form = runtime::CopyFormTemplate(templates[0], templates.data(), store);
    ASSERT_NE(form, nullptr);

    EXPECT_EQ(form->Left, 1000);
    EXPECT_EQ(form->Self, 0u) << "no template address stays in the copy";
    EXPECT_EQ(form->ToolTip, 0u);
    EXPECT_EQ(form->Menu, 101u) << "a form's slot 144 is its menu, not a text";
    EXPECT_EQ(store.TextAt(form->FontName), "text 356");
    EXPECT_EQ(store.TextAt(form->Text), "text 612");
    EXPECT_EQ(form->CaptionLength, 8) << "the caption's length";

    const RuntimeRecord& picture = store.Child(store.Child(*form, 1), 1);
    EXPECT_EQ(picture.Index, 22);
    EXPECT_EQ(picture.Type, 12);
    EXPECT_EQ(picture.Left, 220);
    EXPECT_EQ(picture.SavedFont, 0u) << "Self of a control with children is cleared too";
    EXPECT_EQ(store.TextAt(picture.FontName), "text 278");
    EXPECT_EQ(store.TextAt(picture.Text), "text 534");
    EXPECT_EQ(picture.CaptionLength, 8);
    EXPECT_EQ(store.TextAt(picture.ToolTip), "text 790") << "the tooltip text moves to the last slot";
    EXPECT_EQ(picture.ToolTipText, 0u);
}

TEST(TemplateCopy, ReturnsWhereTheNextSiblingStands) {
    const std::vector<TemplateRecord> templates = NestedForm();
    TableStore store;
    RuntimeRecord parent{};
    EXPECT_EQ(runtime::CopyTemplateChildren(&templates[2], parent, store), &templates[6]) << "after G2a";
    RuntimeRecord leafParent{};
    EXPECT_EQ(runtime::CopyTemplateChildren(&templates[1], leafParent, store), &templates[2]);
    EXPECT_EQ(leafParent.Children, 0u);
}

TEST(TemplateCopy, CountsOfZeroOrBelowMakeNoArray) {
    struct CountCase {
        const char* name;
        std::vector<TemplateRecord> templates;
        std::vector<int32_t> formChildren;
    };
    const CountCase cases[] = {
        {"no controls", {Record(100, 0, 3)}, {}},
        {"a negative form count", {Record(100, -2, 3), Record(1, 0)}, {}},
        {"a negative control count is a leaf", {Record(100, 2, 3), Record(1, -3), Record(2, 0)}, {1, 2}},
    };
    for (const CountCase& c : cases) {
        TableStore store;
        RuntimeRecord* form = runtime::CopyFormTemplate(c.templates[0], c.templates.data(), store);
        ASSERT_NE(form, nullptr) << c.name;
        EXPECT_EQ(store.ChildIndexes(*form), c.formChildren) << c.name;
        if (c.formChildren.empty()) {
            EXPECT_EQ(form->Children, 0u) << c.name;
        }
        for (std::size_t i = 0; i < c.formChildren.size(); ++i) {
            EXPECT_EQ(store.Child(*form, i).Children, 0u) << c.name << ", child " << i;
        }
    }
}

TEST(TemplateCopy, ARecordThatCannotBeHadIsLeftOutWithItsDescendants) {
    const std::vector<TemplateRecord> templates = NestedForm();
    TableStore store;
    store.failRecord = 2;  // the form is record 0, A record 1, G record 2
    RuntimeRecord* form = runtime::CopyFormTemplate(templates[0], templates.data(), store);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(store.ChildIndexes(*form), (std::vector<int32_t>{1, 3})) << "B is still read as B";

    TableStore noArrays;
    noArrays.failArrays = true;
    form = runtime::CopyFormTemplate(templates[0], templates.data(), noArrays);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Children, 0u);
    EXPECT_EQ(noArrays.LiveRecords(), 1u) << "no control record without an array to hold it";

    TableStore noForm;
    noForm.failRecord = 0;
    EXPECT_EQ(runtime::CopyFormTemplate(templates[0], templates.data(), noForm), nullptr);
    EXPECT_EQ(noForm.Live(), 0u);
}

TEST(TemplateCopy, TheTemplateIsNotWritten) {
    const std::vector<TemplateRecord> templates = NestedForm();
    std::vector<TemplateRecord> before = templates;
    TableStore store;
    runtime::CopyFormTemplate(templates[0], templates.data(), store);
    EXPECT_EQ(std::memcmp(before.data(), templates.data(), before.size() * sizeof(TemplateRecord)), 0);
}

}  // namespace
