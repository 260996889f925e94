#include "delay_line.h"

#include <gtest/gtest.h>

TEST(DelayLine, EmptyLineReadsSilenceAndIgnoresPushes) {
  DelayLine line;
  EXPECT_EQ(line.length(), 0u);
  line.Push(5.0);
  EXPECT_EQ(line.Read(), 0.0);
  EXPECT_EQ(line.position(), 0u);
}

TEST(DelayLine, ValuePushedIsReadAgainLengthPushesLater) {
  for (uint32_t length : {1u, 2u, 7u}) {
    SCOPED_TRACE(length);
    DelayLine line;
    ASSERT_TRUE(line.Allocate(0.0, length));
    std::vector<double> seen;
    for (uint32_t t = 0; t < 3 * length; ++t) {
      seen.push_back(line.Read());
      line.Push(static_cast<double>(t + 1));
    }
    for (uint32_t t = 0; t < 3 * length; ++t) {
      EXPECT_EQ(seen[t], t < length ? 0.0 : static_cast<double>(t + 1 - length)) << "t=" << t;
    }
  }
}

TEST(DelayLine, PushScalesTheOverwrittenSampleByTheFeedback) {
  DelayLine line;
  ASSERT_TRUE(line.Allocate(0.5, 1));
  line.Push(4.0);  // 0.5 * 0 + 4
  line.Push(1.0);  // 0.5 * 4 + 1
  EXPECT_EQ(line.Read(), 3.0);
}

TEST(DelayLine, AllocateOfZeroGivesOneSampleAndStartsSilent) {
  DelayLine line;
  ASSERT_TRUE(line.Allocate(0.0, 3));
  line.Push(9.0);
  ASSERT_TRUE(line.Allocate(0.25, 0));
  EXPECT_EQ(line.length(), 1u);
  EXPECT_EQ(line.position(), 0u);
  EXPECT_EQ(line.feedback(), 0.25);
  EXPECT_EQ(line.Read(), 0.0);
}

TEST(DelayLine, ReleaseEmptiesTheLineAndCanBeRepeated) {
  DelayLine line;
  ASSERT_TRUE(line.Allocate(0.5, 4));
  line.Push(1.0);
  line.Release();
  line.Release();
  EXPECT_EQ(line.length(), 0u);
  EXPECT_EQ(line.position(), 0u);
  EXPECT_EQ(line.feedback(), 0.0);
  EXPECT_EQ(line.Read(), 0.0);
}

TEST(DelayLine, LengthBeyondTheLimitLeavesAnEmptyLine) {
  DelayLine line;
  ASSERT_TRUE(line.Allocate(0.0, 5));
  EXPECT_FALSE(line.Allocate(0.0, DelayLine::kMaxLength + 1));
  EXPECT_EQ(line.length(), 0u);
  line.Push(1.0);
  EXPECT_EQ(line.Read(), 0.0);
}
