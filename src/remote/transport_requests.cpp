// SPDX-License-Identifier: Apache-2.0
// The request protocol between documents: each remote operation becomes a request written
// into a memory file, carried by the host (DoTransport) to the other document, served there
// (OnTransport) and answered in the same file.
#include <algorithm>
#include <memory>
#include <vector>

#include "ostrel/cells/cell_value.h"
#include "ostrel/platform/archive.h"
#include "ostrel/platform/exceptions.h"
#include "ostrel/platform/file.h"
#include "ostrel/platform/geometry.h"
#include "ostrel/platform/ptr_array.h"
#include "ostrel/platform/string_array.h"
#include "ostrel/refs/remote_ref.h"
#include "ostrel/remote/transport_interface.h"
#include "platform/names.h"
#include "remote/read_ahead.h"
#include "remote/value_batch.h"

namespace {

enum Code : uint32_t {
    kIsValidRef = 1,
    kGetValue,
    kGetDataSources,
    kGetItems,
    kOpenRef,
    kGetFirstRecord,
    kGetNextRecord,
    kGetPreviousRecord,
    kGetLastRecord,
    kGetRecord,
    kRefSize,
    kNextValue,
    kCloseRef,
    kRegisterDependent,
    kUnRegisterDependent,
    kInvalidateRef,
    kMoveFormula,
    kMoveDependent,
    kIsSingleValue,
    kInitRecalc,
    kSetSourceValue,
    kSetValueInCompound,
    kNextValues,  // ours: many values of an open reference at once (remote/value_batch.h)
};

// An answer holds exactly what its request answers: bytes left over mean it was not the
// answer to this request. Readers call it before they touch the caller's outputs.
void Finished(CArchive& ar) {
    if (ar.GetBytesLeft() != 0) throw CArchiveException(CArchiveException::badFormat);
}

void NoArgs(CArchive&) {}
void NoAnswer(CArchive& ar) {
    Finished(ar);
}

}  // namespace

namespace {

// Request files, one per level of requests made while serving another (A asks B, whose
// answer makes it ask C): each level writes into its own, and a request reuses its level's
// buffer instead of allocating one, which reading a remote range value by value would
// otherwise do for every value.
class RequestFiles {
public:
    class Lease {
    public:
        explicit Lease(RequestFiles& owner) : m_owner(owner) {
            if (m_owner.m_depth == m_owner.m_files.size())
                m_owner.m_files.push_back(std::make_unique<CMemFile>(1024));
            m_file = m_owner.m_files[m_owner.m_depth++].get();
            m_file->SetLength(0);
            m_file->SeekToBegin();
        }
        ~Lease() { --m_owner.m_depth; }
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        CMemFile& file() { return *m_file; }

    private:
        RequestFiles& m_owner;
        CMemFile* m_file;
    };

private:
    std::vector<std::unique_ptr<CMemFile>> m_files;
    size_t m_depth = 0;
};

RequestFiles& TheRequestFiles() {
    // One engine thread at a time, but any thread may be it: each keeps its own files.
    thread_local RequestFiles files;
    return files;
}

}  // namespace

// Builds one request, hands it to the host and reads the answer. The session is ended even
// when an exception leaves. An answer that does not read as the request's answer (cut short,
// a count beyond its bytes, bytes left over) fails the request: the result is 0 and the
// caller's outputs stay as they were, since every answer is read into a local first.
template <class Args, class Answer>
static int SendRequest(CCTransportInterface& self, uint32_t code, const CCRemoteRef* ref,
                       const CCRemoteRef* carrier, Args storeArgs, Answer loadAnswer) {
    if (!ref) return 0;
    RequestFiles::Lease lease(TheRequestFiles());
    CMemFile& file = lease.file();
    CManagerSession session(&self);
    {
        CArchive out(&file, CArchive::store);
        out << code;
        ref->Write(self.GetCTX(), out);
        storeArgs(out);
        out.Flush();
    }
    if (!self.DoTransport(carrier, &file)) return 0;
    try {
        file.SeekToBegin();
        CArchive in(&file, CArchive::load);
        uint32_t result;
        in >> result;
        loadAnswer(in);
        return static_cast<int>(result);
    } catch (const CArchiveException&) {
        return 0;
    }
}

