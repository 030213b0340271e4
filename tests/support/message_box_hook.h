#pragma once
// Records and dismisses every message box (any dialog of class "#32770") that the calling
// thread shows while the hook lives, so code that shows modal boxes can be tested without a
// person. A per-box action can act inside the box's modal loop before it is dismissed.

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace testsupport {

struct BoxRecord {
    HWND owner;  // GetWindow(box, GW_OWNER): nullptr for an ownerless box
    std::string caption;
    std::string text;
};

class MessageBoxHook {
public:
    // Runs inside the box's modal loop (from a timer the loop dispatches), so whatever it does
    // happens as if the operator or a socket event acted while the box shows; the box is
    // dismissed when it returns. `index` counts the boxes seen by this hook from 0.
    using BoxAction = std::function<void(const BoxRecord& box, std::size_t index)>;

    // Installs a thread-local WH_CBT hook on the calling thread. Hooks nest: the newest one
    // sees the boxes until it is destroyed.
    MessageBoxHook();
    explicit MessageBoxHook(BoxAction action);
    ~MessageBoxHook();
    MessageBoxHook(const MessageBoxHook&) = delete;
    MessageBoxHook& operator=(const MessageBoxHook&) = delete;

    const std::vector<BoxRecord>& boxes() const { return boxes_; }
    std::vector<std::string> Texts() const;
    std::vector<std::string> Captions() const;
    void Clear() { boxes_.clear(); }

private:
    struct PendingAction {
        UINT_PTR timer;
        HWND box;
        std::size_t index;
    };

    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) noexcept;
    static void CALLBACK OnActionTimer(HWND, UINT, UINT_PTR timer, DWORD) noexcept;
    void OnBoxActivated(HWND box);
    void OnWindowDestroyed(HWND window);

    HHOOK hook_ = nullptr;
    MessageBoxHook* previous_ = nullptr;
    BoxAction action_;
    std::vector<BoxRecord> boxes_;
    std::vector<HWND> liveBoxes_;  // boxes already recorded (activation repeats)
    std::vector<PendingAction> pending_;
};

}  // namespace testsupport
