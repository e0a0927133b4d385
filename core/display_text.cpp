#include "display_text.h"

namespace {

// Whether the valid UTF-8 sequence at the start of text is a character that moves or drives a
// line rather than showing: C0 controls and DEL, C1 controls (U+0080 to U+009F), and the line and
// paragraph separators U+2028 and U+2029.
bool IsControlSequence(std::string_view sequence) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(sequence[i]); };
    switch (sequence.size()) {
    case 1:
        return byte(0) < 0x20 || byte(0) == 0x7F;
    case 2:
        return byte(0) == 0xC2 && byte(1) < 0xA0;
    case 3:
        return byte(0) == 0xE2 && byte(1) == 0x80 && (byte(2) == 0xA8 || byte(2) == 0xA9);
    default:
        return false;
    }
}

void AppendHexEscape(std::string& shown, unsigned char byte) {
    constexpr char kDigits[] = "0123456789abcdef";
    shown += "\\x";
    shown += kDigits[byte >> 4];
    shown += kDigits[byte & 0x0F];
}

} // namespace

std::size_t Utf8SequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length;
    unsigned codePoint;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    const bool overlong = (length == 3 && codePoint < 0x800) || (length == 4 && codePoint < 0x10000);
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (overlong || surrogate || codePoint > 0x10FFFF)
        return 0;
    return length;
}

std::string DisplayText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    while (!text.empty()) {
        const std::size_t length = Utf8SequenceLength(text);
        const std::string_view sequence = text.substr(0, length == 0 ? 1 : length);
        if (length == 0 || IsControlSequence(sequence)) {
            for (const char c : sequence)
                AppendHexEscape(shown, static_cast<unsigned char>(c));
        } else if (sequence == "\\") {
            shown += "\\\\";
        } else {
            shown += sequence;
        }
        text.remove_prefix(sequence.size());
    }
    return shown;
}
