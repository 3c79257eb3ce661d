// SPDX-License-Identifier: Apache-2.0
// Results of aggregations whose arguments are all ranges of the formula's own sheet, such as
// =MIN($A$1:$A$10000) or =STDEV($B$2:$B$900) in every row of a column: the document keeps
// each result with its ranges, and a formula asking for the same aggregation of the same
// ranges gets it while none of their cells has been stored into since. The document's record
// of stored values tells which changes fall inside the ranges; a result read through a cell
// that holds a reference (the value of a cell outside the ranges) is not kept.
//
// The simplest statistics of one range (MIN, MAX, COUNT, COUNTN, AVERAGE, the variances and
// deviations) are computed here as a fold that is kept whole, so that values stored below the last
// one read (a column typed downward beside them) are added to it instead of the range being read
// again: each is added after every value read before it, as the walk would add it. Those whose
// order does not matter (all but AVERAGE and the variances, whose sums must be added in walk order)
// take values stored above the first one read too (a column typed upward); so do the range's
// numbers in order, which RANK, MEDIAN, LARGE, SMALL, PERCENTILE, QUARTILE and COUNTIF search,
// and its texts counted by their collation keys, which COUNTIF asks. A fold is read on, too, to
// a longer range of the same columns and first row (running statistics down a column).
#pragma once

#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "functions/moments.h"
#include "functions/value_stamp.h"
#include "ostrel/cells/cell_value.h"
#include "ostrel/engine/ctx.h"

class CCFormula;
struct CCFormulaList;
class CCCellManager;
class CCRef;

namespace ostrel::functions {

using AggregateRoutine = int (*)(cells::CTX* ctx, CCCellValue& result, const CCFormulaList* args,
                                 const CCRef* cell);

// What a routine computes, for those whose fold the memo keeps; numbers keeps the range's
// numbers in order and its texts counted, for the functions that search them.
enum class AggregateFold : uint8_t {
    none,
    minimum,
    maximum,
    count,
    countNumbers,
    average,
    squaredDeviations,
    sampleVariance,
    sampleDeviation,
    populationVariance,
    populationDeviation,
    numbers
};

// routine(ctx, result, args, cell), or its kept result: the routine's error code, or 0 with
// the result set. fold says what the routine computes, when it is one of the folds.
int RememberedAggregate(AggregateRoutine routine, AggregateFold fold, cells::CTX* ctx,
                        CCCellValue& result, const CCFormulaList* args, const CCRef* cell);

class AggregateMemo {
public:
    static constexpr size_t kEntries = 64;
    // Ranges of fewer cells in all are read again: that costs no more than finding them.
    static constexpr uint64_t kLeastCells = 64;
    // Aggregations of more ranges than this are computed every time.
    static constexpr size_t kMostRanges = 4;

    struct Range {
        unsigned column, row, width, height;
        bool operator==(const Range&) const = default;
        bool Holds(unsigned c, unsigned r) const { return c - column < width && r - row < height; }
    };
    struct Key {
        AggregateRoutine routine = nullptr;
        std::array<Range, kMostRanges> ranges{};  // unused ones stay zero
        size_t count = 0;
        bool operator==(const Key&) const = default;
        size_t Hash() const;
    };

    // The statistics' walk over values, one at a time: the first error ends it.
    struct Fold {
        int error = 0;
        double nonEmpty = 0, numbers = 0, sum = 0, low = 0, high = 0;
        stat_functions::Moments moments;
        // With gather, the numbers too: in order, and the last ones added still unordered
        // (nan: a number that has no place in the order was met).
        bool gather = false;
        bool nan = false;
        std::vector<double> ordered, recent;
        // With gather, how many texts there are of each key of the collation without case.
        std::unordered_map<std::string, double> texts;
        void Add(const CCCellValue& value);
        void Order();
        // How many numbers are above, and below, x.
        double Above(double x) const;
        double Below(double x) const;
        // The k-th smallest number (from 0; k below the count of numbers).
        double Smallest(size_t k) const;
        // How many texts equal text, as texts compare without case.
        double EqualTexts(std::u16string_view text) const;
        // With gather: whether the numbers are all whole and their magnitudes add up below
        // 2^53, so that every sum of them is exact in whatever order it is added, as the
        // walk's is; and the sums of those below x and of those equal to it.
        bool ExactSums() const { return !fractional && magnitudes < 9007199254740992.0; }
        void SumsBelowAndAt(double x, double& below, double& at) const;
        bool fractional = false;
        double magnitudes = 0;
        mutable std::vector<double> prefix;  // sums of ordered's first numbers, made when asked
        // The statistic's error code, or 0 with the result set, as its routine gives them.
        int Result(AggregateFold kind, CCCellValue& result) const;
    };

