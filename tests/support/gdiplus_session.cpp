// Every test program starts GDI+ once, as the program does in its created handler.
#include <gtest/gtest.h>

#include "gdiplus_objects/plus_object.h"

namespace {

class GdiplusSession : public ::testing::Environment {
 public:
  void SetUp() override { tavrel::plus::StartGdiplus(); }
};

[[maybe_unused]] const ::testing::Environment* const session =
    ::testing::AddGlobalTestEnvironment(new GdiplusSession);

}  // namespace
