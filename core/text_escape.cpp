#include "text_escape.h"

#include "c_locale_format.h"

namespace {

std::string HexEscape(const char* format, unsigned value) {
    return FormatInCLocale(format, value);
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
