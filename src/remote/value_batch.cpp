// SPDX-License-Identifier: Apache-2.0
#include "remote/value_batch.h"

#include <algorithm>
#include <bit>
#include <string>

#include "formats/string_field.h"
#include "io/text_payload.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/formats/number_format.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/exceptions.h"
#include "ostrel/platform/file.h"
#include "platform/names.h"

namespace ostrel::remote {

namespace {

enum Tag : uint8_t {
    kEmpty = CV_EMPTY,
    kError = CV_ERROR,
    kText = CV_TEXT,
    kNumber = CV_NUMBER,
    kReference = CV_REF,
    kNumberInNewFormat = 5,
};

class Writer {
public:
    explicit Writer(size_t count) { m_bytes.reserve(4 + count * (1 + sizeof(double))); }

    // Room for size more bytes, to be filled at once.
    uint8_t* Extend(size_t size) {
        const size_t at = m_bytes.size();
        m_bytes.resize(at + size);
        return m_bytes.data() + at;
    }
    void U8(uint8_t v) { m_bytes.push_back(v); }
    void U32(uint32_t v) { io::PutLE(Extend(4), v); }
    void F64(double v) { io::PutLE(Extend(8), std::bit_cast<uint64_t>(v)); }
    void Text(const char16_t* text) {
        const size_t length = StringFieldLength(text);
        U32(text ? static_cast<uint32_t>(length + 1) : 0);
        uint8_t* at = Extend(length * 2);
        for (size_t i = 0; i < length; ++i)
            io::PutLE(at + 2 * i, static_cast<uint16_t>(text[i]));
    }
    void Format(const CCNumberFormat& format) {
        CMemFile file(64);
        {
            CArchive ar(&file, CArchive::store);
            format.Write(ar);
            ar.Flush();
        }
        const size_t size = size_t(file.GetLength());
        if (size) std::copy(file.Data(), file.Data() + size, Extend(size));
    }
    void WriteTo(CArchive& ar) const { ar.Write(m_bytes.data(), m_bytes.size()); }

private:
    std::vector<uint8_t> m_bytes;
};

[[noreturn]] void BadFormat() {
    throw CArchiveException(CArchiveException::badFormat);
}

class Reader {
public:
    Reader(uint8_t* bytes, size_t size) : m_at(bytes), m_end(bytes + size) {}

    size_t Left() const { return size_t(m_end - m_at); }
    // The next size bytes, which must be there.
    uint8_t* Take(size_t size) {
        if (size > Left()) BadFormat();
        uint8_t* at = m_at;
        m_at += size;
        return at;
    }
    uint8_t U8() { return *Take(1); }
    uint32_t U32() { return io::GetLE<uint32_t>(Take(4)); }
    double F64() { return std::bit_cast<double>(io::GetLE<uint64_t>(Take(8))); }
    // A string field into text; false for a null text.
    bool Text(std::u16string& text) {
        const uint32_t count = U32();
        if (count == 0) return false;
        if (count > kMaxStringFieldLength + 1) BadFormat();
        const size_t length = count - 1;
        const uint8_t* units = Take(length * 2);
        text.resize(length);
        for (size_t i = 0; i < length; ++i)
            text[i] = static_cast<char16_t>(io::GetLE<uint16_t>(units + 2 * i));
        return true;
    }
    // A format's stream form, read as CCNumberFormat::Read reads it.
    void Format(CCNumberFormat& format) {
        CMemFile file(m_at, Left(), 0);  // a view: the file neither grows nor frees it
        CArchive ar(&file, CArchive::load);
        format.Read(ar);
        m_at += size_t(file.GetPosition());
    }

private:
    uint8_t* m_at;
    uint8_t* m_end;
};

}  // namespace

void WriteValueBatch(CArchive& ar, const std::vector<CCCellValue>& values, size_t count) {
    if (count > values.size()) count = values.size();
    Writer out(count);
    out.U32(static_cast<uint32_t>(count));
    const CCNumberFormat general;
    const CCNumberFormat* current = &general;  // the format the reader has now
    for (size_t i = 0; i < count; ++i) {
        const CCCellValue& value = values[i];
        switch (value.GetType()) {
            case CV_ERROR:
                out.U8(kError);
                out.U32(static_cast<uint32_t>(value.GetError()));
                break;
            case CV_TEXT:
                out.U8(kText);
                out.Text(value.GetText());
                break;
            case CV_NUMBER:
                if (value.GetFormat().HasSameStreamForm(*current)) {
                    out.U8(kNumber);
                    out.F64(value.GetNumber());
                } else {
                    out.U8(kNumberInNewFormat);
                    out.F64(value.GetNumber());
                    out.Format(value.GetFormat());
                    current = &value.GetFormat();
                }
                break;
            case CV_REF:
                out.U8(kReference);
                break;
            default:
                out.U8(kEmpty);
                break;
        }
    }
    out.WriteTo(ar);
}

void ReadValueBatch(CArchive& ar, uint32_t most, std::vector<CCCellValue>& values) {
    uint32_t count = 0;
    ar >> count;
    // Every value takes a byte at least.
    if (count > most || count > ar.GetBytesLeft()) BadFormat();
    std::vector<uint8_t> bytes(size_t(ar.GetBytesLeft()));
    if (!bytes.empty()) ar.ReadExact(bytes.data(), bytes.size());
    Reader in(bytes.data(), bytes.size());

    std::vector<CCCellValue> read(count);
    CCNumberFormat current;
    std::u16string text;
    for (CCCellValue& value : read) {
        switch (in.U8()) {
            case kEmpty:
                break;
            case kError:
                value.Set(static_cast<int>(static_cast<int32_t>(in.U32())));
                break;
            case kText:
                if (in.Text(text))
                    value.Set(std::u16string_view(text));
                else
                    value.Set(static_cast<const char16_t*>(nullptr));
                break;
            case kNumber:
                value.Set(in.F64(), current);
                break;
            case kReference:
                value.Set(static_cast<const CCRef*>(nullptr));
                break;
            case kNumberInNewFormat: {
                const double number = in.F64();
                in.Format(current);
                value.Set(number, current);
                break;
            }
            default:
                BadFormat();
        }
    }
    if (in.Left() != 0) BadFormat();
    values.swap(read);
}

}  // namespace ostrel::remote
