#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "effect_settings.h"
#include "reference_delay.h"
#include "scripted_host.h"
#include "settings_handle.h"
#include "stream_processor.h"

namespace {

// A block with its stream open and the scripted host registered as its callback.
struct OpenStreamFixture {
  SettingsHandle block = NewDefaultBlock();
  ScriptedHost host;

  void Open(uint16_t channels, uint32_t rate) {
    SetStreamCallBack(&ScriptedHost::Callback, host.UserData(), block.get());
    StreamFormat format{1, channels, rate};
    ASSERT_EQ(OpenStream(block.get(), &format), 1);
  }
  ~OpenStreamFixture() {
    if (block) {
      CloseStream(block.get());
    }
  }
};

std::vector<double> Impulse(size_t frames) {
  std::vector<double> x(frames, 0.0);
  x[0] = 1.0;
  return x;
}

}  // namespace

TEST(DelayLineLength, FollowsDelayTimesAndSampleRates) {
  struct Case {
    uint32_t ms, rate, length;
  } cases[] = {
      {18, 44100, 793},  // 793.8 truncated
      {50, 44100, 2205},
      {18, 48000, 864},
      {0, 44100, 1},  // no bypass: one sample
      {1, 999, 0},    // 0.999 truncates to 0; the line then holds one sample
      {4294967295u, 4294967295u, static_cast<uint32_t>(4294967295ull * 4294967295ull / 1000)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.ms << " ms at " << c.rate);
    EXPECT_EQ(DelayLineLength(c.ms, c.rate), c.length);
  }
}

TEST(StreamOpening, SizesTheLinesForTheChannelCount) {
  struct Case {
    uint16_t channels;
    uint32_t rate, delL, delR, lengthL, lengthR;
    bool rightArray;
  } cases[] = {
      {2, 44100, 18, 50, 793, 2205, true},
      {2, 48000, 18, 0, 864, 1, true},
      {1, 44100, 18, 18, 793, 0, false},
      {3, 44100, 18, 18, 793, 0, false},  // only 2 makes a two-channel stream
      {2, 999, 1, 1, 1, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.channels << " channels at " << c.rate);
    SettingsHandle block = NewDefaultBlock();
    block->DelL = c.delL;
    block->DelR = c.delR;
    StreamFormat format{0, c.channels, c.rate};
    ASSERT_EQ(OpenStream(block.get(), &format), 1);
    EXPECT_EQ(block->lineL.length(), c.lengthL);
    EXPECT_EQ(block->lineR.length(), c.lengthR);
    ASSERT_NE(block->scratch, nullptr);
    EXPECT_EQ(block->scratch->record.frames, kMaxRequestFrames);
    EXPECT_NE(block->scratch->record.left, nullptr);
    EXPECT_EQ(block->scratch->record.right != nullptr, c.rightArray);
    EXPECT_EQ(CloseStream(block.get()), 1);
    EXPECT_EQ(block->lineL.length(), 0u);
    EXPECT_EQ(block->lineR.length(), 0u);
    EXPECT_EQ(block->scratch, nullptr);
  }
}

TEST(StreamOpening, ReopeningDiscardsDelayedAudio) {
  OpenStreamFixture f;
  f.block->DelL = 1;
  f.Open(1, 1000);  // one-sample line
  std::vector<double> left = {1.0};
  f.host.inputLeft = {1.0, 0.0};
  StreamBuffer buffer{1, left.data(), nullptr};
  ASSERT_EQ(ProcessStream(&buffer, f.block.get()), 1u);
  f.Open(1, 1000);
  buffer.left[0] = 0.0;
  ASSERT_EQ(ProcessStream(&buffer, f.block.get()), 1u);
  EXPECT_EQ(left[0], 0.0);  // the impulse pushed before reopening is gone
}

TEST(StreamClosing, IsHarmlessTwiceOrWithoutAStream) {
  SettingsHandle block = NewDefaultBlock();
  EXPECT_EQ(CloseStream(block.get()), 1);
  EXPECT_EQ(CloseStream(block.get()), 1);
  EXPECT_EQ(CloseStream(nullptr), 1);
}

