#pragma once
// Which peers the web front serves (--allow): IPv4 networks, each an address and a prefix
// length. Platform-free.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace web {

// One network: its address with the host bits cleared, and its mask (host byte order).
struct AllowEntry {
    std::uint32_t network = 0;
    std::uint32_t mask = 0;

    friend bool operator==(const AllowEntry&, const AllowEntry&) = default;
};

inline constexpr std::size_t kMaxAllowEntries = 16;

// An empty list allows every peer (no --allow).
struct AllowList {
    std::array<AllowEntry, kMaxAllowEntries> entries{};
    std::size_t count = 0;

    bool Allows(std::uint32_t address) const;
    friend bool operator==(const AllowList&, const AllowList&) = default;
};

// The mask of a prefix of `bits` (0 to 32) bits.
constexpr std::uint32_t MaskOfBits(std::uint32_t bits) {
    return bits == 0 ? 0u : ~0u << (32 - bits);
}

// Four dotted decimal parts of 0 to 255, each of one to three digits, in host byte order.
bool ParseIpv4Address(std::string_view text, std::uint32_t& address);

// "ADDR[/BITS][,ADDR[/BITS]...]": one to kMaxAllowEntries networks, BITS 0 to 32 (32 without
// it). Host bits under the mask are allowed and cleared. False, with `list` unchanged, for an
// empty entry, a malformed address or prefix, or too many entries.
bool ParseAllowList(std::string_view text, AllowList& list);

}  // namespace web
