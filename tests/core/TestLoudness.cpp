// How loud an alarm plays and when the sound output is warned of, raised and put back.
#include "CoreTest.h"
#include "storage/Loudness.h"

#include <cmath>

using namespace chimewell;

TEST_CASE("valuesOfTheFiles")
{
    const std::vector<std::pair<std::string, int>> volumes = {
        {"50", 50},   {"1", 1},    {"100", 100}, {" 30 ", 30}, {"0", 100},   {"101", 100},
        {"150", 100}, {"-5", 100}, {"", 100},    {"5%", 100},  {"4.5", 100}, {"x", 100}};
    for (const auto& [text, percent] : volumes) {
        CAPTURE(text);
        CHECK_EQ(alarmVolume(text), percent);
    }
    const std::vector<std::pair<std::string, std::optional<int>>> fades = {
        {"0", 0},       {"20", 20}, {"300", 300}, {"301", {}},        {"-1", {}},
        {"100000", {}}, {"", {}},   {"10s", {}},  {"99999999999", {}}};
    for (const auto& [text, seconds] : fades) {
        CAPTURE(text);
        CHECK_EQ(alarmFadeSeconds(text), seconds);
    }
    const std::vector<std::pair<std::string, int>> settings = {
        {"10", 10}, {"30", 30}, {"60", 60}, {"0", 0}, {"20", 0}, {"", 0}, {"x", 0}};
    for (const auto& [text, seconds] : settings) {
        CAPTURE(text);
        CHECK_EQ(fadeSecondsSetting(text), seconds);
    }
    CHECK(whenMutedSetting("unmute") == WhenMuted::Unmute);
    for (const char* other : {"warn", "", "Unmute ", "1"})
        CHECK(whenMutedSetting(other) == WhenMuted::Warn);
    CHECK((pauseMusicSetting("") && pauseMusicSetting("1") && !pauseMusicSetting("0")));
}

TEST_CASE("theFadeInRisesFromATenthToTheVolume")
{
    const auto near = [](double a, double b) { return std::abs(a - b) < 1e-9; };
    CHECK(near(fadeLevel(100, 20, 0), 0.1));
    CHECK(near(fadeLevel(100, 20, 10'000), std::sqrt(0.1))); // halfway in loudness
    CHECK(near(fadeLevel(100, 20, 20'000), 1.0));
    CHECK(near(fadeLevel(100, 20, 60'000), 1.0));
    CHECK(near(fadeLevel(50, 20, 0), 0.05));
    CHECK(near(fadeLevel(50, 20, 19'999), 0.5 * std::pow(10.0, 19'999 / 20'000.0 - 1)));
    CHECK(near(fadeLevel(50, 0, 0), 0.5));
    CHECK(near(fadeLevel(100, 20, -500), 0.1));
    CHECK(near(fadeLevel(0, 0, 0), 0.01)); // never silent
    // Rising all the way: every step up, none down.
    double before = 0;
    for (int ms = 0; ms <= 30'000; ms += 100) {
        const double level = fadeLevel(80, 30, ms);
        CHECK(level >= before);
        before = level;
    }
}

TEST_CASE("whenTheOutputIsWarnedOf")
{
    const OutputState muted{true, true, 80}, quiet{true, false, 9}, low{true, false, 10};
    CHECK(hearing(muted) == Hearing::Muted);
    CHECK(hearing(quiet) == Hearing::Quiet);
    CHECK(hearing(low) == Hearing::Fine);
    CHECK(hearing(OutputState{false, true, 0}) == Hearing::Fine); // not known: nothing said
    CHECK(warnOf(muted, 12 * 3600));
    CHECK(warnOf(quiet, 0));
    CHECK(!warnOf(muted, 12 * 3600 + 1));
    CHECK(!warnOf(muted, -1));
    CHECK(!warnOf(muted, std::nullopt));

    WarningOnce once;
    CHECK(!once.update(false, muted));
    CHECK(once.update(true, muted));
    CHECK(!once.update(true, muted));
    CHECK(!once.update(false, OutputState{})); // its server restarts: not told again
    CHECK(!once.update(true, muted));
    CHECK(!once.update(false, low)); // heard again
    CHECK(once.update(true, quiet));
}

TEST_CASE("theOutputRaisedForARingAndPutBack")
{
    const OutputState mutedLow{true, true, 30}, raised{true, false, 50};
    SUBCASE("muted and low: unmuted at half, then put back")
    {
        RingUnmute ring;
        CHECK_EQ(ring.during(mutedLow, WhenMuted::Unmute), std::optional(raised));
        CHECK_EQ(ring.during(raised, WhenMuted::Unmute), std::nullopt);
        CHECK_EQ(ring.during(OutputState{true, false, 49}, WhenMuted::Unmute), std::nullopt);
        CHECK_EQ(ring.after(OutputState{true, false, 51}), std::optional(mutedLow)); // rounding
    }
    SUBCASE("muted and loud: unmuted as loud; turned down: raised to half")
    {
        RingUnmute ring;
        CHECK_EQ(ring.during(OutputState{true, true, 80}, WhenMuted::Unmute),
                 std::optional(OutputState{true, false, 80}));
        CHECK_EQ(ring.after(OutputState{true, false, 80}),
                 std::optional(OutputState{true, true, 80}));
        CHECK_EQ(ring.during(OutputState{true, false, 5}, WhenMuted::Unmute),
                 std::optional(raised));
    }
    SUBCASE("nothing to do, or not asked to")
    {
        RingUnmute ring;
        CHECK_EQ(ring.during(OutputState{true, false, 50}, WhenMuted::Unmute), std::nullopt);
        CHECK_EQ(ring.during(mutedLow, WhenMuted::Unmute), std::nullopt); // muted by the user
        CHECK_EQ(ring.after(mutedLow), std::nullopt);
        CHECK_EQ(ring.during(mutedLow, WhenMuted::Warn), std::nullopt);
    }
    SUBCASE("not known at the start: raised once it is")
    {
        RingUnmute ring;
        CHECK_EQ(ring.during(OutputState{}, WhenMuted::Unmute), std::nullopt);
        CHECK_EQ(ring.during(mutedLow, WhenMuted::Unmute), std::optional(raised));
        // its server restarts meanwhile: what it comes back as is not the program's to undo
        CHECK_EQ(ring.during(OutputState{}, WhenMuted::Unmute), std::nullopt);
        CHECK_EQ(ring.after(OutputState{true, false, 100}), std::nullopt);
    }
    SUBCASE("changed by the user meanwhile: left as the user left it")
    {
        RingUnmute ring;
        CHECK_EQ(ring.during(mutedLow, WhenMuted::Unmute), std::optional(raised));
        for (int look = 0; look < 2; ++look) // muted by the user, and looked at again
            CHECK_EQ(ring.during(OutputState{true, true, 50}, WhenMuted::Unmute), std::nullopt);
        CHECK_EQ(ring.during(raised, WhenMuted::Unmute), std::nullopt); // and set back by hand
        CHECK_EQ(ring.after(raised), std::nullopt);
        // the next ring is a ring of its own
        CHECK_EQ(ring.during(mutedLow, WhenMuted::Unmute), std::optional(raised));
    }
}
