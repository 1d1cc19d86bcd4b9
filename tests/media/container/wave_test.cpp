#include "media/container/wave.h"

#include <gtest/gtest.h>

#include "tests/media/container/test_support.h"

namespace travoli {
namespace {

TEST(Wave, PlaysOnlyWithDataAndADevice) {
    struct Case {
        const char* name;
        bool withData;
        bool withOutput;
        bool device;
        bool played;
    };
    const Case cases[] = {
        {"empty wave", false, true, true, false},
        {"no output set", true, false, true, false},
        {"no device", true, true, false, false},
        {"data and device", true, true, true, true},
    };
    for (const Case& c : cases) {
        test::FakeOutput output;
        output.device = c.device;
        TWave wave;
        if (c.withOutput) {
            wave.SetOutput(&output);
        }
        if (c.withData) {
            wave.LoadFromBytes(test::MinimalWave());
        }
        EXPECT_EQ(wave.Play(), c.played) << c.name;
        EXPECT_EQ(output.plays, c.played ? 1 : 0) << c.name;
        if (c.played) {
            EXPECT_EQ(output.lastPlayed, test::MinimalWave()) << c.name;
        }
    }
}

TEST(Wave, RefusalPropagates) {
    test::FakeOutput output;
    output.refuse = true;
    TWave wave(&output);
    wave.LoadFromBytes(test::MinimalWave());
    EXPECT_THROW(wave.Play(), ESoundError);
}

TEST(Wave, ReplacingOrFreeingAHeldBlockStopsFirst) {
    test::FakeOutput output;
    {
        TWave wave(&output);
        wave.LoadFromBytes(test::MinimalWave());
        EXPECT_EQ(output.stops, 0);  // it held nothing before
        wave.LoadFromBytes(test::MinimalWave(20));
        EXPECT_EQ(output.stops, 1);
        EXPECT_EQ(wave.Bytes().size(), test::MinimalWave(20).size());
        wave.Clear();
        EXPECT_EQ(output.stops, 2);
        EXPECT_TRUE(wave.IsEmpty());
        wave.Clear();
        EXPECT_EQ(output.stops, 2);
        wave.LoadFromBytes(test::MinimalWave());
    }
    EXPECT_EQ(output.stops, 3);  // the destructor stops a wave that held data
}

TEST(Wave, StopWithoutOutputDoesNothing) {
    TWave wave;
    wave.LoadFromBytes(test::MinimalWave());
    wave.Stop();
    wave.Clear();
    EXPECT_TRUE(wave.IsEmpty());
}

}  // namespace
}  // namespace travoli
