// SPDX-License-Identifier: Apache-2.0
// CSV records written to a stream on a thread of their own: quoting, encoding and writing
// the fields take the second core while the next fields' texts are found.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <iosfwd>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace ostrel {

class CsvOutputPipe {
public:
    // Throws std::system_error when no thread can be started.
    CsvOutputPipe(std::ostream& out, char separator);
    // Finishes, if that was not done.
    ~CsvOutputPipe();
    CsvOutputPipe(const CsvOutputPipe&) = delete;
    CsvOutputPipe& operator=(const CsvOutputPipe&) = delete;

    // As CsvWriter's, but to the stream.
    void Field(std::u16string_view text);
    void EndRecord();
    // Writes what is left and waits for the thread; out is bad when writing failed, and
    // what else the thread threw (running out of memory) is thrown here.
    void Finish();

private:
    // Fields as they were given, end to end; kRecordEnd in ends where a record ends.
    struct Block {
        static constexpr uint32_t kRecordEnd = UINT32_MAX;
        std::u16string units;
        std::vector<uint32_t> ends;
    };
    void Hand();
    void Write();
    void Fail(std::exception_ptr exception);

    std::ostream& m_out;
    const char m_separator;
    Block m_filling;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Block> m_full;
    std::vector<Block> m_spare;  // written blocks, for their storage
    bool m_done = false;
    bool m_failed = false;
    std::exception_ptr m_exception;
    std::thread m_thread;
};

}  // namespace ostrel
