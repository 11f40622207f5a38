// A stand-in for libFuzzer where the compiler has none: runs every seed once,
// then mutates the seeds at random (bit flips, byte and word overwrites,
// cuts, appends) for a bounded number of runs or seconds and feeds each to
// the target. Seeds that take long (a regression input that inflates to
// megabytes) are mutated seldom, so they don't eat the run.
// Usage: driver [runs] [seconds]
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "fuzz/FuzzSeeds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

// The input being run, written out when it brings the target down.
const std::vector<uint8_t>* g_current = nullptr;
char g_crashFile[4096];

void OnCrash(int signal) {
  if (g_current) {
    const int fd = open(g_crashFile, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
      ssize_t ignored = write(fd, g_current->data(), g_current->size());
      (void)ignored;
      close(fd);
    }
    const char note[] = "fuzz target crashed; input written next to the program, ending in -crash\n";
    ssize_t ignored = write(2, note, sizeof note - 1);
    (void)ignored;
  }
  ::signal(signal, SIG_DFL);
  raise(signal);
}

void Run(const std::vector<uint8_t>& bytes) {
  g_current = &bytes;
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  g_current = nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  const long runs = argc > 1 ? std::atol(argv[1]) : 20000;
  const double seconds = argc > 2 ? std::atof(argv[2]) : 20.0;
  std::snprintf(g_crashFile, sizeof g_crashFile, "%s-crash", argv[0]);
  for (int sig : {SIGSEGV, SIGBUS, SIGILL, SIGABRT, SIGFPE}) ::signal(sig, OnCrash);
  auto seeds = KarvessaFuzzSeeds();
  if (seeds.empty()) seeds.emplace_back();
  std::vector<size_t> fast;  // each seed once, the slow ones seldom
  std::vector<size_t> slow;
  for (size_t i = 0; i < seeds.size(); ++i) {
    const auto before = std::chrono::steady_clock::now();
    Run(seeds[i]);
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
    (took > 0.002 ? slow : fast).push_back(i);
  }
  std::mt19937 rng(12345);
  const uint32_t interesting[] = {0u, 1u, 2u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 16384u, 16385u,
                                  0x15555556u, 0x7F800000u /* inf */, 0x7FC00000u /* nan */};
  const auto start = std::chrono::steady_clock::now();
  long done = 0;
  for (; done < runs; ++done) {
    if (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() > seconds) break;
    const bool pickSlow = fast.empty() || (!slow.empty() && rng() % 256 == 0);
    const std::vector<size_t>& pool = pickSlow ? slow : fast;
    std::vector<uint8_t> bytes = seeds[pool[rng() % pool.size()]];
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits; ++e) {
      const size_t size = bytes.size();
      switch (rng() % 5) {
        case 0:
          if (size) bytes[rng() % size] ^= static_cast<uint8_t>(1u << (rng() % 8));
          break;
        case 1:
          if (size) bytes[rng() % size] = static_cast<uint8_t>(rng());
          break;
        case 2:
          if (size >= 4) {
            const uint32_t v = interesting[rng() % (sizeof interesting / sizeof interesting[0])];
            std::memcpy(&bytes[rng() % (size - 3)], &v, 4);
          }
          break;
        case 3:
          bytes.resize(size ? rng() % size : 0);
          break;
        case 4:
          for (int i = static_cast<int>(rng() % 16); i > 0; --i) bytes.push_back(static_cast<uint8_t>(rng()));
          break;
      }
    }
    Run(bytes);
  }
  std::printf("%ld inputs run\n", done);
  return 0;
}
