// SPDX-License-Identifier: Apache-2.0
/// \file
/// OSTREL_API marks what the shared library exports: the classes a host uses, derives from or
/// calls, and the free functions and variables of the public headers. The library is built
/// with hidden visibility, so everything else stays inside it. Templates and inline functions
/// need no mark, except a template whose static data must be one object in the whole process
/// (ostrel::debug::CInstanceCounter).
#pragma once

#if defined(__GNUC__) || defined(__clang__)
#define OSTREL_API __attribute__((visibility("default")))
#else
#define OSTREL_API
#endif
