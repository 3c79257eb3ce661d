// SPDX-License-Identifier: Apache-2.0
#include "cells/dependent_array.h"

#include <atomic>
#include <cstring>
#include <new>
#include <stdexcept>

#include "ostrel/refs/rc_ref.h"
#include "ostrel/refs/ref_3d.h"

namespace ostrel::cells_detail {

namespace {

static_assert(alignof(CCRef) >= 2, "the low bit of an object's address tells words apart");
static_assert(sizeof(uintptr_t) <= sizeof(uint64_t));

constexpr uint64_t kPacked = 1;

bool IsPacked(uint64_t word) {
    return word & kPacked;
}
uint32_t KeyOf(uint64_t word) {
    return uint32_t(word >> 32);
}
uint16_t RowOf(uint64_t word) {
    return uint16_t(word >> 16);
}
unsigned char ColumnOf(uint64_t word) {
    return static_cast<unsigned char>(word >> 8);
}
const CCRef* ObjectOf(uint64_t word) {
    return reinterpret_cast<const CCRef*>(static_cast<uintptr_t>(word));
}

// Only a single cell of one sheet named by its manager's identity packs: the packed word
// keeps all such a reference holds, so nothing is lost by dropping the objects.
uint64_t PackedWordOf(const CCRef* ref) {
    if (!ref || ref->GetType() != REF_TYPE_3D) return 0;
    const auto* r3 = static_cast<const CCRef3D*>(ref);
    const CCRef* inner = r3->GetInnerRef();
    if (!r3->IsManagerKey() || !inner || inner->GetType() != REF_TYPE_RC) return 0;
    const auto* rc = static_cast<const CCRCRef*>(inner);
    return uint64_t(r3->GetKey()) << 32 | uint64_t(rc->GetRow()) << 16 |
           uint64_t(rc->GetColumn()) << 8 | kPacked;
}

}  // namespace

DependentArray::Probe::Probe(const CCRef* r) : ref(r), word(PackedWordOf(r)) {}

uint64_t DependentArray::PackedWord(const CCRef* ref) {
    return PackedWordOf(ref);
}

uint64_t DependentArray::WordOf(std::unique_ptr<CCRef> ref) {
    if (uint64_t word = PackedWordOf(ref.get())) return word;
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(ref.release()));
}

void DependentArray::Release(uint64_t word) {
    if (!IsPacked(word)) delete ObjectOf(word);
}

uint64_t DependentArray::NextVersion() {
    // Engine code runs one thread at a time (EngineLock); the count is atomic all the same,
    // as it costs nothing off the rare road that asks.
    static std::atomic<uint64_t> last{0};
    return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

void DependentArray::Append(std::unique_ptr<CCRef> ref) {
    Reserve();
    Words()[m_size] = WordOf(std::move(ref));
    ++m_size;
}

void DependentArray::AppendWord(uint64_t word) {
    Reserve();
    Words()[m_size] = word;
    ++m_size;
}

void DependentArray::Reserve() {
    if (m_size < m_capacity) return;
    if (m_capacity > (UINT32_MAX >> 1)) throw std::length_error("dependents");
    uint32_t capacity = m_capacity * 2;
    auto* words = new uint64_t[capacity];
    std::memcpy(words, Words(), m_size * sizeof(uint64_t));
    if (m_capacity > 1) delete[] m_many;
    m_many = words;
    m_capacity = capacity;
}

void DependentArray::Replace(size_t i, std::unique_ptr<CCRef> ref) {
    m_version = 0;
    uint64_t word = WordOf(std::move(ref));
    Release(Words()[i]);
    Words()[i] = word;
}

void DependentArray::Erase(size_t i) {
    m_version = 0;
    uint64_t* words = Words();
    Release(words[i]);
    std::memmove(words + i, words + i + 1, (m_size - i - 1) * sizeof(uint64_t));
    --m_size;
}

void DependentArray::Clear() {
    m_version = 0;
    const uint64_t* words = Words();
    for (uint32_t i = 0; i < m_size; ++i)
        Release(words[i]);
    if (m_capacity > 1) delete[] m_many;
    m_one = 0;
    m_size = 0;
    m_capacity = 1;
}

bool DependentArray::Equals(size_t i, const Probe& probe) const {
    uint64_t word = Words()[i];
    if (!IsPacked(word)) return ObjectOf(word)->IsEqual(probe.ref);
    return WordEquals(word, probe);
}

bool DependentArray::WordEquals(uint64_t word, const Probe& probe) {
    if (probe.word) return probe.word == word;
    // What the packed reference's own comparison would do with a probe that does not pack.
    if (!probe.ref || probe.ref->GetType() != REF_TYPE_3D) return false;
    const auto* r3 = static_cast<const CCRef3D*>(probe.ref);
    if (r3->GetKey() != KeyOf(word) || !r3->GetInnerRef()) return false;
    const CCRCRef cell(ColumnOf(word), RowOf(word));
    return r3->GetInnerRef()->IsEqual(&cell);
}

size_t DependentArray::Hash(size_t i) const {
    uint64_t word = Words()[i];
    if (!IsPacked(word)) return ObjectOf(word)->Hash();
    return CCRef3D::HashOf(KeyOf(word), CCRCRef::HashOf(ColumnOf(word), RowOf(word)));
}

const CCRef* DependentArray::Object(size_t i) const {
    uint64_t word = Words()[i];
    return IsPacked(word) ? nullptr : ObjectOf(word);
}

std::unique_ptr<CCRef> DependentArray::Copy(size_t i) const {
    uint64_t word = Words()[i];
    if (!IsPacked(word)) return std::unique_ptr<CCRef>(ObjectOf(word)->Copy());
    return CopyWord(word);
}

std::unique_ptr<CCRef> DependentArray::CopyWord(uint64_t word) {
    auto ref = std::make_unique<CCRef3D>(uint16_t(0), uint16_t(0),
                                         new CCRCRef(ColumnOf(word), RowOf(word)));
    ref->SetKey(KeyOf(word));
    return ref;
}

const CCRef* DependentArray::Show(size_t i, CCRef3D& scratch) const {
    uint64_t word = Words()[i];
    return IsPacked(word) ? ShowWord(word, scratch) : ObjectOf(word);
}

const CCRef* DependentArray::ShowWord(uint64_t word, CCRef3D& scratch) {
    static_cast<CCRCRef*>(scratch.GetInnerRef())->Set(CCRCRef(ColumnOf(word), RowOf(word)));
    scratch.SetKey(KeyOf(word));
    return &scratch;
}

}  // namespace ostrel::cells_detail
