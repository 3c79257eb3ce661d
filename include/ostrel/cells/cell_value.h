// SPDX-License-Identifier: Apache-2.0
/// \file
/// The tagged value of a cell or an expression: empty, an error code, a text, a number (with
/// the number format that displays it, so booleans and dates are numbers), or a reference.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ostrel/engine/ctx.h"
#include "ostrel/export.h"
#include "ostrel/formats/number_format.h"
#include "ostrel/platform/instance_counter.h"

namespace ostrel::platform {
class CArchive;
}  // namespace ostrel::platform
class CCRef;
namespace ostrel::platform {
class CPtrArray;
class CSize;
class CWideOutStream;
struct VARIANT;
}  // namespace ostrel::platform

/// The longest text a formula may build (UTF-16 units), as other spreadsheets have it: a
/// longer result is error 3, found before anything is allocated, so that a few cells joining
/// texts to themselves cannot ask for gigabytes.
inline constexpr size_t kMaxBuiltTextLength = 32767;

/// Kind codes.
enum : unsigned char {
    CV_EMPTY = 0,
    CV_ERROR = 1,
    CV_TEXT = 2,
    CV_NUMBER = 3,
    CV_REF = 4,
};

/// Operation codes of EvalCellValue.
enum : int {
    EV_ADD = 1,
    EV_SUB = 2,
    EV_MUL = 3,
    EV_DIV = 4,
    EV_POW = 5,
    EV_AND = 6,
    EV_OR = 7,
    EV_EQ = 8,
    EV_NE = 9,
    EV_GT = 10,
    EV_GE = 11,
    EV_LT = 12,
    EV_LE = 13,
    EV_PLUS = 14,
    EV_NEGATE = 15,
    EV_NOT = 16,
    EV_PERCENT = 17,
};

class OSTREL_API CCCellValue : public ostrel::debug::CInstanceCounter<CCCellValue> {
public:
    // Values are made, copied and dropped at every step of an evaluation, nearly all of them
    // numbers: what owns no memory is handled here, inline.
    CCCellValue() : m_number(0.0) {}
    explicit CCCellValue(int errorCode);
    explicit CCCellValue(const char16_t* text);
    explicit CCCellValue(const CCRef* ref);
    explicit CCCellValue(const ostrel::platform::VARIANT& variant);
    CCCellValue(const CCCellValue& other)
        : CInstanceCounter(other), m_number(0.0), m_format(other.m_format) {
        if (other.OwnsMemory())
            CopyOwned(other);
        else
            CopyPlain(other);
    }
    CCCellValue& operator=(const CCCellValue& other) {
        Set(other);
        return *this;
    }
    ~CCCellValue() {
        if (OwnsMemory()) Release();
    }

    void Set();
    void Set(int errorCode);
    void Set(const char16_t* text);
    void Set(std::u16string_view text);
    void Set(const CCRef* ref);
    void Set(double number) {
        if (OwnsMemory()) Release();
        m_type = CV_NUMBER;
        m_number = number;
    }
    void Set(double number, unsigned char kind);
    void Set(double number, const CCNumberFormat& format);
    void Set(const CCNumberFormat& format);
    void Set(const CCCellValue& other) {
        if (this == &other) return;
        if (other.OwnsMemory()) {
            SetOwned(other);
            return;
        }
        if (OwnsMemory()) Release();
        CopyPlain(other);
        m_format = other.m_format;
    }
    void Set(const ostrel::platform::VARIANT& variant);
    /// Writes the value into a variant (see the conversion rules in the implementation).
    void Get(ostrel::platform::VARIANT& variant) const;

    unsigned char GetType() const { return m_type; }
    double GetNumber() const { return m_number; }
    int GetError() const { return m_error; }
    /// The text, or null (a text value may hold a null text).
    const char16_t* GetText() const { return m_text; }
    const CCRef* GetRef() const { return m_ref; }
    CCRef* GetRef() { return m_ref; }
    const CCNumberFormat& GetFormat() const { return m_format; }
    CCNumberFormat& GetFormat() { return m_format; }

    bool IsEmpty() const { return m_type == CV_EMPTY; }
    bool IsError() const { return m_type == CV_ERROR; }
    bool IsText() const { return m_type == CV_TEXT; }
    bool IsNumber() const { return m_type == CV_NUMBER; }
    bool IsRef() const { return m_type == CV_REF; }
    bool IsTrue() const;
    bool IsEqual(const CCCellValue& other) const;