int CCTransportInterface::DoRemoteIsValidRef(const CCRemoteRef* ref) {
    return SendRequest(*this, kIsValidRef, ref, ref, NoArgs, NoAnswer);
}

int CCTransportInterface::DoRemoteGetValue(const CCRemoteRef* ref, CCCellValue* value,
                                           unsigned long flags) {
    return SendRequest(
        *this, kGetValue, ref, ref, [&](CArchive& ar) { ar << uint32_t(flags); },
        [&](CArchive& ar) {
            CCCellValue answer;
            answer.Read(GetCTX(), ar);
            Finished(ar);
            if (value) *value = answer;
        });
}

int CCTransportInterface::DoRemoteGetDataSources(const CCRemoteRef* ref, CStringArray* out,
                                                 int selector) {
    return SendRequest(
        *this, kGetDataSources, ref, ref, [&](CArchive& ar) { ar << int32_t(selector); },
        [&](CArchive& ar) {
            CStringArray answer;
            answer.Serialize(ar);
            Finished(ar);
            if (out) out->Copy(answer);
        });
}

int CCTransportInterface::DoRemoteGetItems(const CCRemoteRef* ref, CStringArray* out) {
    return SendRequest(*this, kGetItems, ref, ref, NoArgs, [&](CArchive& ar) {
        CStringArray answer;
        answer.Serialize(ar);
        Finished(ar);
        if (out) out->Copy(answer);
    });
}

uint16_t CCTransportInterface::DoRemoteOpenRef(const CCRemoteRef* ref) {
    const auto handle =
        static_cast<uint16_t>(SendRequest(*this, kOpenRef, ref, ref, NoArgs, NoAnswer));
    // A handle given out again starts afresh.
    if (handle && m_readAhead) m_readAhead->Drop(ref->GetDocument(), handle);
    return handle;
}

namespace {
// Reads a record into the caller's array, replacing what it held only once all is read.
auto RecordAnswer(CCTransportInterface& self, CPtrArray* record) {
    return [&self, record](CArchive& ar) {
        CPtrArray answer;
        ReadValueArray(self.GetCTX(), ar, answer);
        if (ar.GetBytesLeft() != 0) {
            FreeValueArray(answer);
            Finished(ar);
        }
        if (record) {
            FreeValueArray(*record);
            record->Copy(answer);
        } else {
            FreeValueArray(answer);
        }
    };
}
}  // namespace

int CCTransportInterface::DoRemoteGetFirstRecord(const CCRemoteRef* ref, uint16_t handle,
                                                 CPtrArray* record) {
    return SendRequest(
        *this, kGetFirstRecord, ref, ref, [&](CArchive& ar) { ar << handle; },
        RecordAnswer(*this, record));
}

int CCTransportInterface::DoRemoteGetNextRecord(const CCRemoteRef* ref, uint16_t handle,
                                                CPtrArray* record) {
    return SendRequest(
        *this, kGetNextRecord, ref, ref, [&](CArchive& ar) { ar << handle; },
        RecordAnswer(*this, record));
}

int CCTransportInterface::DoRemoteGetPreviousRecord(const CCRemoteRef* ref, uint16_t handle,
                                                    CPtrArray* record) {
    return SendRequest(
        *this, kGetPreviousRecord, ref, ref, [&](CArchive& ar) { ar << handle; },
        RecordAnswer(*this, record));
}

int CCTransportInterface::DoRemoteGetLastRecord(const CCRemoteRef* ref, uint16_t handle,
                                                CPtrArray* record) {
    return SendRequest(
        *this, kGetLastRecord, ref, ref, [&](CArchive& ar) { ar << handle; },
        RecordAnswer(*this, record));
}

int CCTransportInterface::DoRemoteGetRecord(const CCRemoteRef* ref, uint16_t handle,
                                            unsigned long n, CPtrArray* record) {
    return SendRequest(
        *this, kGetRecord, ref, ref, [&](CArchive& ar) { ar << handle << uint32_t(n); },
        RecordAnswer(*this, record));
}

