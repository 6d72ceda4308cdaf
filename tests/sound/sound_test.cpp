// Sound effects on the headless platform: the WAVE chunk walk, the twelve built-in effects, the
// start-up and release rules, and the music commands PlayMusic sends.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "player/player.h"
#include "resources/resources.h"
#include "sound/sound.h"
#include "test_support.h"

namespace {

// ---- a small RIFF writer for the chunk-walk cases

void Put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void Chunk(std::vector<uint8_t>& b, const char* id, const std::vector<uint8_t>& body) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(id[i]));
    Put32(b, static_cast<uint32_t>(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() & 1) b.push_back(0xEE);  // pad byte
}

std::vector<uint8_t> Format(uint32_t bytes) {
    std::vector<uint8_t> f = {1, 0, 1, 0, 0x11, 0x2B, 0, 0, 0x11, 0x2B, 0, 0, 1, 0, 8, 0, 0, 0};
    f.resize(bytes, 0);
    return f;
}

// RIFF header over the given chunks; riffSize 0 means the true size.
std::vector<uint8_t> Riff(const std::vector<uint8_t>& chunks, uint32_t riffSize = 0) {
    std::vector<uint8_t> b = {'R', 'I', 'F', 'F'};
    Put32(b, riffSize ? riffSize : static_cast<uint32_t>(4 + chunks.size()));
    for (char c : std::string("WAVE")) b.push_back(static_cast<uint8_t>(c));
    b.insert(b.end(), chunks.begin(), chunks.end());
    return b;
}

struct Found {
    int result;
    const uint8_t* format;
    const uint8_t* data;
    uint32_t size;
};

Found Walk(const std::vector<uint8_t>& block) {
    Found f{};
    f.result = FindWaveChunksInBlock(block.data(), static_cast<uint32_t>(block.size()), &f.format, &f.data, &f.size);
    return f;
}

TEST(WaveChunks, FindsFormatAndDataAfterOtherChunks) {
    std::vector<uint8_t> chunks;
    Chunk(chunks, "fmt ", Format(18));
    Chunk(chunks, "fact", {4, 0, 0, 0});
    Chunk(chunks, "data", {10, 20, 30, 40});
    const std::vector<uint8_t> block = Riff(chunks);
    const Found f = Walk(block);
    ASSERT_EQ(f.result, 1);
    EXPECT_EQ(f.format, block.data() + 20);
    EXPECT_EQ(f.size, 4u);
    EXPECT_EQ(f.data[0], 10);
    EXPECT_EQ(f.data[3], 40);
}

TEST(WaveChunks, FormatShorterThanFourteenBytesFails) {
    std::vector<uint8_t> chunks;
    Chunk(chunks, "fmt ", Format(12));
    Chunk(chunks, "data", {1, 2});
    const Found f = Walk(Riff(chunks));
    EXPECT_EQ(f.result, 0);
    EXPECT_EQ(f.format, nullptr);
    EXPECT_EQ(f.data, nullptr);
    EXPECT_EQ(f.size, 0u);

    // Fourteen bytes is enough.
    std::vector<uint8_t> exact;
    Chunk(exact, "fmt ", Format(14));
    Chunk(exact, "data", {1, 2});
    EXPECT_EQ(Walk(Riff(exact)).result, 1);
}

TEST(WaveChunks, ZeroLengthDataIsPassedOver) {
    std::vector<uint8_t> chunks;
    Chunk(chunks, "data", {});
    Chunk(chunks, "fmt ", Format(16));
    Chunk(chunks, "data", {7, 8, 9});
    const std::vector<uint8_t> block = Riff(chunks);
    const Found f = Walk(block);
    ASSERT_EQ(f.result, 1);
    EXPECT_EQ(f.size, 3u);
    EXPECT_EQ(f.data[0], 7);
    // Only a zero-length "data" and no other: the end of the file comes first.
    std::vector<uint8_t> empty;
    Chunk(empty, "fmt ", Format(18));
    Chunk(empty, "data", {});
    EXPECT_EQ(Walk(Riff(empty)).result, 0);
}

