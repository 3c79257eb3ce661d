// SPDX-License-Identifier: Apache-2.0
/// \file
/// An embedded object. The engine only carries it; the host derives the concrete class and
/// supplies its type, equality, copy, stream form and order.
#pragma once

#include "ostrel/export.h"
#include "ostrel/refs/ref.h"

class OSTREL_API CCObjectRef : public CCRef {
public:
    CCObjectRef() = default;
    explicit CCObjectRef(long id) : m_id(id) {}
    CCObjectRef(const CCObjectRef&) = default;
    CCObjectRef& operator=(const CCObjectRef&) = default;

    long GetObjectId() const { return m_id; }
    void SetObjectId(long id) { m_id = id; }

protected:
    long m_id = -1;
};
