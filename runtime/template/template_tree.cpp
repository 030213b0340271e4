#include "runtime/template/template_tree.h"

namespace runtime {

std::size_t SubtreeLength(const TemplateRecord* first, std::size_t available) {
    if (first == nullptr) return 0;
    // Depth first, every record read announces its own children: the subtree ends when no
    // announced record is left to read.
    std::size_t read = 0;
    std::size_t pending = 1;
    while (pending > 0) {
        if (read >= available) return 0;
        --pending;
        pending += static_cast<std::size_t>(ChildCount(first[read]));
        ++read;
    }
    return read;
}

TemplateChildren::TemplateChildren(const TemplateRecord* parent, std::size_t available) {
    if (SubtreeLength(parent, available) == 0) return;
    count_ = ChildCount(*parent);
    if (count_ > 0) first_ = parent + 1;
}

TemplateChildren::Iterator& TemplateChildren::Iterator::operator++() {
    --left_;
    record_ = left_ > 0 ? record_ + SubtreeLength(record_, kUnboundedTemplate) : nullptr;
    return *this;
}

}  // namespace runtime
