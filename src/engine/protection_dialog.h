// SPDX-License-Identifier: Apache-2.0
// The protection dialog that documents and workbooks share: asks for a password to protect
// with, or for the password that lifts the protection.
#pragma once

#include <string>

namespace ostrel::engine {

enum class ProtectionChoice { none, protect, unprotect };

// For a protected document, unprotect when the password is empty or typed right (the
// dialog stays open until it is, or the user cancels); otherwise protect with the password
// the user chose, given back in chosen.
ProtectionChoice AskProtection(bool isProtected, const std::u16string& password,
                               std::u16string& chosen);

// Runs the dialog for a document or workbook and applies what it decided through the
// target's own Protect and UnProtect (which hosts may override).
template <class Target>
void RunProtectionDialog(Target& target, bool isProtected, const std::u16string& password) {
    std::u16string chosen;
    switch (AskProtection(isProtected, password, chosen)) {
        case ProtectionChoice::protect:
            target.Protect(chosen);
            break;
        case ProtectionChoice::unprotect:
            target.UnProtect();
            break;
        case ProtectionChoice::none:
            break;
    }
}

}  // namespace ostrel::engine
