#include "engine/util/MissingReports.h"

#include <cstdint>
#include <cstdio>
#include <unordered_set>

#include "platform/Log.h"

namespace Nembra {

namespace {

std::unordered_set<std::string>& Reported() {
  static std::unordered_set<std::string> reported;
  return reported;
}

}  // namespace

bool ReportMissing(const std::string& what) {
  if (!Reported().insert(what).second) return false;
  platform::LogWarning("missing: " + what);
  return true;
}

void ResetMissingReports() { Reported().clear(); }

size_t GetMissingReportCount() { return Reported().size(); }

std::string CharacterCodeName(wchar_t c) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(static_cast<uint32_t>(c)));
  return buffer;
}

}  // namespace Nembra
