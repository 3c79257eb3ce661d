// SPDX-License-Identifier: Apache-2.0
/// \file
/// The registry of operators and built-in functions: one entry per operator or function, with
/// its names, id, precedence, kind, category, check routine and evaluation routine. Formula
/// nodes point to entries (they never own them); streams store an entry by kind and
/// alternate name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ostrel/engine/ctx.h"
#include "ostrel/export.h"

namespace ostrel::platform {
class CArchive;
}  // namespace ostrel::platform
class CCCellValue;
class CCDocumentRef;
class CCFormula;
class CCRef;
class CCRemoteRef;
struct CCFormulaList;

/// Entry kinds.
enum : unsigned char {
    FUNC_PREFIX = 1,
    FUNC_POSTFIX = 2,
    FUNC_INFIX = 4,
    FUNC_FUNCTION = 8,
};

/// What the formula tree must know of some entries.
enum FunctionFlag : uint8_t {
    kFlagUnlisted = 1,       // set up, but reached by no name, stream or function list
    kFlagToday = 2,          // follows the date, the time or the environment (NOW, TODAY)
    kFlagAlwaysRecalc = 4,   // recalculated whatever changed (RAND)
    kFlagHyperlink = 8,      // its formula is a hyperlink
    kFlagShapeOnly = 16,     // reads the shape of its range, not its values (ROWS)
    kFlagUnregistered = 32,  // registers no dependency on what it yields (OFFSET)
};

/// Routines: cell is the reference of the cell being calculated (may be null).
using CheckRoutine = int (*)(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell);
using EvalRoutine = void (*)(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                             const CCRef* cell);
/// Picks the argument to evaluate (a node of args, not owned); returns 0 or an error code.
using ChoiceRoutine = int (*)(cells::CTX* ctx, CCFormula*& chosen, const CCFormulaList* args,
                              const CCRef* cell);
using RemoteRoutine = int (*)(cells::CTX* ctx, CCRemoteRef& out, const CCFormulaList* args,
                              const CCRef* cell);
using DocumentRoutine = int (*)(cells::CTX* ctx, CCDocumentRef& out, const CCFormulaList* args,
                                const CCRef* cell);

class OSTREL_API CCFunc {
public:
    CCFunc() = default;
    CCFunc(const CCFunc&) = delete;
    CCFunc& operator=(const CCFunc&) = delete;
    virtual ~CCFunc() = default;
    /// 1 plain, 2 choice, 3 remote, 4 document, 5 reference function.
    virtual int GetType() const { return 1; }

    /// A function: names from the string resource of id (part 0) and the invariant name
    /// table.
    void Init(unsigned id, unsigned char precedence, unsigned char kind, unsigned char category,
              CheckRoutine check, EvalRoutine eval);
    /// An operator: the text is both names; id 0.
    void Init(std::u16string_view name, unsigned char precedence, unsigned char kind,
              unsigned char category, CheckRoutine check, EvalRoutine eval);

    /// FunctionFlag bits; 0 for operators.
    void SetFlags(uint8_t flags) { m_flags = flags; }
    bool HasFlag(FunctionFlag flag) const { return (m_flags & flag) != 0; }
    /// Whether evaluating the entry computes anything (a choice entry's routine evaluates the
    /// argument its choice picks).
    bool HasEvaluation() const { return m_eval != nullptr; }

    const std::u16string& GetName() const { return m_name; }
    const std::u16string& GetAltName() const { return m_altName; }
    unsigned GetId() const { return m_id; }
    unsigned char GetPrecedence() const { return m_precedence; }
    unsigned char GetKind() const { return m_kind; }
    unsigned char GetCategory() const { return m_category; }
    CheckRoutine GetCheck() const { return m_check; }
    EvalRoutine GetEval() const { return m_eval; }
    /// Part n of the function's resource text (0 the name, then the wizard texts); false
    /// when there is no such part.
    bool GetFuncString(std::u16string& out, int part) const;

private:
    std::u16string m_name;
    unsigned m_id = 0;
    unsigned char m_precedence = 0;
    unsigned char m_category = 0;
    unsigned char m_kind = 0;
    CheckRoutine m_check = nullptr;
    EvalRoutine m_eval = nullptr;
    std::u16string m_altName;
    uint8_t m_flags = 0;
};

class OSTREL_API CCChooseFunc : public CCFunc {
public:
    int GetType() const override { return 2; }
    using CCFunc::Init;
    void Init(unsigned id, unsigned char precedence, unsigned char kind, unsigned char category,
              CheckRoutine check, EvalRoutine eval, ChoiceRoutine choice);
    /// 4 with a null choice when there is no routine.
    virtual int GetChoice(cells::CTX* ctx, CCFormula*& chosen, const CCFormulaList* args,
                          const CCRef* cell) const;

private:
    ChoiceRoutine m_choice = nullptr;
};

