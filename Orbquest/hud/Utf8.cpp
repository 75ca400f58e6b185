#include "hud/Utf8.h"

namespace {

constexpr char32_t kReplacement = 0xfffd;

// How many bytes follow a lead byte, and the bits it carries; -1 for a byte that cannot lead.
int followers(unsigned char lead, char32_t& bits) {
    if (lead < 0x80) {
        bits = lead;
        return 0;
    }
    if (lead >= 0xc2 && lead <= 0xdf) {
        bits = lead & 0x1fu;
        return 1;
    }
    if (lead >= 0xe0 && lead <= 0xef) {
        bits = lead & 0x0fu;
        return 2;
    }
    if (lead >= 0xf0 && lead <= 0xf4) {
        bits = lead & 0x07u;
        return 3;
    }
    return -1;
}

}  // namespace

std::u32string decodeUtf8(const std::string& text) {
    std::u32string points;
    for (size_t at = 0; at < text.size();) {
        char32_t point = 0;
        const int more = followers(static_cast<unsigned char>(text[at]), point);
        size_t next = at + 1;
        bool valid = more >= 0 && at + static_cast<size_t>(more) < text.size();
        for (int i = 0; valid && i < more; ++i, ++next) {
            const unsigned char byte = static_cast<unsigned char>(text[next]);
            valid = (byte & 0xc0u) == 0x80u;
            point = (point << 6) | (byte & 0x3fu);
        }
        // Overlong forms, surrogates and points past U+10FFFF are not text.
        static const char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        valid = valid && point >= kSmallest[more] && point <= 0x10ffff &&
                !(point >= 0xd800 && point <= 0xdfff);
        points.push_back(valid ? point : kReplacement);
        at = valid ? next : at + 1;
    }
    return points;
}
