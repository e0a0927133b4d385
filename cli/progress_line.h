#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

struct WalkControl;

// While it lives, rewrites one line on a terminal in place ('\r') at most ten times a
// second with the walk's progress; erases it again when it goes. Shows nothing when the
// descriptor is not a terminal.
class CProgressLine {
public:
    CProgressLine(const WalkControl& control, int fd);
    ~CProgressLine();
    CProgressLine(const CProgressLine&) = delete;
    CProgressLine& operator=(const CProgressLine&) = delete;

private:
    void Show();
    void Write(const std::string& text) const;

    const WalkControl& m_control;
    const int m_fd;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_finished = false;
    std::size_t m_shownLength = 0;
    std::thread m_thread;
};
