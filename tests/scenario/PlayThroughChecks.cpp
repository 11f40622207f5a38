#include "scenario/PlayThroughChecks.h"

#include <gtest/gtest.h>

#include <time.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <utility>

namespace scenario {

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Trim(const std::string& s) {
  const size_t a = s.find_first_not_of(" \t\r\n"), b = s.find_last_not_of(" \t\r\n");
  return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

}  // namespace

AppScenario::Options PlayThroughOptions(bool gl) {
  AppScenario::Options o;
  o.gl = gl;
  o.frameTime = 0.016f;
  o.seed = 1;
  o.prepareData = [](const std::string& data) {
    for (const std::string& name : ProfileFiles(data)) {
      if (name == "ConfigLastUsed.dat" || name == "ConfigDefault.dat") continue;
      std::filesystem::remove(data + name);
    }
  };
  return o;
}

std::string StatesVisited(const AppScenario& app) {
  std::string out;
  for (const std::string& change : app.StateLog()) {
    const size_t arrow = change.find(" -> ");
    if (arrow == std::string::npos) continue;
    out += (out.empty() ? "" : " ") + change.substr(arrow + 4);
  }
  return out;
}

std::string SettingIn(const std::string& file, const std::string& section, const std::string& key) {
  std::ifstream in(file, std::ios::binary);
  std::string line, current;
  while (std::getline(in, line)) {
    line = Trim(line);
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      current = line.substr(1, line.size() - 2);
      continue;
    }
    const size_t eq = line.find('=');
    if (current == section && eq != std::string::npos && Trim(line.substr(0, eq)) == key)
      return Trim(line.substr(eq + 1));
  }
  return "";
}

std::vector<std::string> ProfileFiles(const std::string& dataFolder) {
  static const std::regex kName("(Profile[0-9]+\\.dat|Config[0-9]+\\.dat|ConfigLastUsed\\.dat|ConfigDefault\\.dat)",
                                std::regex::icase);
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dataFolder, ec)) {
    const std::string name = entry.path().filename().string();
    if (std::regex_match(name, kName)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

void ExpectPlayThroughResults(AppScenario& app, const PlayThrough& play) {
  EXPECT_EQ(StatesVisited(app), PLAY_THROUGH_STATES);
  EXPECT_TRUE(app.Ended());
  if (app.Ready()) {
    EXPECT_EQ(app.App().GetExitCode(), 0);
  }

  const std::string data = app.DataFolder();
  const std::string profile = ReadAll(data + "Profile0.dat");
  const std::string want("\xFF\xFE\x04\x00\x00\x00\x41\x00\x6E\x00\x61\x00\x00\x00\x03\x00\x00\x00", 18);
  EXPECT_EQ(profile, want) << "Profile0.dat holds " << profile.size() << " bytes";
  const std::string config = data + "Config0.dat";
  EXPECT_EQ(SettingIn(config, "Camera", "Type"), "0");
  for (const auto& [key, code] : {std::pair<const char*, const char*>{"MoveUp", "17"}, {"MoveDown", "31"},
                                  {"MoveLeft", "30"}, {"MoveRight", "32"}, {"Action", "57"}, {"Ability", "18"}})
    EXPECT_EQ(SettingIn(config, "Key", key), code) << key;
  // The music slider dragged to its right end: the drag rectangle ends one
  // pixel short of the fill's right edge, so the last pixel inside it
  // gives 245 / 246 of the fill, saved truncated.
  EXPECT_EQ(SettingIn(data + "ConfigLastUsed.dat", "Sound", "Music"), "995");
  std::vector<std::string> files = ProfileFiles(data);
  files.erase(std::remove_if(files.begin(), files.end(),
                             [](const std::string& n) { return n == "ConfigLastUsed.dat" || n == "ConfigDefault.dat"; }),
              files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"Config0.dat", "Profile0.dat"}));

  EXPECT_EQ(play.PlannedDeaths(), 1);
  EXPECT_EQ(play.UnplannedDeaths(), 0);
  std::vector<std::string> missing;
  for (const std::string& line : app.LogLines())
    if (line.compare(0, 8, "missing:") == 0) missing.push_back(line);
  EXPECT_TRUE(missing.empty()) << missing.size() << " missing, the first: " << (missing.empty() ? std::string() : missing.front());
}

double ProcessorSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

}  // namespace scenario
