// A document as the engine sees it. The host derives its document from CCCellManager and
// supplies the cell store (LookupItem) and the per-call contexts (GetCTX); the manager does
// the rest: cell access by reference, range iteration, protection, messages, and the
// dependency bookkeeping that recalculation runs on.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "events/broadcaster.h"
#include "events/listener.h"
#include "remote/transport_interface.h"

class CArchive;
class CCCell;
class CCCellValue;
class CCDocumentRef;
class CCItem;
class CCNameRef;
class CCRef;
class CCRefList;
class CCRemoteRef;
class CCSheet;
class CCWorkbook;
class COleDateTime;
class CPtrArray;
class CSize;
class CStringArray;

// The answer to "recalculate the other documents?": not asked yet, no, yes.
enum ECRecalcRemote { RECALC_REMOTE_NOT_ASKED = 0, RECALC_REMOTE_NO = 1, RECALC_REMOTE_YES = 2 };

class CCCellManager : public CCTransportInterface, public CCBaseListener, public CCBaseBroadcaster {
public:
    CCCellManager();
    ~CCCellManager() override;
    CCCellManager(const CCCellManager&) = delete;
    CCCellManager& operator=(const CCCellManager&) = delete;

    // Host hooks and their defaults.
    virtual int GetType() const { return 0; }
    virtual void ErrorMessage(unsigned int id);
    virtual int GetRecalcRemote(int ask);
    virtual void GetRefSize(const CCRef* ref, long& width, long& height);
    virtual void SetDirty() {}
    virtual void Protect(std::u16string_view password);
    virtual void UnProtect();
    // The item a reference designates in the host's store; null when there is none.
    virtual CCItem* LookupItem(const CCRef* ref) = 0;
    virtual CCItem* GetItem(const CCRef* ref) { return LookupItem(ref); }
    virtual int GetAutoCalc() { return 1; }
    virtual void OnUpdateIdleRecalc() {}

    // Cell access: 1 when an item was found, 0 otherwise.
    virtual int SetSourceValue(const CCRef* ref, const CCCellValue* value);
    virtual int GetCellValueText(const CCRef* ref, char16_t* buffer, int capacity) const;
    virtual int GetCellFormula(const CCRef* ref, char16_t* buffer, int capacity);
    virtual int SetCellText(const CCRef* ref, std::u16string_view text);
    virtual int ClearCell(const CCRef* ref, int what);
    virtual int IsValidRef(const CCRef* ref);
    virtual int GetValue(const CCRef* ref, CCCellValue* value, unsigned long index);
    virtual int GetDataSources(CStringArray* out, int selector);
    virtual int GetItems(const CCRef* ref, CStringArray* out);

    // Reading a range value by value or row by row through 16-bit handles.
    virtual uint16_t OpenRef(const CCRef* ref);
    virtual int GetFirstRecord(uint16_t handle, CPtrArray* record);
    virtual int GetNextRecord(uint16_t handle, CPtrArray* record);
    virtual int GetPreviousRecord(uint16_t handle, CPtrArray* record);
    virtual int GetLastRecord(uint16_t handle, CPtrArray* record);
    virtual int GetRecord(uint16_t handle, unsigned long n, CPtrArray* record);
    virtual int RefSize(uint16_t handle, CSize* size);
    virtual int NextValue(uint16_t handle, CCCellValue* value);
    virtual int CloseRef(uint16_t handle);

    virtual int IsSingleValue(const CCRef* ref);
    virtual int SetValue(const CCRef* ref, const CCCellValue* value);
    virtual int RecalcCell(const CCRef* ref);

    // Dependency forwarding to the items.
    virtual int RegisterDependent(const CCRef* precedent, const CCRef* dependent);
    virtual int UnRegisterDependent(CCItem* item, const CCRef* dependent);
    virtual int UnRegisterDependent(const CCRef* precedent, const CCRef* dependent);
    virtual int InvalidateRef(const CCRef* ref, const CCRef* invalidated);
    virtual int MoveFormula(const CCRef* ref, const CCRef* from, const CCRef* to);
    virtual int MoveDependent(const CCRef* ref, const CCRef* from, const CCRef* to, int flag);
    virtual int SetValueInCompound(const char16_t* text, unsigned long arg,
                                   const CCCellValue* value);
    // A new list of the item's dependents, owned by the caller; null without an item.
    virtual CCRefList* LoadDependencies(const CCRef* ref);

    // Remote requests with a reference of this document, translated before sending: a
    // sheet of the same workbook gets a sheet-qualified reference (and is updated at once),
    // another document a remote reference naming this one.
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

    // Messages and protection.
    int IsProtected() const { return m_protected; }
    const std::u16string& GetPassword() const { return m_password; }
    bool IsProtLock(CCCell* cell, bool show) const;
    void DoProtectionDialog();
    void SetRecalcRemote(ECRecalcRemote answer) { m_recalcRemote = answer; }
    ECRecalcRemote GetTrueRecalcRemote() const { return m_recalcRemote; }

    // Sheets and names (defaults for a document without sheets).
    virtual CCWorkbook* GetWorkbook() { return nullptr; }
    virtual void GetSheetName(std::u16string& name) const { name.clear(); }
    virtual int IsValidSheetName(std::u16string_view name);
    virtual CCRemoteRef* TranslateToSheetRef(const CCRef* ref);
    virtual CCRef* TranslateNameRef(const CCRef* ref);
    virtual CCCellManager* GetManForNameIndex(uint16_t index);
    virtual uint16_t GetNameIndex(std::u16string_view name);
    virtual uint16_t GetNameIndex(const CCNameRef* name);

    // Releases lists, open references and document items.
    void ReleaseContents();
    // Back to the freshly constructed state, except the notify flag and the event table.
    void Revert();

    // Events are ignored unless the host overrides this.
    bool OnEvent(const CCBaseEvent&) override { return false; }

    // The identity with which sheet-qualified references name this manager.
    uint32_t GetIdentity() const { return m_identity; }
    static CCCellManager* FromIdentity(uint32_t identity);

private:
    struct OpenEntry {
        std::unique_ptr<CCRef> ref;  // null marks a free entry
        unsigned long position = 0;
        long width = 0;
        long height = 0;
    };
    OpenEntry* Entry(uint16_t handle);
    int LoadRecord(OpenEntry& entry, CPtrArray* record);

    int m_protected = 0;
    std::u16string m_password;
    ECRecalcRemote m_recalcRemote = RECALC_REMOTE_NOT_ASKED;
    std::vector<OpenEntry> m_openRefs;
    uint32_t m_identity;
};
