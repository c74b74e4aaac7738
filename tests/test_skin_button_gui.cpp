// The windowless push button on a real skinned window under Wine: creation and removal, the three
// states driven by mouse messages sent through the skin's window procedure, the fades seen on the
// screen frame by frame, and the painting of the tiles and the caption, all read back as pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/application.h"
#include "skin/skin_button.h"
#include "skin/skin_texts.h"
#include "tests/support/button_fixture.h"
#include "tests/support/chinese_texts.h"
#include "tests/support/font_texts.h"

namespace tavrel::skin {
namespace {

using test::ReadPixels;
using test::ReadWindowPixels;

// The clear button of the program: its rectangle, caption and size.
constexpr RectI kRect{56, 96, 160, 48};
constexpr int kFontSize = 20;
constexpr int kInsideX = kRect.x + kRect.width / 2, kInsideY = kRect.y + kRect.height / 2;
// A free spot of the surface, away from every control. Only moves and releases go there: a press
// on a free spot starts the window system's drag loop.
constexpr int kOutsideX = 20, kOutsideY = 200;

int clicks = 0;
void CountClick() { ++clicks; }

// A mouse handler registered before the button, so asked after it: it sees what the button lets go.
int nextControlCalls = 0;
std::intptr_t NextControl(std::intptr_t, std::intptr_t, std::intptr_t) {
  ++nextControlCalls;
  return 0;
}

HandlerAddress AddressOf(const void* code) { return AsHandler(code); }

class SkinButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clicks = 0;
    nextControlCalls = 0;
  }

  bool CreateButton(SkinButton& target, const RectI& rect, const std::string& caption = test::kClearCaption936) {
    return target.Create(popup.Skin(), rect, caption, kFontSize, AddressOf(CodeAddress(&CountClick)));
  }

  HDC Back() { return popup.Skin().GetBackDC(); }
  HDC Front() { return popup.Skin().GetFrontDC(); }

  // Draws on a copy of the back buffer, the way a frame of a fade does, and reads the rectangle.
  struct Draw {
    int tile;
    int opacity;
  };
  std::vector<Argb> Reference(SkinButton& target, const std::vector<Draw>& draws, const RectI& rect = kRect) {
    test::CompatibleBuffer copy(popup.Window(), popup.Width(), popup.Height());
    copy.CopyFrom(Back());
    plus::PlusGraphics graphics;
    graphics.CreateFromHDC(copy.Dc());
    for (const Draw& draw : draws) target.DrawState(graphics, draw.tile, draw.opacity);
    graphics.Dispose();
    return ReadPixels(copy.Dc(), rect);
  }
  // Frame i (1 to 5) of a fade from tile a to tile b.
  std::vector<Argb> FadeFrame(SkinButton& target, int a, int b, int i) {
    return Reference(target, {{a, 100 - 20 * i}, {b, 20 * i}});
  }

  // What the window procedure answers is the previous procedure's result, not the button's: the
  // button's 0 shows as the next control being asked.
  struct Timed {
    bool nextAsked;
    double milliseconds;
  };
  Timed Send(UINT message, int x, int y) {
    const int asked = nextControlCalls;
    const double started = framework::Uptime();
    popup.Send(message, x, y);
    return {nextControlCalls > asked, framework::Uptime() - started};
  }

