#pragma once
// Collects the "missing: " reports logged while alive. It forgets what was
// reported before it, so a test sees every first report of its own.
#include <string>
#include <vector>

#include "engine/util/MissingReports.h"
#include "platform/Log.h"

namespace testsupport {

class MissingLog {
 public:
  MissingLog() {
    Nembra::ResetMissingReports();
    platform::SetLogHook([this](platform::LogLevel, const std::string& text) {
      if (text.rfind("missing: ", 0) == 0) m_Lines.push_back(text);
    });
  }
  ~MissingLog() { platform::SetLogHook(nullptr); }
  MissingLog(const MissingLog&) = delete;
  MissingLog& operator=(const MissingLog&) = delete;

  const std::vector<std::string>& Lines() const { return m_Lines; }
  void Clear() { m_Lines.clear(); }

 private:
  std::vector<std::string> m_Lines;
};

}  // namespace testsupport
