// The mouse storm: 20 000 mouse messages (moves, presses, releases) sent through the skin's window procedure to the
// program's window with its two buttons, at points inside and outside the window, on the buttons' edges, at negative
// coordinates and at coordinates that only land on a button once wrapped to 16 bits. A model of the rules runs beside
// the real skin and is compared after every message: the state of each button, the calls of each click handler, what
// the buttons let go to the next handler, the drags a press on a free spot asks for, and what reaches the window's
// own procedure. The fades run with zero periods, so the storm takes seconds rather than hours.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

#include "framework/application.h"
#include "skin/skin_button.h"
#include "tests/support/sweep_window.h"

namespace tavrel::test {
namespace {

using skin::ButtonStateHover;
using skin::ButtonStateNormal;
using skin::ButtonStatePressed;

constexpr int kMessages = 20000;

int clearClicks = 0;
int exitClicks = 0;
void OnClear() { ++clearClicks; }
void OnExit() { ++exitClicks; }

// The handler registered before the buttons, so asked after them: it sees exactly what both let go.
struct Passed {
  int count = 0;
  std::intptr_t message = 0, x = 0, y = 0;
} passed;
std::intptr_t CountPassed(std::intptr_t message, std::intptr_t x, std::intptr_t y) {
  passed = {passed.count + 1, message, x, y};
  return 0;
}

struct Point {
  int x = 0;
  int y = 0;
};

// How the skin reads a mouse message's lParam: the low 32 bits; x the low word unsigned, y the high word signed.
Point Decode(LPARAM lParam) {
  const auto packed = static_cast<std::uint32_t>(lParam);
  return {static_cast<int>(packed & 0xFFFF), static_cast<int>(static_cast<std::int16_t>(packed >> 16))};
}

// The skin's hit test as the rules state it: right edge exclusive, bottom edge inclusive.
bool Inside(const RectI& r, Point p) {
  return r.x <= p.x && p.x <= r.x + r.width - 1 && r.y <= p.y && p.y <= r.y + r.height;
}

// A button as the rules say it behaves.
struct ModelButton {
  RectI rect;
  int state = ButtonStateNormal;
  int clicks = 0;
  int fades = 0;

  // True when the button takes the message, which then goes to no further handler.
  bool Take(UINT message, Point p) {
    if (!Inside(rect, p)) {
      if (state != ButtonStateNormal) {
        state = ButtonStateNormal;
        ++fades;
      }
      return false;
    }
    if (message == WM_MOUSEMOVE && state == ButtonStateNormal) {
      state = ButtonStateHover;
      ++fades;
    } else if (message == WM_LBUTTONDOWN) {
      state = ButtonStatePressed;
      ++fades;
    } else if (message == WM_LBUTTONUP) {
      ++clicks;
      state = ButtonStateHover;
      ++fades;
    }
    return true;
  }
};

// The storm: a walk over regions, staying in each for a run of messages, as a pointer does (and as keeps the number
// of fades, each a few milliseconds of drawing, to a few hundred).
class Storm {
 public:
  struct Message {
    UINT message;
    LPARAM lParam;
  };

  Message Next() {
    if (left-- <= 0) {
      region = static_cast<Region>(Pick({40, 15, 15, 20, 10}));
      left = Uniform(100, 400);
      wrapped = Uniform(0, 1) ? kSweepClearRect : kSweepExitRect;
      wrapX = Uniform(0, 3);
      wrapY = wrapX == 0 ? Uniform(1, 3) : Uniform(0, 3);
    }
    const bool onButton = region == Region::Clear || region == Region::Exit || region == Region::Wrapped;
    // Presses and releases are rarer over the buttons, where each one fades.
    const int kind = onButton ? Pick({98, 1, 1}) : Pick({70, 15, 15});
    const UINT message = kind == 0 ? WM_MOUSEMOVE : kind == 1 ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    return {message, Pack(RawPoint())};
  }

 private:
  enum class Region { Surface, Clear, Exit, Beyond, Wrapped };

  int Pick(std::initializer_list<double> weights) {
    return static_cast<int>(std::discrete_distribution<int>(weights)(random));
  }
  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

  // A point in a button, one in sixty on or just beyond its edges (a step out and back costs two fades).
  Point OnButton(const RectI& r) {
    if (Pick({59, 1}) == 0) return {Uniform(r.x, r.x + r.width - 1), Uniform(r.y, r.y + r.height)};
    const int xs[] = {r.x - 1, r.x, r.x + r.width - 1, r.x + r.width};
    const int ys[] = {r.y - 1, r.y, r.y + r.height, r.y + r.height + 1};
    return {xs[Uniform(0, 3)], ys[Uniform(0, 3)]};
  }

  // The point as the sender means it, before it is packed into 16 bits each.
  Point RawPoint() {
    switch (region) {
      case Region::Surface:
        // A free spot: the buttons have regions of their own.
        for (;;) {
          const Point p{Uniform(0, 479), Uniform(0, 232)};
          if (!Inside(kSweepClearRect, p) && !Inside(kSweepExitRect, p)) return p;
        }
      case Region::Clear:
        return OnButton(kSweepClearRect);
      case Region::Exit:
        return OnButton(kSweepExitRect);
      case Region::Beyond:
        // Left of the window (a large x once unsigned), above it (negative y), right of it and below it.
        switch (Uniform(0, 3)) {
          case 0:
            return {Uniform(-3000, -1), Uniform(-500, 700)};
          case 1:
            return {Uniform(-500, 900), Uniform(-3000, -1)};
          case 2:
            return {Uniform(480, 70000), Uniform(0, 232)};
          default:
            return {Uniform(0, 479), Uniform(233, 32767)};
        }
      case Region::Wrapped: {
        // Beyond 16 bits: only the low word arrives, which lies on a button.
        Point p = OnButton(wrapped);
        p.x += 65536 * wrapX;
        p.y -= 65536 * wrapY;
        return p;
      }
    }
    return {};
  }

