#pragma once
// Every fuzz target's seed source defines this: well-formed inputs written
// by the writers in tools/, plus any regression inputs worth keeping.
#include <cstdint>
#include <string>
#include <vector>

std::vector<std::vector<uint8_t>> KarvessaFuzzSeeds();

// A text's bytes, as a seed.
inline std::vector<uint8_t> SeedBytes(const std::string& text) { return {text.begin(), text.end()}; }
