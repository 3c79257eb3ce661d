// SPDX-License-Identifier: Apache-2.0
/// \file
/// A stream of tagged commands over an archive: each command is a u16 code, a u16 payload
/// length and the payload. CCRWBase reads and writes commands and runs the read loop; what
/// the codes mean is for a subclass (CCRWExchange, and a host's own commands) to say.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "ostrel/export.h"

namespace ostrel::platform {
class CArchive;
}  // namespace ostrel::platform

/// File versions of the stream: version 1 writes and reads texts in the 8-bit code page
/// (Windows-1252), every other version in UTF-16.
inline constexpr int RW_VERSION_ANSI = 1;
inline constexpr int RW_VERSION_WIDE = 2;

class OSTREL_API CCRWBase {
public:
    /// The most payload bytes one command carries: its length is a u16.
    static constexpr size_t kMaxPayload = 0xFFFF;

    explicit CCRWBase(int fileVersion);
    CCRWBase(const CCRWBase&) = delete;
    CCRWBase& operator=(const CCRWBase&) = delete;
    virtual ~CCRWBase();

    /// Starts an exchange over ar, which the object does not own.
    virtual void Begin(ostrel::platform::CArchive* ar);
    /// Reads commands and hands each to OnCommand until Stop is called. A stream that ends
    /// before raises the archive's end-of-file exception.
    virtual void Read();
    virtual void Stop();
    /// Ends the exchange: the archive is let go and reading stops.
    virtual void End();
    /// The next command: its code, its payload (owned by the object, valid until the next
    /// command is read) and the payload's length.
    virtual void ReadCommand(uint16_t& code, const uint8_t*& data, uint16_t& length);
    /// Writes one command. A payload longer than kMaxPayload is refused with the archive's
    /// generic exception before anything of the command is written: a length that wrapped
    /// would make every command after it unreadable.
    virtual void WriteCommand(uint16_t code, const void* data, size_t length);
    /// One command read; the base ignores it. The length may exceed kMaxPayload when a
    /// subclass joins pieces of a command before handing them on.
    virtual void OnCommand(uint16_t code, const uint8_t* data, size_t length);

    void DoReadLoop();
    /// Makes the payload buffer hold at least size bytes (the memory exception when it
    /// cannot).
    void GrowDataBuffer(uint16_t size);
    void SetAnsi(bool ansi) { m_ansi = ansi; }
    bool WriteInAnsi() const { return m_ansi; }
    int version() const { return m_fileVersion; }

protected:
    ostrel::platform::CArchive* GetArchive() const { return m_archive; }
    /// The archive of the exchange; the archive's generic exception without one.
    ostrel::platform::CArchive& Archive() const;

private:
    int m_reading = 0;
    ostrel::platform::CArchive* m_archive = nullptr;
    std::unique_ptr<uint8_t[]> m_data;
    uint16_t m_capacity = 0;
    bool m_ansi = false;
    int m_fileVersion;
};
