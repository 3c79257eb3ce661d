// SPDX-License-Identifier: Apache-2.0
/// \file
/// The user-interface callbacks through which the engine shows messages and asks questions.
/// A host installs its own; the default shows nothing and answers as a user who clicks OK
/// on a message and No on a question, and cancels the protection dialog.
#pragma once

#include <string>
#include <string_view>

#include "ostrel/export.h"

namespace ostrel {

enum class MessageIcon { error, warning, question, information };

class OSTREL_API CUserInterface {
public:
    virtual ~CUserInterface() = default;
    /// A message box with OK only.
    virtual void ShowMessage(unsigned resourceId, std::u16string_view text, MessageIcon icon);
    /// A question with Yes and No; true for Yes.
    virtual bool AskYesNo(unsigned resourceId, std::u16string_view text);
    /// The protection dialog (password entry). protect is true to protect, false to
    /// unprotect; password holds the current password on entry and what was typed on OK.
    /// Returns true for OK. wrongPassword is the text to show when the typed password is
    /// refused (the dialog stays open until it is right or cancelled); check tells whether
    /// a typed password is accepted.
    virtual bool ProtectionDialog(bool protect, std::u16string& password,
                                  bool (*check)(const std::u16string& typed, void* data),
                                  void* data);
    /// A formula used a function this build has no routine for: the cell shows error 7
    /// ("#NAME?"). Heard once per evaluation; the default does nothing.
    virtual void FunctionWithoutEvaluation(std::u16string_view name);
    /// A formula used a function whose kind of document this host does not serve (WPGET
    /// without word-processor documents): the cell shows error 9 ("#N/A"); why says what is
    /// missing. Heard once per evaluation; the default does nothing.
    virtual void FunctionNotAvailable(std::u16string_view name, std::u16string_view why);
    /// A formula of a document that is not a spreadsheet (CCCellManager::GetType() is not
    /// 1) holds text shaped like a cell reference, such as "B2": it is read as a name, and
    /// evaluates to error 1 unless the document knows that name. Heard once per document;
    /// the default does nothing.
    virtual void ReferenceReadAsName(std::u16string_view text);
};

/// Installs the host's callbacks (null restores the default); the host keeps ownership.
OSTREL_API void SetUserInterface(CUserInterface* ui);
OSTREL_API CUserInterface& GetUserInterface();

}  // namespace ostrel

/// Shows string resource id in a message box with an error icon, OK only.
OSTREL_API void ErrorMessage(unsigned id);
