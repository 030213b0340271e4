#pragma once
// An allow list written out as --allow takes it, for the harnesses that read one back.

#include <cstdint>
#include <string>

#include "app/web/allow_list.h"

inline std::string AllowListText(const web::AllowList& list) {
    std::string text;
    for (std::size_t i = 0; i < list.count; ++i) {
        const std::uint32_t a = list.entries[i].network;
        int bits = 0;
        while (bits < 32 && (list.entries[i].mask & (0x80000000u >> bits)) != 0) ++bits;
        text += (i > 0 ? "," : "") + std::to_string(a >> 24) + "." + std::to_string((a >> 16) & 255) + "." +
                std::to_string((a >> 8) & 255) + "." + std::to_string(a & 255) + "/" + std::to_string(bits);
    }
    return text;
}
