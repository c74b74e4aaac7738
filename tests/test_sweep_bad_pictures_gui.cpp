// Bad pictures: every embedded picture replaced in turn by an empty, a truncated and a garbage buffer (random bytes
// behind a PNG signature, which gets past the format sniffing), in the program's window and in one with caption
// buttons. Nothing may crash, and the window must still render everything else: outside the place of the bad
// picture the front buffer is pixel for pixel the one drawn with good pictures. Each picture is also put to work
// where the skin uses it beyond the first render: the button strip in fades, the caption pictures in the caption
// buttons' hover and press animations.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "resources/embedded_pictures.h"
#include "tests/support/sweep_window.h"

namespace tavrel::test {
namespace {

using resources::PictureId;

constexpr RectI kWindowArea{0, 0, 480, 233};
// Halos and interpolation may reach a pixel or two beyond a picture's rectangle.
constexpr int kMargin = 2;

enum class Damage { Empty, Truncated, Garbage };
const char* Name(Damage damage) {
  return damage == Damage::Empty ? "empty" : damage == Damage::Truncated ? "truncated" : "garbage";
}

// The embedded bytes of a picture, read before any override is in force.
std::vector<std::uint8_t> Embedded(PictureId id) {
  resources::Bytes bytes;
  switch (id) {
    case PictureId::ProgramIcon:
      bytes = resources::ProgramIcon();
      break;
    case PictureId::FrameBorder:
      bytes = resources::FrameBorder();
      break;
    case PictureId::ButtonStrip:
      bytes = resources::ButtonStrip();
      break;
    case PictureId::ArrowCursor:
      bytes = resources::ArrowCursor();
      break;
    default: {
      const int index = static_cast<int>(id) - static_cast<int>(PictureId::CaptionCloseNormal);
      bytes = resources::CaptionPicture(index / 3 + 1, index % 3 + 1);
    }
  }
  return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> Damaged(PictureId id, Damage damage) {
  std::vector<std::uint8_t> bytes = Embedded(id);
  if (damage == Damage::Empty) return {};
  if (damage == Damage::Truncated) {
    bytes.resize(bytes.size() / 2);
    return bytes;
  }
  std::mt19937 random(static_cast<unsigned>(id));
  for (std::size_t i = 8; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(random());
  return bytes;
}

bool IsCaption(PictureId id) { return id >= PictureId::CaptionCloseNormal && id <= PictureId::CaptionMinimizePressed; }
int CaptionButton(PictureId id) {
  return (static_cast<int>(id) - static_cast<int>(PictureId::CaptionCloseNormal)) / 3 + 1;
}
int CaptionState(PictureId id) {
  return (static_cast<int>(id) - static_cast<int>(PictureId::CaptionCloseNormal)) % 3 + 1;
}

// The caption buttons: the program shows none.
struct Layout {
  const char* name;
  int showCaptionButtons;
};
constexpr Layout kProgramLayout{"program", 0};
constexpr Layout kCaptionLayout{"caption buttons", 1};

SweepOptions OptionsFor(const Layout& layout) {
  SweepOptions options;
  options.showCaptionButtons = layout.showCaptionButtons;
  options.showMaximizeButton = layout.showCaptionButtons;
  return options;
}

// The rectangles a picture is drawn in, in this window; none when the skin does not draw it.
std::vector<RectI> PlacesOf(PictureId id, SweepWindow& window) {
  switch (id) {
    case PictureId::ProgramIcon:
      return {{8, 5, 16, 16}};
    case PictureId::FrameBorder:
      return {{0, 0, 480, 5}, {0, 228, 480, 5}, {0, 0, 5, 233}, {475, 0, 5, 233}};
    case PictureId::ButtonStrip:
      return {kSweepClearRect, kSweepExitRect};
    case PictureId::ArrowCursor:
      return {};
    default: {
      const RectI r = window.Skin().CaptionButtonRect(CaptionButton(id));
      if (r.width <= 0) return {};
      return {r};
    }
  }
}

bool Near(const std::vector<RectI>& places, int x, int y) {
  for (const RectI& r : places) {
    if (x >= r.x - kMargin && x < r.x + r.width + kMargin && y >= r.y - kMargin && y < r.y + r.height + kMargin) {
      return true;
    }
  }
  return false;
}

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

// Puts the picture to work beyond the render: fades of both buttons, or the animations of its caption button.
void Exercise(PictureId id, SweepWindow& window) {
  if (id == PictureId::ButtonStrip) {
    window.ClearButton().SetFadePeriods(0, 0);
    window.ExitButton().SetFadePeriods(0, 0);
    for (const RectI& r : {kSweepClearRect, kSweepExitRect}) {
      const LPARAM inside = At(r.x + r.width / 2, r.y + r.height / 2);
      window.Send(WM_MOUSEMOVE, inside);
      window.Send(WM_LBUTTONDOWN, inside);
      window.Send(WM_LBUTTONUP, inside);
      window.Send(WM_MOUSEMOVE, At(20, 200));
    }
  }
  if (IsCaption(id) && !PlacesOf(id, window).empty()) {
    const RectI r = window.Skin().CaptionButtonRect(CaptionButton(id));
    const LPARAM inside = At(r.x + r.width / 2, r.y + r.height / 2);
    window.Send(WM_MOUSEMOVE, inside);
    // A release over a caption button would end the program or resize the window: it happens elsewhere.
    if (CaptionState(id) == 3) window.Send(WM_LBUTTONDOWN, inside);
    window.Send(WM_MOUSEMOVE, At(20, 200));
    window.Send(WM_LBUTTONUP, At(20, 200));
  }
}

struct Outcome {
  int differentElsewhere = 0;  // pixels that differ from the good picture away from the bad picture's place
  int differentInPlace = 0;    // pixels that differ where the bad picture lies
};

Outcome Compare(const std::vector<std::uint32_t>& good, const std::vector<std::uint32_t>& seen,
                const std::vector<RectI>& places) {
  Outcome outcome;
  if (seen.size() != good.size()) return {static_cast<int>(good.size()), 0};
  for (int y = 0; y < kWindowArea.height; ++y) {
    for (int x = 0; x < kWindowArea.width; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * kWindowArea.width + x;
      if (good[i] == seen[i]) continue;
      ++(Near(places, x, y) ? outcome.differentInPlace : outcome.differentElsewhere);
    }
  }
  return outcome;
}

std::vector<std::uint32_t> Rendered(SweepWindow& window) {
  window.Skin().Refresh();
  return ReadArea(window.Skin().GetFrontDC(), kWindowArea);
}

void Sweep(const Layout& layout, bool captionPicturesOnly) {
  std::vector<std::uint32_t> good;
  {
    SweepWindow window(OptionsFor(layout));
    good = Rendered(window);
  }
  ASSERT_EQ(good.size(), static_cast<std::size_t>(kWindowArea.width * kWindowArea.height));
  for (int picture = 0; picture < resources::PictureCount; ++picture) {
    const auto id = static_cast<PictureId>(picture);
    if (captionPicturesOnly && !IsCaption(id)) continue;
    for (const Damage damage : {Damage::Empty, Damage::Truncated, Damage::Garbage}) {
      SCOPED_TRACE(std::string(layout.name) + ", picture " + std::to_string(picture) + ", " + Name(damage));
      const resources::ScopedPictureOverride bad(id, Damaged(id, damage));
      SweepWindow window(OptionsFor(layout));
      const std::vector<RectI> places = PlacesOf(id, window);
      const Outcome first = Compare(good, Rendered(window), places);
      EXPECT_EQ(first.differentElsewhere, 0);
      // What is drawn where the picture lies is open for a truncated one, which may still decode in part; a normal
      // caption picture is drawn only where the layout shows caption buttons, a hover or pressed one never at rest.
      const bool drawnAtRest = !places.empty() && (!IsCaption(id) || CaptionState(id) == 1);
      if (damage != Damage::Truncated && drawnAtRest) {
        EXPECT_GT(first.differentInPlace, 0) << "the override was not used";
      }

      Exercise(id, window);
      const Outcome after = Compare(good, Rendered(window), places);
      EXPECT_EQ(after.differentElsewhere, 0) << "after the picture was put to work";
    }
  }
}

TEST(BadPictures, TheProgramWindowRendersEverythingElse) { Sweep(kProgramLayout, false); }

TEST(BadPictures, CaptionButtonsRenderEverythingElse) { Sweep(kCaptionLayout, true); }

}  // namespace
}  // namespace tavrel::test
