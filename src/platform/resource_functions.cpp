// Function names and function wizard texts, and the invariant name of every function.
#include "platform/resource_table.h"

namespace ostrel::resources {

const Entry kFunctionTexts[] = {{13079, u"SUM"}};
const size_t kFunctionTextCount = sizeof(kFunctionTexts) / sizeof(kFunctionTexts[0]);

const Entry kFunctionAlternateNames[] = {{13079, u"SUM"}};
const size_t kFunctionAlternateNameCount =
    sizeof(kFunctionAlternateNames) / sizeof(kFunctionAlternateNames[0]);

}  // namespace ostrel::resources
