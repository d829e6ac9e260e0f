// Customers in the actors' test bar (customerfixture.h).
#include "actors/customerfixture.h"

#include <cstdlib>
#include <string>

#include "records/gamerandom.h"

namespace bartest {

namespace {

const char* const kSuffixes[] = {"entering", "stand", "call", "drink", "drunk", "exiting"};
const int kArmFrames[] = {3, 2, 4, 4, 1, 3};
const char* const kPlain[] = {"body", "arm_right", "arm_left", "head", "eyes", "mouth"};
const char* const kHombre[] = {"body", "arm_right", "necklace", "hair", "arm_left_cloth", "arm_right_cloth",
                               "cloth", "eyes", "arm_left", "head", "mouth"};
const char* const kVip[] = {"arm_left", "leg_left", "thumb", "head", "eyes", "arm_right",
                            "leg_right", "glasses", "hair", "hat", "body", "cloth_upper",
                            "cloth_lower", "necklace", "underwear", "arm_left_cloth", "arm_right_cloth"};
const char* const kIcons[] = {"vaso_1",        "vaso_2",       "vaso_3",      "fruta_straw", "fruta_apple",
                              "fruta_banana",  "fruta_orange", "fruta_grape", "fruta_pear",  "plus"};
const char* const kGlasses[] = {"vaso", "stem_martini", "stem"};

std::string armSequence(const std::string& sName, int nSuffix, bool bVip) {
    const bool bLoop = bVip && nSuffix == 1;
    std::string s = "seq " + sName + (bLoop ? " loop\n" : "\n");
    for (int i = 0; i < kArmFrames[nSuffix]; ++i) {
        s += "add c_arm\nprop mugx 7\nprop mugy 12\n";
        if (nSuffix == 3 && i == 1) s += "prop dodrink true\n";
        if (bVip && !bLoop) s += "prop waitfinish true\n";
    }
    return s;
}

template <size_t N>
std::string customerScript(const char* const (&aParts)[N], bool bVip) {
    std::string s = "fps 10\nprop mugx -12\nprop mugy 30\nload c_part\ninspos 20 80 c_part\n"
                    "load c_arm\ninspos 20 70 c_arm\n";
    for (size_t i = 0; i < N; ++i)
        for (int n = 0; n < 6; ++n) {
            const std::string sName = std::string(aParts[i]) + "_" + kSuffixes[n];
            const bool bArm = bVip ? (i == 0 || i == 5) : i == 1;
            s += bArm ? armSequence(sName, n, bVip) : "seq " + sName + " loop\nadd c_part\n";
        }
    return s + "seq mouth_smile loop\nadd c_part\nseq head_smile loop\nadd c_part\n";
}

std::string meterScript() {
    std::string s;
    for (int i = 0; i <= 8; ++i) s += "load meter_" + std::to_string(i) + "\n";
    for (int i = 0; i <= 8; ++i) s += "seq " + std::to_string(i) + " loop\nadd meter_" + std::to_string(i) + "\n";
    return s;
}

void addPicture(GameApp& app, const std::string& sName, int w, int h,
                const Color& color = Color(90, 60, 30, 255)) {
    app.addImage(sName.c_str(), Zep::SmartPtr<Image>(imagetest::solid(w, h, true, color).get()), false);
}

}  // namespace

std::string plainCustomerScript() { return customerScript(kPlain, false); }

std::string balloonTemplate() {
    return "fps 10\nprop seat (0)\nload balloon_0\nload balloon_1\nload balloon_2\n"
           "seq main\nadd balloon_0\nadd balloon_1\nadd balloon_2\n";
}

void CustomerTest::SetUp() {
    BarTest::SetUp();
    addPicture(m_app, "c_part", 40, 80);
    addPicture(m_app, "c_arm", 40, 80);
    addPicture(m_app, "seat", 40, 40);
    addPicture(m_app, "barman_1", 110, 200);
    for (int i = 0; i < 3; ++i) addPicture(m_app, "balloon_" + std::to_string(i), 110, 70, Color(255, 255, 255, 100));
    for (int i = 0; i <= 8; ++i) addPicture(m_app, "meter_" + std::to_string(i), 62, 12);
    for (const char* szIcon : kIcons)
        addPicture(m_app, std::string("bub_ico_") + szIcon, 24, 24, Color(255, 0, 0, 255));
    const std::string sPlain = plainCustomerScript(), sVip = customerScript(kVip, true);
    m_app.addResourceProvider(
        testkit::memoryProvider({{"ch_ana.anim", sPlain},
                                   {"ch_hombr.anim", sPlain},
                                   {"ch_hombra.anim", sPlain},
                                   {"ch_hombre.anim", customerScript(kHombre, false)},
                                   {"ch_hombrexl.anim", customerScript(kHombre, false)},
                                   {"ch_vip.anim", sVip},
                                   {"balloon.template", balloonTemplate()},
                                   {"medidor.anim", meterScript()},
                                   {"medidor_flat.anim", meterScript()},
                                   {"barman.template", "fps 10\nload barman_1\nseq idle loop\nadd barman_1\n"
                                                       "seq work loop\nadd barman_1\nadd barman_1\n"},
                                   {"tukmsg.txt", "PLY_Bonus +%.0f s\nPLY_Penalty -%.0f s\n"},
                                   {"badmsg.txt", "PLY_Bonus %s more\n"}}),
        false);
    m_app.loadStringTable("tukmsg.txt");
    for (const char* szSound : {"ask", "accept", "mistake"})
        for (int nVoice = 1; nVoice <= 2; ++nVoice)
            m_audio.m_sampleLoader.m_setNames.insert("sfx_game_" + std::string(szSound) + std::to_string(nVoice));
    LevelData& data = m_pMode->getLevelData();
    data.m_lLiquids = Zep::List<int>{0, 1, 2, 3, 4, 5};
    data.m_fBasePatience = 30.0f;
    data.m_fTimeBonus = 10.0f;
    data.m_fTimePenalty = 5.0f;
    data.m_fDayLength = 300.0f;
    data.m_nOrdinarySpots = 4;
    data.m_lSeatKinds = Zep::List<int>{0, 0, 0, 0, 1, 2};
    for (int i = 0; i < 6; ++i) spot("characterspot", 200 + 40 * i, 500, Rect(380, 600, 420, 640), 0, "seat");
    std::srand(11);
    gameRandom().seed(5);
    start(10000);
}

Character& CustomerTest::customer(const char* szName, int nSpot) {
    const bool bVip = nSpot >= 4;
    const int x = bVip ? (nSpot == 4 ? 300 : 500) : 200 + 120 * nSpot, y = bVip ? 380 : 450;
    Zep::SmartPtr<Character> pCustomer =
        new Character(m_pMode, szName, nSpot, x, y, kDepth, bVip, nSpot == 5 ? -1 : 1, 1);
    pCustomer->setSeatKind(m_pMode->getLevelData().m_lSeatKinds.get(nSpot));
    m_pMode->addCharacter(pCustomer);
    seat(nSpot).setCharacter(pCustomer);
    return *pCustomer;
}

Zep::SmartPtr<Mug> CustomerTest::orderedMug(const Character& customer) {
    Zep::SmartPtr<Mug> pMug = Mug::create(m_pMode, kGlasses[customer.getOrderBeverage()]);
    pMug->setLiquids(customer.getOrderLiquids());
    pMug->fill();
    m_pMode->getLevelData().m_lMugs.add(pMug);
    return pMug;
}

bool CustomerTest::until(Character& customer, int nState, float fDelta) {
    for (int i = 0; i < 4000 && customer.getState() != nState; ++i) customer.update(fDelta);
    return customer.getState() == nState;
}

Character& CustomerTest::waiting(const char* szName, int nSpot) {
    Character& c = customer(szName, nSpot);
    until(c, Character::kWaiting);
    return c;
}

}  // namespace bartest
