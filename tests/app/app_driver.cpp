// app_driver: acts on the running Project1.exe from outside, as its operator would, for the
// end-to-end run and for the run command (scripts/run.sh). Runs under the same Wine prefix; one command per call, results on standard
// output, exit code 0 when the command did what it was asked. Every wait is bounded.
//
// A control (ID) is named as the main form's table names it (btnSetCom, inputCom, Edit1; see
// forms/main_form_controls.h) or by its identifier; output names it by its identifier.
//
//   ids                     the name and identifier of every control of the form's table
//   wait-window MS          wait until the main window shows; list its controls
//   controls                list the main window's controls: id, class, enabled, text
//   type ID TEXT            select the text of edit ID and type TEXT into it
//   click ID                press push button ID (posted, so its boxes do not block us)
//   key F1                  press F1 in the window that has the focus
//   show-box MS             wait for a box, move it beside the main window, leave it open
//   boxes COUNT MS          dismiss COUNT boxes of the program, one after another
//   no-box                  succeed only when the program shows no box now
//   wait-box MS             wait for a box of any program (none has a main window yet), show it
//   dismiss                 dismiss the box of any program
//   read ID...              the texts of the controls
//   close                   the system menu's Close
//   focus-watch STOPFILE    where the keyboard focus is, as another program sees it, each
//                           time it changes, until the file STOPFILE exists or the main window
//                           is gone: the identifier of the main window's control that has it (0
//                           for none), whether the main window is its thread's active window and
//                           the system's foreground window ("focus 1004 active 1 foreground 1")
//   handles                 the program's handle count and memory (working set, private
//                           bytes, in KB), as the system gives them to another process
//   dismiss-all STOPFILE    dismiss every box of the program as it comes, until the file
//                           STOPFILE (a Windows path, e.g. Z:\tmp\stop) exists or the main
//                           window is gone

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_start.h"
#include "forms/main_form_controls.h"

namespace {

constexpr const char* kMainCaption = forms::kMainFormCaption;
constexpr UINT kSendTimeoutMs = 3000;
constexpr DWORD kPollMs = 20;

// The main form's window: of the runtime's plain-form class, the application's name appended.
HWND FindMainWindow() {
    return FindWindowA((std::string("BKRUNWINDOW") + app::kApplicationName).c_str(), kMainCaption);
}

// The identifier of the control that `name` names: a name of the form's table, or a number.
int ControlId(const std::string& name) {
    const std::size_t row = forms::ControlRowOf(name);
    if (row < std::size(forms::kMainFormControls)) return forms::kMainFormControls[row].Id();
    return std::atoi(name.c_str());
}

int ListIds() {
    for (const forms::ControlRow& row : forms::kMainFormControls) std::printf("%s %d\n", row.name, row.Id());
    return 0;
}

// Sends and waits at most kSendTimeoutMs; false when the program did not answer.
bool SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result = nullptr) {
    DWORD_PTR answer = 0;
    const LRESULT sent =
        SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &answer);
    if (result != nullptr) *result = answer;
    return sent != 0;
}

// A window's text as its own procedure gives it (WM_GETTEXT is carried across processes).
std::string TextOf(HWND window) {
    char text[1024] = {};
    if (!SendBounded(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text))) return "<no answer>";
    return text;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// CR and LF written as \r and \n, so that one record stays on one line.
std::string OneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c == '\r') line += "\\r";
        else if (c == '\n') line += "\\n";
        else line += c;
    }
    return line;
}

HWND FindControl(HWND parent, int id) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == id) return child;
        if (HWND inner = FindControl(child, id)) return inner;
    }
    return nullptr;
}

void ListControls(HWND parent) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        std::printf("control %d %s enabled=%d visible=%d text=%s\n", GetDlgCtrlID(child), ClassOf(child).c_str(),
                    IsWindowEnabled(child) ? 1 : 0, IsWindowVisible(child) ? 1 : 0, OneLine(TextOf(child)).c_str());
        ListControls(child);
    }
}

struct BoxSearch {
    DWORD processId;
    HWND found;
};

// A process id that stands for every process.
constexpr DWORD kAnyProcess = 0;

BOOL CALLBACK FindBoxOf(HWND window, LPARAM search) noexcept {
    auto& s = *reinterpret_cast<BoxSearch*>(search);  // the search EnumWindows was handed
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((s.processId != kAnyProcess && owner != s.processId) || !IsWindowVisible(window) ||
        ClassOf(window) != "#32770") {
        return TRUE;
    }
    s.found = window;
    return FALSE;
}

