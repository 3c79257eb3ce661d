// The hand-over from cell input to the formula parser.
#include "formula/scanner.h"

// The formula grammar is not built yet. Until it is, every formula text counts as a formula
// whose tree could not be built, which the cell stores as a formula error: typed formulas
// are never silently turned into texts or numbers.
int ParseFormulaText(cells::CTX*, const char16_t*, CCFormula*& formula) {
    formula = nullptr;
    return 1;
}
