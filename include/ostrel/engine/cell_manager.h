// SPDX-License-Identifier: Apache-2.0
/// \file
/// A document as the engine sees it. The host derives its document from CCCellManager and
/// supplies the cell store (LookupItem) and the per-call contexts (GetCTX); the manager does
/// the rest: cell access by reference, range iteration, protection, messages, document
/// items, and the dependency bookkeeping and recalculation lists that keep formulas current.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ostrel/engine/value_changes.h"
#include "ostrel/events/broadcaster.h"
#include "ostrel/events/listener.h"
#include "ostrel/export.h"
#include "ostrel/platform/flat_multi_index.h"
#include "ostrel/refs/document_ref.h"
#include "ostrel/remote/transport_interface.h"

namespace ostrel::platform {
class CArchive;
}  // namespace ostrel::platform
class CCCell;
class CCCellValue;
class CCItem;
class CCNameRef;
class CCRef;
class CCRefList;
class CCRemoteRef;
class CCWorkbook;
namespace ostrel::platform {
class COleDateTime;
class CPtrArray;
class CSize;
class CStringArray;
}  // namespace ostrel::platform
struct SCItemList;

/// The answer to "recalculate the other documents?": not asked yet, no, yes.
enum ECRecalcRemote { RECALC_REMOTE_NOT_ASKED = 0, RECALC_REMOTE_NO = 1, RECALC_REMOTE_YES = 2 };

