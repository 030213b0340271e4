#pragma once
// Walking a depth-first template tree. A form record is followed by its controls; a control
// with a non-zero ControlCount is followed by its own children before its next sibling.
// Nothing marks the end: the counts alone delimit the tree. Platform-free.

#include <cstddef>
#include <cstdint>
#include <limits>

#include "runtime/template/template_record.h"

namespace runtime {

// For templates in the program's own data, whose extent only their counts give.
constexpr std::size_t kUnboundedTemplate = std::numeric_limits<std::size_t>::max();

// The number of direct children a record claims; a count of 0 or below means none.
constexpr int32_t ChildCount(const TemplateRecord& record) {
    return record.ControlCount > 0 ? record.ControlCount : 0;
}

// The number of records that `first` and all its descendants occupy, reading no more than
// `available` records; 0 when the counts claim records beyond them (or none is available).
std::size_t SubtreeLength(const TemplateRecord* first, std::size_t available);

// The direct children of a parent record, in record order: each child's next sibling starts
// after the child's last descendant. Empty when the parent's subtree does not fit `available`.
class TemplateChildren {
public:
    class Iterator {
    public:
        const TemplateRecord& operator*() const { return *record_; }
        const TemplateRecord* operator->() const { return record_; }
        Iterator& operator++();
        bool operator==(const Iterator& other) const { return left_ == other.left_; }

    private:
        friend class TemplateChildren;
        Iterator(const TemplateRecord* record, int32_t left) : record_(record), left_(left) {}
        const TemplateRecord* record_;
        int32_t left_;  // children not yet passed, this one included
    };

    TemplateChildren(const TemplateRecord* parent, std::size_t available);
    Iterator begin() const { return Iterator(first_, count_); }
    Iterator end() const { return Iterator(nullptr, 0); }
    int32_t size() const { return count_; }

private:
    const TemplateRecord* first_ = nullptr;
    int32_t count_ = 0;
};

// Visits `root` and every descendant in record (depth-first) order as
// visit(record, parent, depth): the root has no parent (null) and depth 0. Returns the number
// of records visited; 0, with nothing visited, when the tree does not fit `available`.
template <class Visit>
std::size_t WalkTemplateTree(const TemplateRecord* root, std::size_t available, Visit&& visit);

namespace detail {
template <class Visit>
void WalkChildren(const TemplateRecord* parent, int depth, Visit& visit) {
    // The whole tree was measured before the walk, so the children are known to fit.
    for (const TemplateRecord& child : TemplateChildren(parent, kUnboundedTemplate)) {
        visit(child, parent, depth);
        WalkChildren(&child, depth + 1, visit);
    }
}
}  // namespace detail

template <class Visit>
std::size_t WalkTemplateTree(const TemplateRecord* root, std::size_t available, Visit&& visit) {
    const std::size_t length = SubtreeLength(root, available);
    if (length == 0) return 0;
    visit(*root, static_cast<const TemplateRecord*>(nullptr), 0);
    detail::WalkChildren(root, 1, visit);
    return length;
}

}  // namespace runtime
