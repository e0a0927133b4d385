#pragma once

#include <string>

// Locales other than "C" for tests, compiled with localedef from the sources of the `locales`
// package into a folder under TMPDIR (else /tmp) that later runs reuse. Returns the folder to
// give as LOCPATH, or an empty string with the reason in problem when the locale cannot be made.
std::string TestLocaleFolder(const std::string& name, std::string& problem);

// Switches every category of the process locale to name, found through LOCPATH=folder, as the
// application object does from LANG at start-up; puts the previous locale and LOCPATH back.
class CScopedProcessLocale {
public:
    CScopedProcessLocale(const std::string& name, const std::string& folder);
    ~CScopedProcessLocale();
    CScopedProcessLocale(const CScopedProcessLocale&) = delete;
    CScopedProcessLocale& operator=(const CScopedProcessLocale&) = delete;

    // False when setlocale refused the name.
    bool Active() const { return m_active; }

private:
    std::string m_previousLocale;
    bool m_hadLocPath = false;
    std::string m_previousLocPath;
    bool m_active = false;
};

// The locales the fixed formats are checked under: German (decimal comma, German names, a
// 24-hour clock) and British English ("am" and "pm").
inline const char* const kTestLocales[] = {"de_DE.UTF-8", "en_GB.UTF-8"};
