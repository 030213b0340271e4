// The classification of a request over arbitrary bytes: only the bytes at positions 5, 6 and
// 9 decide it, positions behind the received bytes read as 0, and every plan is one the
// dispatcher knows how to carry out. With the operator API on, the plan differs only for
// position 5 "p" and "h", which are the API's; without it, the API's requests never come.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/web/request_plan.h"
#include "fuzz/fuzz_check.h"

namespace {

bool SamePlan(const web::RequestPlan& a, const web::RequestPlan& b) {
    return a.selectsAFirst == b.selectsAFirst && a.action == b.action &&
           a.replyFile == b.replyFile && a.hookValue == b.hookValue;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > app::kRequestBufferSize) return 0;
    const std::string received(reinterpret_cast<const char*>(data), size);
    const web::RequestPlan plan = web::ClassifyRequest(received);

    FUZZ_CHECK(plan.action <= web::RequestAction::OutputHook, "action %d without the API",
               static_cast<int>(plan.action));
    const web::RequestPlan withApi = web::ClassifyRequest(received, true);
    const char first = size > 5 ? received[5] : '\0';
    if (first == 'p' || first == 'h') {
        FUZZ_CHECK(withApi.action == (first == 'p' ? web::RequestAction::Position : web::RequestAction::Halt) &&
                       !withApi.selectsAFirst,
                   "position 5 '%c' with the API", first);
    } else {
        FUZZ_CHECK(SamePlan(plan, withApi), "the API changed a plan it does not own");
    }
    FUZZ_CHECK(plan.hookValue <= 2, "hook value %u", plan.hookValue);
    const char file = static_cast<char>(plan.replyFile);
    FUZZ_CHECK(file == 'a' || file == 'c' || file == 's', "reply file '%c'", file);
    FUZZ_CHECK(std::string_view(web::ReplyFilePath(plan.replyFile)).size() == 4, "path %s",
               web::ReplyFilePath(plan.replyFile));

    // Every other byte changed, and the request padded with zeros to ten bytes: same plan.
    std::string other = received;
    other.resize(std::max<std::size_t>(size, 10), '\0');
    for (std::size_t i = 0; i < other.size(); ++i) {
        if (i == 5 || i == 6 || i == 9) continue;
        other[i] = static_cast<char>(other[i] ^ 0x5A);
    }
    const web::RequestPlan again = web::ClassifyRequest(other);
    FUZZ_CHECK(SamePlan(plan, again), "bytes beside positions 5, 6 and 9 changed the plan");
    return 0;
}
