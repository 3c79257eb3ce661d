// SPDX-License-Identifier: Apache-2.0
// What every family shares when it reads its arguments: evaluating one (a reference replaced
// by its value), reading it as a number, a range-checked integer, a text or a date, walking
// every value of a range with the range closed on every path, and storing results. Written
// once so that every function coerces the same way.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ostrel/cells/cell_value.h"
#include "ostrel/formula/formula.h"

class CCCellManager;

namespace ostrel::functions {

// The n-th argument (0-based), or null.
CCFormula* NthArgument(const CCFormulaList* args, int n);
int ArgumentCount(const CCFormulaList* args);

// The argument evaluated, a reference result replaced by its value; a missing argument is
// error 1.
void EvaluateArgument(cells::CTX* ctx, const CCFormulaList* args, int n, CCCellValue& value,
                      const CCRef* cell);
// True with x set when the n-th argument evaluates to a number.
bool NumberArgument(cells::CTX* ctx, const CCFormulaList* args, int n, double& x,
                    const CCRef* cell);
// 0 with x set when the n-th argument is a number; an error value's code, or 3 for anything
// else.
int NumberOrError(cells::CTX* ctx, const CCFormulaList* args, int n, double& x, const CCRef* cell);

enum class Rounding : uint8_t { floor, trunc };
// x made an integer and checked to lie in [low, high]: 0 with out set, or error 3 for a value
// that is not finite or lies outside (compared after rounding, so no cast ever overflows).
int ToInteger(double x, Rounding rounding, int64_t low, int64_t high, int64_t& out);
// The n-th argument as such an integer: an error value passes its code, any other non-number
// is error 3.
int IntegerArgument(cells::CTX* ctx, const CCFormulaList* args, int n, Rounding rounding,
                    int64_t low, int64_t high, int64_t& out, const CCRef* cell);
// As IntegerArgument, with fallback as the value of an argument that is not there.
int OptionalIntegerArgument(cells::CTX* ctx, const CCFormulaList* args, int n, Rounding rounding,
                            int64_t low, int64_t high, int64_t fallback, int64_t& out,
                            const CCRef* cell);

// A value as the text functions see it: a text unchanged, a number as its display text in
// its own format, an empty value or a reference as the empty text. 0, or the error code of
// an error value (out untouched).
int ValueToText(cells::CTX* ctx, const CCCellValue& value, std::u16string& out);
int TextArgument(cells::CTX* ctx, const CCFormulaList* args, int n, std::u16string& out,
                 const CCRef* cell);

// A value as a date: a number is a serial, a text is read as a typed date (and time); 0 with
// serial set, an error value's code, or 3. For values met while walking a range.
int ValueToDate(cells::CTX* ctx, const CCCellValue& value, double& serial);
// A date argument, read as ValueToDate reads a value.
int DateArgument(cells::CTX* ctx, const CCFormulaList* args, int n, double& serial,
                 const CCRef* cell);

// Results.
void SetNumber(CCCellValue& result, double x);                    // General format
void SetKind(CCCellValue& result, double x, unsigned char kind);  // a date, time, bool...
void SetBool(CCCellValue& result, bool value);                    // kind C_NF_BOOL
// The text as the result, or error 3 when it is longer than kMaxBuiltTextLength.
void SetText(CCCellValue& result, std::u16string_view text);
// Whether a text of this length may be built; routines check before they allocate.
inline bool FitsBuiltText(uint64_t length) {
    return length <= kMaxBuiltTextLength;
}

// One argument opened as a range and read value by value (references replaced by their
// values), closed when the walk goes out of scope whatever path leaves it.
class RangeWalk {
public:
    // A caller that passes over empty values says so: the walk of a range of this document
    // then ends where only empty positions are left.
    RangeWalk(cells::CTX* ctx, CCFormula* node, const CCRef* cell, bool emptiesIgnored = false);
    ~RangeWalk();
    RangeWalk(const RangeWalk&) = delete;
    RangeWalk& operator=(const RangeWalk&) = delete;

    // False when the argument is missing or has nothing to iterate.
    bool Opened() const { return m_handle != 0; }
    // The next value; false at the end.
    bool Next(CCCellValue& value);
    // Width and height of the opened range; false when it cannot say.
    bool Size(int& width, int& height);
    // How many values that were references every walk has replaced so far: a result read
    // through one depends on a cell outside the ranges walked.
    static uint64_t Dereferenced() { return s_dereferenced; }

private:
    cells::CTX* m_ctx;
    CCFormula* m_node;
    const CCRef* m_cell;
    uint16_t m_handle = 0;
    // A range of this document is read a run of values at a time, into m_values, instead of
    // through the node, the reference and the document for each one.
    CCCellManager* m_manager = nullptr;
    std::unique_ptr<CCCellValue[]> m_values;
    int m_capacity = 0;
    int m_next = 0;
    int m_count = 0;
    unsigned long m_read = 0;
    unsigned long m_emptyFrom = ULONG_MAX;  // positions from here on are empty
    // Engine code runs on one thread at a time.
    static inline uint64_t s_dereferenced = 0;
};

// Calls visit(value) for every value the node yields. Returns 0, or 1 when the node has
// nothing to iterate.
template <class Visit>
int WalkValues(cells::CTX* ctx, CCFormula* node, const CCRef* cell, Visit&& visit) {
    RangeWalk walk(ctx, node, cell);
    if (!walk.Opened()) return 1;
    CCCellValue value;
    while (walk.Next(value))
        visit(value);
    return 0;
}

// Every argument of a list (or its first `limit` arguments) opened at once and read in step,
// position by position.
class StepWalk {
public:
    StepWalk(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell,
             size_t limit = SIZE_MAX);
    // The next position that every argument has (values() holds one value per argument);
    // false when any argument has ended. The others are then read to their ends, so that
    // Failure() knows their sizes and errors.
    bool Next();
    const CCCellValue* values() const { return m_values.data(); }
    size_t count() const { return m_values.size(); }
    // After the walk: 0, or the first failure in argument order — 1 for an argument with
    // nothing to iterate, the code of its first error value, 3 for one holding more or fewer
    // values than the first.
    int Failure() const;

private:
    std::vector<std::unique_ptr<RangeWalk>> m_walks;
    std::vector<CCCellValue> m_values;
    std::vector<uint64_t> m_sizes;
    std::vector<int> m_errors;
};

// visit(values, count) for every position all the arguments (at most `limit` of them) have;
// StepWalk::Failure() after.
template <class Visit>
int WalkInStep(cells::CTX* ctx, const CCFormulaList* args, const CCRef* cell, Visit&& visit,
               size_t limit = SIZE_MAX) {
    StepWalk walk(ctx, args, cell, limit);
    while (walk.Next())
        visit(walk.values(), walk.count());
    return walk.Failure();
}

}  // namespace ostrel::functions
