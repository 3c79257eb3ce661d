// SPDX-License-Identifier: Apache-2.0
#include "platform/zmk/dialling_codes.h"

#include <algorithm>
#include <iterator>
#include <utility>
#include "platform/names.h"

namespace zmk::multilang {

namespace {

// Sorted by region for binary search.
constexpr std::pair<std::string_view, long> kCodes[] = {
    {"AE", 971}, {"AR", 54},  {"AT", 43},  {"AU", 61},  {"BA", 387}, {"BD", 880}, {"BE", 32},
    {"BG", 359}, {"BH", 973}, {"BO", 591}, {"BR", 55},  {"BY", 375}, {"CA", 1},   {"CH", 41},
    {"CL", 56},  {"CN", 86},  {"CO", 57},  {"CR", 506}, {"CY", 357}, {"CZ", 420}, {"DE", 49},
    {"DK", 45},  {"DO", 1},   {"DZ", 213}, {"EC", 593}, {"EE", 372}, {"EG", 20},  {"ES", 34},
    {"FI", 358}, {"FR", 33},  {"GB", 44},  {"GE", 995}, {"GR", 30},  {"GT", 502}, {"HK", 852},
    {"HN", 504}, {"HR", 385}, {"HU", 36},  {"ID", 62},  {"IE", 353}, {"IL", 972}, {"IN", 91},
    {"IQ", 964}, {"IR", 98},  {"IS", 354}, {"IT", 39},  {"JM", 1},   {"JO", 962}, {"JP", 81},
    {"KE", 254}, {"KR", 82},  {"KW", 965}, {"KZ", 7},   {"LB", 961}, {"LI", 423}, {"LK", 94},
    {"LT", 370}, {"LU", 352}, {"LV", 371}, {"MA", 212}, {"MK", 389}, {"MT", 356}, {"MX", 52},
    {"MY", 60},  {"NG", 234}, {"NL", 31},  {"NO", 47},  {"NZ", 64},  {"OM", 968}, {"PA", 507},
    {"PE", 51},  {"PH", 63},  {"PK", 92},  {"PL", 48},  {"PR", 1},   {"PT", 351}, {"PY", 595},
    {"QA", 974}, {"RO", 40},  {"RS", 381}, {"RU", 7},   {"SA", 966}, {"SE", 46},  {"SG", 65},
    {"SI", 386}, {"SK", 421}, {"SV", 503}, {"TH", 66},  {"TN", 216}, {"TR", 90},  {"TW", 886},
    {"UA", 380}, {"US", 1},   {"UY", 598}, {"VE", 58},  {"VN", 84},  {"ZA", 27},
};

static_assert(std::is_sorted(std::begin(kCodes), std::end(kCodes)), "binary search needs order");

}  // namespace

long DiallingCode(std::string_view region) {
    auto it =
        std::lower_bound(std::begin(kCodes), std::end(kCodes), region,
                         [](const auto& entry, std::string_view r) { return entry.first < r; });
    return it != std::end(kCodes) && it->first == region ? it->second : 1;
}

}  // namespace zmk::multilang
