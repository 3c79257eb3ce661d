// SPDX-License-Identifier: Apache-2.0
/// \file
/// A formula as a tree of nodes: constants, array constants and references at the leaves,
/// operation nodes (an operator or built-in function applied to an argument list) inside.
/// The cell owns its tree; nodes own their children and never the registry entries.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ostrel/cells/cell_value.h"
#include "ostrel/engine/ctx.h"
#include "ostrel/events/listener.h"
#include "ostrel/export.h"
#include "ostrel/platform/instance_counter.h"
#include "ostrel/refs/remote_ref.h"

namespace ostrel::platform {
class CArchive;
}  // namespace ostrel::platform
class CCClipboardData;
class CCFunc;
class CCItem;
class CCRef;
class CCRefList;
namespace ostrel::platform {
class CSize;
class CWideOutStream;
}  // namespace ostrel::platform
struct SCCellValueList;

/// Node types (GetType).
enum : int {
    FORMULA_CONST = 1,
    FORMULA_CONST_ARRAY = 2,
    FORMULA_REF = 3,
    FORMULA_OP = 4,
    FORMULA_CHOOSE = 5,
    FORMULA_REMOTE = 6,
    FORMULA_DOC = 7,
    FORMULA_REFOP = 8,
};

/// Trees deeper than this are refused by the parser and by ReadFormula, so that every walk
/// (evaluation, printing, copying, streaming, destruction) has bounded depth. Chains of one
/// left-associative operator (A1+A2+...+An) are built as one node with n arguments and do
/// not count towards it.
constexpr int kMaxFormulaDepth = 1000;

class OSTREL_API CCFormula : public ostrel::debug::CInstanceCounter<CCFormula> {
public:
    /// Nodes come from pools by size: a tree built at once lies together in memory, which a
    /// recalculation walking thousands of formulas feels.
    static void* operator new(size_t size);
    static void operator delete(void* node, size_t size) noexcept;

    CCFormula() = default;
    CCFormula(const CCFormula&) = delete;
    CCFormula& operator=(const CCFormula&) = delete;
    virtual ~CCFormula() = default;

    virtual int GetType() const = 0;
    virtual CCFormula* Copy() const = 0;
    /// 0 when valid, else an error code (1 invalid reference, 3 empty array, 4 arguments the
    /// function refuses). A node that passed once answers 0 at once.
    virtual int Check(cells::CTX* ctx, const CCRef* cell) = 0;
    virtual void Eval(cells::CTX* ctx, CCCellValue& result, const CCRef* cell) = 0;
    /// Formula text without the leading "=", functions by their alternate (invariant) name.
    virtual void Print2File(cells::CTX* ctx, ostrel::platform::CWideOutStream& out,
                            int precedence) const = 0;
    /// Formula text without the leading "=", functions by their primary name.
    virtual void Print(cells::CTX* ctx, ostrel::platform::CWideOutStream& out,
                       int precedence) const = 0;
    virtual int IsEditSourceRef(cells::CTX* ctx, const CCRef* cell) const = 0;
    virtual const CCRef* GetEditSourceRef(cells::CTX* ctx, const CCRef* cell) const = 0;
    virtual int ContainsLink(cells::CTX* ctx, const CCRef* ref, const CCRef* cell) const = 0;
    virtual int ContainsRemoteLinks() const = 0;
    virtual int ContainsTodayLinks() const = 0;
    virtual int AlwaysRecalc() const { return 0; }
    virtual int IsSingleValue(cells::CTX* ctx, const CCRef* cell) = 0;
    /// Registers (removes) dependent, the owning cell's sheet-qualified reference, with every
    /// cell and range the tree reads. Register answers 1 only when every registration
    /// succeeded.
    virtual int RegisterDependents(cells::CTX* ctx, const CCRef* dependent) = 0;
    virtual int UnRegisterDependents(cells::CTX* ctx, const CCRef* dependent) = 0;
    /// The sheet-prefix nodes that RegisterDependents sets listening to their sheet's rename
    /// and destroy events start listening, and nothing is registered: for a tree that takes
    /// the place of a registered one, whose nodes stop listening as they go.
    virtual void ListenToSheets(cells::CTX*, const CCRef*) {}
    /// Structural updates. Those with a replacement build a new tree into it (owned by the
    /// caller) and answer whether anything changed.
    virtual int InvalidateRef(cells::CTX* ctx, const CCRef* ref, CCFormula*& replacement,
                              const CCRef* cell) = 0;
    virtual int InvalidateItem(cells::CTX* ctx, const CCItem* item, CCFormula*& replacement,
                               const CCRef* cell) = 0;
    /// The relative parts of every reference follow a move (or a paste) of the formula's cell
    /// from one cell to another. 1 when they all followed; 0 when one would have left the
    /// grid, and the tree is then exactly as it was. Never throws for a reference: the
    /// formula layer is where a reference's off-grid signal (CCRef::Update) ends.
    virtual int MoveFormula(cells::CTX* ctx, const CCRef* from, const CCRef* to) = 0;
    virtual int UpdateInPaste(cells::CTX* ctx, const CCRef* from, const CCRef* to,
                              const CCClipboardData* data) = 0;
    virtual int UpdateRef(cells::CTX* ctx, const CCRef* region, const CCRef* cell,
                          const CCRef* oldRef, const CCRef* newRef, int unregister,
                          CCFormula*& replacement) = 0;
    /// Range iteration (handles 0 mean nothing to iterate).
    virtual uint16_t OpenRef(cells::CTX* ctx, const CCRef* cell) = 0;
    virtual int NextValue(cells::CTX* ctx, uint16_t& handle, CCCellValue& value,
                          const CCRef* cell) = 0;
    virtual int RefSize(cells::CTX* ctx, uint16_t handle, ostrel::platform::CSize& size,
                        const CCRef* cell) = 0;
    virtual int CloseRef(cells::CTX* ctx, uint16_t handle, const CCRef* cell) = 0;
    virtual void Read(cells::CTX* ctx, ostrel::platform::CArchive& ar) = 0;
    virtual void Write(cells::CTX* ctx, ostrel::platform::CArchive& ar) const = 0;
    virtual void OnSheetRename(const std::u16string&, const std::u16string&) {}
    virtual int ContainsSheetLinks() const { return 0; }
    virtual void UpdateArgsOnSheetRename(cells::CTX*, const CCRemoteRef*, const CCRemoteRef*) {}
    virtual int IsHyperLink() const { return 0; }

