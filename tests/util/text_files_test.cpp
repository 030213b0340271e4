// Text files on real files in a temporary folder: lines written with their break, lines read
// across every break and the file's end, long lines in pieces, the end of a file.

#include "runtime/util/text_files.h"
#include "tests/support/files.h"
#include "util_cases.h"
#include "util_session.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

using namespace utiltest;
using testsupport::ReadFileBytes;
using testsupport::UniqueHandle;
using testsupport::WriteFileBytes;

// ASCII as the bytes of a file in the program's text mode (UTF-16LE for wide).
std::string Encode(const std::string& ascii) {
    if (modetest::kWideMode == 0) return ascii;
    std::string bytes;
    for (const char c : ascii) bytes.append({c, '\0'});
    return bytes;
}

class MODE_SUITE(TextFiles) : public UtilTest {
protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
        folder_ = std::string(temp) + "mt_util_" + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr)) << folder_;
    }
    void TearDown() override {
        for (const std::string& file : made_) DeleteFileA(file.c_str());
        EXPECT_TRUE(RemoveDirectoryA(folder_.c_str())) << folder_ << " kept a file";
    }

    // A file of the folder (made with `bytes` when they are given), deleted afterwards.
    std::string File(const std::string& name, const std::string* bytes = nullptr) {
        made_.push_back(folder_ + "\\" + name);
        if (bytes != nullptr) {
            EXPECT_TRUE(WriteFileBytes(made_.back(), *bytes)) << made_.back();
        }
        return made_.back();
    }

    static UniqueHandle Open(const std::string& path, DWORD access, DWORD disposition) {
        return UniqueHandle(runtime::OpenTextFile(T(path.c_str()).c_str(), access, disposition));
    }

    // The lines ReadLine gives up to the end, and the end seen before each read.
    struct Reading {
        std::vector<std::string> lines;
        std::vector<int32_t> results;
        std::vector<int32_t> atEnd;
    };
    static Reading ReadAll(HANDLE file) {
        Reading reading;
        for (int guard = 0; guard < 20; ++guard) {
            reading.atEnd.push_back(runtime::AtEndOfFile(file));
            Text buffer(runtime::kLineLimit + 8, static_cast<Unit>('#'));
            const int32_t result = runtime::ReadLine(file, buffer.data());
            EXPECT_EQ(buffer[runtime::kLineLimit], static_cast<Unit>('#')) << "written past the buffer";
            reading.results.push_back(result);
            if (result == runtime::kNoMoreLines) break;
            reading.lines.push_back(Ascii(buffer.c_str()));
        }
        return reading;
    }

private:
    std::string folder_;
    std::vector<std::string> made_;
};

TEST_F(MODE_SUITE(TextFiles), WriteLineEndsEveryTextInOneBreak) {
    for (const auto& c : utilcases::kLineEnds) {
        const std::string path = File("written.txt");
        const Text text = T(c.text);
        {
            UniqueHandle file = Open(path, GENERIC_WRITE, CREATE_ALWAYS);
            ASSERT_TRUE(file.valid()) << path;
            EXPECT_EQ(runtime::WriteLine(file.get(), text.c_str()), 1) << "\"" << c.text << "\"";
        }
        EXPECT_EQ(ReadFileBytes(path), Encode(c.written)) << "\"" << c.text << "\"";
        EXPECT_EQ(Ascii(text.c_str()), c.text) << "the caller's text is left as it was";
    }
    EXPECT_EQ(runtime::WriteLine(INVALID_HANDLE_VALUE, T("x").c_str()), 0) << "a write that fails";
}

