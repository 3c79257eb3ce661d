// SPDX-License-Identifier: Apache-2.0
#include "ostrel/remote/transport_interface.h"

#include <string>

#include "ostrel/cells/cell_value.h"
#include "platform/names.h"
#include "remote/read_ahead.h"

CCTransportInterface::CCTransportInterface() = default;
CCTransportInterface::~CCTransportInterface() = default;

int CCTransportInterface::IsRemoteDocumentOpen(const char16_t*) {
    return 0;
}
int CCTransportInterface::IsValidRemoteRef(const CCRemoteRef*, unsigned long) {
    return 1;
}
int CCTransportInterface::IsFunctionAvailable(unsigned long) {
    return 1;
}
unsigned long CCTransportInterface::BeginSession() {
    return 0;
}
void CCTransportInterface::EndSession(unsigned long) {}
void CCTransportInterface::EndSession() {}
int CCTransportInterface::DoTransport(const CCRemoteRef*, CFile*) {
    return 0;
}

int CCTransportInterface::OnRemoteIsValidRef(const CCRemoteRef*) {
    return 0;
}
int CCTransportInterface::OnRemoteGetValue(const CCRemoteRef*, CCCellValue*, unsigned long) {
    return 0;
}
int CCTransportInterface::OnRemoteGetDataSources(const CCRemoteRef*, CStringArray*, int) {
    return 0;
}
int CCTransportInterface::OnRemoteGetItems(const CCRemoteRef*, CStringArray*) {
    return 0;
}
uint16_t CCTransportInterface::OnRemoteOpenRef(const CCRemoteRef*) {
    return 0;
}
int CCTransportInterface::OnRemoteGetFirstRecord(const CCRemoteRef*, uint16_t, CPtrArray*) {
    return 0;
}
int CCTransportInterface::OnRemoteGetNextRecord(const CCRemoteRef*, uint16_t, CPtrArray*) {
    return 0;
}
int CCTransportInterface::OnRemoteGetPreviousRecord(const CCRemoteRef*, uint16_t, CPtrArray*) {
    return 0;
}
int CCTransportInterface::OnRemoteGetLastRecord(const CCRemoteRef*, uint16_t, CPtrArray*) {
    return 0;
}
int CCTransportInterface::OnRemoteGetRecord(const CCRemoteRef*, uint16_t, unsigned long,
                                            CPtrArray*) {
    return 0;
}
int CCTransportInterface::OnRemoteRefSize(const CCRemoteRef*, uint16_t, CSize*) {
    return 0;
}
int CCTransportInterface::OnRemoteNextValue(const CCRemoteRef*, uint16_t, CCCellValue*) {
    return 0;
}
int CCTransportInterface::OnRemoteCloseRef(const CCRemoteRef*, uint16_t) {
    return 0;
}
int CCTransportInterface::OnRemoteRegisterDependent(const CCRemoteRef*, const CCRemoteRef*) {
    return 0;
}
int CCTransportInterface::OnRemoteUnRegisterDependent(const CCRemoteRef*, const CCRemoteRef*) {
    return 0;
}
int CCTransportInterface::OnRemoteInvalidateRef(const CCRemoteRef*, const CCRemoteRef*) {
    return 0;
}
int CCTransportInterface::OnRemoteMoveFormula(const CCRemoteRef*, const CCRemoteRef*,
                                              const CCRemoteRef*) {
    return 0;
}
int CCTransportInterface::OnRemoteMoveDependent(const CCRemoteRef*, const CCRemoteRef*,
                                                const CCRemoteRef*, int) {
    return 0;
}
int CCTransportInterface::OnRemoteIsSingleValue(const CCRemoteRef*) {
    return 0;
}
int CCTransportInterface::OnRemoteInitRecalc(const CCRemoteRef*, int) {
    return 1;
}
int CCTransportInterface::OnRemoteSetSourceValue(const CCRemoteRef*, const CCCellValue*) {
    return 0;
}
int CCTransportInterface::OnRemoteSetValueInCompound(const CCRemoteRef*, const char16_t*,
                                                     unsigned long, const CCCellValue*) {
    return 0;
}

int CCTransportInterface::OnRemoteNextValues(const CCRemoteRef* ref, uint16_t handle, uint32_t most,
                                             std::vector<CCCellValue>& values) {
    values.clear();
    CCCellValue value;
    while (values.size() < most && OnRemoteNextValue(ref, handle, &value))
        values.push_back(value);
    return static_cast<int>(values.size());
}