int CCTransportInterface::DoRemoteRefSize(const CCRemoteRef* ref, uint16_t handle, CSize* size) {
    return SendRequest(
        *this, kRefSize, ref, ref, [&](CArchive& ar) { ar << handle; },
        [&](CArchive& ar) {
            int32_t width, height;
            ar >> width >> height;
            Finished(ar);
            if (size) *size = CSize(width, height);
        });
}

int CCTransportInterface::DoRemoteNextValue(const CCRemoteRef* ref, uint16_t handle,
                                            CCCellValue* value) {
    // How many values one request fetches ahead: enough that a request's cost vanishes
    // behind the values', few enough that a formula reading a range's first value only
    // pays little for the rest.
    constexpr uint32_t kAhead = 1024;
    if (!ref) return 0;
    if (!m_readAhead) m_readAhead = std::make_unique<ReadAhead>();
    const std::u16string& document = ref->GetDocument();
    ReadAhead::Batch* batch = m_readAhead->Find(document, handle);
    if (!batch) {
        batch = &m_readAhead->batches.emplace_back();
        batch->document = document;
        batch->handle = handle;
    }
    if (batch->next == batch->values.size() && !batch->single) {
        std::vector<CCCellValue> fetched;
        const bool came = DoRemoteNextValues(ref, handle, kAhead, fetched) > 0;
        // The request may have served others that read ahead too: the batch is found again.
        batch = m_readAhead->Find(document, handle);
        if (!batch) return 0;
        batch->values.swap(fetched);
        batch->next = 0;
        // At the end, or a server that knows only the one-value request: it is asked so.
        if (!came) batch->single = true;
    }
    if (batch->next < batch->values.size()) {
        if (value) *value = batch->values[batch->next];
        ++batch->next;
        return 1;
    }
    return SendRequest(
        *this, kNextValue, ref, ref, [&](CArchive& ar) { ar << handle; },
        [&](CArchive& ar) {
            CCCellValue answer;
            answer.Read(GetCTX(), ar);
            Finished(ar);
            if (value) *value = answer;
        });
}

int CCTransportInterface::DoRemoteNextValues(const CCRemoteRef* ref, uint16_t handle, uint32_t most,
                                             std::vector<CCCellValue>& values) {
    most = std::min(most, kMostValuesAtOnce);
    std::vector<CCCellValue> answer;
    int count = SendRequest(
        *this, kNextValues, ref, ref, [&](CArchive& ar) { ar << handle << most; },
        [&](CArchive& ar) { ostrel::remote::ReadValueBatch(ar, most, answer); });
    if (count <= 0 || size_t(count) != answer.size()) return 0;
    values.swap(answer);
    return count;
}

int CCTransportInterface::DoRemoteCloseRef(const CCRemoteRef* ref, uint16_t handle) {
    if (ref && m_readAhead) m_readAhead->Drop(ref->GetDocument(), handle);
    return SendRequest(
        *this, kCloseRef, ref, ref, [&](CArchive& ar) { ar << handle; }, NoAnswer);
}

namespace {
void WriteRemote(CCTransportInterface& self, CArchive& ar, const CCRemoteRef* ref) {
    CCRemoteRef empty;
    (ref ? ref : &empty)->Write(self.GetCTX(), ar);
}
}  // namespace

int CCTransportInterface::DoRemoteRegisterDependent(const CCRemoteRef* ref,
                                                    const CCRemoteRef* dependent) {
    return SendRequest(
        *this, kRegisterDependent, ref, ref,
        [&](CArchive& ar) { WriteRemote(*this, ar, dependent); }, NoAnswer);
}

int CCTransportInterface::DoRemoteUnRegisterDependent(const CCRemoteRef* ref,
                                                      const CCRemoteRef* dependent) {
    // Handed to DoTransport with the dependent's reference, as the protocol has it; the
    // registration is held by the document of ref, where a host carries it (the reference
    // host's sheets override this to say so).
    return SendRequest(
        *this, kUnRegisterDependent, ref, dependent,
        [&](CArchive& ar) { WriteRemote(*this, ar, dependent); }, NoAnswer);
}

