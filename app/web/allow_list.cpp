#include "app/web/allow_list.h"

namespace web {

namespace {

// One to `maxDigits` digits "0" to "9" worth at most `high`.
bool ReadSmallNumber(std::string_view digits, std::size_t maxDigits, std::uint32_t high,
                     std::uint32_t& out) {
    if (digits.empty() || digits.size() > maxDigits) return false;
    std::uint32_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    if (value > high) return false;
    out = value;
    return true;
}

bool ParseEntry(std::string_view text, AllowEntry& entry) {
    const std::size_t slash = text.find('/');
    std::uint32_t address = 0;
    std::uint32_t bits = 32;
    if (!ParseIpv4Address(text.substr(0, slash), address)) return false;
    if (slash != std::string_view::npos && !ReadSmallNumber(text.substr(slash + 1), 2, 32, bits)) {
        return false;
    }
    entry.mask = MaskOfBits(bits);
    entry.network = address & entry.mask;
    return true;
}

}  // namespace

bool AllowList::Allows(std::uint32_t address) const {
    if (count == 0) return true;
    for (std::size_t i = 0; i < count && i < entries.size(); ++i) {
        if ((address & entries[i].mask) == entries[i].network) return true;
    }
    return false;
}

bool ParseIpv4Address(std::string_view text, std::uint32_t& out) {
    std::uint32_t address = 0;
    for (int part = 0; part < 4; ++part) {
        const std::size_t dot = text.find('.');
        const bool last = part == 3;
        if (last != (dot == std::string_view::npos)) return false;
        std::uint32_t value = 0;
        if (!ReadSmallNumber(text.substr(0, dot), 3, 255, value)) return false;
        address = (address << 8) | value;
        text.remove_prefix(last ? text.size() : dot + 1);
    }
    out = address;
    return true;
}

bool ParseAllowList(std::string_view text, AllowList& list) {
    AllowList read;
    for (;;) {
        const std::size_t comma = text.find(',');
        if (read.count == read.entries.size() || !ParseEntry(text.substr(0, comma), read.entries[read.count])) {
            return false;
        }
        ++read.count;
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    list = read;
    return true;
}

}  // namespace web