// A message box (any dialog) of the program's process on the screen, or null.
HWND FindBox(DWORD processId) {
    BoxSearch search{processId, nullptr};
    EnumWindows(FindBoxOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForBox(DWORD processId, DWORD timeoutMs) {
    for (DWORD waited = 0;; waited += kPollMs) {
        if (HWND box = FindBox(processId)) return box;
        if (waited >= timeoutMs) return nullptr;
        Sleep(kPollMs);
    }
}

void PrintBox(HWND box) {
    HWND text = GetDlgItem(box, 0xFFFF);  // a message box's text
    std::printf("box %s|%s\n", TextOf(box).c_str(), OneLine(text != nullptr ? TextOf(text) : "").c_str());
    std::fflush(stdout);
}

// Dismisses a box with its OK command (sent: a posted one does not close it) and waits until
// it is gone.
bool DismissBox(HWND box) {
    SendBounded(box, WM_COMMAND, IDOK, 0);
    for (DWORD waited = 0; waited < 5000; waited += kPollMs) {
        if (!IsWindow(box)) return true;
        Sleep(kPollMs);
    }
    return false;
}

DWORD ProcessOf(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

int Fail(const char* what) {
    std::printf("error %s\n", what);
    return 1;
}

int WaitWindow(DWORD timeoutMs) {
    for (DWORD waited = 0;; waited += kPollMs) {
        HWND main = FindMainWindow();
        if (main != nullptr && IsWindowVisible(main)) {
            std::printf("window %s\n", TextOf(main).c_str());
            ListControls(main);
            return 0;
        }
        if (waited >= timeoutMs) return Fail("no main window");
        Sleep(kPollMs);
    }
}

int Type(HWND main, int id, const std::string& text) {
    HWND edit = FindControl(main, id);
    if (edit == nullptr) return Fail("no such control");
    SendBounded(edit, EM_SETSEL, 0, -1);
    for (char c : text) PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    for (DWORD waited = 0; waited < 5000; waited += kPollMs) {
        if (TextOf(edit) == text) {
            std::printf("field %d %s\n", id, text.c_str());
            return 0;
        }
        Sleep(kPollMs);
    }
    std::printf("field %d %s\n", id, TextOf(edit).c_str());
    return Fail("the text did not arrive");
}

int Click(HWND main, int id) {
    HWND button = FindControl(main, id);
    if (button == nullptr) return Fail("no such control");
    if (!IsWindowEnabled(button)) return Fail("the button is disabled");
    // What a click on an enabled button sends its window.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return 0;
}

int PressF1(HWND main) {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    HWND target = main;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &thread) && thread.hwndFocus != nullptr) {
        target = thread.hwndFocus;
    }
    PostMessageA(target, WM_KEYDOWN, VK_F1, 1);
    // Key up: repeat count 1, previous state down, transition bit set.
    PostMessageA(target, WM_KEYUP, VK_F1, static_cast<LPARAM>(0xC0000001u));
    return 0;
}

int ShowBox(HWND main, DWORD timeoutMs) {
    HWND box = WaitForBox(ProcessOf(main), timeoutMs);
    if (box == nullptr) return Fail("no box");
    RECT window{};
    GetWindowRect(main, &window);
    SetWindowPos(box, HWND_TOP, window.right + 16, window.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    PrintBox(box);
    return 0;
}

int DismissBoxes(HWND main, int count, DWORD timeoutMs) {
    const DWORD processId = ProcessOf(main);
    const DWORD start = GetTickCount();
    for (int done = 0; done < count; ++done) {
        const DWORD spent = GetTickCount() - start;
        HWND box = WaitForBox(processId, spent < timeoutMs ? timeoutMs - spent : 0);
        if (box == nullptr) {
            std::printf("dismissed %d of %d\n", done, count);
            return Fail("a box did not come");
        }
        PrintBox(box);
        if (!DismissBox(box)) return Fail("a box did not go");
    }
    return 0;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Stands beside a program that nobody watches: every box it shows is read and closed at once,
// so that a step or port box never waits for a click.
int DismissAll(HWND main, const std::string& stopFile) {
    const DWORD processId = ProcessOf(main);
    int dismissed = 0;
    while (IsWindow(main) && !FileExists(stopFile)) {
        if (HWND box = FindBox(processId)) {
            PrintBox(box);
            if (DismissBox(box)) ++dismissed;
            continue;
        }
        Sleep(kPollMs);
    }
    std::printf("dismissed %d\n", dismissed);
    return 0;
}

// Where the keyboard focus is, as another program sees it: the identifier of the main window's
// control that has it (0 for none), whether the main window is its thread's active window and
// whether it is the system's foreground window.
std::string FocusLine(HWND main) {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &thread)) return "no thread information";
    HWND focus = thread.hwndFocus;
    const int control = focus != nullptr && IsChild(main, focus) ? GetDlgCtrlID(focus) : 0;
    return "focus " + std::to_string(control) + " active " + std::to_string(thread.hwndActive == main ? 1 : 0) +
           " foreground " + std::to_string(GetForegroundWindow() == main ? 1 : 0);
}

// The focus line each time it changes (looked at every 10 ms), until the file stopFile exists
// or the main window is gone.
int WatchFocus(HWND main, const std::string& stopFile) {
    std::string last;
    while (IsWindow(main) && !FileExists(stopFile)) {
        const std::string now = FocusLine(main);
        if (now != last) {
            std::printf("%s\n", now.c_str());
            std::fflush(stdout);
            last = now;
        }
        Sleep(10);
    }
    return 0;
}

int NoBox(HWND main) {
    HWND box = FindBox(ProcessOf(main));
    if (box == nullptr) {
        std::printf("no box\n");
        return 0;
    }
    PrintBox(box);
    return Fail("a box is open");
}

int Read(HWND main, const std::vector<int>& ids) {
    for (int id : ids) {
        HWND control = FindControl(main, id);
        if (control == nullptr) return Fail("no such control");
        std::printf("field %d %s\n", id, TextOf(control).c_str());
    }
    return 0;
}

// The system's handle table as NtQuerySystemInformation gives it (class 16): one entry per
// open handle of any process. Wine answers GetProcessHandleCount for another process with 0,
// but lists every handle here.
struct SystemHandleEntry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    PVOID object;
    ULONG access;
};
struct SystemHandleTable {
    ULONG count;
    SystemHandleEntry entries[1];
};
using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

