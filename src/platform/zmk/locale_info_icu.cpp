#include "platform/zmk/legacy_locale_context.h"

namespace zmk::multilang {

std::unique_ptr<CLocaleInfo> CLocaleInfo::FromICU(const std::string&) { return nullptr; }

}  // namespace zmk::multilang