TEST(StreamProcessing, ImpulseComesBackAfterEachLineLength) {
  struct Case {
    uint32_t ms, rate, length;
  } cases[] = {{18, 44100, 793}, {50, 44100, 2205}, {18, 48000, 864}, {0, 44100, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    OpenStreamFixture f;
    f.block->DelL = c.ms;
    f.block->DelR = c.ms;
    f.block->VolL = 1.0;
    f.block->VolR = 1.0;
    f.block->DisMain = 1;
    f.Open(2, c.rate);
    const size_t frames = 3 * c.length + 5;
    f.host.inputLeft = Impulse(frames);
    f.host.inputRight = Impulse(frames);
    std::vector<double> left(frames, 9.0), right(frames, 9.0);
    StreamBuffer buffer{static_cast<uint32_t>(frames), left.data(), right.data()};
    ASSERT_EQ(ProcessStream(&buffer, f.block.get()), frames);
    // Each echo is one hundredth of the one before: 1.0, 0.01, 0.0001, ...
    double echo = 1.0;
    for (size_t t = 0; t < frames; ++t) {
      double expected = 0.0;
      if (t > 0 && t % c.length == 0) {
        expected = echo;
        echo = echo * 0.01;
      }
      ASSERT_EQ(left[t], expected) << "left frame " << t;
      ASSERT_EQ(right[t], expected) << "right frame " << t;
    }
    EXPECT_EQ(left[c.length], 1.0);
    EXPECT_EQ(left[2 * c.length], 0.01);
    EXPECT_EQ(left[3 * c.length], 0.0001);
  }
}

TEST(StreamProcessing, WetPartIsSilentForTheFirstLineLength) {
  OpenStreamFixture f;  // creation defaults: DryOut 0.75, 18 ms
  f.Open(2, 44100);
  f.host.inputLeft.assign(793, 1.0);
  f.host.inputRight.assign(793, 1.0);
  std::vector<double> left(793), right(793);
  StreamBuffer buffer{793, left.data(), right.data()};
  ASSERT_EQ(ProcessStream(&buffer, f.block.get()), 793u);
  for (size_t t = 0; t < 793; ++t) {
    ASSERT_EQ(left[t], 0.75) << t;
    ASSERT_EQ(right[t], 0.75) << t;
  }
}

TEST(StreamProcessing, InversionNegatesTheWholeOutputOfItsChannel) {
  OpenStreamFixture f;
  f.block->InvertL = 1;
  f.Open(2, 44100);
  f.host.inputLeft = {1.0, 0.5};
  f.host.inputRight = {1.0, 0.5};
  std::vector<double> left(2), right(2);
  StreamBuffer buffer{2, left.data(), right.data()};
  ASSERT_EQ(ProcessStream(&buffer, f.block.get()), 2u);
  EXPECT_EQ(left[0], -0.75);
  EXPECT_EQ(left[1], -0.375);
  EXPECT_EQ(right[0], 0.75);
  EXPECT_EQ(right[1], 0.375);
}

TEST(StreamProcessing, MonoStreamLeavesTheRightLineEmpty) {
  OpenStreamFixture f;
  f.block->DelL = 0;
  f.block->VolL = 1.0;
  f.Open(1, 44100);
  f.host.inputLeft = {1.0, 0.0};
  std::vector<double> left(2);
  StreamBuffer buffer{2, left.data(), nullptr};
  ASSERT_EQ(ProcessStream(&buffer, f.block.get()), 2u);
  EXPECT_EQ(left[0], 0.75);
  EXPECT_EQ(left[1], 1.0);
  EXPECT_EQ(f.block->lineR.length(), 0u);
}

TEST(StreamProcessing, MonoStreamWithARightArrayGivesOnlyTheDryRightSignal) {
  struct Case {
    uint32_t disMain, invertR;
    double expected;
  } cases[] = {{0, 0, 0.75 * 0.5}, {0, 1, -(0.75 * 0.5)}, {1, 0, 0.0}, {1, 1, -0.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "DisMain " << c.disMain << " InvertR " << c.invertR);
    OpenStreamFixture f;
    f.block->DelR = 0;
    f.block->DisMain = c.disMain;
    f.block->InvertR = c.invertR;
    f.Open(1, 44100);
    f.host.inputLeft.assign(3, 0.0);
    f.host.inputRight.assign(3, 0.5);
    std::vector<double> left(3), right(3);
    StreamBuffer buffer{3, left.data(), right.data()};
    ASSERT_EQ(ProcessStream(&buffer, f.block.get()), 3u);
    for (double r : right) {
      EXPECT_EQ(r, c.expected);
      EXPECT_EQ(std::signbit(r), std::signbit(c.expected));
    }
  }
}

TEST(StreamProcessing, StereoStreamWithoutARightArrayKeepsTheRightLine) {
  OpenStreamFixture f;
  f.block->DelL = 0;
  f.block->DelR = 0;
  f.block->DisMain = 1;
  f.block->VolR = 1.0;
  f.Open(2, 1000);
  f.host.inputLeft = {0.0, 0.0, 0.0};
  f.host.inputRight = {0.25, 0.0, 0.0};
  std::vector<double> left(3), right(3);
  StreamBuffer stereo{1, left.data(), right.data()};
  ASSERT_EQ(ProcessStream(&stereo, f.block.get()), 1u);  // pushes 0.25 into the right line
  StreamBuffer mono{1, left.data() + 1, nullptr};
  ASSERT_EQ(ProcessStream(&mono, f.block.get()), 1u);  // neither reads nor pushes the right line
  StreamBuffer stereoAgain{1, left.data() + 2, right.data() + 2};
  ASSERT_EQ(ProcessStream(&stereoAgain, f.block.get()), 1u);
  EXPECT_EQ(right[2], 0.25);
}

TEST(StreamProcessing, LongRequestsAreSplitIntoChunksOf4096) {
  struct Case {
    uint32_t frames;
    std::vector<uint32_t> limits;
    std::vector<uint32_t> requests;
    uint32_t produced;
  } cases[] = {
      {2 * 4096 + 808, {}, {4096, 4096, 808}, 2 * 4096 + 808},
      {2 * 4096 + 808, {4096, 100}, {4096, 4096}, 4096 + 100},  // early stop: no third call
      {2 * 4096 + 808, {0}, {4096}, 0},
      {4096, {}, {4096}, 4096},
      {8192, {}, {4096, 4096}, 8192},
      {1, {}, {1}, 1},
      {0, {}, {0}, 0},  // still asks once
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frames);
    OpenStreamFixture f;
    f.block->DelL = 10000;  // lines longer than any request: the output is the dry mix only
    f.block->DelR = 10000;
    f.Open(2, 44100);
    f.host.inputLeft.assign(c.frames, 0.5);
    f.host.inputRight.assign(c.frames, 0.5);
    f.host.deliveryLimits = c.limits;
    std::vector<double> left(c.frames + 1, 7.0), right(c.frames + 1, 7.0);
    StreamBuffer buffer{c.frames, left.data(), right.data()};
    EXPECT_EQ(ProcessStream(&buffer, f.block.get()), c.produced);
    EXPECT_EQ(f.host.requests, c.requests);
    for (uint32_t t = 0; t <= c.frames; ++t) {
      // Produced frames carry the dry mix; the rest is left as it was.
      const double expected = t < c.produced ? 0.375 : 7.0;
      ASSERT_EQ(left[t], expected) << "frame " << t;
      ASSERT_EQ(right[t], expected) << "frame " << t;
    }
  }
}

