// Writing a whole file: every failing step is reported, a late one from close() as well.
#include "checked_output.h"
#include "test_tree.h"

#include <atomic>
#include <cerrno>
#include <dlfcn.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace {

// The error the next close() reports after closing, as a network file system reports a write
// it could not complete; 0 for none.
std::atomic<int> g_nextCloseError{0};

std::string Contents(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

extern "C" int close(int fd) {
    using Close = int (*)(int);
    static const Close realClose = reinterpret_cast<Close>(::dlsym(RTLD_NEXT, "close"));
    const int result = realClose(fd);
    if (const int error = g_nextCloseError.exchange(0); error != 0 && result == 0) {
        errno = error;
        return -1;
    }
    return result;
}

namespace {

TEST(CheckedOutput, WritingAWholeFileReportsTheFirstFailingStep) {
    CTestTree tree;
    const std::string path = tree.Path("picture.png");
    EXPECT_EQ(WriteWholeFile(path, "first"), 0);
    EXPECT_EQ(Contents(path), "first");

    g_nextCloseError = EIO;
    EXPECT_EQ(WriteWholeFile(path, "second"), EIO) << "the close that failed";
    EXPECT_EQ(g_nextCloseError, 0);

    g_nextCloseError = EIO;
    EXPECT_EQ(WriteWholeFile("/dev/full", "third"), ENOSPC) << "the write failed first";
    g_nextCloseError = 0;

    EXPECT_EQ(WriteWholeFile(tree.Path("missing/picture.png"), "fourth"), ENOENT);
}

} // namespace
