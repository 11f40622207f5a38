// A library with a thread-local block, loaded at run time by
// DynamicTlsAtExit.cpp: glibc gives each thread its block from malloc when
// the thread first touches it.
extern "C" {

__thread char g_DynamicTlsBlock[24];

char* TouchDynamicTlsBlock() {
  g_DynamicTlsBlock[0] = 1;
  return g_DynamicTlsBlock;
}

}
