// UniqueFd: the owner of a POSIX file descriptor. POSIX only.
#pragma once

#include <errno.h>
#include <unistd.h>

#include <utility>

namespace qz {

// A file descriptor, closed once; -1 holds none.
class UniqueFd {
  public:
    explicit UniqueFd(int fd = -1) : m_fd(fd) {}
    ~UniqueFd() { Close(); }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }
    // Closes the descriptor held and holds fd instead.
    void Reset(int fd = -1) {
        Close();
        m_fd = fd;
    }
    // True when the descriptor was open and closed cleanly, or none was held.
    bool Close() {
        if (m_fd < 0) {
            return true;
        }
        const int rc = close(std::exchange(m_fd, -1));
        return rc == 0 || errno == EINTR;
    }

  private:
    int m_fd;
};

}  // namespace qz
