// SPDX-License-Identifier: Apache-2.0
// One input read on a thread of its own while what is read so far is typed: reading a CSV
// file is a tenth of a run, and the second core does it beside the typing.
#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <iosfwd>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "csv_input.h"

namespace ostrel {

class CsvInputPipe {
public:
    // Starts reading file ("-" reads in, which nothing else may read until Finish); throws
    // std::system_error when no thread can be started.
    CsvInputPipe(const std::string& file, std::istream& in, std::optional<char> separator);
    // Stops the reading at its next piece and waits for it.
    ~CsvInputPipe();
    CsvInputPipe(const CsvInputPipe&) = delete;
    CsvInputPipe& operator=(const CsvInputPipe&) = delete;

    // Waits for the next records of a CSV file, in order: batch holds their shape and texts,
    // its field counts from its first record, and the input's name and separator. False once
    // none is left; a workbook file has none.
    bool Next(CsvInput& batch);
    // Whether the reading succeeded, once it has ended (waited for with wait); nothing while
    // it goes on.
    std::optional<bool> Outcome(bool wait);
    // Waits for the end of the reading and moves what it kept but no batch took (the name,
    // the kind, the separator, and the bytes of an input without batches) into input. False with
    // error set as ReadCsvInput sets it; what the reading threw (running out of memory) is thrown
    // here.
    bool Finish(CsvInput& input, CsvError& error);

private:
    void Read(const std::string& file, std::istream& in, std::optional<char> separator);

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<CsvInput> m_batches;
    bool m_done = false;
    bool m_stop = false;
    bool m_read = false;  // whether the reading succeeded, once done
    CsvInput m_input;     // the reading thread's until done
    CsvError m_error;
    std::exception_ptr m_exception;
    std::thread m_thread;
};

}  // namespace ostrel