TEST(WaveChunks, OddChunksArePaddedAndLaterDuplicatesIgnored) {
    std::vector<uint8_t> chunks;
    Chunk(chunks, "LIST", {1, 2, 3});  // odd: one pad byte follows
    Chunk(chunks, "data", {5, 6, 7, 8, 9});
    Chunk(chunks, "fmt ", Format(18));
    Chunk(chunks, "fmt ", Format(10));  // never reached: everything is known before it
    const std::vector<uint8_t> block = Riff(chunks);
    const Found f = Walk(block);
    ASSERT_EQ(f.result, 1);
    EXPECT_EQ(f.data, block.data() + 12 + 8 + 4 + 8);
    EXPECT_EQ(f.size, 5u);
    EXPECT_EQ(f.format, block.data() + 12 + 12 + 14 + 8);

    // The first "fmt " counts; a second one, short or not, is ignored.
    std::vector<uint8_t> twice;
    Chunk(twice, "fmt ", Format(18));
    Chunk(twice, "fmt ", Format(4));
    Chunk(twice, "data", {1});
    EXPECT_EQ(Walk(Riff(twice)).result, 1);
}

TEST(WaveChunks, RejectsOtherFilesAndStopsAtTheRiffEnd) {
    std::vector<uint8_t> chunks;
    Chunk(chunks, "fmt ", Format(18));
    Chunk(chunks, "data", {1, 2, 3, 4});
    std::vector<uint8_t> block = Riff(chunks);
    block[0] = 'X';
    EXPECT_EQ(Walk(block).result, 0);
    block = Riff(chunks);
    block[8] = 'A';
    block[9] = 'V';
    EXPECT_EQ(Walk(block).result, 0);
    // A RIFF size that ends before the "data" chunk: the walk ends first.
    EXPECT_EQ(Walk(Riff(chunks, 4 + 26)).result, 0);
    // A RIFF size beyond the block does not let the walk run past it.
    std::vector<uint8_t> noData;
    Chunk(noData, "fmt ", Format(18));
    EXPECT_EQ(Walk(Riff(noData, 100000)).result, 0);
    // A chunk claiming more bytes than the file has.
    std::vector<uint8_t> overrun;
    Chunk(overrun, "fmt ", Format(18));
    overrun.insert(overrun.end(), {'d', 'a', 't', 'a', 0xFF, 0xFF, 0, 0, 1, 2});
    EXPECT_EQ(Walk(Riff(overrun)).result, 0);
    EXPECT_EQ(Walk(Riff(overrun)).format, nullptr);  // the format found before it is not handed out
    const uint8_t *format = block.data(), *data = block.data();
    uint32_t size = 7;
    EXPECT_EQ(FindWaveChunksInBlock(nullptr, 0, &format, &data, &size), 0);
    EXPECT_EQ(format, nullptr);
    EXPECT_EQ(size, 0u);
}

// ---- the built-in effects

uint32_t Read32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

