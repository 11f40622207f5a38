// A short text at the top of the data folder saying where it comes from.
#include "tools/datagen/DataGen.h"

namespace {
bool WriteReadme(const datagen::Output& out) {
  return out.Write("README.txt",
                   "Demo data written by the datagen program of the tools folder.\n"
                   "Every file here is generated; edit the generator, not the files.\n");
}
}  // namespace

DATAGEN_GROUP("readme", WriteReadme);
