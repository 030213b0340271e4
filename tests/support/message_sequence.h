#pragma once
// Message sequences as data: a recorder of the messages that the windows of the calling thread
// receive, in order, and an expected table to compare them with. The comparison looks only at
// the message kinds that the table names, at the windows the recorder has a name for, and at
// the parameters each entry selects; entries may be marked optional. A difference is reported
// with its place, the entry expected there, the message that came, and both whole sequences.
//
//     testsupport::MessageSequence sequence(namer);
//     ... drive the windows ...
//     EXPECT_TRUE(sequence.Matches({{"form", WM_CLOSE}, {"form", WM_DESTROY}, ...}));

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace testsupport {

// What an expected entry compares besides the window and the message, and whether it may be
// missing.
namespace match {
constexpr uint32_t Message = 0;   // window and message only
constexpr uint32_t WParam = 1;    // wParam too
constexpr uint32_t LParam = 2;    // lParam too
constexpr uint32_t Optional = 4;  // the entry may be missing from the sequence
}  // namespace match

struct ExpectedMessage {
    const char* window;  // the recorder's name of the window
    UINT message;
    uint32_t compare = match::Message;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

struct SeenMessage {
    std::string window;  // the recorder's name of the window
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool posted;  // taken from the queue, not sent
};

// Names a window for the tables; an empty name leaves its messages out. Asked at a window's
// first message, which for a new window comes before its creation returns, so the namer reads
// what the window is (its class, style, identifier); the name holds until the window's
// WM_NCDESTROY.
using WindowNamer = std::function<std::string(HWND window)>;

class MessageSequence {
public:
    // Records, while it lives, every message that a window of the calling thread receives:
    // sent messages as their window procedure is called (a thread WH_CALLWNDPROC hook), posted
    // ones as they are taken from the queue (WH_GETMESSAGE). The namer comes after the names
    // given with Name().
    explicit MessageSequence(WindowNamer namer = {});
    ~MessageSequence();
    MessageSequence(const MessageSequence&) = delete;
    MessageSequence& operator=(const MessageSequence&) = delete;

    // Gives `window` a name ahead of the namer.
    void Name(HWND window, const std::string& name);
    // Forgets what was recorded (the names stay).
    void Clear() { recorded_.clear(); }
    const std::vector<SeenMessage>& recorded() const { return recorded_; }

    // The recorded messages of the kinds that `expected` names, compared with it in order;
    // a failure names the first difference.
    ::testing::AssertionResult Matches(const std::vector<ExpectedMessage>& expected) const;

private:
    static LRESULT CALLBACK OnSent(int code, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK OnTaken(int code, WPARAM wParam, LPARAM lParam) noexcept;
    void Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool posted);
    const std::string& NameOf(HWND window);

    MessageSequence* previous_ = nullptr;
    HHOOK sentHook_ = nullptr;
    HHOOK takenHook_ = nullptr;
    WindowNamer namer_;
    std::map<HWND, std::string> given_;  // by Name()
    std::map<HWND, std::string> names_;  // by the namer, for the windows that live
    std::vector<SeenMessage> recorded_;
};

// A namer for runtime windows: a top-level window of a runtime form class is "form", a message
// box "box", a child window "id <n>" by its identifier; other windows are left out.
WindowNamer RuntimeWindowNames();

// The message's name for reports ("WM_CLOSE", or its number).
std::string MessageName(UINT message);

}  // namespace testsupport
