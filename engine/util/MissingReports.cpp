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

bool ReportMissingSection(const std::string& file, const std::string& section, const std::string& countKey,
                          const std::string& count) {
  return ReportMissing("section [" + section + "] of " + file + " (" + countKey + " " + count + ")");
}

bool ReportMissingKeys(const std::string& file, const std::string& section, const std::vector<std::string>& keys) {
  if (keys.empty()) return false;
  std::string list;
  for (const std::string& key : keys) list += (list.empty() ? "" : ", ") + key;
  return ReportMissing((keys.size() == 1 ? "key " : "keys ") + list + " of [" + section + "] in " + file);
}

void ResetMissingReports() { Reported().clear(); }

size_t GetMissingReportCount() { return Reported().size(); }

std::string CharacterCodeName(wchar_t c) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(static_cast<uint32_t>(c)));
  return buffer;
}

}  // namespace Nembra
