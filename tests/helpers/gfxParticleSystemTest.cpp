#include "helpers/gfxParticleSystem.h"
#include "helpers/gfxSprite.h"
#include "tests/support/EngineFixture.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

// Byte offsets of the preset record's fields.
enum PresetOffset : size_t {
    EMISSION = 4,
    LIFETIME = 8,
    LIFEMIN = 12,
    LIFEMAX = 16,
    DIRECTION = 20,
    SPREAD = 24,
    RELATIVE = 28,
    SPEEDMIN = 32,
    SPEEDMAX = 36,
    GRAVITYMIN = 40,
    GRAVITYMAX = 44,
    RADIALMIN = 48,
    RADIALMAX = 52,
    TANGENTIALMIN = 56,
    TANGENTIALMAX = 60,
    SIZESTART = 64,
    SIZEEND = 68,
    SIZEVAR = 72,
    SPINSTART = 76,
    SPINEND = 80,
    SPINVAR = 84,
    COLORSTART = 88,
    COLOREND = 104,
    COLORVAR = 120,
    ALPHAVAR = 124,
};

constexpr float HALFPI = 1.5707964f;

// A preset file written byte by byte, little-endian.
class PresetBytes {
public:
    explicit PresetBytes(size_t size = 128) : bytes(size, '\0') {}
    PresetBytes& U32(size_t off, uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.at(off + i) = static_cast<char>((v >> (8 * i)) & 0xFF);
        return *this;
    }
    PresetBytes& Byte(size_t off, uint8_t v) {
        bytes.at(off) = static_cast<char>(v);
        return *this;
    }
    PresetBytes& Int(size_t off, int32_t v) { return U32(off, static_cast<uint32_t>(v)); }
    PresetBytes& Float(size_t off, float v) {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        return U32(off, u);
    }
    PresetBytes& Range(size_t off, float lo, float hi) { return Float(off, lo).Float(off + 4, hi); }
    PresetBytes& Color(size_t off, float r, float g, float b, float a) {
        return Float(off, r).Float(off + 4, g).Float(off + 8, b).Float(off + 12, a);
    }
    std::string bytes;
};

// Emits without end; particles live 100 s and fly right at speed 0 (the
// engine answers an empty random queue with the lower bound).
PresetBytes Steady(int32_t emission) {
    PresetBytes p;
    p.Int(EMISSION, emission).Float(LIFETIME, -1).Range(LIFEMIN, 100, 100).Float(DIRECTION, HALFPI);
    p.Float(SIZESTART, 1).Float(SIZEEND, 1).Color(COLORSTART, 1, 1, 1, 1).Color(COLOREND, 1, 1, 1, 1);
    return p;
}

struct Birth {
    float life = 100, t = 0, jitterX = 0, jitterY = 0, spread = 0, speed = 0, gravity = 0, radial = 0, tangential = 0,
          size = 1, spin = 0, r = 1, g = 1, b = 1, a = 1;
};

class ParticleTest : public ScreenFixture {
protected:
    void SetUp() override {
        ScreenFixture::SetUp();
        sprite = std::make_unique<gfxSprite>(0, 0.0f, 0.0f, 8.0f, 4.0f);
    }
    void TearDown() override {
        sprite.reset();
        ScreenFixture::TearDown();
    }
    std::unique_ptr<gfxParticleSystem> Load(const PresetBytes& preset) {
        engine->AddFile("fx/spark.psi", preset.bytes);
        return std::make_unique<gfxParticleSystem>("fx/spark.psi", sprite.get());
    }
    // The random values of one new particle, in the order they are drawn.
    void Queue(const Birth& b) {
        for (float v : {b.life, b.t, b.jitterX, b.jitterY, b.spread, b.speed, b.gravity, b.radial, b.tangential, b.size,
                        b.spin, b.r, b.g, b.b, b.a})
            engine->QueueRandom(v);
    }
    // The quads of one Render, in particle order.
    std::vector<gfxQuad> Draw(gfxParticleSystem& ps) {
        engine->ClearLog();
        ps.Render();
        return engine->Quads();
    }
    // Particles emitted by each update of dt.
    std::vector<int> Emitted(gfxParticleSystem& ps, float dt, int updates) {
        std::vector<int> out;
        for (int i = 0; i < updates; ++i) {
            int before = ps.GetParticlesAlive();
            ps.Update(dt);
            out.push_back(ps.GetParticlesAlive() - before);
        }
        return out;
    }

