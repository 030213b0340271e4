// The walk of a template tree whose child counts come from the input: it reads no record
// beyond those available (the address sanitizer sees an array of exactly that many), visits
// exactly the records it measures, each once, in record order, with parents before children.

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "runtime/template/template_tree.h"

namespace {

// One byte per record, read as a signed count; 0x7F takes the next four bytes as the count,
// so that huge and negative counts come up too.
std::vector<std::int32_t> CountsOf(const std::uint8_t* data, std::size_t size) {
    std::vector<std::int32_t> counts;
    for (std::size_t i = 0; i < size; ++i) {
        std::int32_t count = static_cast<std::int8_t>(data[i]);
        if (data[i] == 0x7F && i + 4 < size) {
            std::memcpy(&count, data + i + 1, sizeof count);
            i += 4;
        }
        counts.push_back(count);
    }
    return counts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::int32_t> counts = CountsOf(data, size);
    if (counts.empty() || counts.size() > 512) return 0;
    const std::size_t available = counts.size();
    const std::unique_ptr<runtime::TemplateRecord[]> records(
        new runtime::TemplateRecord[available]());
    for (std::size_t i = 0; i < available; ++i) records[i].ControlCount = counts[i];

    const runtime::TemplateRecord* const first = records.get();
    std::vector<std::size_t> order;
    std::vector<int> depthOf(available, -1);
    const std::size_t length = runtime::WalkTemplateTree(
        first, available,
        [&](const runtime::TemplateRecord& record, const runtime::TemplateRecord* parent, int depth) {
            const std::size_t at = static_cast<std::size_t>(&record - first);
            FUZZ_CHECK(at < available, "record %zu of %zu visited", at, available);
            FUZZ_CHECK(depthOf[at] == -1, "record %zu visited twice", at);
            depthOf[at] = depth;
            if (parent == nullptr) {
                FUZZ_CHECK(at == 0 && depth == 0, "a root at %zu, depth %d", at, depth);
            } else {
                const std::size_t parentAt = static_cast<std::size_t>(parent - first);
                FUZZ_CHECK(parentAt < at && depthOf[parentAt] == depth - 1,
                           "record %zu under %zu at depth %d", at, parentAt, depth);
            }
            order.push_back(at);
        });
    FUZZ_CHECK(length <= available, "%zu records measured, %zu available", length, available);
    FUZZ_CHECK(order.size() == length, "%zu records visited, %zu measured", order.size(), length);
    for (std::size_t i = 0; i < order.size(); ++i) {
        FUZZ_CHECK(order[i] == i, "visit %zu reached record %zu", i, order[i]);
    }
    if (length > 0) {
        const std::size_t exact = runtime::SubtreeLength(first, length);
        FUZZ_CHECK(exact == length, "%zu records measured within %zu", exact, length);
    }
    return 0;
}
