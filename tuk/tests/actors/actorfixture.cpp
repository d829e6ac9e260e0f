// The bar's other actors in the test bar (actorfixture.h).
#include "actors/actorfixture.h"

#include <stdexcept>
#include <string>

#include "actors/machinebuttons.h"

namespace bartest {

namespace {

const Rect kHerRect(380, 600, 420, 640);

std::string juicerScript() {
    std::string s = "fps 10\nload juicer\nseq normal loop\nadd juicer\nseq funcionando\nadd juicer\nadd juicer\n"
                    "seq desplaza\n";
    for (int i = 0; i < 10; ++i) s += "add juicer\n";
    return s;
}

std::string parrotScript() {
    std::string s = "fps 10\nload parrot_1\n";
    for (const char* szHeading : {"stand", "north", "south", "east", "west"})
        for (const char* szPart : {"_still", "_move", "_legs"})
            s += std::string("seq ") + szHeading + szPart + " loop\nadd parrot_1\n";
    return s;
}

}  // namespace

std::string liquidsOf(const Mug& mug) {
    std::string s;
    for (int nLiquid : mug.getLiquids()) s.append(s.empty() ? "" : ",").append(std::to_string(nLiquid));
    return s;
}

void ActorTest::SetUp() {
    CustomerTest::SetUp();
    auto picture = [&](const char* szName, int w, int h) {
        m_app.addImage(szName, Zep::SmartPtr<Image>(imagetest::solid(w, h, true, Color(9, 9, 9, 255)).get()), false);
    };
    for (const char* szName : {"button_fruta", "button_vaso", "bongo_1", "dancer_1"}) picture(szName, 30, 30);
    picture("parrot_1", 40, 40);
    picture("juicer", 120, 150);
    m_app.addResourceProvider(
        testkit::memoryProvider(
            {{"juicer.anim", juicerScript()},
             {"button.template", "fps 10\nload button_(0)\nseq notpushed\nadd button_(0)\nseq pushed\n"
                                 "add button_(0)\n"},
             {"parrot.anim", parrotScript()},
             {"mrbongo.template", "fps 10\nload bongo_(0)\nseq play loop\nadd bongo_(0)\n"},
             {"dancer.anim", "fps 10\nload dancer_1\nseq dance loop\nadd dancer_1\n"}}),
        false);
    for (const char* szSound : {"sfx_game_juicer", "sfx_game_parrot"})
        m_audio.m_sampleLoader.m_setNames.insert(szSound);
}

DrinkMachine& ActorTest::machine(bool bMirrored, int nCoasters, int nBeverage) {
    LevelData& data = m_pMode->getLevelData();
    if (m_pMachine.notNULL()) m_pMachine->removeFromScene(m_pMode);
    data.m_lDrinkMachines.clear();
    m_lCoasters.clear();
    m_pMachine = new DrinkMachine(data.m_bHarderMode, m_pMode);
    data.m_lDrinkMachines.add(m_pMachine);
    Zep::SmartPtr<AnimSprite> pSprite =
        new AnimSprite(m_app.getAnimation("juicer.anim"), kMachineX, kMachineY, kMachineZ);
    if (bMirrored) pSprite->setScale(-1.0f, 1.0f);
    m_pMode->addSprite(pSprite.get());
    m_pMachine->setSprite(pSprite);
    for (int i = 0; i < nCoasters; ++i) {
        Zep::SmartPtr<ActionSpot> pSpot =
            spot("platformjuicer", 310 + 40 * i, 393, m_coasterRect, 0, "posavaso_1");
        m_lCoasters.add(Zep::SmartPtr<GlassSpot>(dynamic_cast<GlassSpot*>(pSpot.get())));
    }
    ActionTarget::SpotLink link;
    for (const char* szKind : {"beverage", "liquid"})
        for (link.nType = 0; link.nType < 3; ++link.nType)
            ActionTarget::create(m_pMode, szKind, 250 + 30 * link.nType, 420, 55, kHerRect, 0, nullptr, link);
    if (nBeverage >= 0) press(button(false, nBeverage));
    return *m_pMachine;
}

ActionSpot& ActorTest::button(bool bLiquid, int nType) {
    for (const Zep::SmartPtr<IActionTarget>& pTarget : m_pMode->getActionTargets()) {
        MachineButton* pButton = dynamic_cast<MachineButton*>(pTarget.get());
        if (pButton && pButton->getType() == nType && bLiquid == (dynamic_cast<LiquidButton*>(pButton) != nullptr))
            return *pButton;
    }
    throw std::runtime_error("no such button");
}

void ActorTest::press(ActionSpot& target) {
    target.onClick(0, 0, 0);
    for (int i = 0; i < 40; ++i) {
        m_pMode->onUpdate(0.05f);
        if (m_pMode->canTakeClick()) return;
    }
}

}  // namespace bartest