int CCTransportInterface::DoRemoteInvalidateRef(const CCRemoteRef* ref,
                                                const CCRemoteRef* invalidated) {
    return SendRequest(
        *this, kInvalidateRef, ref, ref, [&](CArchive& ar) { WriteRemote(*this, ar, invalidated); },
        NoAnswer);
}

int CCTransportInterface::DoRemoteMoveFormula(const CCRemoteRef* ref, const CCRemoteRef* from,
                                              const CCRemoteRef* to) {
    return SendRequest(
        *this, kMoveFormula, ref, ref,
        [&](CArchive& ar) {
            WriteRemote(*this, ar, from);
            WriteRemote(*this, ar, to);
        },
        NoAnswer);
}

int CCTransportInterface::DoRemoteMoveDependent(const CCRemoteRef* ref, const CCRemoteRef* from,
                                                const CCRemoteRef* to, int flag) {
    return SendRequest(
        *this, kMoveDependent, ref, ref,
        [&](CArchive& ar) {
            WriteRemote(*this, ar, from);
            WriteRemote(*this, ar, to);
            ar << int32_t(flag);
        },
        NoAnswer);
}

int CCTransportInterface::DoRemoteIsSingleValue(const CCRemoteRef* ref) {
    return SendRequest(*this, kIsSingleValue, ref, ref, NoArgs, NoAnswer);
}

int CCTransportInterface::DoRemoteInitRecalc(const CCRemoteRef* ref, int arg) {
    return SendRequest(
        *this, kInitRecalc, ref, ref, [&](CArchive& ar) { ar << int32_t(arg); }, NoAnswer);
}

int CCTransportInterface::DoRemoteSetSourceValue(const CCRemoteRef* ref, const CCCellValue* value) {
    return SendRequest(
        *this, kSetSourceValue, ref, ref,
        [&](CArchive& ar) {
            CCCellValue empty;
            (value ? value : &empty)->Write(GetCTX(), ar);
        },
        NoAnswer);
}

int CCTransportInterface::DoRemoteSetValueInCompound(const CCRemoteRef* ref, const char16_t* text,
                                                     unsigned long arg, const CCCellValue* value) {
    return SendRequest(
        *this, kSetValueInCompound, ref, ref,
        [&](CArchive& ar) {
            ar.WriteCString(text ? std::u16string_view(text) : std::u16string_view());
            ar << uint32_t(arg);
            CCCellValue empty;
            (value ? value : &empty)->Write(GetCTX(), ar);
        },
        NoAnswer);
}

