// The allow list of --allow over arbitrary text: an accepted list holds one to sixteen
// networks, each a prefix mask over an address without host bits, writes out and reads back as
// itself, and allows exactly the addresses inside one of its networks; a refused one leaves the
// list as it was.

#include <cstdint>
#include <string>
#include <string_view>

#include "app/web/allow_list.h"
#include "fuzz/allow_list_text.h"
#include "fuzz/fuzz_check.h"


extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    web::AllowList list;
    list.entries[0] = {0x01020304, 0xFFFFFFFF};
    list.count = 1;
    const web::AllowList before = list;
    if (!web::ParseAllowList(text, list)) {
        FUZZ_CHECK(list == before, "a refused list changed the list");
        return 0;
    }
    FUZZ_CHECK(list.count >= 1 && list.count <= web::kMaxAllowEntries, "%zu entries", list.count);
    for (std::size_t i = 0; i < list.count; ++i) {
        const web::AllowEntry& entry = list.entries[i];
        const std::uint32_t host = ~entry.mask;
        FUZZ_CHECK((host & (host + 1)) == 0, "mask %08x is no prefix", entry.mask);
        FUZZ_CHECK((entry.network & host) == 0, "network %08x has host bits", entry.network);
        FUZZ_CHECK(list.Allows(entry.network) && list.Allows(entry.network | host), "its own network refused");
    }
    for (std::size_t i = list.count; i < list.entries.size(); ++i) {
        FUZZ_CHECK(list.entries[i] == web::AllowEntry{}, "entry %zu behind the count is set", i);
    }
    const std::string again = AllowListText(list);
    web::AllowList reread;
    FUZZ_CHECK(web::ParseAllowList(again, reread) && reread == list, "\"%s\" does not read back", again.c_str());

    // Addresses from the input's bytes: allowed exactly when inside one of the networks.
    for (std::size_t at = 0; at + 4 <= size; at += 4) {
        const std::uint32_t address = (std::uint32_t{data[at]} << 24) | (std::uint32_t{data[at + 1]} << 16) |
                                      (std::uint32_t{data[at + 2]} << 8) | data[at + 3];
        bool inside = false;
        for (std::size_t i = 0; i < list.count; ++i) {
            inside = inside || (address & list.entries[i].mask) == list.entries[i].network;
        }
        FUZZ_CHECK(list.Allows(address) == inside, "address %08x", address);
    }
    return 0;
}
