#include "net/cp932_tables.h"

#include <iconv.h>
#include <QtGlobal>
#include <memory>

namespace torvane::cp932 {
namespace {

constexpr unsigned char kFirstKatakanaByte = 0xA1;
constexpr unsigned char kLastKatakanaByte = 0xDF;
constexpr char16_t kFirstHalfwidthKatakana = u'\uFF61';
constexpr int kPreferenceRanks = 4;

// Characters Linux input methods type that the code page only holds under a
// look-alike; Windows sends the look-alike, and so do we.
struct BestFit {
    char16_t character;
    std::uint16_t bytes;
};
constexpr std::array<BestFit, 7> kBestFits{{
    {u'\u301C', 0x8160},  // wave dash -> fullwidth tilde
    {u'\u2016', 0x8161},  // double vertical line -> parallel to
    {u'\u2212', 0x817C},  // minus sign -> fullwidth hyphen-minus
    {u'\u2014', 0x815C},  // em dash -> horizontal bar
    {u'\u00A2', 0x8191},  // cent sign -> fullwidth cent sign
    {u'\u00A3', 0x8192},  // pound sign -> fullwidth pound sign
    {u'\u00AC', 0x81CA},  // not sign -> fullwidth not sign
}};

bool isLeadByte(int b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool isTrailByte(int b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// Where several pairs decode to one character, Windows encodes the pair of
// the lowest rank: JIS X 0208, then NEC row 13, then the IBM extensions, then
// the NEC-selected copies of the IBM extensions.
int preferenceRank(int lead) {
    if (lead == 0x87) {
        return 1;
    }
    if (lead >= 0xFA) {
        return 2;
    }
    if (lead == 0xED || lead == 0xEE) {
        return 3;
    }
    return 0;
}

// The one UTF-16 unit iconv makes of a byte pair, or 0 if it makes none.
char16_t decodePair(iconv_t converter, unsigned char lead, unsigned char trail) {
    char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    unsigned char out[4] = {};
    char* inPtr = in;
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t inLeft = sizeof in;
    std::size_t outLeft = sizeof out;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    const std::size_t result = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
    if (result == static_cast<std::size_t>(-1) || inLeft != 0 || outLeft != sizeof out - 2) {
        return 0;
    }
    return static_cast<char16_t>(out[0] << 8 | out[1]);
}

void fillSingleBytes(Tables& tables) {
    tables.single.fill(kReplacement);
    for (int b = 0; b < 0x80; ++b) {
        tables.single[b] = static_cast<char16_t>(b);
    }
    for (int b = kFirstKatakanaByte; b <= kLastKatakanaByte; ++b) {
        const auto character = static_cast<char16_t>(kFirstHalfwidthKatakana + (b - kFirstKatakanaByte));
        tables.single[b] = character;
        tables.encode[character] = static_cast<std::uint16_t>(b);
    }
    for (int b = 0; b < 256; ++b) {
        tables.isLead[b] = isLeadByte(b);
    }
}

void fillPairs(Tables& tables) {
    iconv_t converter = iconv_open("UTF-16BE", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        qFatal("The CP932 converter of iconv is missing");
    }
    for (int lead = 0; lead < 256; ++lead) {
        if (!isLeadByte(lead)) {
            continue;
        }
        for (int trail = 0; trail < 256; ++trail) {
            if (isTrailByte(trail)) {
                tables.pairs[Tables::leadIndex(lead) * 256 + trail] = decodePair(converter, lead, trail);
            }
        }
    }
    iconv_close(converter);
}

void fillPairEncodings(Tables& tables) {
    for (int rank = 0; rank < kPreferenceRanks; ++rank) {
        for (int lead = 0; lead < 256; ++lead) {
            if (!isLeadByte(lead) || preferenceRank(lead) != rank) {
                continue;
            }
            for (int trail = 0; trail < 256; ++trail) {
                const char16_t character = tables.pairs[Tables::leadIndex(lead) * 256 + trail];
                if (character != 0 && tables.encode[character] == 0) {
                    tables.encode[character] = static_cast<std::uint16_t>(lead << 8 | trail);
                }
            }
        }
    }
    for (const BestFit& fit : kBestFits) {
        tables.encode[fit.character] = fit.bytes;
    }
}

std::unique_ptr<const Tables> buildTables() {
    auto tables = std::make_unique<Tables>();
    fillSingleBytes(*tables);
    fillPairs(*tables);
    fillPairEncodings(*tables);
    return tables;
}

}  // namespace

const Tables& getTables() {
    static const std::unique_ptr<const Tables> tables = buildTables();
    return *tables;
}

}  // namespace torvane::cp932
