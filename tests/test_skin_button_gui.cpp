#include <gtest/gtest.h>

#include <cstdio>

#include "framework/application.h"
#include "skin/skin_button.h"
#include "tests/support/button_fixture.h"
#include "tests/support/chinese_texts.h"

namespace tavrel::skin {
namespace {

int clicks = 0;
void CountClick() { ++clicks; }

TEST(Probe, Timing) {
  test::SkinnedPopup popup;
  SkinButton button;
  ASSERT_TRUE(button.Create(popup.Skin(), {56, 96, 160, 48}, test::kClearCaption936, 20,
                            reinterpret_cast<HandlerAddress>(&CountClick)));
  popup.Skin().Refresh();
  double t = framework::Uptime();
  plus::PlusGraphics g;
  g.CreateFromHDC(popup.Skin().GetFrontDC());
  for (int i = 0; i < 10; ++i) button.DrawState(g, 1, 50);
  std::printf("DrawState x10: %.1f ms\n", framework::Uptime() - t);
  t = framework::Uptime();
  popup.Send(WM_MOUSEMOVE, 100, 100);
  std::printf("hover: %.1f ms state %d\n", framework::Uptime() - t, button.GetState());
  t = framework::Uptime();
  popup.Send(WM_MOUSEMOVE, 10, 10);
  std::printf("leave: %.1f ms state %d\n", framework::Uptime() - t, button.GetState());
  button.SetFadePeriods(0, 0);
  t = framework::Uptime();
  popup.Send(WM_MOUSEMOVE, 100, 100);
  std::printf("hover0: %.1f ms state %d\n", framework::Uptime() - t, button.GetState());
  t = framework::Uptime();
  popup.Skin().Refresh();
  std::printf("refresh: %.1f ms\n", framework::Uptime() - t);
  button.Remove(popup.Skin());
}

}  // namespace
}  // namespace tavrel::skin
