// SPDX-License-Identifier: Apache-2.0
#include "csv_input_pipe.h"

#include <exception>
#include <utility>

namespace ostrel {

CsvInputPipe::CsvInputPipe(const std::string& file, std::istream& in, std::optional<char> separator)
    : m_thread([this, file, &in, separator] { Read(file, in, separator); }) {}

CsvInputPipe::~CsvInputPipe() {
    if (!m_thread.joinable()) return;
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_thread.join();
}

void CsvInputPipe::Read(const std::string& file, std::istream& in, std::optional<char> separator) {
    CsvError error;
    bool read = false, batched = false;
    // Nothing may leave this thread: an exception here would end the process.
    try {
        read = ReadCsvInput(file, in, separator, m_input, error, [this, &batched](CsvInput& input) {
            CsvInput batch;
            batch.name = input.name;
            batch.separator = input.separator;
            batch.recordEnds = std::exchange(input.recordEnds, {});
            batch.filled = std::exchange(input.filled, {});
            batch.recordLines = std::exchange(input.recordLines, {});
            batch.texts = std::exchange(input.texts, {});
            std::lock_guard lock(m_mutex);
            if (m_stop) return false;
            batched = true;
            m_batches.push_back(std::move(batch));
            m_changed.notify_one();
            return true;
        });
    } catch (...) {
        // Told on the typing thread, as it would have been there (out of memory).
        m_exception = std::current_exception();
    }
    // The batches hold all that typing a CSV file needs: its bytes go now, not once the
    // typing, which takes several times as long, has caught up.
    if (batched) std::string().swap(m_input.bytes);
    std::lock_guard lock(m_mutex);
    m_error = std::move(error);
    m_read = read;
    m_done = true;
    m_changed.notify_one();
}

bool CsvInputPipe::Next(CsvInput& batch) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_done || !m_batches.empty(); });
    if (m_batches.empty()) return false;
    batch = std::move(m_batches.front());
    m_batches.pop_front();
    return true;
}

std::optional<bool> CsvInputPipe::Outcome(bool wait) {
    std::unique_lock lock(m_mutex);
    if (wait) m_changed.wait(lock, [this] { return m_done; });
    if (!m_done) return std::nullopt;
    return m_read;  // false as well when the reading threw
}

bool CsvInputPipe::Finish(CsvInput& input, CsvError& error) {
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_done; });
    }
    if (m_thread.joinable()) m_thread.join();
    // The thread is gone, so nothing guards m_input any more; what no batch took stays
    // behind (nothing, unless the reading failed or the typing stopped early).
    input.name = std::move(m_input.name);
    input.bytes = std::move(m_input.bytes);
    input.separator = m_input.separator;
    input.book = m_input.book;
    input.legacy = m_input.legacy;
    error = m_error;
    if (m_exception) std::rethrow_exception(std::exchange(m_exception, nullptr));
    return m_read;
}

}  // namespace ostrel
