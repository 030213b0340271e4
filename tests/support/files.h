#pragma once
// Files and handles in tests: one owner each, released when the owner goes.

#include <windows.h>

#include <string>

namespace testsupport {

// Owns a kernel handle; INVALID_HANDLE_VALUE and nullptr mean none.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept;
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE Release();
    void Reset(HANDLE handle = INVALID_HANDLE_VALUE);

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// A file created (or emptied) with the given contents under `path` (relative paths are in the
// working directory), deleted when the object goes.
class TempFile {
public:
    explicit TempFile(std::string path, const std::string& contents = {});
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const { return path_; }
    // The file's bytes now; empty when it cannot be read (for instance held exclusively).
    std::string Read() const;

private:
    std::string path_;
};

// Whole-file helpers. ReadFileBytes gives "" when the file cannot be opened.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);

}  // namespace testsupport