class OSTREL_API CCRemoteFunc : public CCFunc {
public:
    int GetType() const override { return 3; }
    using CCFunc::Init;
    void Init(unsigned id, unsigned char precedence, unsigned char kind, unsigned char category,
              CheckRoutine check, EvalRoutine eval, RemoteRoutine remote);
    virtual int GetRemoteRef(cells::CTX* ctx, CCRemoteRef& out, const CCFormulaList* args,
                             const CCRef* cell) const;

private:
    RemoteRoutine m_remote = nullptr;
};

class OSTREL_API CCDocumentFunc : public CCFunc {
public:
    int GetType() const override { return 4; }
    using CCFunc::Init;
    void Init(unsigned id, unsigned char precedence, unsigned char kind, unsigned char category,
              CheckRoutine check, EvalRoutine eval, DocumentRoutine document);
    virtual int GetDocumentRef(cells::CTX* ctx, CCDocumentRef& out, const CCFormulaList* args,
                               const CCRef* cell) const;

private:
    DocumentRoutine m_document = nullptr;
};

/// Its evaluation routine yields a reference value.
class OSTREL_API CCRefFunc : public CCFunc {
public:
    int GetType() const override { return 5; }
};

/// Builds every entry from the families' rows (once per process; later calls only report),
/// sorts both name indexes and seeds the random generator. False when the rows do not make
/// a registry (BuiltinFunctionsFailure says why): no formula can be read then.
OSTREL_API bool InitBuiltinFunctions();
/// Why the registry could not be built; empty when it was.
OSTREL_API const std::string& BuiltinFunctionsFailure();
/// The listed entries (operators and functions; 277), sorted by primary name.
OSTREL_API CCFunc* const* GetBuiltInFunc();
OSTREL_API int GetBuiltInFuncSize();
/// The function whose string resource is id, listed or not; null for no such function.
OSTREL_API CCFunc* GetFunctionById(unsigned id);
/// The invariant name of that function, as streams store it ("SUM" for 13079); empty for no
/// such function.
OSTREL_API std::u16string_view FunctionInvariantName(unsigned id);

/// The longest function (kind 8) name that prefixes the text at cursor, by primary or
/// alternate name; the cursor moves past it. Null (cursor unchanged) when none.
OSTREL_API CCFunc* FindFunctionByName(const char16_t*& cursor);
OSTREL_API CCFunc* FindFunctionByAltName(const char16_t*& cursor);
/// True when an entry of a kind sharing a bit with mask has exactly this primary name
/// (ignoring case).
OSTREL_API bool IsFunction(std::u16string_view name, unsigned char kindMask);
/// The primary-name lookup restricted to one kind.
OSTREL_API int _EatFunction(cells::CTX* ctx, const char16_t*& cursor, CCFunc*& entry,
                            unsigned char kind);
/// Imported formulas: the first entry with this primary name whose check routine accepts the
/// arguments; ties between operators of one name are broken by kind, and one argument picks
/// the prefix or postfix entry.
OSTREL_API CCFunc* GetFunction(cells::CTX* ctx, const char* name, const CCFormulaList* args);

OSTREL_API void WriteFunc(cells::CTX* ctx, ostrel::platform::CArchive& ar, const CCFunc* entry);
/// The entry with this kind and alternate name (ignoring case), or null; the kind and name
/// are consumed either way. name receives the stored name, so that a node can keep it.
OSTREL_API CCFunc* ReadFunc(cells::CTX* ctx, ostrel::platform::CArchive& ar,
                            unsigned char* kind = nullptr, std::u16string* name = nullptr);

OSTREL_API int GetFuncChoice(cells::CTX* ctx, CCFormula*& chosen, const CCFunc* entry,
                             const CCFormulaList* args, const CCRef* cell);
OSTREL_API int GetFuncDocumentRef(cells::CTX* ctx, CCDocumentRef& out, const CCFunc* entry,
                                  const CCFormulaList* args, const CCRef* cell);
OSTREL_API int GetFuncRemoteRef(cells::CTX* ctx, CCRemoteRef& out, const CCFunc* entry,
                                const CCFormulaList* args, const CCRef* cell);

/// The registry objects the formula layer refers to by name.
extern OSTREL_API CCFunc OrFunc, AndFunc, NotFunc, GTFunc, GEFunc, LTFunc, LEFunc, EQFunc, NEFunc,
    ADDFunc, SUBFunc, MULFunc, DIVFunc, PowerFunc, PercentFunc, UnPlusFunc, UnMinusFunc;
extern OSTREL_API CCRefFunc RANGEFunc, SheetRangeFunc, FULLREFFunc;
