#pragma once
// A NUL-terminated text built in a caller's buffer that it never outgrows: what does not fit
// is cut off. For the texts of the program's boxes. Platform-free.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "runtime/text/number_format.h"

namespace app {

class BoundedText {
public:
    explicit BoundedText(std::span<char> buffer) : buffer_(buffer) { Terminate(); }

    BoundedText& operator<<(std::string_view part) {
        for (char c : part) {
            if (length_ + 1 >= buffer_.size()) break;
            buffer_[length_++] = c;
        }
        Terminate();
        return *this;
    }

    // In decimal, with a '-' when negative.
    BoundedText& operator<<(std::int32_t number) {
        char digits[runtime::kDecimalTextCapacity];
        const std::int32_t length = runtime::text::FormatNumber(number, digits, runtime::number_format::Decimal);
        return *this << std::string_view(digits, static_cast<std::size_t>(length));
    }

    // In unsigned decimal ("%lu").
    BoundedText& operator<<(std::uint32_t number) {
        char digits[runtime::kDecimalTextCapacity];
        const std::int32_t length = runtime::text::FormatUnsigned(number, digits);
        return *this << std::string_view(digits, static_cast<std::size_t>(length));
    }

    // Bytes before the NUL.
    std::size_t length() const { return length_; }

private:
    void Terminate() {
        if (!buffer_.empty()) buffer_[length_] = '\0';
    }

    std::span<char> buffer_;
    std::size_t length_ = 0;
};

}  // namespace app
