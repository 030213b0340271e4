#include "tests/support/message_sequence.h"

#include <algorithm>
#include <sstream>
#include <string_view>
#include <utility>

namespace testsupport {

namespace {

thread_local MessageSequence* activeSequence = nullptr;

struct MessageNameEntry {
    UINT message;
    const char* name;
};

constexpr MessageNameEntry kMessageNames[] = {
    {WM_CREATE, "WM_CREATE"},           {WM_DESTROY, "WM_DESTROY"},
    {WM_MOVE, "WM_MOVE"},               {WM_SIZE, "WM_SIZE"},
    {WM_ACTIVATE, "WM_ACTIVATE"},       {WM_SETFOCUS, "WM_SETFOCUS"},
    {WM_KILLFOCUS, "WM_KILLFOCUS"},     {WM_ENABLE, "WM_ENABLE"},
    {WM_SETTEXT, "WM_SETTEXT"},         {WM_PAINT, "WM_PAINT"},
    {WM_CLOSE, "WM_CLOSE"},             {WM_QUIT, "WM_QUIT"},
    {WM_ERASEBKGND, "WM_ERASEBKGND"},   {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
    {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"}, {WM_SETFONT, "WM_SETFONT"},
    {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
    {WM_NOTIFY, "WM_NOTIFY"},           {WM_SETICON, "WM_SETICON"},
    {WM_NCCREATE, "WM_NCCREATE"},       {WM_NCDESTROY, "WM_NCDESTROY"},
    {WM_NCACTIVATE, "WM_NCACTIVATE"},   {WM_KEYDOWN, "WM_KEYDOWN"},
    {WM_CHAR, "WM_CHAR"},               {WM_INITDIALOG, "WM_INITDIALOG"},
    {WM_COMMAND, "WM_COMMAND"},         {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
    {WM_TIMER, "WM_TIMER"},             {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
    {WM_LBUTTONUP, "WM_LBUTTONUP"},     {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
    {WM_STYLECHANGED, "WM_STYLECHANGED"},
};

std::string Hex(uintptr_t value) {
    std::ostringstream out;
    out << "0x" << std::hex << value;
    return out.str();
}

std::string Describe(const SeenMessage& m) {
    return m.window + " " + MessageName(m.message) + " wParam " + Hex(m.wParam) + " lParam " +
           Hex(static_cast<uintptr_t>(m.lParam)) + (m.posted ? " (posted)" : "");
}

std::string Describe(const ExpectedMessage& e) {
    std::string text = std::string(e.window) + " " + MessageName(e.message);
    if ((e.compare & match::WParam) != 0) text += " wParam " + Hex(e.wParam);
    if ((e.compare & match::LParam) != 0) text += " lParam " + Hex(static_cast<uintptr_t>(e.lParam));
    if ((e.compare & match::Optional) != 0) text += " (optional)";
    return text;
}

bool Fits(const SeenMessage& m, const ExpectedMessage& e) {
    if (m.window != e.window || m.message != e.message) return false;
    if ((e.compare & match::WParam) != 0 && m.wParam != e.wParam) return false;
    if ((e.compare & match::LParam) != 0 && m.lParam != e.lParam) return false;
    return true;
}

}  // namespace

std::string MessageName(UINT message) {
    for (const MessageNameEntry& entry : kMessageNames) {
        if (entry.message == message) return entry.name;
    }
    if (message >= WM_APP) return "WM_APP+" + std::to_string(message - WM_APP);
    if (message >= WM_USER) return "WM_USER+" + std::to_string(message - WM_USER);
    return "message " + Hex(message);
}

MessageSequence::MessageSequence(WindowNamer namer) : previous_(activeSequence), namer_(std::move(namer)) {
    // The newest recorder records; the hooks are installed once for all that nest.
    if (previous_ == nullptr) {
        const DWORD thread = GetCurrentThreadId();
        sentHook_ = SetWindowsHookExA(WH_CALLWNDPROC, &MessageSequence::OnSent, nullptr, thread);
        takenHook_ = SetWindowsHookExA(WH_GETMESSAGE, &MessageSequence::OnTaken, nullptr, thread);
    }
    activeSequence = this;
}

MessageSequence::~MessageSequence() {
    if (sentHook_ != nullptr) UnhookWindowsHookEx(sentHook_);
    if (takenHook_ != nullptr) UnhookWindowsHookEx(takenHook_);
    activeSequence = previous_;
}

void MessageSequence::Name(HWND window, const std::string& name) { given_[window] = name; }

const std::string& MessageSequence::NameOf(HWND window) {
    const auto given = given_.find(window);
    if (given != given_.end()) return given->second;
    const auto known = names_.find(window);
    if (known != names_.end()) return known->second;
    return names_[window] = namer_ ? namer_(window) : std::string();
}

void MessageSequence::Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool posted) {
    const std::string& name = NameOf(window);
    if (!name.empty()) recorded_.push_back(SeenMessage{name, message, wParam, lParam, posted});
    // The handle may come back for another window, which is named anew.
    if (message == WM_NCDESTROY) names_.erase(window);
}

LRESULT CALLBACK MessageSequence::OnSent(int code, WPARAM wParam, LPARAM lParam) noexcept {
    if (code == HC_ACTION && activeSequence != nullptr) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);  // WH_CALLWNDPROC's record
        activeSequence->Record(sent->hwnd, sent->message, sent->wParam, sent->lParam, false);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MessageSequence::OnTaken(int code, WPARAM wParam, LPARAM lParam) noexcept {
    // A message only looked at (PM_NOREMOVE) is taken later, and recorded then.
    if (code == HC_ACTION && wParam == PM_REMOVE && activeSequence != nullptr) {
        const auto* taken = reinterpret_cast<const MSG*>(lParam);  // WH_GETMESSAGE's message
        if (taken->hwnd != nullptr) {
            activeSequence->Record(taken->hwnd, taken->message, taken->wParam, taken->lParam, true);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

::testing::AssertionResult MessageSequence::Matches(const std::vector<ExpectedMessage>& expected) const {
    std::vector<SeenMessage> seen;
    for (const SeenMessage& m : recorded_) {
        const bool named = std::any_of(expected.begin(), expected.end(),
                                       [&](const ExpectedMessage& e) { return e.message == m.message; });
        if (named) seen.push_back(m);
    }

    std::string difference;
    std::size_t next = 0;
    for (std::size_t index = 0; index < expected.size() && difference.empty(); ++index) {
        const ExpectedMessage& e = expected[index];
        if (next < seen.size() && Fits(seen[next], e)) {
            ++next;
        } else if ((e.compare & match::Optional) == 0) {
            difference = "entry " + std::to_string(index) + ": expected " + Describe(e) + ", saw " +
                         (next < seen.size() ? Describe(seen[next]) : std::string("the end of the sequence"));
        }
    }
    if (difference.empty() && next < seen.size()) {
        difference = "after the last entry: saw " + Describe(seen[next]);
    }
    if (difference.empty()) return ::testing::AssertionSuccess();

    std::ostringstream report;
    report << difference << "\n  expected:";
    for (const ExpectedMessage& e : expected) report << "\n    " << Describe(e);
    report << "\n  seen (of those kinds):";
    for (const SeenMessage& m : seen) report << "\n    " << Describe(m);
    return ::testing::AssertionFailure() << report.str();
}

WindowNamer RuntimeWindowNames() {
    return [](HWND window) -> std::string {
        char className[64] = {};
        GetClassNameA(window, className, static_cast<int>(sizeof className));
        if ((GetWindowLongA(window, GWL_STYLE) & WS_CHILD) == 0) {
            if (std::string_view(className).substr(0, 5) == "BKRUN") return "form";
            if (std::string_view(className) == "#32770") return "box";
            return {};
        }
        const int id = GetDlgCtrlID(window);
        return id != 0 ? "id " + std::to_string(id) : std::string();
    };
}

}  // namespace testsupport