int CCTransportInterface::OnTransport(CFile* file) {
    if (!file) return 0;
    file->SeekToBegin();
    CArchive in(file, CArchive::load);
    cells::CTX* ctx = GetCTX();
    uint32_t code;
    in >> code;
    CCRemoteRef ref;
    ref.Read(ctx, in);
    if (!IsValidRemoteRef(&ref, code) || !IsFunctionAvailable(code)) return 0;
    if (code < kIsValidRef || code > kNextValues) return 0;

    // Arguments first, all of them, before anything is served or written.
    uint32_t u32 = 0;
    int32_t i32 = 0;
    uint16_t handle = 0;
    CCRemoteRef second, third;
    CCCellValue value;
    CString text;
    switch (code) {
        case kGetValue:
            in >> u32;
            break;
        case kGetDataSources:
        case kInitRecalc:
            in >> i32;
            break;
        case kGetFirstRecord:
        case kGetNextRecord:
        case kGetPreviousRecord:
        case kGetLastRecord:
        case kRefSize:
        case kNextValue:
        case kCloseRef:
            in >> handle;
            break;
        case kGetRecord:
        case kNextValues:
            in >> handle >> u32;
            break;
        case kRegisterDependent:
        case kUnRegisterDependent:
        case kInvalidateRef:
            second.Read(ctx, in);
            break;
        case kMoveFormula:
            second.Read(ctx, in);
            third.Read(ctx, in);
            break;
        case kMoveDependent:
            second.Read(ctx, in);
            third.Read(ctx, in);
            in >> i32;
            break;
        case kSetSourceValue:
            value.Read(ctx, in);
            break;
        case kSetValueInCompound:
            text = in.ReadCString();
            in >> u32;
            value.Read(ctx, in);
            break;
        default:
            break;
    }

    int result = 0;
    CCCellValue answerValue;
    std::vector<CCCellValue> answerValues;
    CStringArray answerStrings;
    CPtrArray record;
    CSize size;
    switch (code) {
        case kIsValidRef:
            result = OnRemoteIsValidRef(&ref);
            break;
        case kGetValue:
            result = OnRemoteGetValue(&ref, &answerValue, u32);
            break;
        case kGetDataSources:
            result = OnRemoteGetDataSources(&ref, &answerStrings, i32);
            break;
        case kGetItems:
            result = OnRemoteGetItems(&ref, &answerStrings);
            break;
        case kOpenRef:
            result = OnRemoteOpenRef(&ref);
            break;
        case kGetFirstRecord:
            result = OnRemoteGetFirstRecord(&ref, handle, &record);
            break;
        case kGetNextRecord:
            result = OnRemoteGetNextRecord(&ref, handle, &record);
            break;
        case kGetPreviousRecord:
            result = OnRemoteGetPreviousRecord(&ref, handle, &record);
            break;
        case kGetLastRecord:
            result = OnRemoteGetLastRecord(&ref, handle, &record);
            break;
        case kGetRecord:
            result = OnRemoteGetRecord(&ref, handle, u32, &record);
            break;
        case kRefSize:
            result = OnRemoteRefSize(&ref, handle, &size);
            break;
        case kNextValue:
            result = OnRemoteNextValue(&ref, handle, &answerValue);
            break;
        case kCloseRef:
            result = OnRemoteCloseRef(&ref, handle);
            break;
        case kRegisterDependent:
            result = OnRemoteRegisterDependent(&ref, &second);
            break;
        case kUnRegisterDependent:
            result = OnRemoteUnRegisterDependent(&ref, &second);
            break;
        case kInvalidateRef:
            result = OnRemoteInvalidateRef(&ref, &second);
            break;
        case kMoveFormula:
            result = OnRemoteMoveFormula(&ref, &second, &third);
            break;
        case kMoveDependent:
            result = OnRemoteMoveDependent(&ref, &second, &third, i32);
            break;
        case kIsSingleValue:
            result = OnRemoteIsSingleValue(&ref);
            break;
        case kInitRecalc:
            result = OnRemoteInitRecalc(&ref, i32);
            break;
        case kSetSourceValue:
            result = OnRemoteSetSourceValue(&ref, &value);
            break;
        case kSetValueInCompound:
            result = OnRemoteSetValueInCompound(&ref, text.c_str(), u32, &value);
            break;
        case kNextValues:
            result =
                OnRemoteNextValues(&ref, handle, std::min(u32, kMostValuesAtOnce), answerValues);
            if (result < 0 || size_t(result) != answerValues.size()) result = 0;
            break;
        default:
            break;
    }

    struct RecordRelease {
        CPtrArray& record;
        ~RecordRelease() { FreeValueArray(record); }
    } release{record};
    file->SeekToBegin();
    CArchive out(file, CArchive::store);
    out << uint32_t(result);
    switch (code) {
        case kGetValue:
        case kNextValue:
            answerValue.Write(ctx, out);
            break;
        case kGetDataSources:
        case kGetItems:
            answerStrings.Serialize(out);
            break;
        case kGetFirstRecord:
        case kGetNextRecord:
        case kGetPreviousRecord:
        case kGetLastRecord:
        case kGetRecord:
            WriteValueArray(ctx, out, record);
            break;
        case kRefSize:
            out << int32_t(size.cx) << int32_t(size.cy);
            break;
        case kNextValues:
            ostrel::remote::WriteValueBatch(out, answerValues, size_t(result));
            break;
        default:
            break;
    }
    out.Flush();
    // The answer replaces the request: nothing of the request is left after it.
    file->SetLength(file->GetPosition());
    return 1;
}
