#pragma once
// What a finished play-through must leave, shared by the headless test and
// the one on the OpenGL device: the scenario's options (16 ms frames,
// seed 1, the demo data without any profile) and the checks of the run.
#include <string>
#include <vector>

#include "scenario/AppScenario.h"
#include "scenario/PlayThrough.h"

namespace scenario {

constexpr const char* PLAY_THROUGH_STATES = "0 1 10 2 7 3 5 3 6 8 7 3 4 3 6 8 3 6 7 9 11 1 12";

AppScenario::Options PlayThroughOptions(bool gl);
// The states in the order entered (the start enters 0), "0 1 10 ...", from the state log.
std::string StatesVisited(const AppScenario& app);
// A key's value in a settings file of the data folder ("" when absent).
std::string SettingIn(const std::string& file, const std::string& section, const std::string& key);
// The profile and settings files of the data folder, sorted.
std::vector<std::string> ProfileFiles(const std::string& dataFolder);
// GoogleTest expectations on the finished run.
void ExpectPlayThroughResults(AppScenario& app, const PlayThrough& play);
// The processor time this process (every thread of it) has used, in
// seconds: what a run costs, the same whatever else the machine runs.
double ProcessorSeconds();

}  // namespace scenario
