// The public text entries in the program's text mode, their A and W members, and the
// conversions through the system code page.

#include "runtime/text/number_text.h"
#include "runtime/text/text_convert.h"
#include "runtime/text/text_search.h"
#include "text_cases.h"
#include "text_mode_test.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace {

using modetest::Ascii;
using modetest::T;
using modetest::Text;
using modetest::Unit;

class MODE_SUITE(TextEntries) : public modetest::ModeTest {};

TEST_F(MODE_SUITE(TextEntries), SearchesFindTheFirstAndLastCharacter) {
    for (const auto& c : textcases::kSearches) {
        const Text t = T(c.text);
        EXPECT_EQ(runtime::FindChar(t.c_str(), c.character), c.first) << c.text << " / " << c.character;
        EXPECT_EQ(runtime::FindLastChar(t.c_str(), c.character), c.last) << c.text << " / " << c.character;
    }
}

TEST_F(MODE_SUITE(TextEntries), TrimsWorkInPlace) {
    for (const auto& c : textcases::kTrims) {
        Text t = T(c.text);
        const int32_t length = c.op == textcases::TrimLeftOp    ? runtime::TrimLeft(t.data())
                               : c.op == textcases::TrimRightOp ? runtime::TrimRight(t.data())
                                                                : runtime::Trim(t.data());
        EXPECT_EQ(length, c.length) << "\"" << c.text << "\" op " << c.op;
        EXPECT_EQ(Ascii(t.c_str()), c.result) << "\"" << c.text << "\" op " << c.op;
    }
}

TEST_F(MODE_SUITE(TextEntries), MnemonicsAreStrippedAndMatched) {
    for (const auto& c : textcases::kStrips) {
        Text destination(16, static_cast<Unit>('#'));
        const int32_t length = runtime::StripMnemonic(T(c.text).c_str(), destination.data(), c.keep);
        EXPECT_EQ(Ascii(destination.c_str()), c.result) << c.text << " keep " << c.keep;
        EXPECT_EQ(length, static_cast<int32_t>(std::string(c.result).size())) << c.text;
    }
    for (const auto& c : textcases::kMatches) {
        EXPECT_EQ(runtime::MatchMnemonic(T(c.text).c_str(), c.key), c.match) << c.text << " key " << c.key;
    }
}

TEST_F(MODE_SUITE(TextEntries), FormatNumberWritesEveryFormat) {
    for (const auto& c : textcases::kNumbers) {
        Unit buffer[runtime::kNumberTextCapacity];
        std::fill(std::begin(buffer), std::end(buffer), static_cast<Unit>('#'));
        const int32_t written = runtime::FormatNumber(c.value, buffer, c.format);
        EXPECT_EQ(Ascii(buffer), c.text) << c.value << " format " << c.format;
        EXPECT_EQ(written, static_cast<int32_t>(std::string(c.text).size())) << c.value;
    }
    Text untouched = T("keep");
    EXPECT_EQ(runtime::FormatNumber(5, untouched.data(), runtime::number_format::Nothing), 0);
    EXPECT_EQ(Ascii(untouched.c_str()), "keep") << "format 3 writes nothing";
}

TEST_F(MODE_SUITE(TextEntries), LengthsAndCopiesCountCharacters) {
    EXPECT_EQ(runtime::TextLength(nullptr), 0);
    EXPECT_EQ(runtime::TextLength(T("Project1").c_str()), 8);

    Text destination(12, static_cast<Unit>('#'));
    EXPECT_EQ(runtime::CopyText(destination.data(), T("COM1").c_str()), 4);
    EXPECT_EQ(Ascii(destination.c_str()), "COM1");
    EXPECT_EQ(destination[5], static_cast<Unit>('#')) << "nothing behind the terminator is written";
    EXPECT_EQ(runtime::CopyTextTo(destination.data(), T("COM12").c_str()), destination.data());
    EXPECT_EQ(Ascii(destination.c_str()), "COM12");
}