    /// A new owning list of the references the tree reads, in the order found.
    CCRefList* GetPrecedents(cells::CTX* ctx) const;
    /// Calls visit with each reference the tree reads (the tree's own), in the same order.
    void ForEachPrecedent(const std::function<void(const CCRef*)>& visit) const;

    bool IsValidated() const { return m_validated != 0; }

protected:
    uint8_t m_validated = 0;
};

/// A singly linked argument list; each element owns its formula. Null is the empty list.
struct OSTREL_API CCFormulaList {
    static void* operator new(size_t size);
    static void operator delete(void* node, size_t size) noexcept;

    CCFormula* m_pFormula = nullptr;   // owned, never null in a list
    CCFormulaList* m_pNext = nullptr;  // owned
};

OSTREL_API CCFormulaList* FormulaListCreateEmpty();
OSTREL_API CCFormulaList* FormulaListCreate1Item(CCFormula* a);
OSTREL_API CCFormulaList* FormulaListCreate2Item(CCFormula* a, CCFormula* b);
OSTREL_API CCFormulaList* FormulaListCreate3Item(CCFormula* a, CCFormula* b, CCFormula* c);
/// Appends at the end (creating the list when absent); returns the head.
OSTREL_API CCFormulaList* FormulaListAddLast(CCFormulaList*& list, CCFormula* formula);
OSTREL_API CCFormulaList* CopyFormulaList(const CCFormulaList* list);
OSTREL_API void FreeFormulaList(CCFormulaList* list, int freeFormulas);
OSTREL_API size_t FormulaListCount(const CCFormulaList* list);
/// At least n elements, or exactly n (Ex); the null list has none.
OSTREL_API bool FormulaListItems(const CCFormulaList* list, size_t n);
OSTREL_API bool FormulaListItemsEx(const CCFormulaList* list, size_t n);
/// The same for each n from 0 to 8 under a name of its own.
OSTREL_API bool FormulaList0Item(const CCFormulaList* list);
OSTREL_API bool FormulaList1Item(const CCFormulaList* list);
OSTREL_API bool FormulaList2Item(const CCFormulaList* list);
OSTREL_API bool FormulaList3Item(const CCFormulaList* list);
OSTREL_API bool FormulaList4Item(const CCFormulaList* list);
OSTREL_API bool FormulaList5Item(const CCFormulaList* list);
OSTREL_API bool FormulaList6Item(const CCFormulaList* list);
OSTREL_API bool FormulaList7Item(const CCFormulaList* list);
OSTREL_API bool FormulaList8Item(const CCFormulaList* list);
OSTREL_API bool FormulaList0ItemEx(const CCFormulaList* list);
OSTREL_API bool FormulaList1ItemEx(const CCFormulaList* list);
OSTREL_API bool FormulaList2ItemEx(const CCFormulaList* list);
OSTREL_API bool FormulaList3ItemEx(const CCFormulaList* list);
OSTREL_API bool FormulaList4ItemEx(const CCFormulaList* list);
OSTREL_API bool FormulaList5ItemEx(const CCFormulaList* list);
OSTREL_API bool FormulaList6ItemEx(const CCFormulaList* list);
OSTREL_API bool FormulaList7ItemEx(const CCFormulaList* list);
OSTREL_API bool FormulaList8ItemEx(const CCFormulaList* list);

