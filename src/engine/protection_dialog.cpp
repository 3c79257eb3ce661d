// SPDX-License-Identifier: Apache-2.0
#include "engine/protection_dialog.h"

#include "ostrel/platform/resources.h"
#include "ostrel/platform/ui.h"

namespace ostrel::engine {

namespace {

struct PasswordCheck {
    const std::u16string* stored;
};

bool CheckPassword(const std::u16string& typed, void* data) {
    const auto* check = static_cast<const PasswordCheck*>(data);
    if (typed == *check->stored) return true;
    GetUserInterface().ShowMessage(13035, LoadResourceString(13035), MessageIcon::error);
    return false;
}

}  // namespace

ProtectionChoice AskProtection(bool isProtected, const std::u16string& password,
                               std::u16string& chosen) {
    if (!isProtected) {
        chosen = password;
        return GetUserInterface().ProtectionDialog(true, chosen, nullptr, nullptr)
                   ? ProtectionChoice::protect
                   : ProtectionChoice::none;
    }
    if (password.empty()) return ProtectionChoice::unprotect;
    std::u16string typed;
    PasswordCheck check{&password};
    // A host dialog that ignores the check is checked once more here.
    if (GetUserInterface().ProtectionDialog(false, typed, CheckPassword, &check) &&
        typed == password)
        return ProtectionChoice::unprotect;
    return ProtectionChoice::none;
}

}  // namespace ostrel::engine
