// Spawning in the actors' test bar (four ordinary seats, VIP seat 4 facing
// right and VIP seat 5 facing left): the seat and the name drawn with a
// seeded rand(), names not seated first, VIP names only on VIP seats, the
// places by class, and leaving.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "actors/customerfixture.h"
#include "level/spawnmanager.h"

namespace {

const char* const kTable =
    "# name kind voice\n"
    "ana     normal 1\n"
    "hombre  normal 2\n"
    "hombra  normal 1\n"
    "vip     vip    2\n"
    "vipb    vip    1\n";
const char* const kNormal[] = {"ana", "hombre", "hombra"};
const char* const kVips[] = {"vip", "vipb"};

class Spawning : public bartest::CustomerTest {
protected:
    void SetUp() override {
        CustomerTest::SetUp();
        m_app.addResourceProvider(testkit::memoryProvider({{"ch_vipb.anim",
                                                              m_app.getResource("ch_vip.anim")->asString().c_str()}}),
                                  false);
        LevelData& data = m_pMode->getLevelData();
        data.m_nCustomerY = 450;
        data.m_nCustomerDepth = 100;
        data.m_nVipY = 560;
        data.m_nVipDepth = 320;
        data.m_lVipDirections = Zep::List<int>{1, -1};
        m_pSpawner = std::make_unique<SpawnManager>(m_pMode, CustomerTable::parse("customers.txt", kTable));
    }
    std::unique_ptr<SpawnManager> m_pSpawner;
};

}  // namespace

TEST_F(Spawning, TheFirstRandDrawsTheSeatAndTheSecondTheName) {
    for (unsigned nSeed : {1u, 2u, 5u, 8u, 13u, 21u, 28u, 45u}) {
        std::srand(nSeed);
        const int nSeat = std::rand() % 6;
        const int nDraw = std::rand();
        const std::string sName = nSeat >= 4 ? kVips[nDraw % 2] : kNormal[nDraw % 3];
        std::srand(nSeed);
        const Zep::SmartPtr<Character> pCustomer = m_pSpawner->spawn();
        EXPECT_EQ(pCustomer->getSpot(), nSeat) << nSeed;
        EXPECT_EQ(pCustomer->getName(), sName) << nSeed;
        EXPECT_EQ(seat(nSeat).getCharacter().get(), pCustomer.get());
        EXPECT_EQ(m_pMode->getCharacters().getLast().get(), pCustomer.get());
        m_pSpawner->releaseCustomer(pCustomer);
        m_pSpawner->removeLeftCustomers();
    }
    EXPECT_EQ(m_pSpawner->getSpawnedCount(), 8);
}

TEST_F(Spawning, EverySeatGetsItsClassPlaceAndDirection) {
    std::srand(4);
    for (int i = 0; i < 6; ++i) m_pSpawner->spawn();
    EXPECT_FALSE(m_pSpawner->hasFreeSeat());
    EXPECT_TRUE(m_pSpawner->spawn().isNULL());
    std::string sSeats;
    for (int i = 0; i < 6; ++i) {
        const Character& c = *seat(i).getCharacter();
        const Sprite& body = *c.getBodySprites().get(0);
        sSeats += std::to_string(c.getSpot()) + " " + std::to_string(body.getX()) + "," + std::to_string(body.getY()) +
                  " " + (c.isVip() ? std::to_string(c.getDirection()) : "") + " " + std::to_string(c.getSeatKind()) +
                  "; ";
        // Ordinary names on ordinary seats, VIP names on VIP seats.
        const std::string sName = c.getName();
        EXPECT_EQ(i >= 4, sName == "vip" || sName == "vipb") << sName;
    }
    EXPECT_EQ(sSeats, "0 200,450  0; 1 240,450  0; 2 280,450  0; 3 320,450  0; 4 360,560 1 1; 5 400,560 -1 2; ");
    EXPECT_NE(std::string(seat(4).getCharacter()->getName()), seat(5).getCharacter()->getName());
}

TEST_F(Spawning, NamesNotSeatedComeFirst) {
    for (unsigned nSeed = 1; nSeed <= 6; ++nSeed) {
        for (const auto& [nSpot, szName] : {std::pair{0, "ana"}, {1, "hombre"}, {3, "ana"}, {5, "vip"}})
            customer(szName, nSpot);
        std::srand(nSeed);
        // Seats 2 and 4 are free: each takes the one name of its class not seated.
        const Zep::SmartPtr<Character> pFirst = m_pSpawner->spawn();
        const Zep::SmartPtr<Character> pSecond = m_pSpawner->spawn();
        EXPECT_EQ(std::string(seat(2).getCharacter()->getName()), "hombra");
        EXPECT_EQ(std::string(seat(4).getCharacter()->getName()), "vipb");
        for (const Zep::SmartPtr<Character>& pCustomer : m_pMode->getCharacters()) {
            m_pSpawner->releaseCustomer(pCustomer);
        }
        m_pSpawner->removeLeftCustomers();
        EXPECT_TRUE(m_pMode->getCharacters().isEmpty());
        EXPECT_TRUE(pFirst->getMode() == nullptr && pSecond->getMode() == nullptr);
    }
}

TEST_F(Spawning, ALeaverFreesItsSeatAtOnceAndLeavesTheListAfterTheLoop) {
    const Zep::SmartPtr<Character> pLeaver(&customer("ana", 2));
    for (int i = 0; i < 5; ++i) m_pSpawner->spawn();
    m_pSpawner->releaseCustomer(pLeaver);
    // The seat is free at once; the customer stays listed until the loop is over.
    EXPECT_TRUE(m_pSpawner->hasFreeSeat());
    EXPECT_TRUE(seat(2).getCharacter().isNULL());
    EXPECT_EQ(m_pMode->getCharacters().getCount(), 6);
    m_pSpawner->removeLeftCustomers();
    EXPECT_EQ(m_pMode->getCharacters().getCount(), 5);
    EXPECT_EQ(m_pMode->getCharacters().indexOf(pLeaver), -1);
    EXPECT_TRUE(pLeaver->getMode() == nullptr);
    // A mug standing at the free seat does not block it: the newcomer gets it.
    const Zep::SmartPtr<Mug> pMug = emptyMug();
    seat(2).putMug(pMug);
    const Zep::SmartPtr<Character> pNext = m_pSpawner->spawn();
    EXPECT_EQ(pNext->getSpot(), 2);
    EXPECT_EQ(pNext->getMug().get(), pMug.get());
}

TEST_F(Spawning, VipSeatsWithoutVipCustomersAreRefused) {
    const char* const kNoVip = "ana normal 1\n";
    try {
        SpawnManager spawner(m_pMode, CustomerTable::parse("customers.txt", kNoVip));
        FAIL() << "no error";
    } catch (const Zep::BadStreamFormatException& e) {
        EXPECT_STREQ(e.getMessage(), "Customer table customers.txt : no \"vip\" customer for the VIP seats");
    }
    // Without VIP seats the table is enough.
    m_pMode->getLevelData().m_nOrdinarySpots = 6;
    SpawnManager spawner(m_pMode, CustomerTable::parse("customers.txt", kNoVip));
    EXPECT_EQ(std::string(spawner.spawn()->getName()), "ana");
    // Seats that became VIP seats later get the same error, and no customer.
    m_pMode->getLevelData().m_nOrdinarySpots = 0;
    EXPECT_THROW(spawner.spawn(), Zep::BadStreamFormatException);
    EXPECT_EQ(m_pMode->getCharacters().getCount(), 1);
}
