#pragma once
// Lookup tables for code page 932, built once from glibc's "CP932" iconv
// converter so the per-byte work is a plain array read.

#include <array>
#include <cstdint>

namespace torvane::cp932 {

constexpr char16_t kReplacement = u'\uFFFD';

struct Tables {
    // Every single byte: ASCII, halfwidth katakana, U+FFFD when undefined.
    // Lead bytes read here as U+FFFD too; `isLead` says to look further.
    std::array<char16_t, 256> single{};
    std::array<bool, 256> isLead{};
    // Indexed by leadIndex(lead) * 256 + trail; 0 where the pair is undefined.
    std::array<char16_t, 60 * 256> pairs{};
    // Indexed by UTF-16 unit; 0 = not in the code page, below 0x100 one byte,
    // otherwise lead << 8 | trail. Units below 0x80 are ASCII and not stored.
    std::array<std::uint16_t, 65536> encode{};

    char16_t pair(unsigned char lead, unsigned char trail) const {
        return pairs[static_cast<std::size_t>(leadIndex(lead)) * 256 + trail];
    }

    // The leads are 0x81-0x9F then 0xE0-0xFC, packed without the gap.
    static int leadIndex(unsigned char lead) { return lead < 0xA0 ? lead - 0x81 : lead - 0xE0 + 31; }
};

// Built on first use; safe to call from several threads.
const Tables& getTables();

}  // namespace torvane::cp932