/// Every node class overrides all the abstract operations of CCFormula.
#define OSTREL_FORMULA_NODE_OVERRIDES                                                           \
    CCFormula* Copy() const override;                                                           \
    int Check(cells::CTX* ctx, const CCRef* cell) override;                                     \
    void Eval(cells::CTX* ctx, CCCellValue& result, const CCRef* cell) override;                \
    void Print2File(cells::CTX* ctx, ostrel::platform::CWideOutStream& out, int precedence)     \
        const override;                                                                         \
    void Print(cells::CTX* ctx, ostrel::platform::CWideOutStream& out, int precedence)          \
        const override;                                                                         \
    int IsEditSourceRef(cells::CTX* ctx, const CCRef* cell) const override;                     \
    const CCRef* GetEditSourceRef(cells::CTX* ctx, const CCRef* cell) const override;           \
    int ContainsLink(cells::CTX* ctx, const CCRef* ref, const CCRef* cell) const override;      \
    int ContainsRemoteLinks() const override;                                                   \
    int ContainsTodayLinks() const override;                                                    \
    int IsSingleValue(cells::CTX* ctx, const CCRef* cell) override;                             \
    int RegisterDependents(cells::CTX* ctx, const CCRef* dependent) override;                   \
    int UnRegisterDependents(cells::CTX* ctx, const CCRef* dependent) override;                 \
    int InvalidateRef(cells::CTX* ctx, const CCRef* ref, CCFormula*& replacement,               \
                      const CCRef* cell) override;                                              \
    int InvalidateItem(cells::CTX* ctx, const CCItem* item, CCFormula*& replacement,            \
                       const CCRef* cell) override;                                             \
    int MoveFormula(cells::CTX* ctx, const CCRef* from, const CCRef* to) override;              \
    int UpdateInPaste(cells::CTX* ctx, const CCRef* from, const CCRef* to,                      \
                      const CCClipboardData* data) override;                                    \
    int UpdateRef(cells::CTX* ctx, const CCRef* region, const CCRef* cell, const CCRef* oldRef, \
                  const CCRef* newRef, int unregister, CCFormula*& replacement) override;       \
    uint16_t OpenRef(cells::CTX* ctx, const CCRef* cell) override;                              \
    int NextValue(cells::CTX* ctx, uint16_t& handle, CCCellValue& value, const CCRef* cell)     \
        override;                                                                               \
    int RefSize(cells::CTX* ctx, uint16_t handle, ostrel::platform::CSize& size,                \
                const CCRef* cell) override;                                                    \
    int CloseRef(cells::CTX* ctx, uint16_t handle, const CCRef* cell) override;                 \
    void Read(cells::CTX* ctx, ostrel::platform::CArchive& ar) override;                        \
    void Write(cells::CTX* ctx, ostrel::platform::CArchive& ar) const override;

class OSTREL_API CCConstFormula : public CCFormula {
public:
    CCConstFormula() = default;
    explicit CCConstFormula(const CCCellValue& value) : m_value(value) {}
    const CCCellValue& GetValue() const { return m_value; }
    CCCellValue& GetValue() { return m_value; }
    /// Whether the node is being read as a range (OpenRef without CloseRef yet).
    bool IsOpen() const { return m_open != 0; }
    int GetType() const override { return FORMULA_CONST; }
    OSTREL_FORMULA_NODE_OVERRIDES

private:
    // Before the value: it fits in the padding the base class leaves.
    int m_open = 0;
    CCCellValue m_value;
};