TEST_F(MODE_SUITE(TextEntries), CopyAnsiTextConvertsIntoTheMode) {
    Text destination(400, static_cast<Unit>('#'));
    EXPECT_EQ(runtime::CopyAnsiText("Project1.exe", destination.data()), destination.data());
    EXPECT_EQ(Ascii(destination.c_str()), "Project1.exe");

    std::fill(destination.begin(), destination.end(), static_cast<Unit>('#'));
    EXPECT_EQ(runtime::CopyAnsiText(nullptr, destination.data()), nullptr);
    EXPECT_EQ(destination[0], static_cast<Unit>('#')) << "a null source leaves the destination alone";

    // Wide mode converts at most 260 characters with the terminator; ANSI mode copies.
    const std::string longText(300, 'x');
    runtime::CopyAnsiText(longText.c_str(), destination.data());
    const std::size_t expected = modetest::kWideMode ? runtime::kAnsiCopyLimit - 1 : longText.size();
    EXPECT_EQ(Ascii(destination.c_str()).size(), expected);
}

TEST_F(MODE_SUITE(TextEntries), EveryMemberServesItsOwnTextsWhateverTheMode) {
    EXPECT_EQ(runtime::FindCharA("Window1.asm", '.'), 7);
    EXPECT_EQ(runtime::FindCharW(L"Window1.asm", '.'), 7);
    EXPECT_EQ(runtime::FindLastCharA("a.b.c", '.'), 3);
    EXPECT_EQ(runtime::FindLastCharW(L"a.b.c", '.'), 3);
    EXPECT_EQ(runtime::TextLengthA("abc"), 3);
    EXPECT_EQ(runtime::TextLengthW(L"abcd"), 4);
    EXPECT_EQ(runtime::MatchMnemonicA("&Save", 's'), 1);
    EXPECT_EQ(runtime::MatchMnemonicW(L"&save", 'S'), 0);

    char ansi[40] = " \tab \t";
    wchar_t wide[40] = L" \tab \t";
    EXPECT_EQ(runtime::TrimA(ansi), 2);
    EXPECT_EQ(runtime::TrimW(wide), 2);
    EXPECT_STREQ(ansi, "ab");
    EXPECT_STREQ(wide, L"ab");
    EXPECT_EQ(runtime::FormatNumberA(-1, ansi, 2), 9);
    EXPECT_EQ(runtime::FormatNumberW(-1, wide, 2), 9);
    EXPECT_STREQ(ansi, "FFFFFFFFH");
    EXPECT_STREQ(wide, L"FFFFFFFFH");
    EXPECT_EQ(runtime::CopyAnsiTextW("COM1", wide), wide);
    EXPECT_STREQ(wide, L"COM1");
    EXPECT_EQ(runtime::StripMnemonicW(L"&Open", wide, 0), 4);
    EXPECT_STREQ(wide, L"Open");
}

TEST_F(MODE_SUITE(TextEntries), ConversionsAlwaysEndTheirText) {
    const struct {
        const char* text;
        int32_t size;
        int32_t result;     // characters written with the terminator, 0 when cut
        const char* kept;   // the destination afterwards
    } cases[] = {
        {"abc", 8, 4, "abc"},
        {"abc", 4, 4, "abc"},  // exactly fits
        {"abcdef", 4, 0, "abc"},
        {"abcdef", 1, 0, ""},
        {"", 1, 1, ""},
    };
    for (const auto& c : cases) {
        wchar_t wide[16];
        std::fill(std::begin(wide), std::end(wide), L'#');
        EXPECT_EQ(runtime::AnsiToWide(c.text, wide, c.size), c.result) << c.text << " into " << c.size;
        std::string back;
        for (const wchar_t* p = wide; *p != 0; ++p) back.push_back(static_cast<char>(*p));
        EXPECT_EQ(back, c.kept) << c.text << " into " << c.size << " wide characters";
        EXPECT_EQ(wide[c.size], L'#') << "nothing is written beyond the size";

        const std::wstring source(c.text, c.text + std::string(c.text).size());
        char ansi[16];
        std::fill(std::begin(ansi), std::end(ansi), '#');
        EXPECT_EQ(runtime::WideToAnsi(source.c_str(), ansi, c.size), c.result) << c.text << " into " << c.size;
        EXPECT_EQ(std::string(ansi), c.kept) << c.text << " into " << c.size << " bytes";
        EXPECT_EQ(ansi[c.size], '#') << "nothing is written beyond the size";
    }
    wchar_t untouched[2] = {L'#', 0};
    EXPECT_EQ(runtime::AnsiToWide("abc", untouched, 0), 0);
    EXPECT_EQ(untouched[0], L'#') << "a size of 0 writes nothing";
}

}  // namespace
