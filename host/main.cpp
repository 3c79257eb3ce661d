// SPDX-License-Identifier: Apache-2.0
// ostrel-cells: the command-line host of the engine.
#include <cstdlib>
#include <exception>
#include <iostream>
#include <new>

#include <unistd.h>

#include "cli.h"
#include "heap_tuning.h"
#include "ostrel/calc_book.h"

namespace {

// An allocation that fails where no exception may pass (a destructor, a noexcept routine)
// ends the program here: with the message the rest of the program gives, not an abort.
[[noreturn]] void OnTerminate() {
    bool outOfMemory = false;
    try {
        if (std::exception_ptr current = std::current_exception()) std::rethrow_exception(current);
    } catch (const std::bad_alloc&) {
        outOfMemory = true;
    } catch (...) {
    }
    static const char kOutOfMemory[] = "ostrel-cells: out of memory\n";
    static const char kInternal[] = "ostrel-cells: internal error\n";
    const char* message = outOfMemory ? kOutOfMemory : kInternal;
    const size_t length = outOfMemory ? sizeof kOutOfMemory - 1 : sizeof kInternal - 1;
    if (::write(STDERR_FILENO, message, length) < 0) {
        // Nothing else can be told.
    }
    ::_exit(ostrel::kExitFailure);
}

}  // namespace

int main(int argc, char** argv) {
    std::set_terminate(OnTerminate);
    ostrel::TuneHeapForLargeSheets();
    // The program reads and writes whole buffers; stdio's line-by-line sharing only slows
    // that down.
    std::ios::sync_with_stdio(false);
    std::unique_ptr<ostrel::CalcBook> book;
    const int code = ostrel::RunCli(argc, argv, std::cin, std::cout, std::cerr, book);
    std::cout.flush();
    std::cerr.flush();
#ifndef OSTREL_FULL_TEARDOWN
    // Taking down a calculated workbook cell by cell costs a fifth of a large run and shows
    // nobody anything: the operating system takes the memory back at once. Everything the
    // program writes has been written and flushed by now. Sanitizer builds take everything
    // down, so that the leak checker sees the whole program.
    if (book) std::_Exit(code);
#endif
    return code;
}
