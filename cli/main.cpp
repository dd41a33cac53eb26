#include <cstring>
#include <iostream>

#include "brennock/brennock.h"

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--version") == 0)) {
    std::cout << "brennock " << brennock::kBrennockVersion << "\n";
    return 0;
  }
  std::cerr << "usage: brennock --version\n";
  return 64;
}
