// The animation script reader: opening scripts, reading statements with their
// substitutions, the step rules and the repeat prefix.
#include "anim/animscript_reader.h"

#include <zep2/error.h>
#include <zep2/resource.h>

#include "application/gameapp.h"

namespace {

constexpr const char* kZepSource = ".\\src\\animscript_reader";

// The statements after which a step ends.
constexpr const char* kHeavyCommands[] = {"load",  "alias", "define", "include", "copyseq", "clone",
                                          "hflip", "vflip", "multiplyalpha", "blit", "rblit", "remap"};

bool isHeavy(const Zep::String& sCommand) {
    for (const char* szHeavy : kHeavyCommands)
        if (sCommand == szHeavy) return true;
    return false;
}

GameApp& app() {
    GameApp* pApp = GameApp::getInstance();
    if (!pApp) ZEP_THROW(Zep::FatalErrorException, "AnimationLoader : no application");
    return *pApp;
}

}  // namespace

void AnimationLoader::begin(const char* szScript) {
    ZEP_TRACE("AnimationLoader::begin");
    m_lIncludeChain.clear();
    m_nOpenedLines = 0;
    m_nFramesAdded = 0;
    m_nPropertiesCopied = 0;
    m_nImageOperations = 0;
    m_nTokensRun = 0;
    m_nSubstitutionScan = 0;
    openScript(szScript);
    m_nLine = 0;
    m_pAnimation = new Animation(0.0f);
    m_pAnimation->setName(szScript);
    m_bBatchActive = false;
    m_nIfBlockNesting = 0;
}

Zep::SmartPtr<Animation> AnimationLoader::runFile(const char* szScript) {
    ZEP_TRACE("AnimationLoader::runFile");
    Zep::ScopeTrace::setDetail(szScript);
    begin(szScript);
    while (!isDone()) processLine();
    return m_pAnimation;
}

void AnimationLoader::openScript(const Zep::String& sName) {
    Zep::SmartPtr<Zep::Resource> pScript = app().getResource(sName.c_str());
    const Zep::List<Zep::String> lLines = pScript->asString().split("\r\n");
    m_nOpenedLines += lLines.getCount();
    if (m_nOpenedLines > kMaxScriptLines)
        fail(Zep::String::format("AnimationLoader : Include in %s, line %d : more than %d lines in all",
                                 m_pAnimation.notNULL() ? m_pAnimation->getName().c_str() : sName.c_str(), m_nLine,
                                 kMaxScriptLines));
    m_lPending.addAllFirst(lLines);
    m_nTotalLines = m_lPending.getCount();
    m_lIncludeChain.addFirst(OpenScript{sName.toLower(), m_nTotalLines - lLines.getCount()});
}

bool AnimationLoader::readStatement() {
    m_lTokens.clear();
    m_sLine = Zep::String();
    while (!m_lPending.isEmpty()) {
        Zep::String sLine = m_lPending.removeFirst();
        ++m_nLine;
        const int nHash = sLine.find('#');
        if (nHash >= 0) sLine = sLine.left(nHash);
        sLine = sLine.trim();
        if (sLine.isEmpty()) continue;
        sLine = substitute(sLine).trim();
        if (sLine.isEmpty()) continue;
        m_sLine = sLine;
        m_lTokens = sLine.split(" \t");
        return true;
    }
    return false;
}

Zep::String AnimationLoader::substitute(const Zep::String& sLine) {
    // Every pattern begins with "(": a line without one stays as it is.
    if (sLine.find('(') < 0) return sLine;
    Zep::String sOut = sLine;
    int i = 0;
    for (const Zep::String& sParam : m_lParams) {
        countSubstitution(sOut.length());
        sOut = sOut.replaceAll(Zep::String::format("(%d)", i++).c_str(), sParam.c_str());
        checkLength(sOut);
    }
    for (const Zep::String& sName : m_hDefines.getKeys()) {
        countSubstitution(sOut.length());
        sOut = sOut.replaceAll(("(" + sName + ")").c_str(), m_hDefines.get(sName).c_str());
        checkLength(sOut);
    }
    return sOut;
}

void AnimationLoader::checkLength(const Zep::String& sLine) const {
    if (sLine.length() > kMaxLineLength)
        fail(Zep::String::format("AnimationLoader : Line in %s, line %d : longer than %d characters",
                                 m_pAnimation->getName().c_str(), m_nLine, kMaxLineLength));
}

