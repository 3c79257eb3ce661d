// SPDX-License-Identifier: Apache-2.0
/// \file
/// The remote-data side of every document: host hooks that carry requests to other
/// documents, the requesting operations that formulas use to reach them, and the serving
/// operations that answer them. The notify-enable flag that silences messages lives here.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "ostrel/engine/ctx_provider.h"
#include "ostrel/export.h"
#include "ostrel/platform/string_types.h"

class CCRemoteRef;
class CCCellValue;
namespace ostrel::platform {
class CFile;
class CPtrArray;
class CSize;
class CStringArray;
}  // namespace ostrel::platform

class OSTREL_API CCTransportInterface : public cells::CCTXProvider {
public:
    CCTransportInterface();
    ~CCTransportInterface() override;
    CCTransportInterface(const CCTransportInterface&) = delete;
    CCTransportInterface& operator=(const CCTransportInterface&) = delete;

    int GetNotifyEnable() const { return m_notifyEnable; }
    void SetNotifyEnable(int enable) { m_notifyEnable = enable; }

    /// Host hooks.
    virtual int IsRemoteDocumentOpen(const char16_t* documentName);
    virtual int IsValidRemoteRef(const CCRemoteRef* ref, unsigned long requestCode);
    virtual int IsFunctionAvailable(unsigned long requestCode);
    virtual unsigned long BeginSession();
    virtual void EndSession(unsigned long session);
    virtual void EndSession();
    /// Carries a request file to the document the reference names and back; 0 when it could
    /// not be delivered.
    virtual int DoTransport(const CCRemoteRef* ref, ostrel::platform::CFile* file);

    /// Server entry: decodes a request from the file, serves it, writes the answer.
    virtual int OnTransport(ostrel::platform::CFile* file);

    /// Requesting side.
    virtual int DoRemoteIsValidRef(const CCRemoteRef* ref);
    virtual int DoRemoteGetValue(const CCRemoteRef* ref, CCCellValue* value, unsigned long flags);
    virtual int DoRemoteGetDataSources(const CCRemoteRef* ref, ostrel::platform::CStringArray* out,
                                       int selector);
    virtual int DoRemoteGetItems(const CCRemoteRef* ref, ostrel::platform::CStringArray* out);
    virtual uint16_t DoRemoteOpenRef(const CCRemoteRef* ref);
    virtual int DoRemoteGetFirstRecord(const CCRemoteRef* ref, uint16_t handle,
                                       ostrel::platform::CPtrArray* record);
    virtual int DoRemoteGetNextRecord(const CCRemoteRef* ref, uint16_t handle,
                                      ostrel::platform::CPtrArray* record);
    virtual int DoRemoteGetPreviousRecord(const CCRemoteRef* ref, uint16_t handle,
                                          ostrel::platform::CPtrArray* record);
    virtual int DoRemoteGetLastRecord(const CCRemoteRef* ref, uint16_t handle,
                                      ostrel::platform::CPtrArray* record);
    virtual int DoRemoteGetRecord(const CCRemoteRef* ref, uint16_t handle, unsigned long n,
                                  ostrel::platform::CPtrArray* record);
    virtual int DoRemoteRefSize(const CCRemoteRef* ref, uint16_t handle,
                                ostrel::platform::CSize* size);
    virtual int DoRemoteNextValue(const CCRemoteRef* ref, uint16_t handle, CCCellValue* value);
    virtual int DoRemoteCloseRef(const CCRemoteRef* ref, uint16_t handle);
    virtual int DoRemoteRegisterDependent(const CCRemoteRef* ref, const CCRemoteRef* dependent);
    virtual int DoRemoteUnRegisterDependent(const CCRemoteRef* ref, const CCRemoteRef* dependent);
    virtual int DoRemoteInvalidateRef(const CCRemoteRef* ref, const CCRemoteRef* invalidated);
    virtual int DoRemoteMoveFormula(const CCRemoteRef* ref, const CCRemoteRef* from,
                                    const CCRemoteRef* to);
    virtual int DoRemoteMoveDependent(const CCRemoteRef* ref, const CCRemoteRef* from,
                                      const CCRemoteRef* to, int flag);
    virtual int DoRemoteIsSingleValue(const CCRemoteRef* ref);
    virtual int DoRemoteInitRecalc(const CCRemoteRef* ref, int arg);
    virtual int DoRemoteSetSourceValue(const CCRemoteRef* ref, const CCCellValue* value);
    virtual int DoRemoteSetValueInCompound(const CCRemoteRef* ref, const char16_t* text,
                                           unsigned long arg, const CCCellValue* value);
    /// DoRemoteNextValue reads values of an open reference ahead, many at once, and hands
    /// them out one by one; a server that does not answer that is asked one value at a
    /// time.
    /// Up to most values of an open reference in one request (code 23, after the 22 of the
    /// protocol), so that a range is not read with one request per value. The result is how
    /// many values came (0 at the end, and from a server that does not know the request:
    /// read such a one with DoRemoteNextValue). At most kMostValuesAtOnce are asked for.
    /// The request's arguments are the handle (u16) and most (u32). Its answer, after the
    /// u32 result, is a form of ours: u32 count, then per value a tag byte and its payload:
    /// 0 empty; 1 error, i32 code; 2 text, as a string field (u32 0 for a null text, else
    /// length + 1, at most 4097; then the UTF-16LE units); 3 number in the current format,
    /// f64; 4 reference, nothing more; 5 number in a new format, f64 and the format's stream
    /// form, which becomes the current format. The current format starts as the General
    /// format. An answer whose counts or lengths exceed its bytes, or that leaves bytes over,
    /// fails the request.
    virtual int DoRemoteNextValues(const CCRemoteRef* ref, uint16_t handle, uint32_t most,
                                   std::vector<CCCellValue>& values);
    static constexpr uint32_t kMostValuesAtOnce = 4096;