    // A result, and how it was found.
    struct Computed {
        int code = 0;
        CCCellValue result;
        ValueStamp stamp;      // taken before the ranges were read
        uint64_t columns = 0;  // the ranges' columns' counts of stored values at the stamp
        AggregateFold kind = AggregateFold::none;
        Fold fold;  // of the one range, for a kind other than none
        // The positions of the first and last values the fold holds, and of its error.
        int64_t firstRead = INT64_MAX;
        int64_t lastRead = -1;
        int64_t errorAt = -1;
        std::string collation;  // the collation locale its texts were counted under
        // Takes the value at a position, a value of it or not yet read (an error before the
        // fold's own is the walk's result).
        void Read(const CCCellValue& value, int64_t position);
        // The result of the fold as it stands.
        void Settle() { code = fold.Result(kind, result); }
        // Where the ranges of key stand now in the document's record.
        void Stamp(const Key& key, const engine::ValueChanges& changes) {
            stamp.Take(changes);
            columns = ColumnsCount(key, changes);
        }
        // The error code, or 0 with the result given.
        int Give(CCCellValue& out) const {
            if (code == 0) out = result;
            return code;
        }
    };

    // The key's entry, brought up to date (its ranges as they were, or with values only
    // stored past its fold's, read from manager, which serves them); null when there is
    // none or it is out of date.
    const Computed* Current(const Key& key, CCCellManager& manager,
                            const engine::ValueChanges& changes);
    // The kept fold of the same routine over the key's range cut short (the same columns and
    // first row, fewer rows: the running totals of a column, one row longer in each row),
    // brought up to date and read on to the key's rows, which it is then kept for.
    const Computed* Extend(const Key& key, CCCellManager& manager,
                           const engine::ValueChanges& changes);
    // Whether a result of the key is worth keeping: a key is kept when it is asked for a
    // second time, so that ranges aggregated once (a window sliding down a column) cost
    // neither an entry nor the eviction of one. A fold of one range counts as asked for when
    // the range was asked for with another number of rows, so that the first running total
    // kept is extended by the next.
    bool AskedBefore(const Key& key, bool anyHeight);
    const Computed& Keep(const Key& key, Computed computed);
    static uint64_t ColumnsCount(const Key& key, const engine::ValueChanges& changes);

private:
    struct Entry {
        Key key;
        Computed computed;
        uint64_t used = 0;
    };
    // Brings the entry up to date with the changes since its stamp: false when a change
    // inside its ranges is not one its fold can take.
    bool CatchUp(Entry& entry, CCCellManager& manager, const engine::ValueChanges& changes);
    // The value at a position of a range, as the walk reads it; false for a reference.
    static bool ReadAt(CCCellManager& manager, const Range& range, uint32_t position,
                       CCCellValue& value);

    std::vector<Entry> m_entries;
    uint64_t m_clock = 0;
    std::array<size_t, kEntries> m_asked{};  // hashes of the keys last asked for
    size_t m_nextAsked = 0;
    std::vector<uint32_t> m_added;  // positions stored into since a stamp
};

// The numbers of the range a node names, as the statistics walk it (the first error ends the
// walk), kept by the document for the next question while the range changes only past its
// values; valid until the next question to the memo. Null when the range is to be walked
// (a NaN among the numbers included: only a walk says what it makes of one).
const AggregateMemo::Fold* RangeNumbers(cells::CTX* ctx, CCFormula* node, const CCRef* cell);

}  // namespace ostrel::functions
