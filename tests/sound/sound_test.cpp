// Sound effects on the headless platform: the WAVE chunk walk, the twelve built-in effects, and
// the start-up and release rules. Which effect sounds on which tick is the golden traces'.
#include <gtest/gtest.h>

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

struct Chunk {
    const char* id;
    std::vector<uint8_t> body;
};

// A format chunk's body of the given size (PCM, mono, 11025 Hz, 8 bits).
std::vector<uint8_t> Format(uint32_t bytes) {
    std::vector<uint8_t> f = {1, 0, 1, 0, 0x11, 0x2B, 0, 0, 0x11, 0x2B, 0, 0, 1, 0, 8, 0, 0, 0};
    f.resize(bytes, 0);
    return f;
}

// A RIFF WAVE file of the chunks (odd ones padded); riffSize 0 means the true size.
std::vector<uint8_t> Riff(const std::vector<Chunk>& chunks, uint32_t riffSize = 0) {
    std::vector<uint8_t> body;
    for (const Chunk& c : chunks) {
        body.insert(body.end(), c.id, c.id + 4);
        Put32(body, static_cast<uint32_t>(c.body.size()));
        body.insert(body.end(), c.body.begin(), c.body.end());
        if (c.body.size() & 1) body.push_back(0xEE);
    }
    std::vector<uint8_t> b = {'R', 'I', 'F', 'F'};
    Put32(b, riffSize ? riffSize : static_cast<uint32_t>(4 + body.size()));
    b.insert(b.end(), {'W', 'A', 'V', 'E'});
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

// Each file, and where the walk must find the format and the data (byte offsets, -1: refused).
TEST(WaveChunks, FindsFormatAndDataWhereverTheyAreAndRefusesBrokenFiles) {
    std::vector<uint8_t> wrongId = Riff({{"fmt ", Format(18)}, {"data", {1}}});
    wrongId[0] = 'X';
    std::vector<uint8_t> wrongKind = Riff({{"fmt ", Format(18)}, {"data", {1}}});
    wrongKind[9] = 'V';
    std::vector<uint8_t> overrun = Riff({{"fmt ", Format(18)}});
    overrun.insert(overrun.end(), {'d', 'a', 't', 'a', 0xFF, 0xFF, 0, 0, 1, 2});
    const struct {
        const char* what;
        std::vector<uint8_t> file;
        long format, data;
        uint32_t size;
    } cases[] = {
        {"other chunks first", Riff({{"fmt ", Format(18)}, {"fact", {4, 0, 0, 0}}, {"data", {10, 20, 30, 40}}}), 20, 58, 4},
        {"fourteen-byte format", Riff({{"fmt ", Format(14)}, {"data", {1, 2}}}), 20, 42, 2},
        {"odd chunk padded, later format ignored",
         Riff({{"LIST", {1, 2, 3}}, {"data", {5, 6, 7, 8, 9}}, {"fmt ", Format(18)}, {"fmt ", Format(10)}}), 46, 32, 5},
        {"second format ignored", Riff({{"fmt ", Format(18)}, {"fmt ", Format(4)}, {"data", {1}}}), 20, 58, 1},
        {"empty data passed over", Riff({{"data", {}}, {"fmt ", Format(16)}, {"data", {7, 8, 9}}}), 28, 52, 3},
        {"short format", Riff({{"fmt ", Format(12)}, {"data", {1, 2}}}), -1, -1, 0},
        {"only empty data", Riff({{"fmt ", Format(18)}, {"data", {}}}), -1, -1, 0},
        {"not RIFF", wrongId, -1, -1, 0},
        {"not WAVE", wrongKind, -1, -1, 0},
        {"RIFF ends before data", Riff({{"fmt ", Format(18)}, {"data", {1, 2, 3, 4}}}, 4 + 26), -1, -1, 0},
        {"RIFF size past the block", Riff({{"fmt ", Format(18)}}, 100000), -1, -1, 0},
        {"data past the block", overrun, -1, -1, 0},
        {"nothing", {}, -1, -1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const uint8_t *format = c.file.data(), *data = c.file.data();
        uint32_t size = 7;
        const int found = FindWaveChunksInBlock(c.file.empty() ? nullptr : c.file.data(), static_cast<uint32_t>(c.file.size()),
                                                &format, &data, &size);
        ASSERT_EQ(found, c.format >= 0 ? 1 : 0);
        EXPECT_EQ(size, c.size);
        EXPECT_EQ(format, c.format < 0 ? nullptr : c.file.data() + c.format);  // nothing half found is handed out
        EXPECT_EQ(data, c.data < 0 ? nullptr : c.file.data() + c.data);
    }
}

// Each built-in effect: 8-bit mono PCM at 11025 Hz, its "fact" count and RIFF size agreeing with
// the data the chunk walk finds. How they sound is effects_test's.
TEST(BuiltInEffects, EachIsPcmMono11025EightBitAndItsSizesAgree) {
    const auto read32 = [](const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; };
    for (int id = FIRST_SOUND_EFFECT; id < FIRST_SOUND_EFFECT + SOUND_EFFECT_COUNT; ++id) {
        SCOPED_TRACE(id);
        const ResourceBlob* blob = FindProgramResource("WAVE", id);
        ASSERT_NE(blob, nullptr);
        const uint8_t *format = nullptr, *data = nullptr;
        uint32_t size = 0;
        ASSERT_EQ(FindWaveChunks(id, &format, &data, &size), 1);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(blob->data) + 38, 4), "fact");
        EXPECT_EQ(read32(blob->data + 46), size);
        EXPECT_EQ(read32(blob->data + 4) + 8, blob->size);
        EXPECT_EQ(blob->size, 58 + size + (size & 1));
        EXPECT_EQ(read32(format), 0x10001u);         // PCM, mono
        EXPECT_EQ(read32(format + 4), 11025u);       // samples per second
        EXPECT_EQ(format[14] | format[15] << 8, 8);  // bits per sample
    }
    EXPECT_EQ(FindProgramResource("WAVE", FIRST_SOUND_EFFECT - 1), nullptr);
    EXPECT_EQ(FindProgramResource("WAVE", FIRST_SOUND_EFFECT + SOUND_EFFECT_COUNT), nullptr);
}

TEST(HeadlessSound, InitLoadsAllTwelveAndReleaseClearsThem) {
    PlatformOptions options;
    options.backend = PLATFORM_HEADLESS;
    ASSERT_TRUE(PlatformInit(options));
    TakeSounds();
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

}  // namespace