// The number of handles `processId` holds; -1 when the system does not tell.
long HandleCountOf(DWORD processId) {
    const auto query = reinterpret_cast<QuerySystemInformation>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr) return -1;
    std::vector<char> buffer(1 << 16);
    for (int attempt = 0; attempt < 8; ++attempt) {
        ULONG needed = 0;
        const LONG status = query(16, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == 0) {
            const auto* table = reinterpret_cast<const SystemHandleTable*>(buffer.data());
            long count = 0;
            for (ULONG i = 0; i < table->count; ++i) count += table->entries[i].ownerPid == processId;
            return count;
        }
        buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
    }
    return -1;
}

int Handles(HWND main) {
    const DWORD processId = ProcessOf(main);
    const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr) return Fail("the program's process cannot be opened");
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    const bool measured = GetProcessMemoryInfo(process, &memory, sizeof memory) != FALSE;
    CloseHandle(process);
    const long handles = HandleCountOf(processId);
    if (handles < 0 || !measured) return Fail("the system gave no counts");
    std::printf("handles %ld working-set-kb %lu private-kb %lu\n", handles,
                static_cast<unsigned long>(memory.WorkingSetSize / 1024),
                static_cast<unsigned long>(memory.PagefileUsage / 1024));
    return 0;
}

int Run(const std::vector<std::string>& args) {
    if (args.empty()) return Fail("no command");
    const std::string& command = args[0];
    if (command == "ids" && args.size() == 1) return ListIds();
    if (command == "wait-window" && args.size() == 2) return WaitWindow(std::strtoul(args[1].c_str(), nullptr, 10));
    if (command == "wait-box" && args.size() == 2) {
        HWND box = WaitForBox(kAnyProcess, std::strtoul(args[1].c_str(), nullptr, 10));
        if (box == nullptr) return Fail("no box");
        PrintBox(box);
        return 0;
    }
    if (command == "dismiss" && args.size() == 1) {
        HWND box = FindBox(kAnyProcess);
        if (box == nullptr) return Fail("no box");
        PrintBox(box);
        return DismissBox(box) ? 0 : Fail("the box did not go");
    }

    HWND main = FindMainWindow();
    if (main == nullptr) return Fail("the program's main window is not there");
    if (command == "controls") {
        ListControls(main);
        return 0;
    }
    if (command == "type" && args.size() == 3) return Type(main, ControlId(args[1]), args[2]);
    if (command == "click" && args.size() == 2) return Click(main, ControlId(args[1]));
    if (command == "key" && args.size() == 2 && args[1] == "F1") return PressF1(main);
    if (command == "show-box" && args.size() == 2) return ShowBox(main, std::strtoul(args[1].c_str(), nullptr, 10));
    if (command == "boxes" && args.size() == 3) {
        return DismissBoxes(main, std::atoi(args[1].c_str()), std::strtoul(args[2].c_str(), nullptr, 10));
    }
    if (command == "no-box" && args.size() == 1) return NoBox(main);
    if (command == "focus-watch" && args.size() == 2) return WatchFocus(main, args[1]);
    if (command == "read" && args.size() >= 2) {
        std::vector<int> ids;
        for (std::size_t i = 1; i < args.size(); ++i) ids.push_back(ControlId(args[i]));
        return Read(main, ids);
    }
    if (command == "handles" && args.size() == 1) return Handles(main);
    if (command == "dismiss-all" && args.size() == 2) return DismissAll(main, args[1]);
    if (command == "close" && args.size() == 1) {
        PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    }
    return Fail("unknown command or wrong arguments");
}

}  // namespace

int main(int argc, char** argv) {
    const int code = Run(std::vector<std::string>(argv + 1, argv + argc));
    std::fflush(stdout);
    return code;
}