class OSTREL_API CCConstArrayFormula : public CCFormula {
public:
    CCConstArrayFormula() = default;
    /// Rows of values (a null value separates rows); shorter rows are padded with empties.
    explicit CCConstArrayFormula(const SCCellValueList* rows);
    int GetType() const override { return FORMULA_CONST_ARRAY; }
    int GetColumns() const { return m_columns; }
    int GetRows() const { return m_rows; }
    /// The value at row * columns + column.
    const CCCellValue& GetAt(int index) const { return m_values[size_t(index)]; }
    OSTREL_FORMULA_NODE_OVERRIDES

private:
    std::vector<CCCellValue> m_values;  // row by row; empty when the array holds none
    int m_columns = 0;
    int m_rows = 0;
    int m_position = -1;
};

class OSTREL_API CCRefFormula : public CCFormula {
public:
    CCRefFormula() = default;
    CCRefFormula(const char16_t* name, unsigned char flags);
    CCRefFormula(unsigned char column, uint16_t row, unsigned char flags);
    CCRefFormula(unsigned char firstColumn, uint16_t firstRow, unsigned char lastColumn,
                 uint16_t lastRow, unsigned char flags);
    CCRefFormula(const CCRef* ref, unsigned char flags);
    int GetType() const override { return FORMULA_REF; }
    const CCRef* GetRef() const { return m_ref.get(); }
    CCRef* GetRef() { return m_ref.get(); }
    unsigned char GetMode() const { return m_mode; }
    void SetMode(unsigned char flags) { m_mode = flags; }
    int ContainsSheetLinks() const override;
    void OnSheetRename(const std::u16string& oldName, const std::u16string& newName) override;
    void UpdateArgsOnSheetRename(cells::CTX* ctx, const CCRemoteRef* oldRef,
                                 const CCRemoteRef* newRef) override;
    OSTREL_FORMULA_NODE_OVERRIDES

private:
    unsigned char m_mode = 0;  // first: it fits in the padding the base class leaves
    std::unique_ptr<CCRef> m_ref;
};

class OSTREL_API CCOpFormula : public CCFormula {
public:
    CCOpFormula() = default;
    /// Takes ownership of args.
    CCOpFormula(const CCFunc* func, CCFormulaList* args) : m_func(func), m_args(args) {}
    CCOpFormula(const CCOpFormula&) = delete;
    CCOpFormula& operator=(const CCOpFormula&) = delete;
    ~CCOpFormula() override;
    int GetType() const override { return FORMULA_OP; }
    const CCFunc* GetFunc() const { return m_func; }
    const CCFormulaList* GetArgs() const { return m_args; }
    CCFormulaList*& GetArgsRef() { return m_args; }
    void SetFunc(const CCFunc* func) { m_func = func; }
    /// A stored entry that matched no registry entry: its kind and name, kept for printing
    /// and writing (such a node fails Check with 4 and is never evaluated).
    unsigned char GetStoredKind() const { return m_storedKind; }
    const std::u16string& GetStoredName() const;
    void SetStored(unsigned char kind, std::u16string name);
    /// The node's value as OpenRef, NextValue and CloseRef give it, without the calls; 0
    /// when the node is open already.
    int ValueOnce(cells::CTX* ctx, CCCellValue& value, const CCRef* cell);
    int AlwaysRecalc() const override;
    int ContainsSheetLinks() const override;
    int IsHyperLink() const override;
    void OnSheetRename(const std::u16string& oldName, const std::u16string& newName) override;
    void UpdateArgsOnSheetRename(cells::CTX* ctx, const CCRemoteRef* oldRef,
                                 const CCRemoteRef* newRef) override;
    void ListenToSheets(cells::CTX* ctx, const CCRef* cell) override;
    OSTREL_FORMULA_NODE_OVERRIDES

protected:
    template <class Update>
    int RebuildArgs(CCFormula*& replacement, Update update);
    /// Applies follow to each argument of a copy of the list, and puts the copy in place
    /// only when every argument followed (1); otherwise the arguments stay as they were (0).
    template <class Follow>
    int FollowOnCopy(Follow follow);

    // The small fields first, where they fit in the padding the base class leaves.
    uint16_t m_open = 0;
    unsigned char m_storedKind = 0;
    /// Nearly every node has a registry entry: the rare stored name is kept beside the
    /// nodes, so that the others pay nothing for it.
    bool m_hasStoredName = false;
    const CCFunc* m_func = nullptr;   // a registry entry, never owned
    CCFormulaList* m_args = nullptr;  // owned
};

