// What the main window does with each command, and the layout of its About text.

#include "app/main_commands.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using app::MainCommand;

const char* NameOf(MainCommand command) {
    switch (command) {
    case MainCommand::None: return "None";
    case MainCommand::About: return "About";
    case MainCommand::Connect: return "Connect";
    case MainCommand::Disconnect: return "Disconnect";
    }
    return "?";
}

// Notification codes as the controls send them.
constexpr uint16_t kClicked = 0;    // BN_CLICKED, and a menu item
constexpr uint16_t kAccelerator = 1;
constexpr uint16_t kHilite = 2;     // BN_HILITE (older buttons)
constexpr uint16_t kDoubleClicked = 5;  // BN_DBLCLK
constexpr uint16_t kSetFocus = 6;   // BN_SETFOCUS
constexpr uint16_t kKillFocus = 7;  // BN_KILLFOCUS
constexpr uint16_t kEditSetFocus = 0x100;  // EN_SETFOCUS
constexpr uint16_t kEditChange = 0x300;    // EN_CHANGE

struct CommandCase {
    uint16_t id;
    uint16_t code;
    MainCommand expected;
    const char* what;
};

const CommandCase kCases[] = {
    {40000, kClicked, MainCommand::About, "menu item Despre / About"},
    {40000, kAccelerator, MainCommand::About, "F1 through the accelerator table"},
    {40000, kHilite, MainCommand::None, "40000 with any other notification"},
    {1002, kClicked, MainCommand::Connect, "> pressed"},
    {1002, kSetFocus, MainCommand::None, "> gets the focus"},
    {1002, kKillFocus, MainCommand::None, "> loses the focus"},
    {1002, kDoubleClicked, MainCommand::None, "> double-clicked"},
    {1001, kClicked, MainCommand::Disconnect, "! pressed"},
    {1001, kSetFocus, MainCommand::None, "! gets the focus"},
    {1001, kDoubleClicked, MainCommand::None, "! double-clicked"},
    {1003, kClicked, MainCommand::None, "Testeaza port pressed"},
    {1003, kSetFocus, MainCommand::None, "Testeaza port gets the focus"},
    {1005, kEditChange, MainCommand::None, "inputCom typed into"},
    {1005, kEditSetFocus, MainCommand::None, "inputCom gets the focus"},
    {1000, kClicked, MainCommand::None, "inputLinie with code 0"},
    {40001, kClicked, MainCommand::None, "a neighbour of the About command"},
    {1004, kClicked, MainCommand::None, "Edit4 with code 0"},
    {0, kClicked, MainCommand::None, "identifier 0"},
};

TEST(CommandAction, EachCommandAndNotification) {
    for (const CommandCase& c : kCases) {
        const MainCommand got = app::CommandAction(c.id, c.code);
        EXPECT_EQ(got, c.expected) << c.what << " (id " << c.id << ", code " << c.code << "): got "
                                   << NameOf(got) << ", expected " << NameOf(c.expected);
    }
}

TEST(CommandAction, OnlyTheThreeCommandsActAcrossEveryIdentifier) {
    // Every identifier with a click or menu code: only 40000, 1001 and 1002 act.
    std::vector<uint16_t> acting;
    for (uint32_t id = 0; id <= 0xFFFF; ++id) {
        if (app::CommandAction(static_cast<uint16_t>(id), kClicked) != MainCommand::None) {
            acting.push_back(static_cast<uint16_t>(id));
        }
    }
    EXPECT_EQ(acting, (std::vector<uint16_t>{1001, 1002, 40000}));
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    for (;;) {
        const std::size_t end = text.find("\r\n");
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) return lines;
        text.remove_prefix(end + 2);
    }
}

TEST(AboutBox, CaptionAndFourLinesWithTwoEmptyLines) {
    EXPECT_STREQ(app::kAboutCaption, "Mini-Tarvo Server pt CNC v0.3");
    const std::string_view text = app::kAboutText;
    // Line ends are CR LF pairs only: no lone CR or LF.
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "lone CR at " << i;
        }
        if (text[i] == '\n') {
            EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "lone LF at " << i;
        }
    }
    const std::vector<std::string> lines = SplitLines(text);
    ASSERT_EQ(lines.size(), 6u) << "text: " << text;
    EXPECT_TRUE(lines[0].starts_with("http://")) << "web address: " << lines[0];
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "3:51 AM 5/20/2012");
    EXPECT_EQ(lines[3], "");
    EXPECT_TRUE(lines[4].starts_with("Idee: ") && lines[4].size() > 6) << lines[4];
    EXPECT_TRUE(lines[5].starts_with("Implementare: ") && lines[5].size() > 14) << lines[5];
}

}  // namespace