  // Sends the message while the screen is recorded, then checks the fade from tile a to tile b on
  // the screen: its first frame, the one that tells the outgoing tile, among the pictures sampled,
  // and its last frame left in place. The sampler runs beside the fade and a busy machine can
  // keep it away for a frame or two, so the frames between are not required; the frames' length
  // shows in the time the message took.
  Timed SendAndExpectFade(SkinButton& target, UINT message, int x, int y, int a, int b, double period) {
    test::ScreenRecorder recorder(popup.Window(), kRect);
    const Timed sent = Send(message, x, y);
    const std::vector<std::vector<Argb>> seen = recorder.Stop();
    EXPECT_GE(sent.milliseconds, 5 * period);
    std::vector<int> shown;
    auto from = seen.begin();
    for (int i = 1; i <= 5; ++i) {
      const auto found = std::find(from, seen.end(), FadeFrame(target, a, b, i));
      if (found == seen.end()) continue;
      shown.push_back(i);
      from = found + 1;
    }
    EXPECT_TRUE(!shown.empty() && shown.front() == 1)
        << "frames " << testing::PrintToString(shown) << " of the fade from tile " << a << " to tile " << b
        << " seen in order among " << seen.size() << " pictures";
    EXPECT_EQ(ReadWindowPixels(popup.Window(), kRect), FadeFrame(target, a, b, 5));
    return sent;
  }

  test::SkinnedPopup popup;
  SkinButton button;
};

// Creation and removal.

TEST_F(SkinButtonTest, SecondCreateIsRefusedAndTheFirstRegistrationStays) {
  const RectI other{264, 96, 160, 48};
  const std::vector<Argb> backUnderButton = ReadPixels(Back(), kRect);
  ASSERT_TRUE(CreateButton(button, kRect));
  // Creating draws nothing: the front buffer still shows the back buffer under the button.
  EXPECT_EQ(ReadPixels(Front(), kRect), backUnderButton);
  EXPECT_FALSE(CreateButton(button, other));

  std::vector<RectI> rects;
  EXPECT_EQ(popup.Skin().GetControlRects(rects), (std::vector<RectI>{kRect}));
  // The button still answers at its first rectangle only.
  button.SetFadePeriods(0, 0);
  Send(WM_MOUSEMOVE, other.x + 10, other.y + 10);
  EXPECT_EQ(button.GetState(), ButtonStateNormal);
  Send(WM_MOUSEMOVE, kInsideX, kInsideY);
  EXPECT_EQ(button.GetState(), ButtonStateHover);

  EXPECT_TRUE(button.Remove(popup.Skin()));
  EXPECT_FALSE(button.Remove(popup.Skin()));
}

TEST_F(SkinButtonTest, RemoveThenCreateRegistersAgainWithNewIndexes) {
  EXPECT_FALSE(button.Remove(popup.Skin()));
  const RectI second{264, 96, 160, 48};
  button.SetFadePeriods(0, 0);
  ASSERT_TRUE(CreateButton(button, kRect));
  ASSERT_TRUE(button.Remove(popup.Skin()));
  std::vector<RectI> rects;
  EXPECT_EQ(popup.Skin().GetControlRects(rects), (std::vector<RectI>{RectI{}}));
  // Unregistered: a move over the old rectangle reaches no button.
  Send(WM_MOUSEMOVE, kInsideX, kInsideY);
  EXPECT_EQ(button.GetState(), ButtonStateNormal);

  ASSERT_TRUE(CreateButton(button, second));
  EXPECT_EQ(popup.Skin().GetControlRects(rects), (std::vector<RectI>{RectI{}, second}));
  // The button took entry 1 of each handler list, then entry 2: the next entries are 3.
  const int mouseIndex = popup.Skin().AddMouseHandler(AddressOf(CodeAddress(&NextControl)));
  const int paintIndex = popup.Skin().AddPaintHandler(AddressOf(CodeAddress(&NextControl)));
  EXPECT_EQ(mouseIndex, 3);
  EXPECT_EQ(paintIndex, 3);
  popup.Skin().RemoveMouseHandler(mouseIndex);
  popup.Skin().RemovePaintHandler(paintIndex);

  Send(WM_MOUSEMOVE, second.x + 10, second.y + 10);
  EXPECT_EQ(button.GetState(), ButtonStateHover);
  // The new paint handler draws the normal tile at the new place, nothing at the old one.
  popup.Skin().Refresh();
  EXPECT_EQ(ReadPixels(Front(), second), Reference(button, {{ButtonStateNormal, 100}}, second));
  EXPECT_EQ(ReadPixels(Front(), kRect), ReadPixels(Back(), kRect));
  EXPECT_TRUE(button.Remove(popup.Skin()));
}