class OSTREL_API CCChooseOpFormula : public CCOpFormula {
public:
    using CCOpFormula::CCOpFormula;
    int GetType() const override { return FORMULA_CHOOSE; }
    CCFormula* Copy() const override;
    int IsSingleValue(cells::CTX* ctx, const CCRef* cell) override;
    uint16_t OpenRef(cells::CTX* ctx, const CCRef* cell) override;
    int NextValue(cells::CTX* ctx, uint16_t& handle, CCCellValue& value,
                  const CCRef* cell) override;
    int RefSize(cells::CTX* ctx, uint16_t handle, ostrel::platform::CSize& size,
                const CCRef* cell) override;
    int CloseRef(cells::CTX* ctx, uint16_t handle, const CCRef* cell) override;

private:
    CCFormula* m_chosen = nullptr;  // one of the arguments, not owned
};

class OSTREL_API CCRemoteOpFormula : public CCOpFormula {
public:
    using CCOpFormula::CCOpFormula;
    int GetType() const override { return FORMULA_REMOTE; }
    CCFormula* Copy() const override;
    void Eval(cells::CTX* ctx, CCCellValue& result, const CCRef* cell) override;
    /// The cell registers with the document its reference names as soon as it holds the
    /// formula, and leaves it with the formula.
    int RegisterDependents(cells::CTX* ctx, const CCRef* dependent) override;
    int UnRegisterDependents(cells::CTX* ctx, const CCRef* dependent) override;
    int IsSingleValue(cells::CTX* ctx, const CCRef* cell) override;
    uint16_t OpenRef(cells::CTX* ctx, const CCRef* cell) override;
    int NextValue(cells::CTX* ctx, uint16_t& handle, CCCellValue& value,
                  const CCRef* cell) override;
    int RefSize(cells::CTX* ctx, uint16_t handle, ostrel::platform::CSize& size,
                const CCRef* cell) override;
    int CloseRef(cells::CTX* ctx, uint16_t handle, const CCRef* cell) override;
    void Read(cells::CTX* ctx, ostrel::platform::CArchive& ar) override;
    void Write(cells::CTX* ctx, ostrel::platform::CArchive& ar) const override;
    const CCRemoteRef& GetRemoteRef() const { return m_remote; }

    /// Raised when a node's remote reference changed during an evaluation (the cell then
    /// replaces its tree by a fresh copy).
    static bool RefRemoteChanged;

private:
    // The reference the arguments name now, registered with in place of the one held when
    // it differs (an argument read from a cell may have changed).
    void Resolve(cells::CTX* ctx, const CCRef* cell);
    // The reference to unregister from: the one held, or the arguments' when none is.
    CCRemoteRef Registered(cells::CTX* ctx, const CCRef* cell) const;

    CCRemoteRef m_remote;
};

class OSTREL_API CCDocOpFormula : public CCOpFormula {
public:
    using CCOpFormula::CCOpFormula;
    int GetType() const override { return FORMULA_DOC; }
    CCFormula* Copy() const override;
    /// A function that reads a document property registers with the manager's document
    /// item of that property, so that a changed property recalculates the cell.
    int RegisterDependents(cells::CTX* ctx, const CCRef* dependent) override;
    int UnRegisterDependents(cells::CTX* ctx, const CCRef* dependent) override;
};

