// SPDX-License-Identifier: Apache-2.0
// The wizard's texts of every function row: name, syntax, description and one line per
// argument, as the entry hands them out.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ostrel/functions/func.h"
#include "ostrel/platform/utf.h"

namespace {

// An entry's texts, one a line, as far as they go.
std::vector<std::u16string> Parts(const CCFunc& entry) {
    std::vector<std::u16string> parts;
    for (std::u16string part; entry.GetFuncString(part, int(parts.size()));)
        parts.push_back(part);
    return parts;
}

// The argument names of a syntax line "NAME(a, [b], ...)": brackets and repeats removed.
std::vector<std::u16string> SyntaxArguments(std::u16string_view syntax) {
    std::vector<std::u16string> names;
    size_t open = syntax.find(u'(');
    std::u16string_view inside = syntax.substr(open + 1, syntax.size() - open - 2);
    size_t start = 0;
    while (!inside.empty() && start <= inside.size()) {
        size_t end = inside.find(u", ", start);
        std::u16string_view arg =
            inside.substr(start, end == inside.npos ? inside.npos : end - start);
        if (arg != u"...") {
            if (arg.size() > 2 && arg.front() == u'[' && arg.back() == u']')
                arg = arg.substr(1, arg.size() - 2);
            names.emplace_back(arg);
        }
        if (end == inside.npos) break;
        start = end + 2;
    }
    return names;
}

std::string U8(std::u16string_view s) {
    return ostrel::ToUtf8(s);
}

}  // namespace

TEST(FunctionTexts, EveryFunctionHasNameSyntaxDescriptionAndArguments) {
    ASSERT_TRUE(InitBuiltinFunctions());
    std::set<std::u16string_view> names;
    for (unsigned id = 13044; id <= 13305; ++id) {
        SCOPED_TRACE(id);
        std::u16string_view alt = FunctionInvariantName(id);
        ASSERT_FALSE(alt.empty());
        EXPECT_TRUE(names.insert(alt).second) << "duplicate name " << U8(alt);
        const CCFunc* entry = GetFunctionById(id);
        ASSERT_NE(entry, nullptr);
        std::vector<std::u16string> parts = Parts(*entry);
        ASSERT_GE(parts.size(), 3u) << "name, syntax and description are required";
        EXPECT_EQ(parts[0], alt);
        EXPECT_EQ(parts[0], entry->GetName());
        EXPECT_TRUE(parts[0][0] >= u'A' && parts[0][0] <= u'Z');

        const std::u16string& syntax = parts[1];
        ASSERT_TRUE(syntax.starts_with(std::u16string(alt) + u"(") && syntax.ends_with(u")"))
            << U8(syntax);
        EXPECT_TRUE(parts[2].size() > 10 && parts[2].ends_with(u".")) << U8(parts[2]);

        // One description line per argument of the syntax, in its order.
        std::vector<std::u16string> args = SyntaxArguments(syntax);
        ASSERT_EQ(parts.size() - 3, args.size()) << U8(syntax);
        for (size_t i = 0; i < args.size(); ++i) {
            EXPECT_TRUE(parts[3 + i].starts_with(args[i] + u": ") &&
                        parts[3 + i].size() > args[i].size() + 4)
                << U8(parts[3 + i]);
        }
    }
    // Neighbours of the range are no functions; operators have no texts.
    EXPECT_TRUE(FunctionInvariantName(13043).empty());
    EXPECT_TRUE(FunctionInvariantName(13306).empty());
    std::u16string part;
    EXPECT_FALSE(ADDFunc.GetFuncString(part, 0));
}