TEST(StreamProcessing, ShortRequestsHandTheHostItsOwnRecord) {
  OpenStreamFixture f;
  f.Open(2, 44100);
  static StreamBuffer* seen = nullptr;
  SetStreamCallBack(
      [](EffectUserData, StreamBuffer* b) -> uint32_t {
        seen = b;
        return 0;
      },
      0, f.block.get());
  std::vector<double> left(10), right(10);
  StreamBuffer buffer{10, left.data(), right.data()};
  EXPECT_EQ(ProcessStream(&buffer, f.block.get()), 0u);
  EXPECT_EQ(seen, &buffer);
  EXPECT_EQ(f.block->scratch->record.frames, 10u);
}

TEST(StreamProcessing, AnswerLargerThanTheRequestIsNeverMixedPastIt) {
  OpenStreamFixture f;
  f.Open(2, 44100);
  f.host.inputLeft.assign(4, 1.0);
  f.host.inputRight.assign(4, 1.0);
  f.host.overstate = 1000;
  std::vector<double> left = {0, 0, 0, 0, 5.0}, right = {0, 0, 0, 0, 5.0};
  StreamBuffer buffer{4, left.data(), right.data()};
  EXPECT_EQ(ProcessStream(&buffer, f.block.get()), 4u);
  EXPECT_EQ(left[3], 0.75);
  EXPECT_EQ(left[4], 5.0);
  EXPECT_EQ(right[4], 5.0);
}