class OSTREL_API CCCellManager : public CCTransportInterface,
                                 public CCBaseListener,
                                 public CCBaseBroadcaster {
public:
    class CCDocItem;

    /// An ordered list of owned reference copies: the cells to recalculate, or the changed
    /// references whose dependents are still to be collected. A hash index beside the list
    /// keeps finding, removing and comparing the positions of entries constant in time.
    class CCRecalcList {
    public:
        using StdList = std::list<std::unique_ptr<CCRef>>;

        CCRecalcList() = default;
        CCRecalcList(const CCRecalcList&) = delete;
        CCRecalcList& operator=(const CCRecalcList&) = delete;
        virtual ~CCRecalcList();

        void AddLast(const CCRef* ref);
        /// Appends a copy of ref unless an equal entry is listed already.
        void AddLastOnce(const CCRef* ref) {
            if (!Contains(ref)) AddLast(ref);
        }
        void AddLast(const CCRefList* list);
        /// Appends an entry the list takes over (null is ignored).
        void AddLast(std::unique_ptr<CCRef> ref);
        void AddFirst(const CCRef* ref);
        /// Removes the first equal entry and hands it to the caller.
        std::unique_ptr<CCRef> Exclude(const CCRef* ref);
        void ExcludeDelete(const CCRef* ref);
        void Exclude(const CCRefList* list);
        void Merge(CCRecalcList& other);
        /// Destroys every entry.
        void Empty();
        /// Empties the list without destroying its entries: the caller owns them from here
        /// on, handed over in list order (as Exclude hands over one).
        [[nodiscard]] StdList Abort();
        const CCRef* GetFirst() const { return m_list.empty() ? nullptr : m_list.front().get(); }
        std::unique_ptr<CCRef> TakeFirst();
        bool IsEmpty() const { return m_list.empty(); }
        size_t GetCount() const { return m_list.size(); }
        bool Contains(const CCRef* ref) const;
        /// True when the first entry equal to a stands before the first entry equal to b
        /// (false when either is missing).
        bool ComesBefore(const CCRef* a, const CCRef* b) const;
        /// Moves the first entry equal to ref to the end; false when there is none.
        bool MoveToEnd(const CCRef* ref);
        /// Read-only: changes go through the operations above, which keep the index.
        const StdList& GetStdList() const { return m_list; }
        CCRefList* GetList() const { return nullptr; }
        /// Notes that the list holds the first count dependents (in registration order)
        /// of an item whose dependents are at version (CCItem::DependentsVersion, not 0);
        /// HeldCount then answers count for that version until the list loses an entry, and
        /// 0 for any version it has no note of. Only the last few notes are kept.
        void NoteHeld(uint64_t version, size_t count);
        size_t HeldCount(uint64_t version) const;

    private:
        /// Positions only grow towards the back and shrink towards the front, so comparing
        /// two of them says which entry comes first.
        struct Slot {
            StdList::iterator it;
            long long position = 0;
        };
        Slot* FindFirst(const CCRef* ref) const;
        /// Removes the index entry of the list entry at it (the list entry stays).
        void Unindex(StdList::iterator it);

        StdList m_list;
        ostrel::platform::FlatMultiIndex<Slot> m_index;  // by the references' hashes
        long long m_nextBack = 0;
        long long m_nextFront = -1;
        /// Counts the entries' removals: a note made before one no longer holds.
        uint64_t m_removals = 0;
        struct Held {
            uint64_t version = 0;
            uint64_t removals = 0;
            size_t count = 0;
        };
        std::array<Held, 4> m_held{};
        size_t m_nextHeld = 0;
    };

    CCCellManager();
    ~CCCellManager() override;
    CCCellManager(const CCCellManager&) = delete;
    CCCellManager& operator=(const CCCellManager&) = delete;

    /// Host hooks and their defaults.
    /// The document kind: 1 is a spreadsheet, whose formulas read "B2" and "A1:C9" as cell
    /// references. Any other kind reads such text as a name, which evaluates to error 1
    /// unless the document knows the name; a host whose store holds cells answers 1. The
    /// first time a formula of another kind holds such text, the user-interface callbacks
    /// hear of it (ostrel::CUserInterface::ReferenceReadAsName).
    virtual int GetType() const { return 0; }
    /// Whether ReferenceReadAsName has been heard for this document (once is enough).
    bool TakeReferenceAsNameNotice() {
        const bool first = !m_referenceAsNameTold;
        m_referenceAsNameTold = true;
        return first;
    }
    /// Shows string resource id (error icon, OK only) unless the notify-enable flag is 0.
    virtual void ErrorMessage(unsigned int id);
    virtual int GetRecalcRemote(int ask);
    virtual void GetRefSize(const CCRef* ref, long& width, long& height);
    virtual void SetDirty() {}
    virtual void Protect(std::u16string_view password);
    virtual void UnProtect();
    /// The item a reference designates in the host's store; null when there is none.
    virtual CCItem* LookupItem(const CCRef* ref) = 0;
    virtual CCItem* GetItem(const CCRef* ref) { return LookupItem(ref); }
    virtual int GetAutoCalc() { return 1; }
    virtual void OnUpdateIdleRecalc() {}
    /// One idle slice of recalculation; 1 while work remains.
    virtual int DoIdle(int all);
    /// The host calls it when it deletes a cell: a workbook's order forgets the cell.
    virtual void OnRemoveItem(CCItem* item);

    /// Cell access: 1 when an item was found, 0 otherwise.
    virtual int SetSourceValue(const CCRef* ref, const CCCellValue* value);
    /// The buffer forms take the buffer's size in bytes and always terminate what they write;
    /// nothing is written into a buffer too small for the terminator.
    virtual int GetCellValueText(const CCRef* ref, char16_t* buffer, int size) const;
    virtual int GetCellFormula(const CCRef* ref, char16_t* buffer, int size);
    virtual int SetCellText(const CCRef* ref, std::u16string_view text);
    virtual int ClearCell(const CCRef* ref, int what);
    virtual int IsValidRef(const CCRef* ref);
    virtual int GetValue(const CCRef* ref, CCCellValue* value, unsigned long index);
    /// A row from which on a column of this document holds no cell, so that GetValue reads
    /// every position there as empty; -1 when the manager cannot tell (the default).
    virtual long GetColumnEnd(unsigned) const { return -1; }
    virtual int GetDataSources(ostrel::platform::CStringArray* out, int selector);
    virtual int GetItems(const CCRef* ref, ostrel::platform::CStringArray* out);
    /// Whole-text forms of the text getters (not in the buffer forms' size limits).
    int GetCellValueText(const CCRef* ref, std::u16string& text) const;
    int GetCellFormula(const CCRef* ref, std::u16string& text);
    /// SetCellText for an item the caller has found already.
    int SetItemText(CCItem* item, std::u16string_view text);
    /// GetCellValueText for an item the caller has found already (text empty for no cell).
    void GetItemValueText(CCItem* item, std::u16string& text) const;

    /// Reading a range value by value or row by row through 16-bit handles.
    virtual uint16_t OpenRef(const CCRef* ref);
    virtual int GetFirstRecord(uint16_t handle, ostrel::platform::CPtrArray* record);
    virtual int GetNextRecord(uint16_t handle, ostrel::platform::CPtrArray* record);
    virtual int GetPreviousRecord(uint16_t handle, ostrel::platform::CPtrArray* record);
    virtual int GetLastRecord(uint16_t handle, ostrel::platform::CPtrArray* record);
    virtual int GetRecord(uint16_t handle, unsigned long n, ostrel::platform::CPtrArray* record);
    virtual int RefSize(uint16_t handle, ostrel::platform::CSize* size);
    virtual int NextValue(uint16_t handle, CCCellValue* value);
    /// Up to most of the values that calls of NextValue would give next, in their order;
    /// how many (0 at the end). One at a time through NextValue, unless the host reads a
    /// run of them at once (ReadValues).
    int NextValues(uint16_t handle, CCCellValue* values, int most);
    virtual int CloseRef(uint16_t handle);

    virtual int IsSingleValue(const CCRef* ref);
    virtual int SetValue(const CCRef* ref, const CCCellValue* value);
    virtual int RecalcCell(const CCRef* ref);

    /// Dependency forwarding to the items.
    virtual int RegisterDependent(const CCRef* precedent, const CCRef* dependent);
    virtual int UnRegisterDependent(CCItem* item, const CCRef* dependent);
    virtual int UnRegisterDependent(const CCRef* precedent, const CCRef* dependent);
    virtual int InvalidateRef(const CCRef* ref, const CCRef* invalidated);
    virtual int MoveFormula(const CCRef* ref, const CCRef* from, const CCRef* to);
    virtual int MoveDependent(const CCRef* ref, const CCRef* from, const CCRef* to, int flag);
    virtual int SetValueInCompound(const char16_t* text, unsigned long arg,
                                   const CCCellValue* value);

    /// Document items: one per document property that formulas read.
    virtual int RegisterDocumentDependent(const CCDocumentRef* ref, const CCRef* dependent);
    virtual int UnRegisterDocumentDependent(const CCDocumentRef* ref, const CCRef* dependent);
    virtual int MoveDocumentFormula(const CCDocumentRef* ref, const CCRef* from, const CCRef* to);
    virtual void RecalcDocumentItems(CCDocumentRef::ECDocRefType type);
    virtual CCDocItem* GetDocumentItem(CCDocumentRef::ECDocRefType type);

    /// Document properties (0 when not available; the out-argument is left unchanged).
    virtual void GetDocumentName(std::u16string& name) const { name.clear(); }
    virtual int GetDocumentTitle(std::u16string&) { return 0; }
    virtual int GetDocumentSubject(std::u16string&) { return 0; }
    virtual int GetDocumentAuthor(std::u16string&) { return 0; }
    virtual int GetDocumentKeywords(std::u16string&) { return 0; }
    virtual int GetDocumentComments(std::u16string&) { return 0; }
    virtual int GetDocumentFileName(std::u16string&) { return 0; }
    virtual int GetDocumentNumWords(unsigned long&) { return 0; }
    virtual int GetDocumentNumPages(unsigned long&) { return 0; }
    virtual int GetDocumentNumChars(unsigned long&) { return 0; }
    virtual int GetDocumentRevNum(unsigned long&) { return 0; }
    virtual int GetDocumentMergeCount(unsigned long&) { return 0; }
    virtual int GetDocumentMergeRec(unsigned long&) { return 0; }
    virtual int GetDocumentPage(const CCRef*, unsigned long&) { return 0; }
    virtual int GetDocumentRow(const CCRef*, unsigned long&) { return 0; }
    virtual int GetDocumentColumn(const CCRef*, unsigned long&) { return 0; }
    virtual int GetDocumentFileSize(double&) { return 0; }
    virtual int GetDocumentSaveDate(ostrel::platform::COleDateTime&) { return 0; }
    virtual int GetDocumentPrintDate(ostrel::platform::COleDateTime&) { return 0; }
    virtual int GetDocumentEditTime(ostrel::platform::COleDateTime&) { return 0; }
    virtual int GetDocumentCreateDate(ostrel::platform::COleDateTime&) { return 0; }

    /// A new list of the item's dependents, owned by the caller (its nodes own what they do
    /// not borrow: free it with RefListFree(list, 0)); null without an item.
    virtual CCRefList* LoadDependencies(const CCRef* ref);
    /// Calls visit with each dependent the workbook's order walks from a cell, by default
    /// what LoadDependencies lists, in its order; the reference may be valid only during its
    /// call. A host may answer a range holding the cell in place of every formula registered
    /// on that range: the order then reaches those formulas through one node of the range,
    /// and a change inside a range already marked stops there instead of visiting each
    /// formula again. The range itself must answer its formulas from LoadDependencies.
    virtual void ForEachDependentGroup(const CCRef* ref,
                                       const std::function<void(const CCRef*)>& visit);
    /// False only when ForEachDependentGroup would visit nothing for ref, so that the walks
    /// can pass by the cells nothing reads (most of those typed). True by default; a host
    /// that keeps its own items can tell at once.
    virtual bool MayBeRead(const CCRef*) { return true; }

    /// Remote requests with a reference of this document, translated before sending.
    using CCTransportInterface::DoRemoteInvalidateRef;
    using CCTransportInterface::DoRemoteMoveDependent;
    using CCTransportInterface::DoRemoteMoveFormula;
    using CCTransportInterface::DoRemoteRegisterDependent;
    using CCTransportInterface::DoRemoteUnRegisterDependent;
    virtual int DoRemoteRegisterDependent(const CCRemoteRef* ref, const CCRef* local);
    virtual int DoRemoteUnRegisterDependent(const CCRemoteRef* ref, const CCRef* local);
    virtual int DoRemoteInvalidateRef(const CCRemoteRef* ref, const CCRef* local);
    virtual int DoRemoteMoveFormula(const CCRemoteRef* ref, const CCRef* from, const CCRef* to);
    virtual int DoRemoteMoveDependent(const CCRemoteRef* ref, const CCRef* from, const CCRef* to,
                                      int flag);

    /// Serving requests from other documents.
    int OnRemoteIsValidRef(const CCRemoteRef* ref) override;
    int OnRemoteGetValue(const CCRemoteRef* ref, CCCellValue* value, unsigned long flags) override;
    int OnRemoteGetDataSources(const CCRemoteRef* ref, ostrel::platform::CStringArray* out,
                               int selector) override;
    int OnRemoteGetItems(const CCRemoteRef* ref, ostrel::platform::CStringArray* out) override;
    uint16_t OnRemoteOpenRef(const CCRemoteRef* ref) override;
    int OnRemoteGetFirstRecord(const CCRemoteRef* ref, uint16_t handle,
                               ostrel::platform::CPtrArray* record) override;
    int OnRemoteGetNextRecord(const CCRemoteRef* ref, uint16_t handle,
                              ostrel::platform::CPtrArray* record) override;
    int OnRemoteGetPreviousRecord(const CCRemoteRef* ref, uint16_t handle,
                                  ostrel::platform::CPtrArray* record) override;
    int OnRemoteGetLastRecord(const CCRemoteRef* ref, uint16_t handle,
                              ostrel::platform::CPtrArray* record) override;
    int OnRemoteGetRecord(const CCRemoteRef* ref, uint16_t handle, unsigned long n,
                          ostrel::platform::CPtrArray* record) override;
    int OnRemoteRefSize(const CCRemoteRef* ref, uint16_t handle,
                        ostrel::platform::CSize* size) override;
    int OnRemoteNextValue(const CCRemoteRef* ref, uint16_t handle, CCCellValue* value) override;
    int OnRemoteNextValues(const CCRemoteRef* ref, uint16_t handle, uint32_t most,
                           std::vector<CCCellValue>& values) override;
    int OnRemoteCloseRef(const CCRemoteRef* ref, uint16_t handle) override;
    int OnRemoteRegisterDependent(const CCRemoteRef* ref, const CCRemoteRef* dependent) override;
    int OnRemoteUnRegisterDependent(const CCRemoteRef* ref, const CCRemoteRef* dependent) override;
    int OnRemoteInvalidateRef(const CCRemoteRef* ref, const CCRemoteRef* invalidated) override;
    int OnRemoteMoveFormula(const CCRemoteRef* ref, const CCRemoteRef* from,
                            const CCRemoteRef* to) override;
    int OnRemoteMoveDependent(const CCRemoteRef* ref, const CCRemoteRef* from,
                              const CCRemoteRef* to, int flag) override;
    int OnRemoteIsSingleValue(const CCRemoteRef* ref) override;
    int OnRemoteInitRecalc(const CCRemoteRef* ref, int arg) override;
    int OnRemoteSetSourceValue(const CCRemoteRef* ref, const CCCellValue* value) override;
    int OnRemoteSetValueInCompound(const CCRemoteRef* ref, const char16_t* text, unsigned long arg,
                                   const CCCellValue* value) override;

    /// References this document and other documents exchange: a remote reference naming
    /// this document and the reference's text, and back. New objects owned by the caller.
    virtual CCRemoteRef* TranslateToRemoteRef(const CCRef* ref);
    virtual CCRef* TranslateToInternalRef(const CCRemoteRef* ref) const;
    /// 1 when the name is this document's name, or its file name with or without extension.
    virtual int IsValidDocument(std::u16string_view name) const;
    /// 1 when the whole text is a reference that IsValidRef accepts.
    virtual int IsValidReference(std::u16string_view text);
    /// 1 when a remote reference names this document or a sheet of its workbook, and (for
    /// every request but 3) a reference there; requests served for other documents pass it.
    int IsValidRemoteRef(const CCRemoteRef* ref, unsigned long request) override;

    /// Messages and protection.
    int IsProtected() const { return m_protected; }
    const std::u16string& GetPassword() const { return m_password; }
    /// True for a locked cell of a protected document (after message 13036 when show is set).
    bool IsProtLock(CCCell* cell, bool show) const;
    void DoProtectionDialog();
    void SetRecalcRemote(ECRecalcRemote answer) { m_recalcRemote = answer; }
    ECRecalcRemote GetTrueRecalcRemote() const { return m_recalcRemote; }

    /// Sheets and names (defaults for a document without sheets).
    virtual CCWorkbook* GetWorkbook() { return nullptr; }
    virtual void GetSheetName(std::u16string& name) const { name.clear(); }
    virtual int IsValidSheetName(std::u16string_view name);
    virtual CCRemoteRef* TranslateToSheetRef(const CCRef* ref);
    virtual CCRef* TranslateNameRef(const CCRef*) { return nullptr; }
    virtual CCCellManager* GetManForNameIndex(uint16_t) { return nullptr; }
    virtual uint16_t GetNameIndex(std::u16string_view) { return 1; }
    virtual uint16_t GetNameIndex(const CCNameRef*) { return 1; }

    /// The manager's own block: protection, password, document items.
    virtual void Read(ostrel::platform::CArchive& ar);
    virtual void Write(ostrel::platform::CArchive& ar) const;

    /// Recalculation.
    void InitIdleRecalc(const CCItem* item, int self);
    /// 1 when the new formula of item is not circular (its recalculation is then recorded).
    /// evaluated says the cell's value was just computed and reads no clock or random
    /// numbers: in a workbook where nothing waits with an outdated value, the calculation
    /// then does not compute it again.
    int InitFormulaRecalc(const CCItem* item, bool evaluated = false);
    void DoNonIdleCalc(CCItem* item, int);
    /// Queues the cells of a dependents list for recalculation.
    void RecalcDependentsList(const CCRefList* list);
    /// Cells whose formulas read what no dependency names (RAND, INDIRECT, OFFSET): they are
    /// recalculated after every change of any cell, alone or in the workbook. The cells
    /// register with the manager of their own sheet, by their reference in either form.
    void RegisterVolatile(const CCRef* cell);
    void UnRegisterVolatile(const CCRef* cell);
    size_t GetVolatileCount() const { return m_volatile.GetCount(); }
    size_t GetCurRecalcCount() const { return m_recalcList.GetCount(); }
    size_t GetCurProcessCount() const { return m_processList.GetCount(); }
    unsigned long GetAllRecalcCount() const { return m_allRecalcCount; }

    /// Releases lists, open references and document items.
    void ReleaseContents();
    /// Back to the freshly constructed state, except the notify flag and the event table.
    void Revert();

    /// Events are ignored unless the host overrides this.
    bool OnEvent(const CCBaseEvent&) override { return false; }

    /// The identity with which sheet-qualified references name this manager.
    uint32_t GetIdentity() const { return m_identity; }
    static CCCellManager* FromIdentity(uint32_t identity);

    /// Structures derived from the values of this document's cells (lookup indexes) and the
    /// record of stored values that keeps them exact. The record is kept from the first
    /// TrackValueChanges on (null before: nothing was derived yet); both go with the contents.
    ostrel::engine::ValueChanges* GetValueChanges() const { return m_valueChanges.get(); }
    ostrel::engine::ValueChanges& TrackValueChanges();
    /// A cell stored a value; ref is its own reference (a position of the grid, or anything
    /// else when the position cannot be told).
    void NoteValueStored(const CCRef* ref);
    ostrel::engine::DerivedValues* GetDerivedValues() const { return m_derived.get(); }
    void SetDerivedValues(std::unique_ptr<ostrel::engine::DerivedValues> derived);

protected:
    /// Positions first .. first + count - 1 of a reference opened as a range (all within it),
    /// each as GetValue(ref, value, position) gives it, for a host that can read them in one
    /// run; false (the default) to have them read one at a time through NextValue.
    virtual bool ReadValues(const CCRef* ref, unsigned long first, unsigned long count,
                            CCCellValue* values);
    void DoRecalc(long limit);
    void PatchDoProcess(long limit);
    void DoProcess(long limit);
    virtual CCItem* ProcessDependents(const CCRef* ref, CCRecalcList& list);
    virtual CCItem* PatchProcessDependents(const CCRef* ref, CCRecalcList& list);
    void Adjust3DDependencies(const CCRef* ref, CCRefList*& dependents);
    /// The volatile cells join a recalculation once per change batch: into the process list
    /// (alone), or marked in the workbook's order with those of every sheet.
    void QueueVolatile();
    void MarkVolatile(CCWorkbook& book);
    bool IsVolatile(const CCRef* cell);
    void RecalcRemoteDependents(CCRecalcList& remote);
    /// The workbook road: marks the reference's node dirty, placing it first always (a
    /// formula was stored), when it has no node or is a range (a cell asked to recalculate
    /// itself), not at all (a value changed), or as whenMissing and then after every other
    /// node as the calculation starts (a volatile cell).
    enum class WorkbookPlacing { none, whenMissing, always, last };
    void MarkInWorkbook(CCWorkbook& book, const CCRef* ref, WorkbookPlacing placing,
                        bool evaluated = false);
    /// Empties the process list into order: each reference once, every formula after the
    /// formulas it reads among them (cells on a cycle once, in the order they were met).
    /// Remote references go to remote; references that are not formulas stay when keepPlain.
    void CollectRecalcOrder(std::vector<std::unique_ptr<CCRef>>& order, CCRecalcList& remote,
                            bool keepPlain);

    CCRecalcList& GetRecalcList() { return m_recalcList; }
    CCRecalcList& GetProcessList() { return m_processList; }

private:
    struct OpenEntry {
        std::unique_ptr<CCRef> ref;  // null marks a free entry
        unsigned long position = 0;
        unsigned long width = 0;
        unsigned long height = 0;
    };
    OpenEntry* Entry(uint16_t handle);
    int LoadRecord(OpenEntry& entry, unsigned long position, ostrel::platform::CPtrArray* record);
    CCCell* CellAt(const CCRef* ref) const;
    template <class Op>
    int ServeRemote(const CCRemoteRef* ref, int fallback, Op op);
    enum class SheetItemUpdate { none, add, remove, move };
    int SendWithLocal(const CCRemoteRef* ref, const CCRef* first, const CCRef* second,
                      int onNoTranslation, SheetItemUpdate update,
                      const std::function<int(const CCRemoteRef*, const CCRemoteRef*)>& send);

    int m_protected = 0;
    std::u16string m_password;
    ECRecalcRemote m_recalcRemote = RECALC_REMOTE_NOT_ASKED;
    CCRecalcList m_recalcList;
    CCRecalcList m_processList;
    CCRecalcList m_volatile;        // sheet-qualified, in registration order
    bool m_volatileQueued = false;  // in the process list since it was last taken
    bool m_referenceAsNameTold = false;
    const CCItem* m_circRoot = nullptr;
    unsigned long m_allRecalcCount = 0;
    std::vector<OpenEntry> m_openRefs;
    std::set<size_t> m_freeOpenSlots;  // free entries below the end, first free first
    SCItemList* m_docItems = nullptr;  // owned, with its items
    uint32_t m_identity;
    std::unique_ptr<ostrel::engine::ValueChanges> m_valueChanges;
    std::unique_ptr<ostrel::engine::DerivedValues> m_derived;
};
