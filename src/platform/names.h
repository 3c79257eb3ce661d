// SPDX-License-Identifier: Apache-2.0
// Inside the library, and in the programs built with it, the platform stand-ins go by their
// plain names; an application that includes only the public headers meets them in
// ostrel::platform, where they cannot clash with its own.
#pragma once

#include "ostrel/platform/archive.h"
#include "ostrel/platform/file.h"
#include "ostrel/platform/geometry.h"
#include "ostrel/platform/ole_date_time.h"
#include "ostrel/platform/ptr_array.h"
#include "ostrel/platform/string_array.h"
#include "ostrel/platform/string_types.h"
#include "ostrel/platform/variant.h"
#include "ostrel/platform/wide_stream.h"

using namespace ostrel::platform;
