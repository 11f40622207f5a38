#pragma once
// Makes writes past a given file size fail (EFBIG) while the object lives,
// even for root, so tests can see how a save copes with a full disk.
#include <sys/resource.h>

#include <csignal>

namespace testsupport {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &m_Old);
    m_OldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = m_Old;
    limit.rlim_cur = bytes;
    m_Active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_Old);
    std::signal(SIGXFSZ, m_OldHandler);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  bool Active() const { return m_Active; }

 private:
  rlimit m_Old{};
  void (*m_OldHandler)(int) = nullptr;
  bool m_Active = false;
};

}  // namespace testsupport