    /// Serving side.
    virtual int OnRemoteIsValidRef(const CCRemoteRef* ref);
    virtual int OnRemoteGetValue(const CCRemoteRef* ref, CCCellValue* value, unsigned long flags);
    virtual int OnRemoteGetDataSources(const CCRemoteRef* ref, ostrel::platform::CStringArray* out,
                                       int selector);
    virtual int OnRemoteGetItems(const CCRemoteRef* ref, ostrel::platform::CStringArray* out);
    virtual uint16_t OnRemoteOpenRef(const CCRemoteRef* ref);
    virtual int OnRemoteGetFirstRecord(const CCRemoteRef* ref, uint16_t handle,
                                       ostrel::platform::CPtrArray* record);
    virtual int OnRemoteGetNextRecord(const CCRemoteRef* ref, uint16_t handle,
                                      ostrel::platform::CPtrArray* record);
    virtual int OnRemoteGetPreviousRecord(const CCRemoteRef* ref, uint16_t handle,
                                          ostrel::platform::CPtrArray* record);
    virtual int OnRemoteGetLastRecord(const CCRemoteRef* ref, uint16_t handle,
                                      ostrel::platform::CPtrArray* record);
    virtual int OnRemoteGetRecord(const CCRemoteRef* ref, uint16_t handle, unsigned long n,
                                  ostrel::platform::CPtrArray* record);
    virtual int OnRemoteRefSize(const CCRemoteRef* ref, uint16_t handle,
                                ostrel::platform::CSize* size);
    virtual int OnRemoteNextValue(const CCRemoteRef* ref, uint16_t handle, CCCellValue* value);
    virtual int OnRemoteCloseRef(const CCRemoteRef* ref, uint16_t handle);
    virtual int OnRemoteRegisterDependent(const CCRemoteRef* ref, const CCRemoteRef* dependent);
    virtual int OnRemoteUnRegisterDependent(const CCRemoteRef* ref, const CCRemoteRef* dependent);
    virtual int OnRemoteInvalidateRef(const CCRemoteRef* ref, const CCRemoteRef* invalidated);
    virtual int OnRemoteMoveFormula(const CCRemoteRef* ref, const CCRemoteRef* from,
                                    const CCRemoteRef* to);
    virtual int OnRemoteMoveDependent(const CCRemoteRef* ref, const CCRemoteRef* from,
                                      const CCRemoteRef* to, int flag);
    virtual int OnRemoteIsSingleValue(const CCRemoteRef* ref);
    virtual int OnRemoteInitRecalc(const CCRemoteRef* ref, int arg);
    virtual int OnRemoteSetSourceValue(const CCRemoteRef* ref, const CCCellValue* value);
    virtual int OnRemoteSetValueInCompound(const CCRemoteRef* ref, const char16_t* text,
                                           unsigned long arg, const CCCellValue* value);
    /// Serves DoRemoteNextValues; by default value by value through OnRemoteNextValue.
    virtual int OnRemoteNextValues(const CCRemoteRef* ref, uint16_t handle, uint32_t most,
                                   std::vector<CCCellValue>& values);

private:
    struct ReadAhead;
    int m_notifyEnable = 1;
    // Values of open remote references fetched ahead of DoRemoteNextValue, by document and
    // handle; dropped when the reference is opened again or closed.
    std::unique_ptr<ReadAhead> m_readAhead;
};

/// Brackets an operation with BeginSession and EndSession (nothing without an interface), so
/// that the host can batch its reactions. The session ends however the operation is left,
/// an exception included. A numbered session ends with the number BeginSession gave.
class OSTREL_API CManagerSession {
public:
    enum class Ending { plain, numbered };

    explicit CManagerSession(CCTransportInterface* manager, Ending ending = Ending::plain)
        : m_manager(manager), m_ending(ending) {
        if (m_manager) m_number = m_manager->BeginSession();
    }
    ~CManagerSession() {
        if (!m_manager) return;
        if (m_ending == Ending::numbered)
            m_manager->EndSession(m_number);
        else
            m_manager->EndSession();
    }
    CManagerSession(const CManagerSession&) = delete;
    CManagerSession& operator=(const CManagerSession&) = delete;

private:
    CCTransportInterface* m_manager;
    Ending m_ending;
    unsigned long m_number = 0;
};
