#include "pseudo_file_system.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>

namespace {

// The types of the kernel's made-up file systems, as <linux/magic.h> numbers them.
constexpr std::array<std::int64_t, 20> kPseudoTypes{
    0x9fa0,     // proc
    0x62656572, // sysfs
    0x1cd1,     // devpts
    0x27e0eb,   // cgroup
    0x63677270, // cgroup2
    0x74726163, // tracefs
    0x64626720, // debugfs
    0x73636673, // securityfs
    0x6165676c, // pstore
    0xcafe4a11, // bpf
    0x62656570, // configfs
    0x65735543, // fusectl
    0x19800202, // mqueue
    0x958458f6, // hugetlbfs
    0x42494e4d, // binfmt_misc
    0xde5e81e4, // efivarfs
    0xf97cff8c, // selinuxfs
    0x6e736673, // nsfs
    0x67596969, // rpc_pipefs
    0x6e667364, // nfsd
};
constexpr std::int64_t kTmpfsType = 0x01021994;

} // namespace

bool IsPseudoFileSystemType(std::int64_t type) {
    return std::find(kPseudoTypes.begin(), kPseudoTypes.end(), type) != kPseudoTypes.end();
}

bool MountsDevtmpfs(std::string_view line, unsigned major, unsigned minor) {
    // "ID PARENT MAJOR:MINOR ROOT POINT OPTIONS [TAGS...] - TYPE SOURCE OPTIONS"
    std::size_t start = 0;
    for (int field = 0; field < 2; ++field) {
        start = line.find(' ', start);
        if (start == std::string_view::npos)
            return false;
        ++start;
    }
    const std::string device = std::to_string(major) + ":" + std::to_string(minor) + " ";
    const std::size_t separator = line.find(" - ");
    return line.substr(start, device.size()) == device && separator != std::string_view::npos &&
           line.substr(separator + 3).starts_with("devtmpfs ");
}

bool OnPseudoFileSystem(int fd) {
    struct statfs fileSystem {};
    if (::fstatfs(fd, &fileSystem) != 0)
        return false;
    const auto type = static_cast<std::int64_t>(fileSystem.f_type);
    if (type != kTmpfsType)
        return IsPseudoFileSystemType(type);
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return false;
    std::ifstream mounts("/proc/self/mountinfo");
    for (std::string line; std::getline(mounts, line);)
        if (MountsDevtmpfs(line, major(st.st_dev), minor(st.st_dev)))
            return true;
    return false;
}
