#include "test_tree.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

std::string Quoted(const std::string& path) {
    std::string quoted = "'";
    for (const char c : path)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace

CTestTree::CTestTree(const std::string& base) {
    const char* tmp = std::getenv("TMPDIR");
    const std::string folder = !base.empty() ? base : tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
    std::string pattern = folder + "/busyscope-test-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr)
        Fail("mkdtemp");
    m_root = pattern;
}

CTestTree::~CTestTree() {
    // rm walks by descriptor, so chains deeper than PATH_MAX go too; chmod first so that
    // unreadable folders of a non-root run can be emptied.
    const std::string command = "chmod -R u+rwx " + Quoted(m_root) + " 2>/dev/null; rm -rf " + Quoted(m_root);
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "could not remove %s\n", m_root.c_str());
}

void CTestTree::AddFolder(const std::string& relative) {
    std::string path = m_root;
    std::size_t start = 0;
    while (start <= relative.size()) {
        const std::size_t slash = relative.find('/', start);
        const std::size_t end = slash == std::string::npos ? relative.size() : slash;
        path += "/" + relative.substr(start, end - start);
        if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST)
            Fail("mkdir " + path);
        start = end + 1;
    }
}

namespace {

std::string Parent(const std::string& relative) {
    const std::size_t slash = relative.rfind('/');
    return slash == std::string::npos ? std::string() : relative.substr(0, slash);
}

} // namespace

void CTestTree::AddFile(const std::string& relative, std::int64_t lastWrite) {
    AddFolder(Parent(relative));
    const int fd = ::open(Path(relative).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        Fail("create " + relative);
    ::close(fd);
    SetTime(relative, lastWrite);
}

void CTestTree::AddLink(const std::string& relative, const std::string& target, std::int64_t lastWrite) {
    AddFolder(Parent(relative));
    if (::symlink(target.c_str(), Path(relative).c_str()) != 0)
        Fail("symlink " + relative);
    SetTime(relative, lastWrite);
}

void CTestTree::AddFifo(const std::string& relative, std::int64_t lastWrite) {
    AddFolder(Parent(relative));
    if (::mkfifo(Path(relative).c_str(), 0644) != 0)
        Fail("mkfifo " + relative);
    SetTime(relative, lastWrite);
}

void CTestTree::SetMode(const std::string& relative, unsigned mode) {
    if (::chmod(Path(relative).c_str(), mode) != 0)
        Fail("chmod " + relative);
}

void CTestTree::SetTime(const std::string& relative, std::int64_t lastWrite) {
    const struct timespec times[2] = {{static_cast<time_t>(lastWrite), 0},
                                      {static_cast<time_t>(lastWrite), 0}};
    if (::utimensat(AT_FDCWD, Path(relative).c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        Fail("utimensat " + relative);
}

void CTestTree::AddChain(const std::string& relative, int depth, const std::string& name,
                         std::int64_t bottomFileTime) {
    AddFolder(relative);
    int fd = ::open(Path(relative).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        Fail("open " + relative);
    for (int level = 0; level < depth; ++level) {
        if (::mkdirat(fd, name.c_str(), 0755) != 0)
            Fail("mkdirat");
        const int child = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        if (child < 0)
            Fail("openat");
        fd = child;
    }
    const int file = ::openat(fd, "bottom", O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (file < 0)
        Fail("create bottom");
    const struct timespec times[2] = {{static_cast<time_t>(bottomFileTime), 0},
                                      {static_cast<time_t>(bottomFileTime), 0}};
    ::futimens(file, times);
    ::close(file);
    ::close(fd);
}
