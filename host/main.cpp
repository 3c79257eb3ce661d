// ostrel-cells: the command-line host of the engine.
#include <cstdlib>
#include <iostream>

#include "cli.h"
#include "sheet_interface.h"

int main(int argc, char** argv) {
    // The program reads and writes whole buffers; stdio's line-by-line sharing only slows
    // that down.
    std::ios::sync_with_stdio(false);
    std::unique_ptr<ostrel::CalcBook> book;
    const int code = ostrel::RunCli(argc, argv, std::cin, std::cout, std::cerr, book);
    // Taking down a calculated workbook cell by cell costs a fifth of a large run and shows
    // nobody anything: the operating system takes the memory back at once. Everything the
    // program writes has been written and flushed by now.
    std::cout.flush();
    std::cerr.flush();
    if (book) std::_Exit(code);
    return code;
}
