// SPDX-License-Identifier: Apache-2.0
/// \file
/// A reference names cells: one cell, a range, or a qualified form (another sheet, a name, a
/// document item, another document, an embedded object). References are leaves of formulas,
/// keys of the dependency lists and the handles through which the engine asks a document for
/// values. The base forwards value access and dependency operations to the context's
/// manager, which resolves the reference to cells.
#pragma once

#include <cstdint>
#include <memory>

#include "ostrel/engine/ctx.h"
#include "ostrel/export.h"
#include "ostrel/platform/instance_counter.h"

namespace ostrel::platform {
class CArchive;
}  // namespace ostrel::platform
class CCCellValue;
class CCClipboardData;
namespace ostrel::platform {
class CRect;
class CSize;
class CWideOutStream;
}  // namespace ostrel::platform

/// Absolute-coordinate flags: bits 1 and 2 for a cell or the first corner of a range
/// (column, row), 4 and 8 for the last corner.
enum : unsigned char {
    REF_ABS_COL1 = 1,
    REF_ABS_ROW1 = 2,
    REF_ABS_COL2 = 4,
    REF_ABS_ROW2 = 8,
};

/// Type codes of the reference classes.
enum : int {
    REF_TYPE_RC = 1,
    REF_TYPE_REGION = 2,
    REF_TYPE_NAME = 3,
    REF_TYPE_REMOTE = 4,
    REF_TYPE_DOCUMENT = 5,
    REF_TYPE_3D = 6,
};

class OSTREL_API CCRef : public ostrel::debug::CInstanceCounter<CCRef> {
public:
    virtual ~CCRef() = default;

    virtual int GetType() const = 0;
    virtual int IsEqual(const CCRef* other) const = 0;
    virtual void Print(cells::CTX* ctx, ostrel::platform::CWideOutStream& out,
                       unsigned char flags) const;
    virtual CCRef* Copy() const = 0;
    /// Follows a move of one cell to another, leaving absolute coordinates in place. A range
    /// whose corners change order takes its absolute flags along, so flags is rewritten.
    /// Leaving the grid throws the integer 1, for the formula layer to catch: the formula
    /// operations that move references (CCFormula::MoveFormula, UpdateInPaste) report it as
    /// 0 and nothing above them sees the exception.
    virtual void Update(cells::CTX* ctx, const CCRef* from, const CCRef* to, unsigned char& flags);
    virtual void UpdateInPaste(cells::CTX* ctx, const CCClipboardData* data);
    virtual int IsInside(const CCRef* other) const;
    virtual int IsInside(const ostrel::platform::CRect& rect) const;
    virtual int IsValid(cells::CTX* ctx) const;
    virtual int GetValue(cells::CTX* ctx, CCCellValue* value) const;
    virtual uint16_t OpenRef(cells::CTX* ctx) const;
    virtual int RefSize(cells::CTX* ctx, uint16_t handle, ostrel::platform::CSize* size) const;
    virtual int NextValue(cells::CTX* ctx, uint16_t& handle, CCCellValue* value) const;
    virtual int CloseRef(cells::CTX* ctx, uint16_t handle) const;
    virtual int RegisterDependent(cells::CTX* ctx, const CCRef* dependent) const;
    virtual int UnRegisterDependent(cells::CTX* ctx, const CCRef* dependent) const;
    virtual int InvalidateRef(cells::CTX* ctx, const CCRef* invalidated) const;
    virtual int MoveFormula(cells::CTX* ctx, const CCRef* from, const CCRef* to) const;
    virtual int MoveDependent(cells::CTX* ctx, const CCRef* from, const CCRef* to, int flag) const;
    virtual int IsSingleValue(cells::CTX* ctx) const;
    virtual void Read(cells::CTX* ctx, ostrel::platform::CArchive& ar) = 0;
    virtual void Write(cells::CTX* ctx, ostrel::platform::CArchive& ar) const = 0;
    /// -1, 0 or 1; a null other compares as smaller (1).
    virtual int Compare(const CCRef* other) const = 0;
    virtual void Move(long columns, long rows);
    virtual int Contain(const CCRef* other) const;
    /// A hash consistent with IsEqual (equal references hash alike), for the indexes the
    /// engine keeps beside its ordered lists. Classes whose equality ignores case share one
    /// value per class.
    virtual size_t Hash() const { return static_cast<size_t>(GetType()) * 0x9E3779B97F4A7C15ull; }
};

/// Deletes a reference through its virtual destructor.
using CCRefPtr = std::unique_ptr<CCRef>;
