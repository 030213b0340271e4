#include "runtime/template/template_copy.h"

#include "runtime/template/template_tree.h"

namespace runtime {

namespace {

// The template fields of a record copied; the runtime slot behind them starts at 0.
void CopyRecordFields(const TemplateRecord& source, RuntimeRecord& copy) {
    static_cast<TemplateRecord&>(copy) = source;
    copy.ToolTip = 0;
}

// The texts of a copied record become the runtime's own.
void CopyRecordTexts(RuntimeRecord& copy, TemplateCopyStore& store) {
    copy.FontName = store.CopyText(copy.FontName, nullptr);
    copy.Text = store.CopyText(copy.Text, &copy);
}

// The record after `record`'s last descendant.
const TemplateRecord* AfterSubtree(const TemplateRecord* record) {
    return record + SubtreeLength(record, kUnboundedTemplate);
}

}  // namespace

RuntimeRecord* CopyFormTemplate(const TemplateRecord& form, const TemplateRecord* tree,
                                TemplateCopyStore& store) {
    uint32_t slot = 0;
    RuntimeRecord* copy = store.NewRecord(&slot);
    if (copy == nullptr) return nullptr;
    CopyRecordFields(form, *copy);
    // A count of 0 or below names no children: the slot must not be read as an array then.
    copy->Children = 0;
    if (form.ControlCount > 0) CopyTemplateChildren(tree, *copy, store);
    copy->Self = 0;
    CopyRecordTexts(*copy, store);
    return copy;
}

const TemplateRecord* CopyTemplateChildren(const TemplateRecord* parentTemplate,
                                           RuntimeRecord& parent, TemplateCopyStore& store) {
    const int32_t count = ChildCount(*parentTemplate);
    parent.Children = 0;
    if (count == 0) return parentTemplate + 1;

    uint32_t arraySlot = 0;
    uint32_t* children = store.NewChildArray(static_cast<uint32_t>(count) + 1, &arraySlot);
    if (children == nullptr) return AfterSubtree(parentTemplate);
    parent.Children = arraySlot;

    const TemplateRecord* cursor = parentTemplate + 1;
    uint32_t copied = 0;
    for (int32_t n = 0; n < count; ++n) {
        const TemplateRecord* childTemplate = cursor;
        uint32_t slot = 0;
        RuntimeRecord* child = store.NewRecord(&slot);
        if (child == nullptr) {
            cursor = AfterSubtree(childTemplate);
            continue;
        }
        CopyRecordFields(*childTemplate, *child);
        child->Children = 0;
        cursor = childTemplate->ControlCount > 0 ? CopyTemplateChildren(childTemplate, *child, store)
                                                 : childTemplate + 1;
        child->SavedFont = 0;
        CopyRecordTexts(*child, store);
        child->ToolTip = store.CopyText(child->ToolTipText, nullptr);
        child->ToolTipText = 0;
        children[copied++] = slot;
    }
    return cursor;
}

}  // namespace runtime
