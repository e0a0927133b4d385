#include "test_locale.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string CacheFolder() {
    const char* tmp = std::getenv("TMPDIR");
    const std::string base = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
    return base + "/busyscope-test-locales-" + std::to_string(::getuid());
}

bool IsFolder(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

} // namespace

std::string TestLocaleFolder(const std::string& name, std::string& problem) {
    const std::string folder = CacheFolder();
    const std::string target = folder + "/" + name;
    if (IsFolder(target))
        return folder;
    ::mkdir(folder.c_str(), 0755);
    // Compiled beside the target and renamed into place, so that tests running at the same
    // time never see half a locale.
    std::string scratch = folder + "/making-XXXXXX";
    if (::mkdtemp(scratch.data()) == nullptr) {
        problem = "cannot make a folder in " + folder;
        return {};
    }
    const std::string::size_type dot = name.find('.');
    const std::string source = name.substr(0, dot);
    const std::string charmap = dot == std::string::npos ? "UTF-8" : name.substr(dot + 1);
    const std::string command =
        "localedef -i " + source + " -f " + charmap + " " + scratch + "/" + name + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    const bool made = status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (made && ::rename((scratch + "/" + name).c_str(), target.c_str()) != 0 && !IsFolder(target))
        problem = "cannot move the compiled locale to " + target;
    else if (!made)
        problem = "localedef could not compile " + name + " (is the locales package installed?)";
    std::system(("rm -rf '" + scratch + "'").c_str());
    return problem.empty() ? folder : std::string();
}

CScopedProcessLocale::CScopedProcessLocale(const std::string& name, const std::string& folder) {
    if (const char* current = std::setlocale(LC_ALL, nullptr))
        m_previousLocale = current;
    if (const char* locPath = std::getenv("LOCPATH")) {
        m_hadLocPath = true;
        m_previousLocPath = locPath;
    }
    setenv("LOCPATH", folder.c_str(), 1);
    m_active = std::setlocale(LC_ALL, name.c_str()) != nullptr;
}

CScopedProcessLocale::~CScopedProcessLocale() {
    std::setlocale(LC_ALL, m_previousLocale.c_str());
    if (m_hadLocPath)
        setenv("LOCPATH", m_previousLocPath.c_str(), 1);
    else
        unsetenv("LOCPATH");
}