    std::unique_ptr<gfxSprite> sprite;
};

TEST_F(ParticleTest, PresetFieldsAreReadFromTheirOffsets) {
    PresetBytes p(140);
    p.U32(0, 0xDEADBEEF).Int(EMISSION, -70000).Byte(RELATIVE, 2);
    for (size_t off = LIFETIME; off < 128; off += 4)
        if (off != RELATIVE) p.Float(off, static_cast<float>(off) + 0.5f);
    p.bytes[29] = p.bytes[30] = p.bytes[31] = '\x7F';
    p.bytes[135] = '\x55';

    gfxParticleSystemInfo info;
    ASSERT_TRUE(info.Decode(p.bytes.data(), p.bytes.size()));
    EXPECT_EQ(info.nEmission, -70000);
    EXPECT_TRUE(info.bRelative);
    const std::vector<std::pair<size_t, float>> fields = {
        {LIFETIME, info.fLifetime},
        {LIFEMIN, info.fParticleLifeMin},
        {LIFEMAX, info.fParticleLifeMax},
        {DIRECTION, info.fDirection},
        {SPREAD, info.fSpread},
        {SPEEDMIN, info.fSpeedMin},
        {SPEEDMAX, info.fSpeedMax},
        {GRAVITYMIN, info.fGravityMin},
        {GRAVITYMAX, info.fGravityMax},
        {RADIALMIN, info.fRadialAccelMin},
        {RADIALMAX, info.fRadialAccelMax},
        {TANGENTIALMIN, info.fTangentialAccelMin},
        {TANGENTIALMAX, info.fTangentialAccelMax},
        {SIZESTART, info.fSizeStart},
        {SIZEEND, info.fSizeEnd},
        {SIZEVAR, info.fSizeVar},
        {SPINSTART, info.fSpinStart},
        {SPINEND, info.fSpinEnd},
        {SPINVAR, info.fSpinVar},
        {COLORSTART, info.colColorStart.r},
        {COLORSTART + 4, info.colColorStart.g},
        {COLORSTART + 8, info.colColorStart.b},
        {COLORSTART + 12, info.colColorStart.a},
        {COLOREND, info.colColorEnd.r},
        {COLOREND + 4, info.colColorEnd.g},
        {COLOREND + 8, info.colColorEnd.b},
        {COLOREND + 12, info.colColorEnd.a},
        {COLORVAR, info.fColorVar},
        {ALPHAVAR, info.fAlphaVar},
    };
    for (const auto& f : fields) EXPECT_EQ(f.second, static_cast<float>(f.first) + 0.5f) << "offset " << f.first;

    // Only byte 28 is the flag: the padding after it is not.
    PresetBytes flagOff;
    flagOff.bytes[29] = '\x01';
    ASSERT_TRUE(info.Decode(flagOff.bytes.data(), flagOff.bytes.size()));
    EXPECT_FALSE(info.bRelative);
}

TEST_F(ParticleTest, ShortOrMissingPresetGivesTheZeroPresetAndNeverEmits) {
    PresetBytes full = Steady(1000);
    gfxParticleSystemInfo info;
    EXPECT_FALSE(info.Decode(full.bytes.data(), 127));
    EXPECT_FALSE(info.Decode(nullptr, 128));
    EXPECT_EQ(info.nEmission, 0);
    EXPECT_EQ(info.fLifetime, 0.0f);
    EXPECT_EQ(info.colColorStart.r, 0.0f);

    for (size_t size : {size_t(0), size_t(1), size_t(127)}) {
        full.bytes.resize(size);
        auto ps = Load(full);
        EXPECT_EQ(engine->LiveResources(), 0) << "the file buffer is given back";
        EXPECT_EQ(ps->info.nEmission, 0) << size;
        ps->FireAt(10, 10);
        EXPECT_EQ(ps->GetAge(), 0.0f);
        ps->Update(0.5f);
        EXPECT_EQ(ps->GetAge(), -2.0f);
        EXPECT_EQ(ps->GetParticlesAlive(), 0);
    }
    gfxParticleSystem missing("fx/none.psi", sprite.get());
    EXPECT_EQ(missing.info.fParticleLifeMax, 0.0f);
    EXPECT_EQ(missing.GetAge(), -2.0f);
}

