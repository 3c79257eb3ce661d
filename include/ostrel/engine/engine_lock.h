// SPDX-License-Identifier: Apache-2.0
/// \file
/// Threads and the engine. The engine keeps one state per process: the number-format and
/// format-code tables, the function registry, the international settings, the module
/// profile, the unit texts and the object pools are shared by every workbook, and none of
/// them is guarded on its own. What is kept per thread (the formula parser, the formula
/// reader's depth, the walks over formula trees) only saves allocations.
///
/// The rule: one thread at a time runs engine code. Several workbooks on several threads
/// are safe when each call into the engine holds an EngineLock:
/// - the workbook facade (ostrel/calc_book.h) takes it in every call, so workbooks may be
///   used from any threads at once; their calls run one after another, not in parallel;
/// - a host that drives the engine's classes itself (its own CCCellManager) takes it around
///   each batch of calls when more than one thread may use the engine; a host that uses the
///   engine from one thread only needs nothing.
/// QXCellInit and QXCellExit run while no other engine call does.
#pragma once

#include "ostrel/export.h"

namespace ostrel {

/// Held for its lifetime: the process-wide engine lock (recursive, so that calls made while
/// holding it may take it again).
class OSTREL_API EngineLock {
public:
    EngineLock();
    ~EngineLock();
    EngineLock(const EngineLock&) = delete;
    EngineLock& operator=(const EngineLock&) = delete;
};

}  // namespace ostrel
