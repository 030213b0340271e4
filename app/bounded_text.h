#pragma once
// A NUL-terminated text built in a caller's buffer that it never outgrows: what does not fit
// is cut off. For the texts of the program's boxes. Platform-free.

#include <cstddef>
#include <span>
#include <string_view>

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

    BoundedText& operator<<(long long number) {
        char digits[24];
        std::size_t count = 0;
        const bool negative = number < 0;
        // Unsigned, so that the most negative number has a magnitude too.
        unsigned long long magnitude = negative ? 0ull - static_cast<unsigned long long>(number)
                                                : static_cast<unsigned long long>(number);
        do {
            digits[count++] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (negative) *this << "-";
        while (count > 0) *this << std::string_view(&digits[--count], 1);
        return *this;
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