    /// Flags: 1 full precision for numbers; 2 escapes '"' and the special character in texts
    /// with the special character.
    void Print(cells::CTX* ctx, ostrel::platform::CWideOutStream& out, int flags) const;

    void Write(cells::CTX* ctx, ostrel::platform::CArchive& ar) const;
    /// On a malformed or short stream the value is left empty and the exception passes on.
    void Read(cells::CTX* ctx, ostrel::platform::CArchive& ar);

    /// The escape character of quoted texts.
    static char16_t m_chSpecial;

protected:
    void Release();

private:
    bool OwnsMemory() const { return m_type == CV_TEXT || m_type == CV_REF; }
    // The payload and type of a value that owns no memory; the payload's unused bytes zero.
    void CopyPlain(const CCCellValue& other) {
        m_number = 0.0;
        if (other.m_type == CV_NUMBER)
            m_number = other.m_number;
        else if (other.m_type == CV_ERROR)
            m_error = other.m_error;
        m_type = other.m_type;
    }
    void CopyOwned(const CCCellValue& other);
    void SetOwned(const CCCellValue& other);

    /// Exactly one payload is live, chosen by the type; the text (new[]) and the reference
    /// are owned by the value and released whenever it changes kind.
    union {
        double m_number;
        int32_t m_error;
        char16_t* m_text;
        CCRef* m_ref;
    };
    CCNumberFormat m_format;
    unsigned char m_type = CV_EMPTY;  // last, where the format leaves room
};

/// Orders values: numbers, then texts, then errors, then empty ones (references are equal to
/// everything). Not a strict weak ordering (NaN equals every number): sort with
/// SortCellValues, never with std::sort.
OSTREL_API int CompareCellValues(const CCCellValue& a, const CCCellValue& b, int caseSensitive);
/// Compares two values known to be of a's kind.
OSTREL_API int CompareEQTypeValues(const CCCellValue& a, const CCCellValue& b, int caseSensitive);
/// A stable merge sort by CompareCellValues; safe for any comparison results.
OSTREL_API void SortCellValues(CCCellValue** values, size_t count, int caseSensitive);

/// One-operand (14-17) and two-operand (1-13) operators; the result replaces v or a.
OSTREL_API void EvalCellValue(int op, CCCellValue& v);
OSTREL_API void EvalCellValue(int op, CCCellValue& a, const CCCellValue& b);

/// A value pointer that may be null, behind a presence byte; ReadCellValue returns a new
/// value owned by the caller, or null.
OSTREL_API void WriteCellValue(cells::CTX* ctx, ostrel::platform::CArchive& ar,
                               const CCCellValue* value);
OSTREL_API CCCellValue* ReadCellValue(cells::CTX* ctx, ostrel::platform::CArchive& ar);
/// An i32 count, then each element as an optional value. ReadValueArray fills the array with
/// new values owned by the caller (free them with FreeValueArray); a negative count or one
/// beyond what the stream holds raises the bad-format archive exception.
OSTREL_API void WriteValueArray(cells::CTX* ctx, ostrel::platform::CArchive& ar,
                                const ostrel::platform::CPtrArray& values);
OSTREL_API void ReadValueArray(cells::CTX* ctx, ostrel::platform::CArchive& ar,
                               ostrel::platform::CPtrArray& values);
OSTREL_API void FreeValueArray(ostrel::platform::CPtrArray& values);

/// An array constant: one list read row by row, a node with a null value separating rows.
struct OSTREL_API SCCellValueList {
    CCCellValue* m_pValue = nullptr;     // owned when the list is freed with its values
    SCCellValueList* m_pNext = nullptr;  // owned by the list
};
OSTREL_API SCCellValueList* CellValueListCreate(CCCellValue* value);
OSTREL_API void CellValueListAddLast(SCCellValueList*& list, CCCellValue* value);
OSTREL_API void CellValueListAddRow(SCCellValueList*& list, SCCellValueList* row);
OSTREL_API void CellValueListFree(SCCellValueList* list, int freeValues);
/// (widest row, number of rows); (0, 0) for an empty list.
OSTREL_API ostrel::platform::CSize CalcCellValueArraySize(const SCCellValueList* list);