// The mouse: states, fades, the click handler and the dispatch.

class SkinButtonMouseTest : public SkinButtonTest {
 protected:
  void SetUp() override {
    SkinButtonTest::SetUp();
    nextControlIndex = popup.Skin().AddMouseHandler(AddressOf(CodeAddress(&NextControl)));
    ASSERT_TRUE(CreateButton(button, kRect));
    popup.Skin().Refresh();
  }
  void TearDown() override {
    button.Remove(popup.Skin());
    popup.Skin().RemoveMouseHandler(nextControlIndex);
  }

  int nextControlIndex = 0;
};

TEST_F(SkinButtonMouseTest, MovingInFadesToHoverAndFurtherMovesInsideDrawNothing) {
  const Timed in = SendAndExpectFade(button, WM_MOUSEMOVE, kInsideX, kInsideY, ButtonStateNormal, ButtonStateHover, 45);
  EXPECT_FALSE(in.nextAsked);
  EXPECT_EQ(button.GetState(), ButtonStateHover);

  // A mark in the front buffer would be painted over by any drawing under the button.
  SetPixel(Front(), kInsideX, kInsideY, RGB(255, 0, 255));
  const std::vector<Argb> front = ReadPixels(Front(), kRect);
  const std::vector<Argb> screen = ReadWindowPixels(popup.Window(), kRect);
  for (const POINT p : {POINT{kInsideX + 1, kInsideY}, POINT{kRect.x, kRect.y},
                        POINT{kRect.x + kRect.width - 1, kRect.y + kRect.height}}) {
    const Timed move = Send(WM_MOUSEMOVE, p.x, p.y);
    EXPECT_FALSE(move.nextAsked) << p.x << ", " << p.y;
    EXPECT_LT(move.milliseconds, 45) << p.x << ", " << p.y;
    EXPECT_EQ(button.GetState(), ButtonStateHover);
  }
  EXPECT_EQ(ReadPixels(Front(), kRect), front);
  EXPECT_EQ(ReadWindowPixels(popup.Window(), kRect), screen);
  EXPECT_EQ(nextControlCalls, 0);
}

TEST_F(SkinButtonMouseTest, PressingWithoutMovingFirstFadesFromTheHoverTile) {
  ASSERT_EQ(button.GetState(), ButtonStateNormal);
  const Timed press =
      SendAndExpectFade(button, WM_LBUTTONDOWN, kInsideX, kInsideY, ButtonStateHover, ButtonStatePressed, 45);
  EXPECT_FALSE(press.nextAsked);
  EXPECT_EQ(button.GetState(), ButtonStatePressed);
  EXPECT_EQ(clicks, 0);
  // The fade did not start from the look the button had: that first frame would differ.
  EXPECT_NE(FadeFrame(button, ButtonStateNormal, ButtonStatePressed, 1),
            FadeFrame(button, ButtonStateHover, ButtonStatePressed, 1));
}

TEST_F(SkinButtonMouseTest, ReleasingInsideCallsTheHandlerWhateverCameBefore) {
  struct Case {
    const char* before;
    UINT message;  // 0: nothing
  };
  button.SetFadePeriods(0, 0);
  for (const Case& c : {Case{"nothing (pressed elsewhere)", 0}, Case{"a move in", WM_MOUSEMOVE},
                        Case{"a press inside", WM_LBUTTONDOWN}}) {
    SCOPED_TRACE(c.before);
    clicks = 0;
    Send(WM_MOUSEMOVE, kOutsideX, kOutsideY);
    ASSERT_EQ(button.GetState(), ButtonStateNormal);
    if (c.message) Send(c.message, kInsideX, kInsideY);
    EXPECT_FALSE(Send(WM_LBUTTONUP, kInsideX, kInsideY).nextAsked);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button.GetState(), ButtonStateHover);
  }
  // The release fade runs from the pressed tile, at the full period.
  button.SetFadePeriods(45, 60);
  Send(WM_MOUSEMOVE, kOutsideX, kOutsideY);
  const Timed release =
      SendAndExpectFade(button, WM_LBUTTONUP, kInsideX, kInsideY, ButtonStatePressed, ButtonStateHover, 45);
  EXPECT_FALSE(release.nextAsked);
  EXPECT_EQ(clicks, 2);
}

