// The actors' test bar (barfixture.h).
#include "actors/barfixture.h"

#include <cstdlib>

namespace bartest {

namespace {

const char* const kLetters[] = {"n", "e", "s", "w"};
const char* const kSides[] = {"left", "right"};

// One sequence of the arm picture, a frame per position.
std::string armSeq(const std::string& sName, std::initializer_list<int> lPositions, int nActionFrame = -1) {
    std::string s = "seq " + sName + "\n";
    int nFrame = 0;
    for (int nPosition : lPositions) {
        s += "add odile_arm\nprop position " + std::to_string(nPosition) + "\n";
        if (nFrame++ == nActionFrame) s += "prop doaction yes\n";
    }
    return s;
}

std::string headingSequences(const std::string& L) {
    std::string s = "seq stand_" + L + "_main\nadd odile_body\n";
    for (const char* szFoot : kSides) s += "seq walk_" + L + "_main_" + szFoot + "\nadd odile_body\nadd odile_body\n";
    for (int i = 0; i < 2; ++i) {
        const std::string side = kSides[i];
        s += armSeq("stand_" + L + "_arm_empty_" + side, {i ? 36 : 30});
        s += armSeq("stand_" + L + "_arm_full_" + side, {i ? 36 : 30});
        s += armSeq("stand_" + L + "_arm_tray_" + side, {i ? 42 : 48});
        s += "seq stand_" + L + "_thumb_full_" + side + "\nadd odile_thumb\n";
        s += armSeq("walk_" + L + "_arm_tray_" + side, {i ? 37 : 31, i ? 38 : 32});
        for (const char* szFill : {"empty", "full"})
            for (const char* szSwing : {"back", "front"}) {
                const std::string sWords = std::string(szFill) + "_" + side + "_" + szSwing;
                s += armSeq("walk_" + L + "_arm_" + sWords, {i ? 37 : 31, i ? 38 : 32});
                s += "seq walk_" + L + "_thumb_" + sWords + "\nadd odile_thumb\nadd odile_thumb\n";
            }
    }
    for (const char* szAction : {"serve", "fill", "take"})
        for (const char* szSide : {"left", "right", "tray"}) {
            const bool bNoPoint = L == "w" && std::string(szAction) == "take";
            s += armSeq(std::string(szAction) + "_" + L + "_" + szSide, {64, 65, 66, 67}, bNoPoint ? -1 : 2);
        }
    return s;
}

// A plain picture that knows its name.
class Picture : public MemImage {
public:
    Picture(const std::string& sName, int w, int h) : MemImage(w, h, true) {
        m_sName = sName.c_str();
        ImageLock lock(*this);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) writePixel(x, y, Color(200, 100, 50, 255));
    }
};

void addPicture(GameApp& app, const std::string& sName, int w, int h) {
    app.addImage(sName.c_str(), new Picture(sName, w, h), false);
}

}  // namespace

std::string waitressTemplate() {
    std::string s =
        "fps 10\nload odile_body\ninspos 60 150 odile_body\nload odile_arm\nload odile_thumb\nprop variant (0)\n"
        "seq thumb_empty\nadd odile_thumb\n";
    for (const char* szLetter : kLetters) s += headingSequences(szLetter);
    return s;
}

std::string glassTemplate() {
    std::string s =
        "fps 10\nload vaso_(0)\ninspos center bottom vaso_(0)\n"
        "seq drink_layer_1\nadd vaso_(0)\nseq drink_layer_3\nadd vaso_(0)\n";
    for (const char* szFill : {"limpio", "vacio", "medio", "lleno"})
        for (const char* szLayer : {"_layer_up_2", "_layer_down_2"})
            s += std::string("seq stand_") + szFill + szLayer + "\nadd vaso_(0)\n";
    return s;
}

std::string shineTemplate() {
    return "fps 10\nload brillo_(0)\ninspos center bottom brillo_(0)\nseq default loop\nadd brillo_(0)\n"
           "add brillo_(0)\n";
}

void addBarContent(GameApp& app) {
    addPicture(app, "odile_body", 120, 160);
    addPicture(app, "odile_arm", 40, 60);
    addPicture(app, "odile_thumb", 10, 10);
    const int aGlass[3][2] = {{20, 30}, {24, 40}, {16, 36}};
    for (int i = 0; i < 3; ++i) {
        const std::string sLetter(1, static_cast<char>('a' + i));
        addPicture(app, "vaso_" + sLetter, aGlass[i][0], aGlass[i][1]);
        addPicture(app, "brillo_" + sLetter, aGlass[i][0], aGlass[i][1] + 4);
    }
    for (const char* szStraw : {"vaso_x_pajita_der", "vaso_x_pajita_izq", "vaso_x_pajitavip"})
        addPicture(app, szStraw, 4, 30);
    for (int i = 0; i < 13; ++i) addPicture(app, "vaso_deco_largo_" + std::to_string(i), 8, 8);
    addPicture(app, "posavaso_1", 30, 40);
    addPicture(app, "sink", 60, 50);
    for (int i = 1; i <= 4; ++i) addPicture(app, "sink_pile_" + std::to_string(i), 60, 20);
    addPicture(app, "props", 40, 40);
    addPicture(app, "walk_marker", 30, 16);
    addPicture(app, "popup_money", 30, 20);
    addPicture(app, "star_1", 20, 20);
    app.addResourceProvider(testkit::memoryProvider({{"char0_odile.template", waitressTemplate()},
                                                       {"m_star.anim", "fps 10\nload star_1\nseq s\nadd star_1\n"},
                                                       {"vaso.template", glassTemplate()},
                                                       {"vaso_brillo.template", shineTemplate()}}),
                            false);
}

void BarTest::SetUp() {
    ModeAppTest::SetUp();
    m_app.useAudioDriver(&m_audio);
    for (const char* szSound : {"sfx_game_cantdo", "sfx_game_number", "sfx_game_star"})
        m_audio.m_sampleLoader.m_setNames.insert(szSound);
    addBarContent(m_app);
    std::srand(7);
    m_pMode = new HandBuiltLevel(nullptr, nullptr, "scene0", 0, 0, 1);
    m_app.pushMode(m_pMode);
    m_pMode->addWalkArea(Rect(200, 400, 600, 660), 300);
    makeWaitress(2);
    start(0);
}

Waitress& BarTest::makeWaitress(int nCapacity) {
    LevelData& data = m_pMode->getLevelData();
    if (data.m_pWaitress.notNULL()) data.m_pWaitress->buildSprites("char0_odile.template", nCapacity);
    else data.m_pWaitress = new Waitress(m_pMode, "char0_odile", 400, 620, nCapacity);
    return waitress();
}

Zep::SmartPtr<Mug> BarTest::fullMug(const char* szGlass, int nLiquid) {
    Zep::SmartPtr<Mug> pMug = Mug::create(m_pMode, szGlass);
    pMug->setLiquids(Zep::List<int>{nLiquid, nLiquid});
    pMug->fill();
    m_pMode->getLevelData().m_lMugs.add(pMug);
    return pMug;
}

Zep::SmartPtr<Mug> BarTest::emptyMug() {
    Zep::SmartPtr<Mug> pMug = fullMug();
    pMug->startDrinking();
    pMug->drink();
    pMug->drink();
    pMug->stopDrinking();
    return pMug;
}

Zep::SmartPtr<ActionSpot> BarTest::spot(const char* szType, int x, int y, const Rect& walkRect, int nHeading,
                                       const char* szImage) {
    return ActionTarget::create(m_pMode, szType, x, y, 60, walkRect, nHeading, szImage);
}

}  // namespace bartest
