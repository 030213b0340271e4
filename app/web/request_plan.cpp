#include "app/web/request_plan.h"

#include <algorithm>

namespace web {

namespace {

constexpr std::size_t kPathFirst = 5;   // the byte right after "GET /"
constexpr std::size_t kPathSecond = 6;
constexpr std::size_t kPathFifth = 9;

char ByteAt(std::string_view received, std::size_t position) {
    return position < received.size() ? received[position] : '\0';
}

RequestPlan Selecting(ReplyFile file, RequestPlan plan) {
    plan.action = RequestAction::SelectReplyFile;
    plan.replyFile = file;
    return plan;
}

// "/?a" requests: a sub-command chosen by position 9.
RequestPlan OutputSubCommand(char command, RequestPlan plan) {
    switch (command) {
    case 'A': plan.hookValue = 1; break;
    case 'S': plan.hookValue = 0; break;
    case 'c': plan.hookValue = 2; break;
    default: return plan;  // "V" was applied as selectsAFirst; anything else does nothing
    }
    plan.action = RequestAction::OutputHook;
    return plan;
}

}  // namespace

void RequestBytes::Took(std::size_t count) {
    length += std::min(count, bytes.size() - length);
}

RequestPlan ClassifyRequest(std::string_view received, bool operatorApi) {
    RequestPlan plan;
    if (operatorApi) {
        // Ahead of the "V" rule: the API's requests select no reply file.
        switch (ByteAt(received, kPathFirst)) {
        case 'p': plan.action = RequestAction::Position; return plan;
        case 'h': plan.action = RequestAction::Halt; return plan;
        default: break;
        }
    }
    plan.selectsAFirst = ByteAt(received, kPathFifth) == 'V';
    switch (ByteAt(received, kPathFirst)) {
    case ' ': return Selecting(ReplyFile::A, plan);  // the request for "/"
    case 'c': return Selecting(ReplyFile::C, plan);
    case 'x': plan.action = RequestAction::FixedReply; return plan;
    case 's': plan.action = RequestAction::Movement; return plan;
    case '?':
        if (ByteAt(received, kPathSecond) != 'a') return plan;
        return OutputSubCommand(ByteAt(received, kPathFifth), plan);
    default: return plan;
    }
}

}  // namespace web
