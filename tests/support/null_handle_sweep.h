// The null-handle sweep: every operation of a class called on objects that hold no handle must
// neither crash nor succeed: it answers false or zero and records the GDI+ status. One table row
// per operation: its name, the GDI+ function it calls and a lambda that calls it on fresh objects.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "gdiplus_objects/plus_object.h"
#include "tests/support/wine_stubs.h"

namespace tavrel::test {

// Not a GDI+ status: the last status before each row, so that a row can show it was left alone.
inline constexpr auto kStatusUntouched = static_cast<Gdiplus::Status>(31);

template <class Objects>
struct NullHandleCase {
  const char* operation;
  const char* gdipFunction;
  // Calls the operation; true when it answered false, zero or an empty result.
  std::function<bool(Objects&)> answersFalseOrZero;
  Gdiplus::Status status = Gdiplus::InvalidParameter;
};

// Runs every row on a fresh Objects (objects without handles); skips the rows whose GDI+ function
// would end the process here (a Wine stub).
template <class Objects>
void SweepNullHandles(const std::vector<NullHandleCase<Objects>>& cases) {
  for (const NullHandleCase<Objects>& row : cases) {
    SCOPED_TRACE(row.operation);
    if (IsWineStub(row.gdipFunction)) continue;
    Objects objects;
    plus::lastStatus = kStatusUntouched;
    EXPECT_TRUE(row.answersFalseOrZero(objects));
    EXPECT_EQ(plus::lastStatus, row.status);
  }
}

}  // namespace tavrel::test