  // Packed as the window system packs it; now and then with the upper half of a 64-bit lParam set, as a sign
  // extension would leave it.
  LPARAM Pack(Point p) {
    const std::uint32_t low =
        (static_cast<std::uint32_t>(p.y) & 0xFFFF) << 16 | (static_cast<std::uint32_t>(p.x) & 0xFFFF);
    const std::uint64_t high = Pick({9, 1}) == 1 ? 0xFFFFFFFF00000000ull : 0;
    return static_cast<LPARAM>(high | low);
  }

  std::mt19937 random{2013};
  Region region = Region::Surface;
  int left = 0;
  // The button a run of wrapped points lies on, and how many times 65536 is added to x and taken from y.
  RectI wrapped;
  int wrapX = 0;
  int wrapY = 0;
};

TEST(MouseStorm, EveryMessageEndsWhereTheRulesSay) {
  clearClicks = exitClicks = 0;
  passed = {};
  SweepOptions options;
  options.firstMouseHandler = skin::AsHandler(skin::CodeAddress(&CountPassed));
  options.onClear = skin::AsHandler(skin::CodeAddress(&OnClear));
  options.onExit = skin::AsHandler(skin::CodeAddress(&OnExit));
  SweepWindow window(options);
  window.ClearButton().SetFadePeriods(0, 0);
  window.ExitButton().SetFadePeriods(0, 0);

  ModelButton clear{kSweepClearRect};
  ModelButton exit{kSweepExitRect};
  int modelPassed = 0;
  int modelDrags = 0;
  int mismatches = 0;
  Storm storm;
  std::vector<Storm::Message> sent;
  sent.reserve(kMessages);
  const double start = framework::Uptime();
  for (int i = 0; i < kMessages; ++i) {
    const Storm::Message m = storm.Next();
    sent.push_back(m);
    const Point p = Decode(m.lParam);
    window.Send(m.message, m.lParam);

    // The last registered handler is asked first: the exit button, then the clear button, then CountPassed.
    const bool taken = exit.Take(m.message, p) || clear.Take(m.message, p);
    if (!taken) ++modelPassed;
    if (m.message == WM_LBUTTONDOWN && !Inside(kSweepClearRect, p) && !Inside(kSweepExitRect, p)) ++modelDrags;

    const bool same =
        window.ClearButton().GetState() == clear.state && window.ExitButton().GetState() == exit.state &&
        clearClicks == clear.clicks && exitClicks == exit.clicks && passed.count == modelPassed &&
        (taken || (passed.message == static_cast<std::intptr_t>(m.message) && passed.x == p.x && passed.y == p.y)) &&
        window.DragRequests() == modelDrags;
    if (!same && ++mismatches <= 5) {
      ADD_FAILURE() << "message " << i << " (0x" << std::hex << m.message << " lParam 0x" << m.lParam << std::dec
                    << " at " << p.x << ", " << p.y << "): states " << window.ClearButton().GetState() << "/"
                    << window.ExitButton().GetState() << " expected " << clear.state << "/" << exit.state << ", clicks "
                    << clearClicks << "/" << exitClicks << " expected " << clear.clicks << "/" << exit.clicks
                    << ", passed on " << passed.count << " expected " << modelPassed << ", drags "
                    << window.DragRequests() << " expected " << modelDrags;
      // Follow the real skin from here, so that one fault is not reported at every later message.
      clear.state = window.ClearButton().GetState();
      exit.state = window.ExitButton().GetState();
      clear.clicks = clearClicks;
      exit.clicks = exitClicks;
      modelPassed = passed.count;
      modelDrags = window.DragRequests();
    }
  }
  const double elapsed = framework::Uptime() - start;
  std::printf("storm: %d messages, %d fades, %d + %d clicks, %d passed on, %d drags asked for, %.1f s\n", kMessages,
              clear.fades + exit.fades, clear.clicks, exit.clicks, modelPassed, modelDrags, elapsed / 1000);
  EXPECT_EQ(mismatches, 0);

  // The storm really went everywhere it was meant to.
  EXPECT_GT(clear.clicks, 10);
  EXPECT_GT(exit.clicks, 10);
  EXPECT_GT(modelDrags, 100);
  EXPECT_GT(modelPassed, kMessages / 4);

  // Every message reached the window's own procedure once, in order and unchanged, whatever the handlers did.
  const std::vector<MSG>& seen = window.MouseMessagesSeen();
  ASSERT_EQ(seen.size(), sent.size());
  int changed = 0;
  for (std::size_t i = 0; i < sent.size(); ++i) {
    if (seen[i].message != sent[i].message || seen[i].lParam != sent[i].lParam) ++changed;
  }
  EXPECT_EQ(changed, 0);

  // The end state is the one the last messages imply, and the skin still draws: a refresh runs and the buttons stay.
  EXPECT_EQ(window.ClearButton().GetState(), clear.state);
  EXPECT_EQ(window.ExitButton().GetState(), exit.state);
  window.Skin().Refresh();
  EXPECT_EQ(window.ClearButton().GetState(), clear.state);
}

}  // namespace
}  // namespace tavrel::test
