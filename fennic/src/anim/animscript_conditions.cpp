// The animation script reader's conditional blocks: if, elif, else, endif,
// with prefix conditions ("and > (1) 2 != (0) small").
//
// A false branch is skipped statement by statement with a depth count (a
// skipped "if" opens, a skipped "endif" closes); at depth 1 "else", "elif"
// and "endif" end the skipping. A taken branch that meets "else" or "elif"
// skips to its "endif". Running out of lines while skipping fails with the
// list's out-of-range error, as reading token 0 of no statement does.
#include <zep2/error.h>

#include "anim/animscript_reader.h"

namespace {

constexpr const char* kZepSource = ".\\src\\animscript_conditions";

using Tokens = Zep::List<Zep::String>;

Zep::String evaluate(Tokens& lToks, int nDepth);

// One operand that must come out as "true" or "false".
Zep::String evaluateBool(Tokens& lToks, int nDepth) {
    Zep::String sValue = evaluate(lToks, nDepth);
    if (sValue != "true" && sValue != "false")
        ZEP_THROW(Zep::FatalErrorException, "Condition doesn't evaluate to bool");
    return sValue;
}

Zep::String truth(bool b) { return b ? "true" : "false"; }

// Consumes one prefix expression from the front of the tokens.
Zep::String evaluate(Tokens& lToks, int nDepth) {
    if (lToks.isEmpty())
        ZEP_THROW(Zep::AssertFailException, "Assertion failed : lToks.getLength() >= (1)");
    if (nDepth > AnimationLoader::kMaxConditionDepth)
        ZEP_THROW(Zep::FatalErrorException, "Condition nested too deeply");
    const Zep::String sOp = lToks.removeFirst();
    if (sOp == "not") return truth(evaluateBool(lToks, nDepth + 1) == "false");
    const bool bBinary = sOp == "==" || sOp == "!=" || sOp == "and" || sOp == "or" || sOp == "<" || sOp == "<=" ||
                         sOp == ">" || sOp == ">=";
    if (!bBinary) return sOp;
    // Both operands are always evaluated.
    const Zep::String a = evaluate(lToks, nDepth + 1);
    const Zep::String b = evaluate(lToks, nDepth + 1);
    if (sOp == "==") return truth(a == b);
    if (sOp == "!=") return truth(a != b);
    if (sOp == "and") return truth(a == "true" && b == "true");
    if (sOp == "or") return truth(a == "true" || b == "true");
    const int x = a.toInt(), y = b.toInt();
    if (sOp == "<") return truth(x < y);
    if (sOp == "<=") return truth(x <= y);
    if (sOp == ">") return truth(x > y);
    return truth(x >= y);
}

}  // namespace

bool AnimationLoader::evaluateCondition() const {
    // The tokens after the command, parentheses dropped.
    Tokens lToks;
    for (int i = 1; i < m_lTokens.getCount(); ++i)
        if (token(i) != "(" && token(i) != ")") lToks.add(token(i));
    return evaluateBool(lToks, 0) == "true";
}

void AnimationLoader::cmdIf() {
    ++m_nIfBlockNesting;
    if (!evaluateCondition()) skipFalseBranch();
}

void AnimationLoader::cmdElse() {
    ZEP_ASSERT(m_nIfBlockNesting > 0);
    --m_nIfBlockNesting;
    skipToEndIf();
}

void AnimationLoader::cmdEndIf() {
    ZEP_ASSERT(m_nIfBlockNesting > 0);
    --m_nIfBlockNesting;
}

Zep::String AnimationLoader::readSkippedCommand() {
    readStatement();
    return token(0).toLower();
}

void AnimationLoader::skipFalseBranch() {
    int nDepth = 1;
    for (;;) {
        const Zep::String sCommand = readSkippedCommand();
        if (sCommand == "if") {
            ++nDepth;
        } else if (sCommand == "endif") {
            if (--nDepth > 0) continue;
            --m_nIfBlockNesting;
            return;
        } else if (nDepth == 1 && sCommand == "else") {
            return;
        } else if (nDepth == 1 && sCommand == "elif" && evaluateCondition()) {
            return;
        }
    }
}

void AnimationLoader::skipToEndIf() {
    int nDepth = 1;
    while (nDepth > 0) {
        const Zep::String sCommand = readSkippedCommand();
        if (sCommand == "if") ++nDepth;
        else if (sCommand == "endif") --nDepth;
    }
}
