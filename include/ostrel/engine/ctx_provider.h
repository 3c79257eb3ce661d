// SPDX-License-Identifier: Apache-2.0
/// \file
/// The two context-provider operations a host implements for each of its documents: the
/// context of a modifying call and the context of a reading call.
#pragma once

#include "ostrel/engine/ctx.h"
#include "ostrel/export.h"

namespace zmk {

class OSTREL_API CCTXProviderBase {
public:
    virtual ~CCTXProviderBase() = default;
    virtual cells::CTX* GetCTX() = 0;
    virtual cells::CTX* GetCTX() const = 0;
};

}  // namespace zmk

namespace cells {

class OSTREL_API CCTXProvider : public zmk::CCTXProviderBase {};

}  // namespace cells
