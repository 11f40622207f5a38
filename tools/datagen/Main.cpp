// Writes the demo data folder: datagen <folder>
#include <cstdio>

#include "tools/datagen/DataGen.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: datagen <output folder>\n");
    return 2;
  }
  return datagen::RunAllGroups(datagen::Output(argv[1])) ? 0 : 1;
}