TEST(StreamProcessing, WithoutAStreamOrACallbackNothingHappens) {
  std::vector<double> left = {1.0, 2.0}, right = {3.0, 4.0};
  StreamBuffer buffer{2, left.data(), right.data()};

  SettingsHandle closed = NewDefaultBlock();
  ScriptedHost host;
  host.inputLeft = {9.0, 9.0};
  SetStreamCallBack(&ScriptedHost::Callback, host.UserData(), closed.get());
  EXPECT_EQ(ProcessStream(&buffer, closed.get()), 0u);

  SettingsHandle noCallback = NewDefaultBlock();
  StreamFormat format{1, 2, 44100};
  ASSERT_EQ(OpenStream(noCallback.get(), &format), 1);
  EXPECT_EQ(ProcessStream(&buffer, noCallback.get()), 0u);
  CloseStream(noCallback.get());

  EXPECT_TRUE(host.requests.empty());
  EXPECT_EQ(left, (std::vector<double>{1.0, 2.0}));
  EXPECT_EQ(right, (std::vector<double>{3.0, 4.0}));
  EXPECT_EQ(ProcessStream(nullptr, closed.get()), 0u);
  EXPECT_EQ(ProcessStream(&buffer, nullptr), 0u);
  StreamBuffer noLeft{2, nullptr, right.data()};
  EXPECT_EQ(ProcessStream(&noLeft, closed.get()), 0u);
  EXPECT_EQ(OpenStream(nullptr, &format), 0);
  EXPECT_EQ(OpenStream(closed.get(), nullptr), 0);
}

TEST(StreamProcessing, AbsurdDelayTimesGiveSilentLinesInsteadOfACrash) {
  OpenStreamFixture f;
  f.block->DelL = 4294967295u;  // about 49.7 days
  f.block->DelR = 4294967295u;
  f.block->VolL = 1.0;
  f.block->VolR = 1.0;
  f.Open(2, 192000);
  EXPECT_EQ(f.block->lineL.length(), 0u);
  EXPECT_EQ(f.block->lineR.length(), 0u);
  f.host.inputLeft.assign(8, 1.0);
  f.host.inputRight.assign(8, 1.0);
  std::vector<double> left(8), right(8);
  StreamBuffer buffer{8, left.data(), right.data()};
  ASSERT_EQ(ProcessStream(&buffer, f.block.get()), 8u);
  for (size_t t = 0; t < 8; ++t) {
    EXPECT_EQ(left[t], 0.75);
    EXPECT_EQ(right[t], 0.75);
  }
}

// A long random stereo signal pulled in random request sizes, with the gains and flags changed
// between requests, matches the per-frame model bit for bit.
TEST(StreamProcessing, MatchesTheReferenceModelBitForBit) {
  std::mt19937 random(20261211);
  std::uniform_real_distribution<double> sample(-1.5, 1.5);
  std::uniform_int_distribution<uint32_t> requestSize(0, 10000);
  std::uniform_int_distribution<int> coin(0, 1);
  const size_t total = 200000;

  OpenStreamFixture f;
  f.block->DelL = 7;
  f.block->DelR = 11;
  f.Open(2, 44100);
  const uint32_t lengthL = f.block->lineL.length();
  const uint32_t lengthR = f.block->lineR.length();
  ASSERT_EQ(lengthL, 308u);
  ASSERT_EQ(lengthR, 485u);
  for (size_t t = 0; t < total; ++t) {
    f.host.inputLeft.push_back(sample(random));
    f.host.inputRight.push_back(sample(random));
  }
  ReferenceChannel modelL(lengthL), modelR(lengthR);

  std::vector<double> left(total), right(total);
  size_t done = 0;
  while (done < total) {
    // Gains and switches may change between calls and apply from the next frame.
    f.block->VolL = sample(random);
    f.block->VolR = sample(random);
    f.block->DryOut = sample(random);
    f.block->DisMain = coin(random);
    f.block->InvertL = coin(random);
    f.block->InvertR = coin(random);
    const uint32_t n = static_cast<uint32_t>(std::min<size_t>(requestSize(random), total - done));
    StreamBuffer buffer{n, left.data() + done, right.data() + done};
    ASSERT_EQ(ProcessStream(&buffer, f.block.get()), n);
    for (uint32_t i = 0; i < n; ++i) {
      const size_t t = done + i;
      const double expectL = modelL.Step(f.host.inputLeft[t], f.block->VolL, f.block->DryOut,
                                         f.block->DisMain != 0, f.block->InvertL != 0);
      const double expectR = modelR.Step(f.host.inputRight[t], f.block->VolR, f.block->DryOut,
                                         f.block->DisMain != 0, f.block->InvertR != 0);
      ASSERT_EQ(std::memcmp(&left[t], &expectL, sizeof(double)), 0)
          << "left frame " << t << ": " << left[t] << " vs " << expectL;
      ASSERT_EQ(std::memcmp(&right[t], &expectR, sizeof(double)), 0)
          << "right frame " << t << ": " << right[t] << " vs " << expectR;
    }
    done += n;
  }
}
