// The animation script reader's batch statements: "mload walk_$ 01 12" runs
// "load walk_01" ... "load walk_12", one statement slot per number.
//
// The last two tokens are the range (counting up or down, always ending the
// statement after any options); a bound other than "0" written with a
// leading zero pads the numbers to the longer bound's width. The number goes
// where the number tokens hold "$", or after them when none does.
#include <algorithm>
#include <cstdlib>

#include <zep2/error.h>

#include "anim/animscript_reader.h"

namespace {

struct BatchKind {
    const char* szCommand;
    int aTokens[2];  // positions of the number tokens, 0 for none
};

constexpr BatchKind kBatchKinds[] = {
    {"load", {1, 0}}, {"hflip", {1, 0}}, {"vflip", {1, 0}},   {"add", {1, 0}},
    {"clone", {1, 2}}, {"blit", {1, 2}}, {"inspos", {3, 0}},
};

const BatchKind* findKind(const Zep::String& sCommand) {
    for (const BatchKind& kind : kBatchKinds)
        if (sCommand == kind.szCommand) return &kind;
    return nullptr;
}

bool isPadded(const Zep::String& sBound) { return sBound != "0" && sBound.length() > 0 && sBound[0] == '0'; }

}  // namespace

void AnimationLoader::beginBatch() {
    const Zep::String sPlain = m_sCommand.mid(1);
    const BatchKind* pKind = findKind(sPlain);
    if (!pKind)
        fail(Zep::String::format("AnimationLoader : Unknown command '%s' in %s, line %d", m_sCommand.c_str(),
                                 m_pAnimation->getName().c_str(), m_nLine));
    needTokens(3);
    // The range: the last two tokens.
    Zep::List<Zep::String> lTemplates = m_lTokens;
    const Zep::String sTo = lTemplates.removeAt(lTemplates.getCount() - 1);
    const Zep::String sFrom = lTemplates.removeAt(lTemplates.getCount() - 1);
    const int64_t nFrom = sFrom.toInt(), nTo = sTo.toInt();
    if (std::llabs(nTo - nFrom) > kMaxBatchRange)
        fail(Zep::String::format("AnimationLoader : Batch in %s, line %d : range %s to %s above %d",
                                 m_pAnimation->getName().c_str(), m_nLine, sFrom.c_str(), sTo.c_str(),
                                 kMaxBatchRange));
    m_nBatchWidth = isPadded(sFrom) || isPadded(sTo) ? std::max(sFrom.length(), sTo.length()) : -1;
    lTemplates[0] = sPlain;
    // The number tokens that exist; "$" is appended when none holds one.
    m_lBatchTokens.clear();
    for (int nToken : pKind->aTokens)
        if (nToken > 0 && nToken < lTemplates.getCount()) m_lBatchTokens.add(nToken);
    bool bMarked = false;
    for (int nToken : m_lBatchTokens) bMarked = bMarked || lTemplates[nToken].find('$') >= 0;
    if (!bMarked)
        for (int nToken : m_lBatchTokens) lTemplates[nToken] += "$";
    m_lBatchTemplates = lTemplates;
    m_nBatchEnd = nTo;
    m_nBatchCounter = nFrom <= nTo ? nFrom - 1 : nFrom + 1;
    m_bBatchActive = true;
    m_sCommand = sPlain;
}

void AnimationLoader::nextBatchIteration() {
    m_nBatchCounter += m_nBatchCounter < m_nBatchEnd ? 1 : -1;
    const int nNumber = static_cast<int>(m_nBatchCounter);
    const Zep::String sNumber = m_nBatchWidth != -1 ? Zep::String::format("%0*d", m_nBatchWidth, nNumber)
                                                    : Zep::String::format("%d", nNumber);
    m_lTokens = m_lBatchTemplates;
    for (int nToken : m_lBatchTokens) m_lTokens[nToken] = m_lTokens[nToken].replaceAll("$", sNumber.c_str());
    if (m_nBatchCounter == m_nBatchEnd) m_bBatchActive = false;
}
