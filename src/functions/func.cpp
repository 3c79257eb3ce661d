// SPDX-License-Identifier: Apache-2.0
#include "ostrel/functions/func.h"

#include "ostrel/platform/resources.h"

void CCFunc::Init(unsigned id, unsigned char precedence, unsigned char kind, unsigned char category,
                  CheckRoutine check, EvalRoutine eval) {
    m_id = id;
    m_precedence = precedence;
    m_kind = kind;
    m_category = category;
    m_check = check;
    m_eval = eval;
    m_altName.assign(FunctionInvariantName(id));
    std::u16string_view text = ostrel::LoadResourceString(id);
    std::u16string_view name = text.substr(0, text.find(u'\n'));
    // Without a text of its own a function is known by its invariant name.
    m_name.assign(name.empty() ? std::u16string_view(m_altName) : name);
}

void CCFunc::Init(std::u16string_view name, unsigned char precedence, unsigned char kind,
                  unsigned char category, CheckRoutine check, EvalRoutine eval) {
    m_id = 0;
    m_precedence = precedence;
    m_kind = kind;
    m_category = category;
    m_check = check;
    m_eval = eval;
    m_name.assign(name);
    m_altName.assign(name);
}

bool CCFunc::GetFuncString(std::u16string& out, int part) const {
    if (part < 0 || m_id == 0) return false;
    std::u16string_view text = ostrel::LoadResourceString(m_id);
    if (text.empty()) return false;
    size_t begin = 0;
    for (int i = 0; i < part; ++i) {
        size_t lf = text.find(u'\n', begin);
        if (lf == std::u16string_view::npos) return false;
        begin = lf + 1;
    }
    size_t end = text.find(u'\n', begin);
    out.assign(text.substr(begin, end == std::u16string_view::npos ? end : end - begin));
    return true;
}

void CCChooseFunc::Init(unsigned id, unsigned char precedence, unsigned char kind,
                        unsigned char category, CheckRoutine check, EvalRoutine eval,
                        ChoiceRoutine choice) {
    CCFunc::Init(id, precedence, kind, category, check, eval);
    m_choice = choice;
}

int CCChooseFunc::GetChoice(cells::CTX* ctx, CCFormula*& chosen, const CCFormulaList* args,
                            const CCRef* cell) const {
    chosen = nullptr;
    if (!m_choice) return 4;
    return m_choice(ctx, chosen, args, cell);
}

void CCRemoteFunc::Init(unsigned id, unsigned char precedence, unsigned char kind,
                        unsigned char category, CheckRoutine check, EvalRoutine eval,
                        RemoteRoutine remote) {
    CCFunc::Init(id, precedence, kind, category, check, eval);
    m_remote = remote;
}

int CCRemoteFunc::GetRemoteRef(cells::CTX* ctx, CCRemoteRef& out, const CCFormulaList* args,
                               const CCRef* cell) const {
    if (!m_remote) return 4;
    return m_remote(ctx, out, args, cell);
}

void CCDocumentFunc::Init(unsigned id, unsigned char precedence, unsigned char kind,
                          unsigned char category, CheckRoutine check, EvalRoutine eval,
                          DocumentRoutine document) {
    CCFunc::Init(id, precedence, kind, category, check, eval);
    m_document = document;
}

int CCDocumentFunc::GetDocumentRef(cells::CTX* ctx, CCDocumentRef& out, const CCFormulaList* args,
                                   const CCRef* cell) const {
    if (!m_document) return 4;
    return m_document(ctx, out, args, cell);
}
