// SPDX-License-Identifier: Apache-2.0
#include "ostrel/platform/zmk/legacy_locale_context.h"

namespace zmk::multilang {

namespace {
const std::u16string kEmpty;
}

const std::u16string& CLegacyLocaleContext::dateLongMonths(int month) const {
    return month >= 1 && month <= 12 ? d.longMonths[month - 1] : kEmpty;
}

const std::u16string& CLegacyLocaleContext::dateShortMonths(int month) const {
    return month >= 1 && month <= 12 ? d.shortMonths[month - 1] : kEmpty;
}

const std::u16string& CLegacyLocaleContext::dateLongDays(int weekday) const {
    return weekday >= 0 && weekday <= 6 ? d.longDays[weekday] : kEmpty;
}

const std::u16string& CLegacyLocaleContext::dateShortDays(int weekday) const {
    return weekday >= 0 && weekday <= 6 ? d.shortDays[weekday] : kEmpty;
}

const std::u16string& CLegacyLocaleContext::info(int item) const {
    return item == 1 ? d.languageId : kEmpty;
}

}  // namespace zmk::multilang