// Each effect: 8-bit mono PCM at 11025 Hz, its "fact" count and its RIFF size agreeing with the
// data the chunk walk finds. How they sound is effects_test's.
TEST(BuiltInEffects, EachIsPcmMono11025EightBitAndItsSizesAgree) {
    for (int i = 0; i < SOUND_EFFECT_COUNT; ++i) {
        const int id = FIRST_SOUND_EFFECT + i;
        SCOPED_TRACE(id);
        const ResourceBlob* blob = FindProgramResource("WAVE", id);
        ASSERT_NE(blob, nullptr);
        const uint8_t *format = nullptr, *data = nullptr;
        uint32_t size = 0;
        ASSERT_EQ(FindWaveChunks(id, &format, &data, &size), 1);
        EXPECT_EQ(std::memcmp(blob->data + 38, "fact", 4), 0);
        EXPECT_EQ(Read32(blob->data + 46), size);
        EXPECT_EQ(Read32(blob->data + 4) + 8, blob->size);
        EXPECT_EQ(blob->size, 58 + size + (size & 1));
        EXPECT_EQ(format[0] | format[1] << 8, 1);    // PCM
        EXPECT_EQ(format[2] | format[3] << 8, 1);    // mono
        EXPECT_EQ(Read32(format + 4), 11025u);       // samples per second
        EXPECT_EQ(format[14] | format[15] << 8, 8);  // bits per sample
    }
    EXPECT_EQ(FindProgramResource("WAVE", 100), nullptr);
    EXPECT_EQ(FindProgramResource("WAVE", 113), nullptr);
}

// ---- start-up, playing and release on the headless platform

class HeadlessSound : public ::testing::Test {
  protected:
    void SetUp() override {
        PlatformOptions options;
        options.backend = PLATFORM_HEADLESS;
        ASSERT_TRUE(PlatformInit(options));
        for (PlayerShip& ship : g_ships) ship = PlayerShip{};
        TakeSounds();
    }
    void TearDown() override {
        ReleaseSound();
        TakeSounds();
    }
};

TEST_F(HeadlessSound, InitLoadsAllTwelveAndReleaseClearsThem) {
    ASSERT_EQ(InitSound(), 1);
    for (int i = 0; i < SOUND_EFFECT_COUNT; ++i) EXPECT_NE(g_soundBuffers[i], 0) << FIRST_SOUND_EFFECT + i;
    PlaySoundEffect(SoundEffect::ShotVolley);
    PlaySoundEffect(SoundEffect::ShotVolley);  // the same effect twice: started twice (the second start cuts the first)
    PlaySoundEffect(SoundEffect::Extend);
    PlaySoundEffect(static_cast<SoundEffect>(100));  // no such effect
    PlaySoundEffect(static_cast<SoundEffect>(113));
    EXPECT_EQ(TakeSounds(), (std::vector<int>{104, 104, 112}));

    EXPECT_EQ(ReleaseSound(), 1);
    for (int i = 0; i < SOUND_EFFECT_COUNT; ++i) EXPECT_EQ(g_soundBuffers[i], 0);
    PlaySoundEffect(SoundEffect::ShotVolley);  // no buffer any more: nothing
    EXPECT_TRUE(TakeSounds().empty());
    EXPECT_EQ(ReleaseSound(), 1);  // a second release is harmless
}

TEST_F(HeadlessSound, EnemyFireSoundsOnlyWhileAShipCanBeHit) {
    ASSERT_EQ(InitSound(), 1);
    TakeSounds();
    PlayEnemyFireSound();  // no ship active
    g_ships[1].active = 1;
    g_ships[1].state = SHIP_STATE_NORMAL + 1;  // down or invulnerable
    PlayEnemyFireSound();
    EXPECT_TRUE(TakeSounds().empty());
    g_ships[1].state = SHIP_STATE_NORMAL;
    PlayEnemyFireSound();
    g_ships[0].active = 1;
    g_ships[0].state = SHIP_STATE_NORMAL;
    PlayEnemyFireSound();  // both ships (never in a real game): once each
    EXPECT_EQ(TakeSounds(), (std::vector<int>{110, 110, 110}));
}

TEST_F(HeadlessSound, PlayMusicStopsClosesOpensAndPlaysInThatOrder) {
    PlayMusic("open bgm04.mid alias BGM wait");
    StopMusic();
    EXPECT_EQ(TakeMusic(), (std::vector<std::string>{"stop BGM wait", "close BGM wait", "open bgm04.mid alias BGM wait",
                                                     "play BGM from 0 notify", "stop BGM wait", "close BGM wait"}));
}

}  // namespace
