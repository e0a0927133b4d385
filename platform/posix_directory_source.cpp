#include "posix_directory_source.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr std::size_t kBufferSize = 32 * 1024;

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

} // namespace

CPosixDirectorySource::~CPosixDirectorySource() {
    for (const Slot& slot : m_slots)
        if (slot.fd >= 0)
            ::close(slot.fd);
}

IDirectorySource::OpenResult CPosixDirectorySource::OpenRoot(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return {-1, errno, {}};
    return Adopt(fd);
}

IDirectorySource::OpenResult CPosixDirectorySource::OpenChild(Handle parent, const std::string& name) {
    const int fd = ::openat(m_slots[static_cast<std::size_t>(parent)].fd, name.c_str(),
                            O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return {-1, errno, {}};
    return Adopt(fd);
}

IDirectorySource::OpenResult CPosixDirectorySource::Adopt(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        return {-1, error, {}};
    }
    Handle handle;
    if (!m_freeSlots.empty()) {
        handle = m_freeSlots.back();
        m_freeSlots.pop_back();
    } else {
        try {
            m_freeSlots.reserve(m_slots.size() + 1); // so that Close never allocates
            m_slots.emplace_back();
        } catch (...) {
            ::close(fd);
            throw;
        }
        handle = static_cast<Handle>(m_slots.size() - 1);
    }
    Slot& slot = m_slots[static_cast<std::size_t>(handle)];
    if (!slot.buffer) {
        try {
            slot.buffer = std::make_unique<char[]>(kBufferSize);
        } catch (...) {
            ::close(fd);
            m_freeSlots.push_back(handle);
            throw;
        }
    }
    slot.fd = fd;
    slot.position = slot.length = 0;
    return {handle, 0, {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)}};
}

IDirectorySource::ReadResult CPosixDirectorySource::Next(Handle folder, DirectoryEntry& entry, int& error) {
    Slot& slot = m_slots[static_cast<std::size_t>(folder)];
    if (slot.position >= slot.length) {
        const long read = ::syscall(SYS_getdents64, slot.fd, slot.buffer.get(), kBufferSize);
        if (read < 0) {
            error = errno;
            return ReadResult::Error;
        }
        if (read == 0)
            return ReadResult::End;
        slot.position = 0;
        slot.length = static_cast<std::size_t>(read);
    }
    const auto* record = reinterpret_cast<const LinuxDirent64*>(slot.buffer.get() + slot.position);
    slot.position += record->d_reclen;
    const char* name = record->d_name;
    entry.name = name;
    entry.lastWrite = 0;
    if (record->d_type == DT_DIR || IsDots(name)) {
        entry.type = DirectoryEntry::Type::Folder;
        return ReadResult::Entry;
    }
    struct stat st {};
    if (::fstatat(slot.fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
        entry.type = DirectoryEntry::Type::Vanished;
        return ReadResult::Entry;
    }
    entry.type = S_ISDIR(st.st_mode) ? DirectoryEntry::Type::Folder : DirectoryEntry::Type::File;
    entry.lastWrite = static_cast<std::int64_t>(st.st_mtim.tv_sec);
    return ReadResult::Entry;
}

void CPosixDirectorySource::Close(Handle folder) {
    Slot& slot = m_slots[static_cast<std::size_t>(folder)];
    ::close(slot.fd);
    slot.fd = -1;
    m_freeSlots.push_back(folder);
}