class OSTREL_API CCRefOpFormula : public CCOpFormula, public CCListenerWithManager {
public:
    using CCOpFormula::CCOpFormula;
    ~CCRefOpFormula() override;
    int GetType() const override { return FORMULA_REFOP; }
    CCFormula* Copy() const override;
    void Eval(cells::CTX* ctx, CCCellValue& result, const CCRef* cell) override;
    int IsSingleValue(cells::CTX* ctx, const CCRef* cell) override;
    int RegisterDependents(cells::CTX* ctx, const CCRef* dependent) override;
    int UnRegisterDependents(cells::CTX* ctx, const CCRef* dependent) override;
    void ListenToSheets(cells::CTX* ctx, const CCRef* cell) override;
    int MoveFormula(cells::CTX* ctx, const CCRef* from, const CCRef* to) override;
    /// A sheet-prefixed reference follows a moved cell of its own sheet only.
    int UpdateRef(cells::CTX* ctx, const CCRef* region, const CCRef* cell, const CCRef* oldRef,
                  const CCRef* newRef, int unregister, CCFormula*& replacement) override;
    uint16_t OpenRef(cells::CTX* ctx, const CCRef* cell) override;
    int NextValue(cells::CTX* ctx, uint16_t& handle, CCCellValue& value,
                  const CCRef* cell) override;
    int RefSize(cells::CTX* ctx, uint16_t handle, ostrel::platform::CSize& size,
                const CCRef* cell) override;
    int CloseRef(cells::CTX* ctx, uint16_t handle, const CCRef* cell) override;
    /// Sheet rename and destroy events of the sheet a FULLREFFunc node names.
    bool OnEvent(const CCBaseEvent& event) override;
    const CCRef* GetKeptRef() const { return m_kept.get(); }

private:
    /// RANGE, sheet-range and sheet-prefix nodes: they yield a reference from what they name.
    bool NamesRegion() const;
    /// A sheet-prefix node that yielded a sheet-qualified reference listens to its sheet.
    void ListenToSheetOf(cells::CTX* ctx, const CCRef* yielded);

    std::unique_ptr<CCRef> m_kept;     // the reference last evaluated to
    CCCellManager* m_sheet = nullptr;  // the broadcaster the node listens to, if any
};

/// Builds the operation node of the class the entry's kind selects (null for other kinds).
OSTREL_API CCFormula* ConstructOpFormula(const CCFunc* func, CCFormulaList* args);
OSTREL_API CCFormula* ConstructOpFormula(const CCFunc* func);
OSTREL_API CCFormula* ConstructOpFormula(const CCFunc* func, CCFormula* a);
OSTREL_API CCFormula* ConstructOpFormula(const CCFunc* func, CCFormula* a, CCFormula* b);
OSTREL_API CCFormula* ConstructOpFormula(const CCFunc* func, CCFormula* a, CCFormula* b,
                                         CCFormula* c);
/// Sheet prefixes: the names become reference nodes over name references.
OSTREL_API CCFormula* ConstructOpFormula(const CCFunc* func, const char16_t* sheet);
OSTREL_API CCFormula* ConstructOpFormula(const CCFunc* func, const char16_t* first,
                                         const char16_t* last);
/// The same from 8-bit names in the Windows-1252 code page of the legacy stream forms.
OSTREL_API CCFormula* ConstructOpFormula(const CCFunc* func, const char* sheet);
OSTREL_API CCFormula* ConstructOpFormula(const CCFunc* func, const char* first, const char* last);

/// The whole-formula evaluation used by cells: error 4 without a formula, Check's code as an
/// error, a reference result replaced by its value (error 1 when unreadable), a non-finite
/// number as error 3.
OSTREL_API void EvalFormula(cells::CTX* ctx, CCCellValue& result, CCFormula* formula,
                            const CCRef* cell);
OSTREL_API void PrintFormulaList(cells::CTX* ctx, ostrel::platform::CWideOutStream& out,
                                 const CCFormulaList* list, int precedence, int forceBrackets);
OSTREL_API void PrintFormulaList2File(cells::CTX* ctx, ostrel::platform::CWideOutStream& out,
                                      const CCFormulaList* list, int precedence, int forceBrackets);
OSTREL_API void WriteFormula(cells::CTX* ctx, ostrel::platform::CArchive& ar,
                             const CCFormula* formula);
/// A new tree owned by the caller, or null. Crafted bytes cannot nest deeper than
/// kMaxFormulaDepth (bad-format exception); a partly read tree is freed.
OSTREL_API CCFormula* ReadFormula(cells::CTX* ctx, ostrel::platform::CArchive& ar);
OSTREL_API void FormulaListWrite(cells::CTX* ctx, const CCFormulaList* list,
                                 ostrel::platform::CArchive& ar);
OSTREL_API CCFormulaList* FormulaListRead(cells::CTX* ctx, ostrel::platform::CArchive& ar);

/// The folding routine of the binary operators over their arguments, with an EvalCellValue
/// operation code (1 to 13).
OSTREL_API void FoldOperator(cells::CTX* ctx, int op, CCCellValue& result,
                             const CCFormulaList* args, const CCRef* cell);
/// The value a reference result denotes; error 1 when it cannot be read.
OSTREL_API void DereferenceValue(cells::CTX* ctx, CCCellValue& value);

#undef OSTREL_FORMULA_NODE_OVERRIDES
