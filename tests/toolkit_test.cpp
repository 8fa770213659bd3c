#include "toolkit/errors.h"

#include <gtest/gtest.h>

using namespace abrevel;

TEST(Int16, RoundsHalvesToEvenAndRejectsOverflow) {
  EXPECT_EQ(toInt16(2.5), 2);
  EXPECT_EQ(toInt16(3.5), 4);
  EXPECT_EQ(toInt16(-0.5), 0);
  EXPECT_EQ(toInt16(32767.4), 32767);
  EXPECT_THROW(toInt16(32767.5), DrawError);
  EXPECT_THROW(toInt16(-32768.6), DrawError);
}
