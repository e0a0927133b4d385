#include "checked_output.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <streambuf>
#include <unistd.h>

int WriteAll(int fd, std::string_view bytes) {
    const char* data = bytes.data();
    std::size_t size = bytes.size();
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (written == 0)
            return EIO;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

class CCheckedOutput::Buffer : public std::streambuf {
public:
    explicit Buffer(int fd) : m_fd(fd) { setp(m_bytes.data(), m_bytes.data() + m_bytes.size()); }

    int Error() const { return m_error; }

protected:
    int_type overflow(int_type c) override {
        if (Drain() != 0)
            return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof()))
            sputc(traits_type::to_char_type(c));
        return traits_type::not_eof(c);
    }

    int sync() override { return Drain() == 0 ? 0 : -1; }

private:
    int Drain() {
        if (m_error == 0)
            m_error = WriteAll(m_fd, std::string_view(pbase(), static_cast<std::size_t>(pptr() - pbase())));
        setp(m_bytes.data(), m_bytes.data() + m_bytes.size());
        return m_error;
    }

    int m_fd;
    int m_error = 0;
    std::array<char, 64 * 1024> m_bytes;
};

CCheckedOutput::CCheckedOutput(int fd) : m_buffer(std::make_unique<Buffer>(fd)), m_stream(m_buffer.get()) {}

CCheckedOutput::~CCheckedOutput() = default;

int CCheckedOutput::Finish() {
    m_stream.flush();
    return m_buffer->Error();
}

int WriteWholeFile(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    const int writeError = WriteAll(fd, bytes);
    const int closeError = ::close(fd) == 0 ? 0 : errno;
    return writeError != 0 ? writeError : closeError;
}

std::string WriteFailureMessage(std::string_view program, std::string_view what, int error) {
    return std::string(program) + ": cannot write " + std::string(what) + ": " + std::strerror(error);
}

int PrintOrComplain(std::string_view program, std::string_view what, std::string_view text) {
    CCheckedOutput out(STDOUT_FILENO);
    out.Stream() << text;
    if (const int error = out.Finish(); error != 0) {
        std::cerr << WriteFailureMessage(program, what, error) << '\n';
        return 1;
    }
    return 0;
}

void HoldClosedStandardDescriptors() {
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        const int held = ::open("/dev/null", (fd == STDIN_FILENO ? O_WRONLY : O_RDONLY) | O_CLOEXEC);
        if (held >= 0 && held != fd) {
            ::dup3(held, fd, O_CLOEXEC);
            ::close(held);
        }
    }
}