TEST_F(SkinButtonMouseTest, PressMoveOutAndReleaseOutsideDoesNotClick) {
  button.SetFadePeriods(0, 60);
  ASSERT_FALSE(Send(WM_LBUTTONDOWN, kInsideX, kInsideY).nextAsked);
  ASSERT_EQ(button.GetState(), ButtonStatePressed);

  // The first message outside fades back from the hover tile, five frames of 60 ms, and lets the
  // next control see the message.
  const Timed out =
      SendAndExpectFade(button, WM_MOUSEMOVE, kOutsideX, kOutsideY, ButtonStateHover, ButtonStateNormal, 60);
  EXPECT_GE(out.milliseconds, 300);
  EXPECT_TRUE(out.nextAsked);
  EXPECT_EQ(button.GetState(), ButtonStateNormal);

  const std::vector<Argb> screen = ReadWindowPixels(popup.Window(), kRect);
  const Timed release = Send(WM_LBUTTONUP, kOutsideX, kOutsideY);
  EXPECT_TRUE(release.nextAsked);
  EXPECT_LT(release.milliseconds, 60);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(button.GetState(), ButtonStateNormal);
  EXPECT_EQ(ReadWindowPixels(popup.Window(), kRect), screen);
}

TEST_F(SkinButtonMouseTest, HitTestIncludesTheBottomEdgeAndExcludesTheRightEdge) {
  struct Case {
    int x;
    int y;
    bool inside;
  };
  const int left = kRect.x, top = kRect.y, right = kRect.x + kRect.width, bottom = kRect.y + kRect.height;
  const Case cases[] = {
      {left, top, true},         {right - 1, top, true},         {left, bottom, true},   {right - 1, bottom, true},
      {right, top, false},       {right, bottom, false},         {left - 1, top, false}, {left, top - 1, false},
      {left, bottom + 1, false}, {right - 1, bottom + 1, false},
  };
  button.SetFadePeriods(0, 0);
  for (const UINT message : {UINT{WM_MOUSEMOVE}, UINT{WM_LBUTTONUP}}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << "message " << message << " at " << c.x << ", " << c.y);
      Send(WM_MOUSEMOVE, kOutsideX, kOutsideY);
      clicks = 0;
      // A message the button lets go reaches the control registered before it.
      EXPECT_EQ(Send(message, c.x, c.y).nextAsked, !c.inside);
      EXPECT_EQ(button.GetState(), c.inside ? ButtonStateHover : ButtonStateNormal);
      EXPECT_EQ(clicks, c.inside && message == WM_LBUTTONUP ? 1 : 0);
      // The button's own answer, asked directly from the normal state.
      Send(WM_MOUSEMOVE, kOutsideX, kOutsideY);
      EXPECT_EQ(button.HandleSkinMessage(static_cast<int>(message), c.x, c.y), c.inside ? 1 : 0);
    }
  }
}

