#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

// A stream over an open descriptor that remembers why a write failed, so that a program can end
// with a message instead of reporting success. The descriptor is not closed.
class CCheckedOutput {
public:
    explicit CCheckedOutput(int fd);
    ~CCheckedOutput();
    CCheckedOutput(const CCheckedOutput&) = delete;
    CCheckedOutput& operator=(const CCheckedOutput&) = delete;

    std::ostream& Stream() { return m_stream; }

    // Writes out what is still buffered. Returns 0 when everything reached the descriptor,
    // else the errno of the first write that failed.
    int Finish();

private:
    class Buffer;
    std::unique_ptr<Buffer> m_buffer;
    std::ostream m_stream;
};

// Writes all of bytes to the descriptor, retrying short writes and interruptions. Returns 0, or
// the errno of the write that failed.
int WriteAll(int fd, std::string_view bytes);

// Creates or truncates the file and writes bytes to it. Returns 0, or the errno of the step that failed.
int WriteWholeFile(const std::string& path, std::string_view bytes);

// Writes text to standard output. When that fails, says so on standard error as
// "<program>: cannot write <what>: <reason>" and returns 1; otherwise returns 0.
int PrintOrComplain(std::string_view program, std::string_view what, std::string_view text);

// "<program>: cannot write <what>: <reason of error>", the line a failed output ends with.
std::string WriteFailureMessage(std::string_view program, std::string_view what, int error);

// Puts /dev/null, opened the wrong way round, on each standard descriptor (0, 1, 2) the program
// was started without, so that no file it opens later takes that number: reading or writing the
// descriptor still fails with EBADF ("Bad file descriptor"), as it would closed. Called first.
void HoldClosedStandardDescriptors();
