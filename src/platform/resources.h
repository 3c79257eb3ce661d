// The engine's string table: an English text of ours for every resource number the engine
// shows, scans or prints (messages, boolean words, function names and wizard texts,
// category names, error texts, default unit texts).
#pragma once

#include <string_view>

namespace ostrel {

// The text of a resource number; empty when the table has none.
std::u16string_view LoadResourceString(unsigned id);

// The invariant (alternate) name of the function whose resource number is id, as streams
// store it ("SUM" for 13079); empty when id names no function.
std::u16string_view FunctionAlternateName(unsigned id);

}  // namespace ostrel
