#include "tests/support/recording_wave_output.h"

#include <gtest/gtest.h>

#include <array>

namespace travoli {
namespace {

using Kind = RecordingWaveOutput::Request::Kind;

TEST(SoundRecording, RecordsWhichImageWasPlayedAndStops) {
    const std::array<std::uint8_t, 4> a{1, 2, 3, 4};
    const std::array<std::uint8_t, 4> b{1, 2, 3, 4};  // same bytes, another block
    RecordingWaveOutput out;
    out.Play(a);
    out.Play(b);
    out.Stop();
    out.Play(std::span(a).first(2));

    ASSERT_EQ(out.Requests().size(), 4u);
    EXPECT_TRUE(out.Requests()[0].Played(a));
    EXPECT_FALSE(out.Requests()[0].Played(b));
    EXPECT_TRUE(out.Requests()[1].Played(b));
    EXPECT_EQ(out.Requests()[2].kind, Kind::Stop);
    EXPECT_FALSE(out.Requests()[3].Played(a)) << "a part of a block is not the block";
    EXPECT_EQ(out.Plays(), 3);
    EXPECT_EQ(out.Stops(), 1);
    ASSERT_TRUE(out.LastPlayed().has_value());
    EXPECT_EQ(out.LastPlayed()->size, 2u);
}

TEST(SoundRecording, WithoutADeviceNothingCountsAsHeard) {
    const std::array<std::uint8_t, 3> a{9, 9, 9};
    RecordingWaveOutput out;
    out.SetHasDevice(false);
    EXPECT_FALSE(out.HasDevice());
    out.Play(a);
    EXPECT_EQ(out.Requests().size(), 1u);
    EXPECT_EQ(out.Plays(), 0);
    EXPECT_FALSE(out.LastPlayed().has_value());
    EXPECT_EQ(out.DeviceQueries(), 1);
}

TEST(SoundRecording, RefusesOnlyTheNextPlay) {
    const std::array<std::uint8_t, 3> a{7, 7, 7};
    RecordingWaveOutput out;
    out.RefuseNextPlay("Couldn't play the sound: busy");
    try {
        out.Play(a);
        FAIL() << "no ESoundError";
    } catch (const ESoundError& e) {
        EXPECT_STREQ(e.what(), "Couldn't play the sound: busy");
    }
    EXPECT_TRUE(out.Requests().back().refused);
    EXPECT_FALSE(out.Requests().back().Played(a));
    EXPECT_EQ(out.Plays(), 0);

    EXPECT_NO_THROW(out.Play(a));
    EXPECT_EQ(out.Plays(), 1);

    out.Forget();
    EXPECT_TRUE(out.Requests().empty());
    EXPECT_EQ(out.Plays(), 0);
    EXPECT_FALSE(out.LastPlayed().has_value());
}

}  // namespace
}  // namespace travoli
