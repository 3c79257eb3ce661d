// SPDX-License-Identifier: Apache-2.0
#include "csv_output_pipe.h"

#include <ostream>
#include <utility>

#include "ostrel/csv.h"

namespace ostrel {

namespace {
// A block is handed over at about this many units, and the stream written at about this
// many bytes; at most this many blocks wait, so that a slow reader of the output holds
// back the fields instead of letting them pile up.
constexpr size_t kBlockUnits = size_t(1) << 15;
constexpr size_t kWriteBytes = size_t(1) << 16;
constexpr size_t kMostWaiting = 4;
}  // namespace

CsvOutputPipe::CsvOutputPipe(std::ostream& out, char separator)
    : m_out(out), m_separator(separator), m_thread([this] { Write(); }) {}

CsvOutputPipe::~CsvOutputPipe() {
    // Left early (by an exception): the fields not handed over are dropped.
    if (!m_thread.joinable()) return;
    {
        std::lock_guard lock(m_mutex);
        m_done = true;
        m_changed.notify_all();
    }
    m_thread.join();
}

void CsvOutputPipe::Field(std::u16string_view text) {
    m_filling.units.append(text);
    m_filling.ends.push_back(uint32_t(m_filling.units.size()));
}

void CsvOutputPipe::EndRecord() {
    m_filling.ends.push_back(Block::kRecordEnd);
    if (m_filling.units.size() >= kBlockUnits || m_filling.ends.size() >= kBlockUnits) Hand();
}

void CsvOutputPipe::Hand() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_full.size() < kMostWaiting || m_failed; });
    if (m_failed) {
        m_filling.units.clear();
        m_filling.ends.clear();
        return;
    }
    m_full.push_back(std::move(m_filling));
    if (m_spare.empty()) {
        m_filling = Block();
    } else {
        m_filling = std::move(m_spare.back());
        m_spare.pop_back();
    }
    m_changed.notify_all();
}

void CsvOutputPipe::Finish() {
    if (!m_thread.joinable()) return;
    if (!m_filling.ends.empty()) Hand();
    {
        std::lock_guard lock(m_mutex);
        m_done = true;
        m_changed.notify_all();
    }
    m_thread.join();
    if (m_exception) std::rethrow_exception(std::exchange(m_exception, nullptr));
    if (m_failed) m_out.setstate(std::ios::badbit);
}

void CsvOutputPipe::Write() {
    std::string bytes;
    CsvWriter writer(bytes, m_separator);
    // Nothing may leave this thread: an exception here would end the process.
    try {
        for (;;) {
            Block block;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [this] { return m_done || !m_full.empty(); });
                if (m_full.empty()) break;
                block = std::move(m_full.front());
                m_full.pop_front();
                m_changed.notify_all();
            }
            size_t begin = 0;
            for (const uint32_t end : block.ends) {
                if (end == Block::kRecordEnd) {
                    writer.EndRecord();
                    continue;
                }
                writer.Field(std::u16string_view(block.units).substr(begin, end - begin));
                begin = end;
            }
            if (bytes.size() >= kWriteBytes) {
                if (!m_out.write(bytes.data(), std::streamsize(bytes.size())))
                    throw std::ios::failure("cannot write");
                bytes.clear();
            }
            block.units.clear();
            block.ends.clear();
            std::lock_guard lock(m_mutex);
            m_spare.push_back(std::move(block));
        }
        if (!m_out.write(bytes.data(), std::streamsize(bytes.size())))
            throw std::ios::failure("cannot write");
    } catch (const std::ios::failure&) {
        Fail(nullptr);
    } catch (...) {
        // Thrown again by Finish, on the thread that renders (out of memory).
        Fail(std::current_exception());
    }
}

void CsvOutputPipe::Fail(std::exception_ptr exception) {
    std::lock_guard lock(m_mutex);
    m_failed = true;
    m_exception = std::move(exception);
    m_changed.notify_all();
}

}  // namespace ostrel
