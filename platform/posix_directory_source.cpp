#include "posix_directory_source.h"

#include "pseudo_file_system.h"

#include <cerrno>
#include <climits>
#include <cstddef>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

// The record layout getdents64 fills in.
struct LinuxDirent64 {
    ino64_t d_ino;
    off64_t d_off;
    unsigned short d_reclen;
    unsigned char d_type;
    char d_name[1];
};

bool IsDots(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The folder just opened as fd (-1 when it could not be, errno telling why).
IDirectorySource::OpenResult Identify(int fd) {
    struct stat st {};
    if (fd >= 0 && ::fstat(fd, &st) == 0)
        return {fd, 0, {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)}};
    const int error = errno;
    if (fd >= 0)
        ::close(fd);
    return {-1, error, {}};
}

EntryKind KindOf(unsigned char type) {
    return type == DT_DIR ? EntryKind::Folder : type == DT_UNKNOWN ? EntryKind::Unknown : EntryKind::Other;
}

// The descriptors the process has open, the one used to count them left out.
std::size_t OpenDescriptors(rlim_t limit) {
    std::size_t open = 0;
    if (DIR* const listing = ::opendir("/proc/self/fd")) {
        while (const dirent* entry = ::readdir(listing))
            open += IsDots(entry->d_name) ? 0U : 1U;
        ::closedir(listing);
        return open - 1;
    }
    for (rlim_t fd = 0; fd < limit && fd < 65536; ++fd) // no /proc: ask about each number below it
        open += ::fcntl(static_cast<int>(fd), F_GETFD) != -1 ? 1U : 0U;
    return open;
}

} // namespace

std::size_t CPosixDirectorySource::HandlesLeft() {
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return kNoHandleLimit;
    const std::size_t open = OpenDescriptors(limit.rlim_cur);
    return limit.rlim_cur > open ? static_cast<std::size_t>(limit.rlim_cur) - open : 0;
}

IDirectorySource::OpenResult CPosixDirectorySource::OpenRoot(const std::string& path) {
    return Identify(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

IDirectorySource::OpenResult CPosixDirectorySource::OpenChild(Handle parent, const char* name) {
    return Identify(::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

int CPosixDirectorySource::List(Handle folder, CFolderListing& listing) {
    alignas(LinuxDirent64) static thread_local char buffer[kBufferSize];
    for (;;) {
        const long read = ::syscall(SYS_getdents64, folder, buffer, kBufferSize);
        if (read < 0)
            return errno;
        if (read == 0)
            return 0;
        for (long position = 0; position < read;) {
            const auto* record = reinterpret_cast<const LinuxDirent64*>(buffer + position);
            position += record->d_reclen;
            if (!IsDots(record->d_name))
                listing.Add(record->d_name, KindOf(record->d_type));
        }
    }
}

EntryTime CPosixDirectorySource::ReadTime(Handle folder, const char* name) {
    struct statx st {};
    if (::statx(folder, name, AT_SYMLINK_NOFOLLOW | AT_STATX_DONT_SYNC, STATX_TYPE | STATX_MTIME, &st) != 0)
        return {errno, false, 0};
    return {0, S_ISDIR(st.stx_mode), static_cast<std::int64_t>(st.stx_mtime.tv_sec)};
}

void CPosixDirectorySource::Close(Handle folder) {
    ::close(folder);
}

bool CPosixDirectorySource::OnPseudoFileSystem(Handle folder) {
    return ::OnPseudoFileSystem(folder);
}

std::string CPosixDirectorySource::FolderPath(Handle folder) {
    const std::string link = "/proc/self/fd/" + std::to_string(folder);
    std::string path(PATH_MAX, '\0');
    const ssize_t length = ::readlink(link.c_str(), path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size())
        return {};
    path.resize(static_cast<std::size_t>(length));
    return path;
}
