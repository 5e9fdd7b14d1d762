// Writes the manual page to the file named by its one argument (run by the build).
#include <cstdio>
#include <fstream>

#include "cmdline/ManPage.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output file>\n", argv[0]);
    return 2;
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << ManPageText();
  out.close();
  return out ? 0 : 1;
}
