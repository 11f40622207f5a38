// A sanitizer build's program whose dynamic TLS block starts 16 bytes into
// a page, and which then ends and so runs the leak check: the case in which
// the sanitizer runtime misreads the block's bounds and the leak checker's
// tracer faults at exit (tools/sanitizer/RuntimeDefaults.cpp). With the
// build's runtime defaults it must end with 0 and no report.
//   dynamic_tls_at_exit <library with a thread-local block>
// Exit 0: ended cleanly; 2: the library did not load; 3: the block could
// not be placed 16 bytes into a page (the allocator no longer hands out
// blocks of one size one after the other, so this check no longer shows
// anything and must be looked at again).
#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {
constexpr uintptr_t kPage = 4096, kBlockSize = 24;
constexpr int kMostBlocks = 1 << 16;
// Kept reachable to the end (a plain array, never destroyed), so that
// nothing here is a leak.
void* g_Kept[kMostBlocks];
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  void* library = dlopen(argv[1], RTLD_NOW);
  if (!library) {
    std::fprintf(stderr, "cannot load %s: %s\n", argv[1], dlerror());
    return 2;
  }
  auto touch = reinterpret_cast<char* (*)()>(dlsym(library, "TouchDynamicTlsBlock"));
  if (!touch) return 2;
  // Blocks of the TLS block's size come one after the other: allocate them
  // until the next one would start 16 bytes into a page, so that the TLS
  // block, allocated next, does.
  uintptr_t previous = 0;
  for (int i = 0; i < kMostBlocks; ++i) {
    g_Kept[i] = std::malloc(kBlockSize);
    const uintptr_t at = reinterpret_cast<uintptr_t>(g_Kept[i]);
    if (previous && at > previous && (at + (at - previous)) % kPage == 16) break;
    previous = at;
  }
  const uintptr_t tls = reinterpret_cast<uintptr_t>(touch());
  std::fprintf(stderr, "the thread's TLS block starts %u bytes into a page\n", unsigned(tls % kPage));
  return tls % kPage == 16 ? 0 : 3;
}