int AnimationLoader::processLine() {
    ZEP_TRACE("AnimationLoader::processLine");
    const int nFirstLine = m_nLine;
    int nLight = 0;
    for (;;) {
        // A batch iteration takes the place of reading a line.
        if (m_bBatchActive) {
            nextBatchIteration();
        } else {
            readStatement();
            Zep::ScopeTrace::setDetail(Zep::String::format("%d %s", m_nLine, m_sLine.c_str()).c_str());
        }
        if (m_lTokens.isEmpty()) break;
        if (runStatement()) break;
        if (++nLight > kLightStatementsPerStep) break;
        if (isDone()) break;
    }
    return m_nLine - nFirstLine;
}

bool AnimationLoader::runStatement() {
    m_sCommand = token(0).toLower();
    if (m_sCommand != "repeat") {
        countTokensRun();
        execute();
        return isHeavy(m_sCommand);
    }
    // The prefix: a count, then the statement it repeats.
    const int nCount = token(1).toInt();
    if (nCount > kMaxRepeat)
        fail(Zep::String::format("AnimationLoader : Repeat in %s, line %d : count %d above %d",
                                 m_pAnimation->getName().c_str(), m_nLine, nCount, kMaxRepeat));
    m_lTokens.removeFirst();
    m_lTokens.removeFirst();
    for (int i = 0; i < nCount; ++i) {
        m_sCommand = token(0).toLower();
        countTokensRun();
        execute();
    }
    m_sCommand = token(0).toLower();
    return isHeavy(m_sCommand);
}

void AnimationLoader::execute() {
    if (executeImageCommand() || executeSequenceCommand() || executeTextCommand()) return;
    if (m_sCommand == "if") cmdIf();
    else if (m_sCommand == "else" || m_sCommand == "elif") cmdElse();
    else if (m_sCommand == "endif") cmdEndIf();
    else if (m_sCommand.length() > 1 && m_sCommand[0] == 'm') beginBatch();
    else
        fail(Zep::String::format("AnimationLoader : Unknown command '%s' in %s, line %d", m_sCommand.c_str(),
                                 m_pAnimation->getName().c_str(), m_nLine));
}

bool AnimationLoader::executeTextCommand() {
    if (m_sCommand == "define") {
        needTokens(3);
        m_hDefines.set(token(1), token(2));
    } else if (m_sCommand == "param" || m_sCommand == "parm") {
        m_lParams.add(m_sLine.mid(5).trim());
    } else if (m_sCommand == "params" || m_sCommand == "parms") {
        needTokens(2);
        const int nNeeded = token(1).toInt();
        if (m_lParams.getCount() < nNeeded)
            fail(Zep::String::format("AnimationLoader : %s : expected at least %d parameters, %d found",
                                     m_pAnimation->getName().c_str(), nNeeded, m_lParams.getCount()));
    } else if (m_sCommand == "clearparams" || m_sCommand == "clearparms") {
        m_lParams.clear();
    } else if (m_sCommand == "include") {
        cmdInclude();
    } else {
        return false;
    }
    return true;
}

void AnimationLoader::cmdInclude() {
    needTokens(2);
    const Zep::String sName = token(1).trim();
    // Scripts left behind have left the chain; one whose last line this is stays.
    while (!m_lIncludeChain.isEmpty() && m_lIncludeChain.getFirst().nEndsAt > m_lPending.getCount())
        m_lIncludeChain.removeFirst();
    const char* szTop = m_pAnimation->getName().c_str();  // lives with the animation
    for (const OpenScript& open : m_lIncludeChain)
        if (open.sName == sName.toLower())
            fail(Zep::String::format("AnimationLoader : Include in %s, line %d : %s includes itself", szTop, m_nLine,
                                     sName.c_str()));
    if (m_lIncludeChain.getCount() >= kMaxIncludeDepth)
        fail(Zep::String::format("AnimationLoader : Include in %s, line %d : nested deeper than %d", szTop, m_nLine,
                                 kMaxIncludeDepth));
    openScript(sName);
}

void AnimationLoader::needTokens(int n) const {
    if (m_lTokens.getCount() < n)
        fail(Zep::String::format("AnimationLoader : Command %s in %s, line %d : need %d tokens", m_sCommand.c_str(),
                                 m_pAnimation->getName().c_str(), m_nLine, n));
}

void AnimationLoader::fail(const Zep::String& sMessage) const {
    ZEP_THROW(AnimationParserException, sMessage.c_str());
}