TEST_F(SkinButtonMouseTest, FrontNotificationDrawsTheNormalTileAndKeepsHover) {
  button.SetFadePeriods(0, 0);
  Send(WM_MOUSEMOVE, kInsideX, kInsideY);
  ASSERT_EQ(button.GetState(), ButtonStateHover);
  ASSERT_NE(ReadPixels(Front(), kRect), Reference(button, {{ButtonStateNormal, 100}}));

  popup.Skin().Refresh();
  EXPECT_EQ(button.GetState(), ButtonStateHover);
  const std::vector<Argb> normal = Reference(button, {{ButtonStateNormal, 100}});
  EXPECT_EQ(ReadPixels(Front(), kRect), normal);
  EXPECT_EQ(ReadWindowPixels(popup.Window(), kRect), normal);

  // Called directly: 1 for every notification; the back-buffer one draws nothing, the front one
  // draws the normal tile over what the front buffer holds.
  BitBlt(Front(), kRect.x, kRect.y, kRect.width, kRect.height, Back(), kRect.x, kRect.y, SRCCOPY);
  const std::vector<Argb> restored = ReadPixels(Front(), kRect);
  EXPECT_EQ(button.HandleSkinMessage(PaintNotifyBackground, 0, 0), 1);
  EXPECT_EQ(ReadPixels(Front(), kRect), restored);
  EXPECT_EQ(button.HandleSkinMessage(PaintNotifyFront, 0, 0), 1);
  EXPECT_EQ(ReadPixels(Front(), kRect), normal);
  EXPECT_EQ(button.GetState(), ButtonStateHover);
}

