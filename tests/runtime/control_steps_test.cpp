// The pure rules around control creation: group-box style, the option button that starts
// checked, toolbar string pools, header item formats and rebar band fields.

#include "runtime/build/control_steps.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using runtime::RebarBandItem;
using runtime::RebarBandPlan;
using runtime::TemplateRecord;
namespace band_field = runtime::band_field;

TEST(GroupBoxStyle, AddsTheGroupTypeAndTheCaptionAlignment) {
    const struct {
        int32_t alignment;
        uint32_t style;
    } cases[] = {{0, 0x56000107u}, {1, 0x56000307u}, {2, 0x56000207u}, {7, 0x56000107u}, {-1, 0x56000107u}};
    for (const auto& c : cases) {
        EXPECT_EQ(runtime::GroupBoxStyle(0x56000000u, c.alignment), c.style) << "alignment " << c.alignment;
    }
}

TEST(StartsChecked, OnlyTheFirstAutomaticOptionButton) {
    const struct {
        const char* name;
        int32_t type;
        int32_t index;
        uint32_t style;
        bool checked;
    } cases[] = {
        {"first automatic option", 9, 0, 0x50010009u, true},
        {"second automatic option", 9, 1, 0x50010009u, false},
        {"first plain option", 9, 0, 0x50010004u, false},
        {"automatic radio style on a check box", 8, 0, 0x50010009u, false},
        {"type bits beyond the low four", 9, 0, 0x50010019u, true},
    };
    for (const auto& c : cases) {
        TemplateRecord record{};
        record.Type = c.type;
        record.Index = c.index;
        record.Style = c.style;
        EXPECT_EQ(runtime::StartsChecked(record), c.checked) << c.name;
    }
}

// The pool as a string of its units, terminators included.
template <class Ch>
std::basic_string<Ch> Pool(const std::vector<const Ch*>& texts) {
    const std::span<const Ch* const> view(texts.data(), texts.size());
    std::basic_string<Ch> pool(runtime::ToolbarStringPoolLength(view), Ch('#'));
    runtime::FillToolbarStringPool(view, pool.data());
    return pool;
}

TEST(ToolbarStringPool, EndsEveryTextAndStandsABlankForAnEmptyOne) {
    const std::vector<const char*> texts{"Open", "", "Save", nullptr};
    using namespace std::string_literals;
    EXPECT_EQ(Pool(texts), "Open\0 \0Save\0 \0\0"s);
    EXPECT_TRUE(runtime::AnyToolbarText(std::span<const char* const>(texts.data(), texts.size())));

    const std::vector<const char16_t*> wide{u"\u00c9dit"};
    EXPECT_EQ(Pool(wide), u"\u00c9dit\0\0"s);
}

TEST(ToolbarStringPool, BlankTextsGiveNoPool) {
    const std::vector<std::vector<const char*>> cases{{}, {""}, {"", "  ", nullptr}};
    for (const auto& texts : cases) {
        EXPECT_FALSE(runtime::AnyToolbarText(std::span<const char* const>(texts.data(), texts.size())))
            << texts.size() << " texts";
    }
    const std::vector<const char*> one{"  ", " x"};
    EXPECT_TRUE(runtime::AnyToolbarText(std::span<const char* const>(one.data(), one.size())));
}

TEST(HeaderItemFormat, TextAlignmentReadingAndImage) {
    namespace hf = runtime::header_format;
    const struct {
        int32_t alignment;
        int32_t rightToLeft;
        bool image;
        uint32_t format;
    } cases[] = {
        {0, 0, false, hf::String | hf::Left},
        {1, 0, false, hf::String | hf::Centre},
        {2, 0, false, hf::String | hf::Right},
        {3, 0, false, hf::String | hf::Left},
        {2, 1, true, hf::String | hf::Right | hf::RightToLeft | hf::Image},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(runtime::HeaderItemFormat(c.alignment, c.rightToLeft, c.image), c.format)
            << c.alignment << "/" << c.rightToLeft << "/" << c.image;
    }
}

TEST(HeaderImageIndex, OnlyIndexesInsideTheImageList) {
    const struct {
        int32_t plusOne;
        int32_t count;
        int32_t index;
    } cases[] = {{0, 4, -1}, {1, 4, 0}, {4, 4, 3}, {5, 4, -1}, {1, 0, -1}, {-3, 4, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(runtime::HeaderImageIndex(c.plusOne, c.count), c.index) << c.plusOne << " of " << c.count;
    }
}

RebarBandItem Band(uint32_t style) {
    RebarBandItem band{};
    band.HeaderWidth = 12;
    band.BandWidth = 200;
    band.MinChildHeight = 22;
    band.MinChildWidth = 80;
    band.Style = style;
    return band;
}

TEST(PlanRebarBand, TakesTheChildHeightOrAStandInOfTheMinimumHeight) {
    const uint32_t always = band_field::Style | band_field::Child | band_field::ChildSize | band_field::Size |
                            band_field::Id | band_field::HeaderSize;

    const RebarBandPlan withChild = runtime::PlanRebarBand(Band(0x4), 0, 30, false, false);
    EXPECT_EQ(withChild.mask, always);
    EXPECT_EQ(withChild.id, 1u);
    EXPECT_EQ(withChild.width, 200);
    EXPECT_EQ(withChild.headerWidth, 12);
    EXPECT_EQ(withChild.minChildWidth, 80);
    EXPECT_EQ(withChild.minChildHeight, 22);
    EXPECT_EQ(withChild.childHeight, 30);
    EXPECT_EQ(withChild.maxChildHeight, 30);
    EXPECT_EQ(withChild.heightStep, 0);
    EXPECT_FALSE(withChild.standInChild);
    EXPECT_EQ(withChild.style, 0x4u);
    EXPECT_EQ(withChild.styleAfterInsert, 0u);

    const RebarBandPlan standIn = runtime::PlanRebarBand(Band(0x44), 2, -1, true, true);
    EXPECT_EQ(standIn.mask, always | band_field::Text | band_field::Background);
    EXPECT_EQ(standIn.id, 3u) << "position + 1";
    EXPECT_TRUE(standIn.standInChild);
    EXPECT_EQ(standIn.childHeight, 22);
    EXPECT_EQ(standIn.maxChildHeight, 22);
    EXPECT_EQ(standIn.heightStep, 1);
    EXPECT_EQ(standIn.style, 0x4u) << "inserted without the variable height";
    EXPECT_EQ(standIn.styleAfterInsert, 0x44u) << "and given its whole style afterwards";

    EXPECT_FALSE(runtime::PlanRebarBand(Band(0), 0, 0, false, false).standInChild) << "a child 0 pixels high is a child";
}

}  // namespace
