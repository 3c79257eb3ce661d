// SPDX-License-Identifier: Apache-2.0
// International dialling codes by region: the locale's "country code". ICU holds no
// telephone data, so the engine keeps its own table of the common regions.
#pragma once

#include <string_view>

namespace zmk::multilang {

// The dialling code of an ISO 3166 region ("DE" gives 49); 1 for a region not in the table.
long DiallingCode(std::string_view region);

}  // namespace zmk::multilang
