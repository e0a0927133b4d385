#include "text_escape.h"

#include "c_locale_format.h"

namespace {

std::string HexEscape(const char* format, unsigned value) {
    return FormatInCLocale(format, value);
}

// Length of the valid UTF-8 sequence at the start of text, or 0 if it is not one.
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

} // namespace

std::string JsonQuote(std::string_view text) {
    std::string quoted = "\"";
    while (!text.empty()) {
        const unsigned char c = static_cast<unsigned char>(text[0]);
        const std::size_t length = Utf8SequenceLength(text);
        if (length == 0) {
            quoted += "\\ufffd";
            text.remove_prefix(1);
            continue;
        }
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\t':
            quoted += "\\t";
            break;
        case '\r':
            quoted += "\\r";
            break;
        default:
            if (c < 0x20 || c == 0x7F)
                quoted += HexEscape("\\u%04x", c);
            else
                quoted.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return quoted + "\"";
}

std::string CsvQuote(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string DisplayText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            shown += HexEscape("\\x%02x", byte);
        else
            shown += c;
    }
    return shown;
}
