#include <gtest/gtest.h>
#include "gdiplus_objects/plus_object.h"
TEST(Smoke, AnsiToWide) {
  auto w = tavrel::plus::AnsiToWide("abc");
  EXPECT_EQ(w.size(), 8u);
}
