// SPDX-License-Identifier: Apache-2.0
#include "ostrel/platform/ui.h"

#include "ostrel/platform/resources.h"

namespace ostrel {

namespace {
CUserInterface g_default;
CUserInterface* g_current = &g_default;
}  // namespace

void CUserInterface::ShowMessage(unsigned, std::u16string_view, MessageIcon) {}

bool CUserInterface::AskYesNo(unsigned, std::u16string_view) {
    return false;
}

bool CUserInterface::ProtectionDialog(bool, std::u16string&, bool (*)(const std::u16string&, void*),
                                      void*) {
    // Without a host dialog the protection state must not change behind the user's back.
    return false;
}

void CUserInterface::FunctionWithoutEvaluation(std::u16string_view) {}

void CUserInterface::FunctionNotAvailable(std::u16string_view, std::u16string_view) {}

void CUserInterface::ReferenceReadAsName(std::u16string_view) {}

void SetUserInterface(CUserInterface* ui) {
    g_current = ui ? ui : &g_default;
}

CUserInterface& GetUserInterface() {
    return *g_current;
}

}  // namespace ostrel

void ErrorMessage(unsigned id) {
    ostrel::GetUserInterface().ShowMessage(id, ostrel::LoadResourceString(id),
                                           ostrel::MessageIcon::error);
}
