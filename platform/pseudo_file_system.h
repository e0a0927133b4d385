#pragma once

#include <cstdint>
#include <string_view>

// Whether a file system type (statfs's f_type) is one whose files the kernel makes up as they
// are read (proc, sysfs, devpts, cgroup, tracefs and their kin): their times are "now" or the
// boot, and say nothing about anyone's work.
bool IsPseudoFileSystemType(std::int64_t type);

// Whether a line of /proc/self/mountinfo mounts a devtmpfs on the device major:minor. A devtmpfs
// reports the type of a tmpfs, so only the mount table tells it apart.
bool MountsDevtmpfs(std::string_view mountInfoLine, unsigned major, unsigned minor);

// Whether the open folder fd lies on such a file system.
bool OnPseudoFileSystem(int fd);