TEST_F(ParticleTest, EmissionRoundsHalfToEvenAndCarriesTheResidue) {
    struct Case {
        int32_t emission;
        float dt;
        std::vector<int> counts;
    };
    const Case cases[] = {
        {2, 0.25f, {0, 1, 0, 1}},   // 0.5 -> 0, then 1.0
        {6, 0.25f, {2, 1, 2, 1}},   // 1.5 -> 2 (residue -0.5), then 1.0
        {10, 0.25f, {2, 3, 2, 3}},  // 2.5 -> 2, then 3.0
        {-4, 0.5f, {0, 0}},
    };
    for (const Case& c : cases) {
        auto ps = Load(Steady(c.emission));
        ps->Fire();
        EXPECT_EQ(Emitted(*ps, c.dt, static_cast<int>(c.counts.size())), c.counts) << c.emission;
    }
    EXPECT_EQ(engine->Count("Random_Float"), 15 * (2 + 6 + 10));
}

TEST_F(ParticleTest, OutOfRangeEmissionCountsEmitNothing) {
    auto ps = Load(Steady(2147483647));
    ps->Fire();
    ps->Update(1.0f);  // 2^31 particles: beyond int
    EXPECT_EQ(ps->GetParticlesAlive(), 0);
    ps->Update(std::numeric_limits<float>::infinity());
    ps->Update(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(ps->GetParticlesAlive(), 0);
}

TEST_F(ParticleTest, TheCapLosesParticlesButKeepsTheResidue) {
    auto ps = Load(Steady(1024));
    ps->Fire();
    ps->Update(0.5f);  // 512 wanted
    EXPECT_EQ(ps->GetParticlesAlive(), 500);
    EXPECT_EQ(engine->Count("Random_Float"), 500 * 15);

    engine->ClearLog();
    ps->Update(1.5f / 1024);  // 1.5: two wanted, none room, residue -0.5
    EXPECT_EQ(ps->GetParticlesAlive(), 500);
    EXPECT_EQ(engine->Count("Random_Float"), 0);

    ps->Stop(true);
    ps->Fire();
    EXPECT_EQ(Emitted(*ps, 1.0f / 1024, 2), (std::vector<int>{0, 2}));
}

TEST_F(ParticleTest, EachParticleDrawsFifteenRandomsInOrderAndMovesByThem) {
    PresetBytes p;
    p.Int(EMISSION, 1).Float(LIFETIME, -1).Range(LIFEMIN, 2, 4).Float(DIRECTION, HALFPI);
    p.Range(SPEEDMIN, 3, 5).Range(GRAVITYMIN, 1, 2).Range(RADIALMIN, -1, 1).Range(TANGENTIALMIN, -3, 3);
    p.Float(SIZESTART, 1).Float(SIZEEND, 3).Float(SIZEVAR, 0.5f);
    p.Float(SPINSTART, 0).Float(SPINEND, 4).Float(SPINVAR, 0.25f);
    p.Color(COLORSTART, 0.5f, 0.25f, 0, 1).Color(COLOREND, 1, 0.75f, 0.5f, 0).Float(COLORVAR, 0.5f).Float(ALPHAVAR, 1);
    auto ps = Load(p);
    ps->FireAt(100, 50);

    Birth b;
    b.life = 2, b.t = 0.5f, b.jitterX = 1, b.jitterY = -1.5f, b.speed = 4, b.gravity = 2, b.size = 1.5f;
    b.spin = 0.5f, b.r = 0.5f, b.g = 0.5f, b.b = 0, b.a = 1;
    Queue(b);
    engine->ClearLog();
    ps->Update(1.0f);
    const std::vector<std::string> draws = {
        "Random_Float(2,4)",      "Random_Float(0,1)",    "Random_Float(-2,2)", "Random_Float(-2,2)",
        "Random_Float(0,0)",      "Random_Float(3,5)",    "Random_Float(1,2)",  "Random_Float(-1,1)",
        "Random_Float(-3,3)",     "Random_Float(1,2)",    "Random_Float(0,1)",  "Random_Float(0.5,0.75)",
        "Random_Float(0.25,0.5)", "Random_Float(0,0.25)", "Random_Float(1,0)",
    };
    EXPECT_EQ(engine->Calls("Random_Float"), draws);

    // Born this update: drawn where it was born, unturned, at its birth size.
    std::vector<gfxQuad> q = Draw(*ps);
    ASSERT_EQ(q.size(), 1u);
    EXPECT_EQ(q[0].v[0].x, 101.0f);
    EXPECT_EQ(q[0].v[0].y, 48.5f);
    EXPECT_EQ(q[0].v[2].x, 101.0f + 8 * 1.5f);
    EXPECT_EQ(q[0].v[2].y, 48.5f + 4 * 1.5f);
    EXPECT_EQ(q[0].v[0].col, 0xFF808000u);

    // Half a second on: velocity (4, 0) gains 2 * 0.5 downwards, then moves it;
    // size, spin and colour head for their end values over the 2 s life.
    ps->Update(0.5f);  // 0.5 particle: none
    q = Draw(*ps);
    ASSERT_EQ(q.size(), 1u);
    EXPECT_EQ(q[0].v[0].x, 103.0f);
    EXPECT_EQ(q[0].v[0].y, 49.0f);
    const float rot = 1.375f * 0.5f, size = 1.875f;
    EXPECT_NEAR(q[0].v[1].x, 103.0f + 8 * size * std::cos(rot), 1e-4);
    EXPECT_NEAR(q[0].v[1].y, 49.0f + 8 * size * std::sin(rot), 1e-4);
    EXPECT_EQ(q[0].v[0].col, 0xBF9F8F20u);  // a .75, r .625, g .5625, b .125
}

TEST_F(ParticleTest, RadialAndTangentialAccelerationFollowTheEmitter) {
    auto ps = Load(Steady(3));
    ps->FireAt(10, 10);
    Birth onEmitter, right, below;
    onEmitter.radial = right.radial = below.radial = 8;
    onEmitter.tangential = right.tangential = below.tangential = 4;
    right.jitterX = 2;
    below.jitterY = 2;
    Queue(onEmitter);
    Queue(right);
    Queue(below);
    ps->Update(1.0f);
    ASSERT_EQ(ps->GetParticlesAlive(), 3);

    ps->Update(0.5f);
    std::vector<gfxQuad> q = Draw(*ps);
    ASSERT_GE(q.size(), 3u);
    EXPECT_EQ(q[0].v[0].x, 10.0f);
    EXPECT_EQ(q[0].v[0].y, 10.0f);
    // The unit vector as InvSqrt gives it; the tangential part is it turned
    // by +90 degrees: (1, 0) pushes towards +y, (0, 1) towards -x.
    const float unit = 2.0f * InvSqrt(4.0f);
    EXPECT_EQ(q[1].v[0].x, 12.0f + unit * 8 * 0.5f * 0.5f);
    EXPECT_EQ(q[1].v[0].y, 10.0f + unit * 4 * 0.5f * 0.5f);
    EXPECT_EQ(q[2].v[0].x, 10.0f - unit * 4 * 0.5f * 0.5f);
    EXPECT_EQ(q[2].v[0].y, 12.0f + unit * 8 * 0.5f * 0.5f);
}

TEST_F(ParticleTest, DirectionAbsoluteAndRelative) {
    struct Case {
        bool relative;
        float moveX;  // emitter moved this far right before the update
        float vx, vy;
    };
    const Case cases[] = {
        {false, 0, 0, -1},  // direction 0 is up the screen
        {true, 10, -1, 0},  // against the movement
        {true, 0, 1, 0},    // not moved: to the right
    };
    for (const Case& c : cases) {
        PresetBytes p = Steady(1);
        p.Float(DIRECTION, 0).Byte(RELATIVE, c.relative ? 1 : 0);
        auto ps = Load(p);
        ps->FireAt(100, 100);
        ps->MoveTo(100 + c.moveX, 100, false);
        Birth b;
        b.speed = 10;
        Queue(b);
        ps->Update(1.0f);
        ps->Update(0.5f);  // the next particle is not moved in its birth update
        std::vector<gfxQuad> q = Draw(*ps);
        ASSERT_GE(q.size(), 1u);
        EXPECT_NEAR(q[0].v[0].x, 100 + c.vx * 5, 1e-4) << c.relative << " " << c.moveX;
        EXPECT_NEAR(q[0].v[0].y, 100 + c.vy * 5, 1e-4) << c.relative << " " << c.moveX;
    }
}

TEST_F(ParticleTest, DeadParticleIsReplacedByTheLastWhichMovesOnceThatUpdate) {
    PresetBytes p = Steady(3);
    p.Float(DIRECTION, HALFPI);
    auto ps = Load(p);
    ps->FireAt(0, 0);
    Birth dying, keeps, last;
    dying.life = 0;
    keeps.jitterY = 1, keeps.speed = 2;
    last.jitterY = 2, last.speed = 4;
    Queue(dying);
    Queue(keeps);
    Queue(last);
    ps->Update(1.0f);
    EXPECT_EQ(Draw(*ps).size(), 3u) << "a life of 0 is still drawn once";
    ps->Stop(false);

    ps->Update(0.5f);
    std::vector<gfxQuad> q = Draw(*ps);
    ASSERT_EQ(q.size(), 2u);
    EXPECT_EQ(q[0].v[0].x, 2.0f);  // the last particle, now in slot 0
    EXPECT_EQ(q[0].v[0].y, 2.0f);
    EXPECT_EQ(q[1].v[0].x, 1.0f);
    EXPECT_EQ(q[1].v[0].y, 1.0f);
}

TEST_F(ParticleTest, LifetimeStopsEmissionAndStopKeepsOrKillsParticles) {
    PresetBytes p = Steady(2);
    p.Float(LIFETIME, 2);
    auto ps = Load(p);
    ps->Fire();
    std::vector<float> ages;
    std::vector<int> counts;
    for (int i = 0; i < 4; ++i) {
        int before = ps->GetParticlesAlive();
        ps->Update(0.5f);
        ages.push_back(ps->GetAge());
        counts.push_back(ps->GetParticlesAlive() - before);
    }
    EXPECT_EQ(ages, (std::vector<float>{0.5f, 1.0f, 1.5f, -2.0f}));
    EXPECT_EQ(counts, (std::vector<int>{1, 1, 1, 0}));

    ps->Fire();  // starts the lifetime again
    EXPECT_EQ(ps->GetAge(), 0.0f);

    auto endless = Load(Steady(2));
    endless->Fire();
    EXPECT_EQ(endless->GetAge(), -1.0f);
    EXPECT_EQ(Emitted(*endless, 10.0f, 3), (std::vector<int>{20, 20, 20}));
    EXPECT_EQ(endless->GetAge(), -1.0f);
    endless->Stop(false);
    EXPECT_EQ(Emitted(*endless, 1.0f, 1), (std::vector<int>{0}));
    EXPECT_EQ(endless->GetParticlesAlive(), 60);
    endless->Stop(true);
    EXPECT_EQ(endless->GetParticlesAlive(), 0);
    gfxRect box(1, 1, 2, 2);
    EXPECT_EQ(endless->GetBoundingBox(&box), &box);
    EXPECT_TRUE(box.bClean);
}

TEST_F(ParticleTest, MoveToWithAndWithoutTheParticles) {
    auto ps = Load(Steady(2));
    ps->MoveTo(50, 60, false);  // stopped: jumps, no trail
    ps->Fire();
    Queue(Birth());  // t 0: a stale previous position would show here
    ps->Update(0.5f);
    std::vector<gfxQuad> q = Draw(*ps);
    ASSERT_EQ(q.size(), 1u);
    EXPECT_EQ(q[0].v[0].x, 50.0f);
    EXPECT_EQ(q[0].v[0].y, 60.0f);

    // Emitting: the next particles lie along the way from the old position.
    ps->MoveTo(150, 60, false);
    Birth half;
    half.t = 0.5f;
    Queue(half);
    ps->Update(0.5f);
    q = Draw(*ps);
    ASSERT_EQ(q.size(), 2u);
    EXPECT_EQ(q[1].v[0].x, 100.0f);

    // Carrying the cloud: every particle shifts and no trail follows.
    ps->MoveTo(160, 70, true);
    q = Draw(*ps);
    EXPECT_EQ(q[0].v[0].x, 60.0f);
    EXPECT_EQ(q[0].v[0].y, 70.0f);
    EXPECT_EQ(q[1].v[0].x, 110.0f);
    Birth start;
    start.t = 0;
    Queue(start);
    ps->Update(0.5f);
    q = Draw(*ps);
    ASSERT_EQ(q.size(), 3u);
    EXPECT_EQ(q[2].v[0].x, 160.0f);
    EXPECT_EQ(q[2].v[0].y, 70.0f);
}

TEST_F(ParticleTest, FireAtRestartsAndJumpsLeavingLiveParticles) {
    PresetBytes p = Steady(2);
    p.Float(LIFETIME, 5);
    auto ps = Load(p);
    ps->FireAt(10, 10);
    Queue(Birth());
    Queue(Birth());
    ps->Update(0.5f);
    ps->Update(0.5f);
    EXPECT_EQ(ps->GetAge(), 1.0f);

    ps->FireAt(90, 10);
    EXPECT_EQ(ps->GetAge(), 0.0f);
    Birth b;
    b.t = 0;
    Queue(b);
    ps->Update(0.5f);
    std::vector<gfxQuad> q = Draw(*ps);
    ASSERT_EQ(q.size(), 3u);
    EXPECT_EQ(q[0].v[0].x, 10.0f);
    EXPECT_EQ(q[2].v[0].x, 90.0f);
}

TEST_F(ParticleTest, ColourPackingWrapsAndKeepSpriteColourMode) {
    struct Case {
        float r, g, b, a;
        uint32_t col;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const float downToEven = 126.5f / 255.0f;
    ASSERT_EQ(downToEven * 255.0f, 126.5f);
    const Case cases[] = {
        {1, 0.5f, 0.25f, 1, 0xFFFF8040u},    // 127.5 -> 128, 63.75 -> 64
        {downToEven, 0, 0, 0, 0x007E0000u},  // 126.5 -> 126
        {1.2f, 0, 0, 1, 0x00320000u},        // red 306 carries into alpha
        {0, 0, -1, 1, 0xFEFFFF01u},          // blue -255 borrows from all
        {nan, inf, 1e10f, 1, 0xFF000000u},   // no number: 0
    };
    for (const Case& c : cases) {
        auto ps = Load(Steady(1));
        ps->Fire();
        Birth b;
        b.r = c.r, b.g = c.g, b.b = c.b, b.a = c.a;
        Queue(b);
        ps->Update(1.0f);
        std::vector<gfxQuad> q = Draw(*ps);
        ASSERT_EQ(q.size(), 1u);
        EXPECT_EQ(q[0].v[0].col, c.col) << std::hex << c.col;
    }

    // Red below 0 at birth: the sprite's own colour, alpha from the particle.
    sprite->SetColor(0xFF336699u, -1);
    PresetBytes keep = Steady(2);
    keep.Color(COLORSTART, -1, 0, 0, 1);
    auto ps = Load(keep);
    ps->Fire();
    Birth half, wraps;
    half.a = 0.5f;
    wraps.a = 2;
    Queue(half);
    Queue(wraps);
    ps->Update(1.0f);
    std::vector<gfxQuad> q = Draw(*ps);
    ASSERT_EQ(q.size(), 2u);
    EXPECT_EQ(q[0].v[0].col, 0x80336699u);
    EXPECT_EQ(q[1].v[0].col, 0xFE336699u);  // 510 modulo 256
    for (int i = 0; i < 4; ++i) EXPECT_EQ(q[1].v[i].col, 0xFE336699u);
    ps->Render();
    EXPECT_EQ(engine->Quads().size(), 4u);
    sprite->Render(0, 0);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(engine->Quads().back().v[i].col, 0xFF336699u);
}

TEST_F(ParticleTest, EveryConstructorHoldsOneEngineReference) {
    const int base = engine->RefCount();
    {
        auto ps = Load(Steady(4));
        ps->Fire();
        ps->Update(0.5f);
        gfxParticleSystem copy(*ps);
        EXPECT_EQ(engine->RefCount(), base + 2);
        EXPECT_EQ(copy.GetParticlesAlive(), 2);
        EXPECT_EQ(copy.GetAge(), -1.0f);
        EXPECT_EQ(Draw(copy).size(), 2u);

        gfxParticleSystem fromInfo(&ps->info, sprite.get());
        EXPECT_EQ(engine->RefCount(), base + 3);
        EXPECT_EQ(fromInfo.info.nEmission, 4);
        EXPECT_EQ(fromInfo.GetAge(), -2.0f);
        EXPECT_EQ(fromInfo.GetParticlesAlive(), 0);
    }
    EXPECT_EQ(engine->RefCount(), base);
}

}  // namespace