TEST_F(MODE_SUITE(TextFiles), ReadLineEndsAtEachBreakAndTheEnd) {
    const struct {
        const char* content;
        std::vector<std::string> lines;
    } cases[] = {
        {"one\r\ntwo\rthree\nfour", {"one", "two", "three", "four"}},
        {"a\n\rb", {"a", "", "b"}},
        {"\r\n\r\n", {"", ""}},
        {"last\r\n", {"last"}},
        {"x\r", {"x"}},
        {"abc\r\r\n", {"abc", ""}},
        {"", {}},
    };
    for (const auto& c : cases) {
        const std::string bytes = Encode(c.content);
        const std::string path = File("read.txt", &bytes);
        UniqueHandle file = Open(path, GENERIC_READ, OPEN_EXISTING);
        ASSERT_TRUE(file.valid()) << path;
        const Reading reading = ReadAll(file.get());
        EXPECT_EQ(reading.lines, c.lines) << "\"" << c.content << "\"";
        EXPECT_EQ(reading.results.back(), runtime::kNoMoreLines) << "\"" << c.content << "\"";
        EXPECT_EQ(reading.atEnd.back(), 1) << "\"" << c.content << "\": at the end before the last read";
        for (size_t i = 0; i + 1 < reading.atEnd.size(); ++i) {
            EXPECT_EQ(reading.atEnd[i], 0) << "\"" << c.content << "\": not at the end before line " << i;
        }
    }
}

TEST_F(MODE_SUITE(TextFiles), ALineLongerThanTheBufferComesInPieces) {
    const int32_t room = runtime::kLineLimit - 1;
    const std::string full(room, 'a');
    const std::string longLine(2000, 'b');
    const std::string bytes = Encode(full + "\r\n" + longLine + "\n" + "c");
    const std::string path = File("long.txt", &bytes);
    UniqueHandle file = Open(path, GENERIC_READ, OPEN_EXISTING);
    ASSERT_TRUE(file.valid());
    const Reading reading = ReadAll(file.get());
    const std::vector<int32_t> results = {room, runtime::kLineLimit, 2000 - room, 1, runtime::kNoMoreLines};
    EXPECT_EQ(reading.results, results);
    const std::vector<std::string> lines = {full, longLine.substr(0, room), longLine.substr(room), "c"};
    EXPECT_EQ(reading.lines, lines);
}

TEST_F(MODE_SUITE(TextFiles), FilesOpenUnsharedAndKnowTheirEnd) {
    const std::string path = File("end.txt");
    UniqueHandle file = Open(path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_TRUE(file.valid()) << path;
    EXPECT_EQ(runtime::AtEndOfFile(file.get()), 1) << "a new empty file";
    EXPECT_FALSE(Open(path, GENERIC_READ, OPEN_EXISTING).valid()) << "the file is held without sharing";
    runtime::WriteLine(file.get(), T("x").c_str());
    SetFilePointer(file.get(), 0, nullptr, FILE_BEGIN);
    EXPECT_EQ(runtime::AtEndOfFile(file.get()), 0) << "at the start of a line";
    file.Reset();
    EXPECT_FALSE(Open(File("missing.txt"), GENERIC_READ, OPEN_EXISTING).valid()) << "a file that is not there";
    EXPECT_EQ(runtime::AtEndOfFile(INVALID_HANDLE_VALUE), 1) << "no file: a read loop ends";
}

TEST_F(MODE_SUITE(TextFiles), TheMembersServeTheirOwnEncodingWhateverTheMode) {
    const std::string wideBytes("A\0\r\0\n\0B\0C", 9);  // the last unit is cut in half
    const std::string widePath = File("wide.txt", &wideBytes);
    UniqueHandle wide(CreateFileA(widePath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    wchar_t line[runtime::kLineLimit];
    EXPECT_EQ(runtime::ReadLineW(wide.get(), line), 1);
    EXPECT_STREQ(line, L"A");
    EXPECT_EQ(runtime::ReadLineW(wide.get(), line), 1);
    EXPECT_STREQ(line, L"B") << "the half unit at the end is dropped";
    EXPECT_EQ(runtime::ReadLineW(wide.get(), line), runtime::kNoMoreLines);
    EXPECT_EQ(runtime::AtEndOfFile(wide.get()), 1);

    const std::string ansiPath = File("ansi.txt");
    {
        UniqueHandle ansi(runtime::OpenTextFileA(ansiPath.c_str(), GENERIC_WRITE, CREATE_ALWAYS));
        EXPECT_EQ(runtime::WriteLineA(ansi.get(), "ansi"), 1);
    }
    EXPECT_EQ(ReadFileBytes(ansiPath), "ansi\r\n");
}

}  // namespace
