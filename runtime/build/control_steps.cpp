#include "runtime/build/control_steps.h"

namespace runtime {

RebarBandPlan PlanRebarBand(const RebarBandItem& band, uint32_t position, int32_t childHeight,
                            bool withText, bool withBackground) {
    RebarBandPlan plan;
    plan.mask = band_field::Style | band_field::Child | band_field::ChildSize | band_field::Size |
                band_field::Id | band_field::HeaderSize;
    // A variable-height band gets that style only once it is in the rebar, with its child
    // heights already set.
    plan.style = band.Style & ~kBandVariableHeight;
    plan.styleAfterInsert = (band.Style & kBandVariableHeight) != 0 ? band.Style : 0;
    plan.id = position + 1;
    plan.width = band.BandWidth;
    plan.headerWidth = band.HeaderWidth;
    plan.minChildWidth = band.MinChildWidth;
    plan.minChildHeight = band.MinChildHeight;
    if (childHeight >= 0) {
        plan.childHeight = childHeight;
        plan.maxChildHeight = childHeight;
    } else {
        plan.standInChild = true;
        plan.childHeight = band.MinChildHeight;
        plan.maxChildHeight = band.MinChildHeight;
        plan.heightStep = 1;
    }
    if (withText) plan.mask |= band_field::Text;
    if (withBackground) plan.mask |= band_field::Background;
    return plan;
}

}  // namespace runtime
