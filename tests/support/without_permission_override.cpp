#include "without_permission_override.h"

#include "checked_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest-spi.h>
#include <linux/capability.h>
#include <string>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kOverrides[] = {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH};
constexpr unsigned kTimeLimitSeconds = 120;

// Takes the overrides out of the bounding set (so a program started later cannot regain
// them, as root would at exec) and out of the effective, permitted and inheritable sets.
std::string GiveUpPermissionOverride() {
    for (const int capability : kOverrides) {
        const bool bounded = ::prctl(PR_CAPBSET_READ, capability, 0, 0, 0) == 1;
        if (bounded && ::prctl(PR_CAPBSET_DROP, capability, 0, 0, 0) != 0 && ::geteuid() == 0)
            return std::string("cannot drop a capability from the bounding set: ") + std::strerror(errno);
    }
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct sets[_LINUX_CAPABILITY_U32S_3]{};
    if (::syscall(SYS_capget, &header, sets) != 0)
        return std::string("capget: ") + std::strerror(errno);
    for (const int capability : kOverrides) {
        const unsigned bit = 1u << (capability % 32);
        __user_cap_data_struct& set = sets[capability / 32];
        set.effective &= ~bit;
        set.permitted &= ~bit;
        set.inheritable &= ~bit;
    }
    if (::syscall(SYS_capset, &header, sets) != 0)
        return std::string("capset: ") + std::strerror(errno);
    return {};
}

// In the child: runs the part with its assertions captured and writes every failure to fd.
[[noreturn]] void RunPart(const std::function<void()>& part, int fd) {
    ::alarm(kTimeLimitSeconds); // a part that hangs ends as a failure
    std::string failures = GiveUpPermissionOverride();
    if (failures.empty()) {
        testing::TestPartResultArray results;
        {
            testing::ScopedFakeTestPartResultReporter capture(
                testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
            try {
                part();
            } catch (const std::exception& error) {
                failures += std::string("exception: ") + error.what() + "\n";
            } catch (...) {
                failures += "unknown exception\n";
            }
        }
        for (int i = 0; i < results.size(); ++i) {
            const testing::TestPartResult& result = results.GetTestPartResult(i);
            if (result.failed())
                failures += std::string(result.file_name() ? result.file_name() : "?") + ":" +
                            std::to_string(result.line_number()) + ": " + result.message() + "\n";
        }
    }
    WriteAll(fd, failures);
    ::_exit(failures.empty() ? 0 : 1);
}

} // namespace

void RunWithoutPermissionOverride(const std::function<void()>& part) {
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "pipe: " << std::strerror(errno);
        return;
    }
    std::fflush(nullptr); // nothing buffered is written twice
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        RunPart(part, pipe[1]);
    }
    ::close(pipe[1]);
    if (child < 0) {
        ADD_FAILURE() << "fork: " << std::strerror(errno);
        ::close(pipe[0]);
        return;
    }
    std::string failures;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) != 0;) {
        if (n > 0)
            failures.append(buffer, static_cast<std::size_t>(n));
        else if (errno != EINTR)
            break;
    }
    ::close(pipe[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status))
        ADD_FAILURE() << "the part run without permission override ended abnormally (status " << status
                      << ")\n"
                      << failures;
    else if (WEXITSTATUS(status) != 0 || !failures.empty())
        ADD_FAILURE() << "in the part run without permission override:\n" << failures;
}
