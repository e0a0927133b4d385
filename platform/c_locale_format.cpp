#include "c_locale_format.h"

#include <cstdarg>
#include <cstdio>
#include <locale.h>
#include <vector>

namespace {

// Made once; a "C" locale object always exists, so newlocale cannot fail for lack of data.
locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

// Makes the "C" locale the calling thread's for the lifetime of the object.
class CThreadLocaleScope {
public:
    CThreadLocaleScope() : m_previous(uselocale(CLocale())) {}
    ~CThreadLocaleScope() { uselocale(m_previous); }
    CThreadLocaleScope(const CThreadLocaleScope&) = delete;
    CThreadLocaleScope& operator=(const CThreadLocaleScope&) = delete;

private:
    locale_t m_previous;
};

} // namespace

std::string FormatInCLocale(const char* format, ...) {
    const CThreadLocaleScope cLocale;
    char text[128];
    std::va_list arguments;
    va_start(arguments, format);
    std::va_list again;
    va_copy(again, arguments);
    const int length = std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    std::string result;
    if (length >= 0 && static_cast<std::size_t>(length) < sizeof text) {
        result.assign(text, static_cast<std::size_t>(length));
    } else if (length > 0) {
        std::vector<char> longer(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(longer.data(), longer.size(), format, again);
        result.assign(longer.data(), static_cast<std::size_t>(length));
    }
    va_end(again);
    return result;
}

std::string FormatTimeInCLocale(const char* format, const std::tm& fields) {
    char text[256];
    const std::size_t length = strftime_l(text, sizeof text, format, &fields, CLocale());
    return std::string(text, length);
}