TEST_F(SkinButtonTest, FadeToHoverEndsWithTheHoverTileOverTheRestoredBackground) {
  struct Case {
    const char* caption;
    // The last frame draws the outgoing tile at 0, which still draws its caption.
    std::vector<Draw> reference;
  };
  const Case cases[] = {
      {"", {{ButtonStateHover, 100}}},
      {test::kClearCaption936, {{ButtonStateNormal, 0}, {ButtonStateHover, 100}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "caption of " << std::string(c.caption).size() << " bytes");
    SkinButton fading;
    ASSERT_TRUE(CreateButton(fading, kRect, c.caption));
    popup.Skin().Refresh();
    // The normal tile that the refresh drew must vanish: the fade restores the background first.
    const std::vector<Argb> normal = ReadPixels(Front(), kRect);
    Send(WM_MOUSEMOVE, kInsideX, kInsideY);
    ASSERT_EQ(fading.GetState(), ButtonStateHover);
    const std::vector<Argb> expected = Reference(fading, c.reference);
    const std::vector<Argb> front = ReadPixels(Front(), kRect);
    EXPECT_EQ(front, expected);
    EXPECT_EQ(ReadWindowPixels(popup.Window(), kRect), front);
    EXPECT_NE(front, normal);
    fading.Remove(popup.Skin());
  }
}

TEST_F(SkinButtonMouseTest, SetFadePeriodsShortensTheFades) {
  struct Case {
    double enter;
    double leave;
  };
  for (const Case& c : {Case{45, 60}, Case{10, 20}, Case{0, 0}}) {
    SCOPED_TRACE(testing::Message() << "periods " << c.enter << " and " << c.leave);
    button.SetFadePeriods(c.enter, c.leave);
    const Timed in = Send(WM_MOUSEMOVE, kInsideX, kInsideY);
    const Timed out = Send(WM_MOUSEMOVE, kOutsideX, kOutsideY);
    EXPECT_GE(in.milliseconds, 5 * c.enter);
    EXPECT_GE(out.milliseconds, 5 * c.leave);
    if (c.enter < 45) {
      EXPECT_LT(in.milliseconds, 225);
    }
    if (c.leave < 60) {
      EXPECT_LT(out.milliseconds, 300);
    }
    EXPECT_EQ(button.GetState(), ButtonStateNormal);
  }
}

// Painting.

// The box the caption is laid out in, as the button computes it from the measured text.
RectI CaptionBox(const RectI& rect, const std::string& caption) {
  const std::string face = FontFamilyExists(kDefaultFace) ? kDefaultFace : kFallbackFace;
  const RectF m = MeasureTextRect(0, 0, kFontSize, face, caption);
  return {static_cast<int>(rect.x + (rect.width - m.width) / 2),
          static_cast<int>(rect.y + (rect.height - m.height) / 2), static_cast<int>(m.width + 5),
          static_cast<int>(m.height)};
}

TEST_F(SkinButtonTest, DrawStateAtOpacityZeroDrawsOnlyTheCaption) {
  ASSERT_TRUE(CreateButton(button, kRect));
  const RectI box = CaptionBox(kRect, test::kClearCaption936);
  ASSERT_GT(box.x, kRect.x);
  ASSERT_GT(box.y, kRect.y);
  const std::vector<Argb> background = ReadPixels(Back(), kRect);
  std::vector<std::vector<Argb>> fullTiles;
  for (int tile = 1; tile <= 4; ++tile) {
    SCOPED_TRACE(testing::Message() << "tile " << tile);
    const std::vector<Argb> faint = Reference(button, {{tile, 0}});
    const std::vector<Argb> full = Reference(button, {{tile, 100}});
    int captionPixels = 0, stripPixelsFaint = 0, stripPixelsFull = 0;
    for (int y = 0; y < kRect.height; ++y) {
      for (int x = 0; x < kRect.width; ++x) {
        const size_t i = static_cast<size_t>(y) * kRect.width + x;
        const bool inBox = PointInRect(box, kRect.x + x, kRect.y + y);
        if (inBox) {
          captionPixels += faint[i] != background[i];
        } else {
          stripPixelsFaint += faint[i] != background[i];
          stripPixelsFull += full[i] != background[i];
        }
      }
    }
    EXPECT_EQ(stripPixelsFaint, 0);
    EXPECT_GT(captionPixels, 100);
    // Most of the rectangle outside the caption box belongs to the tile at full strength.
    EXPECT_GT(stripPixelsFull, kRect.width * kRect.height / 2);
    fullTiles.push_back(full);
  }
  // Each tile has a look of its own.
  for (size_t a = 0; a < fullTiles.size(); ++a) {
    for (size_t b = a + 1; b < fullTiles.size(); ++b) EXPECT_NE(fullTiles[a], fullTiles[b]) << a + 1 << ", " << b + 1;
  }
}

TEST_F(SkinButtonTest, CaptionWiderThanTheButtonIsLaidOutInTheButtonsWidth) {
  const RectI narrow{200, 150, 60, 40};
  const std::string caption = "A caption far wider than its button";
  // Centred, the box would begin well left of the button.
  ASSERT_LT(CaptionBox(narrow, caption).x, narrow.x - 20);
  ASSERT_TRUE(CreateButton(button, narrow, caption));

  // Drawn at opacity 0 only the caption shows; where it lands is read in a band of the window.
  const RectI band{0, narrow.y - 10, popup.Width(), narrow.height + 20};
  const std::vector<Argb> background = ReadPixels(Back(), band);
  const std::vector<Argb> drawn = Reference(button, {{ButtonStateNormal, 0}}, band);
  int leftmost = band.width, rightmost = -1, changed = 0;
  for (int y = 0; y < band.height; ++y) {
    for (int x = 0; x < band.width; ++x) {
      const size_t i = static_cast<size_t>(y) * band.width + x;
      if (drawn[i] == background[i]) continue;
      ++changed;
      leftmost = std::min(leftmost, x);
      rightmost = std::max(rightmost, x);
    }
  }
  EXPECT_GT(changed, 50);
  EXPECT_GE(leftmost, narrow.x);
  EXPECT_LE(rightmost, narrow.x + narrow.width);
}

TEST(SkinButtonFonts, FontFamilyExistsForTheFacesMappedInThePrefix) {
  struct Case {
    const char* name;
    bool exists;
  };
  const Case cases[] = {
      {test::kYaHei936, true}, {"Microsoft YaHei", true}, {test::kSongTi936, true},       {"SimSun", true},
      {test::kKaiTi936, true}, {"KaiTi", true},           {"Tavrel No Such Face", false},
  };
  for (const Case& c : cases) EXPECT_EQ(FontFamilyExists(c.name), c.exists) << "case " << &c - cases;
}

}  // namespace
}  // namespace tavrel::skin
