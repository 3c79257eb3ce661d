// SPDX-License-Identifier: Apache-2.0
// One row per built-in function: everything the registry knows of it — invariant name, id,
// category, argument rule, routines, the function wizard's texts and what the formula tree
// must know of it — declared once, beside its routine, in the file of its family. The
// registry is built from these rows when the engine starts.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "functions/check_routines.h"
#include "ostrel/functions/func.h"

// A rule as a check routine: entries with equal rules share one routine.
#define RULE(min, max, ranges, k) &CheckWithRule<ArgRule{min, max, RangeRule::ranges, k}>
#define kMany kManyArgs

// Categories of the function wizard (their names are string resources 13007 + category).
enum FunctionCategory : unsigned char {
    kMathematical = 1,
    kTrigonometric = 2,
    kLogical = 3,
    kStatistical = 4,
    kDateAndTime = 5,
    kTextCategory = 6,
    kFinancial = 7,
    kLookupAndReference = 8,
    kInformation = 9,
    kDatabaseAndRemote = 10,
    kDocumentInformation = 11,
};

// The class of entry a row becomes: it decides the node a formula builds (plain operation,
// choice, remote, document or reference-yielding node).
enum class EntryClass : uint8_t { plain, choice, remote, document, reference };

struct FunctionRow {
    std::u16string_view name;  // invariant: streams store it, the parser accepts it
    unsigned id;               // its string resource: 13044 to 13305
    unsigned char category;
    CheckRoutine check;
    // Null while the function's family has not landed: its cells show an error, never an
    // empty value, and the host hears of it (CUserInterface::FunctionWithoutEvaluation).
    EvalRoutine eval;
    // The wizard's texts after the name, one per line: the syntax, what the function does,
    // then one line per argument.
    std::u16string_view text;
    EntryClass entryClass = EntryClass::plain;
    uint8_t flags = 0;  // FunctionFlag bits
    ChoiceRoutine choice = nullptr;
    RemoteRoutine remote = nullptr;
    DocumentRoutine document = nullptr;
};

// Every family's rows. The registry takes them all; a family file defines its function.
namespace ostrel::functions {
std::span<const FunctionRow> MathUnaryRows();
std::span<const FunctionRow> MathRoundingRows();
std::span<const FunctionRow> MathListRows();
std::span<const FunctionRow> LogicalRows();
std::span<const FunctionRow> InformationRows();
std::span<const FunctionRow> StatisticalRows();
std::span<const FunctionRow> DateTimeRows();
std::span<const FunctionRow> TextRows();
std::span<const FunctionRow> FinancialRows();
std::span<const FunctionRow> LookupRows();
std::span<const FunctionRow> ReferenceRows();
std::span<const FunctionRow> RemoteRows();
std::span<const FunctionRow> DatabaseRows();
std::span<const FunctionRow> DocumentRows();
}  // namespace ostrel::functions
