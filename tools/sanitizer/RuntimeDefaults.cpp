// The sanitizer runtime's defaults for every program of a sanitizer build
// (the top-level CMakeLists links this file into each of them), so that a
// program started by ctest, by a script, by a test as its child or by hand
// runs the same way. ASAN_OPTIONS can still add to or change them.
//
// intercept_tls_get_addr=0: the runtimes of LLVM up to 16 and GCC up to 13
// intercept __tls_get_addr and, when a dynamic TLS block happens to start
// 16 bytes into a page, take it for one that carries the header of glibc
// before 2.25 and read the two words in front of it as the block's bounds.
// glibc has had no such header since 2.25 (its blocks come from malloc), so
// those words are an allocator header, and at exit the leak checker's
// tracer walks a range that is not there: "Tracer caught signal 11" after a
// test has passed. Whether it happens follows only where malloc put the
// block, so it reads as chance. Dynamic TLS comes from libraries loaded at
// run time (Mesa's GL driver among them), which is why programs that open a
// window met it. Without the interception the leak checker keeps no list of
// those blocks of its own; it still scans the stacks, the static TLS, the
// globals and the heap, where glibc keeps them and their table. This is the
// one place the option is set.

extern "C" {

const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }

}
