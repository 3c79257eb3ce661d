// ostrel-cells: the command-line host of the engine.
#include <iostream>

#include "cli.h"

int main(int argc, char** argv) {
    // The program reads and writes whole buffers; stdio's line-by-line sharing only slows
    // that down.
    std::ios::sync_with_stdio(false);
    return ostrel::RunCli(argc, argv, std::cin, std::cout, std::cerr);
}
