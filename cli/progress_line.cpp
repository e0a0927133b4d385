#include "progress_line.h"

#include "checked_output.h"
#include "scan_progress.h"
#include "walk_control.h"

#include <chrono>
#include <unistd.h>

CProgressLine::CProgressLine(const WalkControl& control, int fd) : m_control(control), m_fd(fd) {
    if (::isatty(fd) == 1)
        m_thread = std::thread([this] { Show(); });
}

CProgressLine::~CProgressLine() {
    if (!m_thread.joinable())
        return;
    {
        const std::lock_guard lock(m_mutex);
        m_finished = true;
    }
    m_wake.notify_one();
    m_thread.join();
    if (m_shownLength > 0)
        Write("\r" + std::string(m_shownLength, ' ') + "\r");
}

void CProgressLine::Show() {
    std::unique_lock lock(m_mutex);
    while (!m_wake.wait_for(lock, std::chrono::milliseconds(100), [this] { return m_finished; })) {
        const std::string text = FormatScanProgress(m_control.filesFound.load(std::memory_order_relaxed),
                                                    m_control.foldersListed.load(std::memory_order_relaxed));
        // Padding covers what is left of a longer line shown before.
        const std::size_t padding = m_shownLength > text.size() ? m_shownLength - text.size() : 0;
        Write("\r" + text + std::string(padding, ' '));
        m_shownLength = text.size() + padding;
    }
}

void CProgressLine::Write(const std::string& text) const {
    WriteAll(m_fd, text); // a terminal that cannot take the line only misses the progress
}
