// SkinWindow core on real windows: attaching and detaching, the buffers, the caption layout, the
// window procedure's swallowed messages and mouse dispatch, and the registry of controls.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "resources/embedded_pictures.h"
#include "skin/method_thunk.h"
#include "skin/skin_window.h"
#include "tests/support/skin_fixture.h"
#include "tests/support/skin_window_texts.h"

namespace tavrel::skin {
namespace {

using test::SkinnedWindow;
using test::SkinOptions;

constexpr RectI kProgramBounds{50, 50, 480, 233};

std::pair<int, int> BitmapSizeIn(HDC dc) {
  BITMAP info{};
  GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof(info), &info);
  return {info.bmWidth, info.bmHeight};
}

WNDPROC ProcedureOf(HWND window) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)); }

// The flat background of the program's colour: 0xC06000 at alpha 150 over 0xECECEC.
constexpr Argb kFlatBlue = 0x619AD2;  // RGB (97, 154, 210)

TEST(SkinWindowCore, FreshSkinIsNotAttached) {
  SkinWindow skin;
  EXPECT_EQ(skin.GetWindowHandle(), reinterpret_cast<HWND>(static_cast<INT_PTR>(-1)));
  EXPECT_EQ(skin.GetLastErrorText(), "");
  EXPECT_EQ(skin.FetchWindowRect(), RectI{});
  EXPECT_EQ(skin.GetLastErrorText(), test::kNoWindowRect936);
  EXPECT_EQ(skin.GetTitle(), "");
  EXPECT_EQ(skin.GetLastErrorText(), test::kNoTitle936);
  EXPECT_EQ(skin.GetBackDC(), nullptr);
  EXPECT_EQ(skin.GetFrontDC(), nullptr);
  // Detaching a skin that was never attached does nothing.
  skin.Detach();
  EXPECT_EQ(skin.GetWindowHandle(), reinterpret_cast<HWND>(static_cast<INT_PTR>(-1)));
}

TEST(SkinWindowCore, AttachedSkinReadsItsWindow) {
  SkinnedWindow skinned(kProgramBounds);
  ASSERT_TRUE(skinned.Attached());
  SkinWindow& skin = skinned.Skin();
  EXPECT_EQ(skin.GetWindowHandle(), skinned.Handle());
  EXPECT_EQ(skin.FetchWindowRect(), (RectI{0, 0, 480, 233}));
  EXPECT_EQ(skin.GetTitle(), "Tavrel");
  EXPECT_EQ(skin.GetLastErrorText(), "");
  EXPECT_NE(ProcedureOf(skinned.Handle()), test::RecordingWindow::OwnProcedure());
}

TEST(SkinWindowCore, TitleIsReadUpTo100Characters) {
  SkinnedWindow skinned(kProgramBounds, {.show = false});
  const std::string longTitle(150, 'T');
  ASSERT_TRUE(skinned.Skin().SetTitle(longTitle));
  EXPECT_EQ(skinned.Skin().GetTitle(), longTitle.substr(0, 100));
  EXPECT_EQ(skinned.Skin().GetLastErrorText(), "");
  ASSERT_TRUE(skinned.Skin().SetTitle(""));
  EXPECT_EQ(skinned.Skin().GetTitle(), "");
  EXPECT_EQ(skinned.Skin().GetLastErrorText(), test::kNoTitle936);
}

TEST(SkinWindowCore, AttachTwiceFailsAndChangesNothing) {
  SkinnedWindow skinned(kProgramBounds);
  SkinWindow& skin = skinned.Skin();
  test::RecordingWindow other({600, 50, 300, 200});
  const HDC back = skin.GetBackDC();
  const HDC front = skin.GetFrontDC();
  const WNDPROC procedure = ProcedureOf(skinned.Handle());
  const test::PixelGrid before = test::ReadBuffer(back);

  EXPECT_FALSE(skin.Attach(other.Handle(), {}, 1, 1, 0x0000FF));
  EXPECT_EQ(skin.GetLastErrorText(), test::kAlreadyAttached936);
  EXPECT_EQ(skin.GetWindowHandle(), skinned.Handle());
  EXPECT_EQ(skin.GetBackDC(), back);
  EXPECT_EQ(skin.GetFrontDC(), front);
  EXPECT_EQ(ProcedureOf(skinned.Handle()), procedure);
  EXPECT_EQ(ProcedureOf(other.Handle()), test::RecordingWindow::OwnProcedure());
  // Neither the caption settings nor the colour were taken: a redraw looks as before.
  EXPECT_EQ(skin.CaptionButtonRect(CaptionButtonClose), RectI{});
  skin.Refresh();
  EXPECT_EQ(test::ReadBuffer(back).pixels, before.pixels);
}

TEST(SkinWindowCore, BuffersAreAsLargeAsTheScreenAndTheWindow) {
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  ASSERT_EQ(screenWidth, 1366);
  ASSERT_EQ(screenHeight, 768);
  struct Case {
    RectI bounds;
    std::pair<int, int> buffer;
  };
  for (const Case& c : {Case{kProgramBounds, {1366, 768}}, Case{{0, 0, 1500, 900}, {1500, 900}},
                        Case{{0, 0, 1500, 300}, {1500, 768}}, Case{{0, 0, 200, 1000}, {1366, 1000}}}) {
    SCOPED_TRACE(testing::Message() << c.bounds.width << " x " << c.bounds.height);
    SkinnedWindow skinned(c.bounds, {.show = false});
    EXPECT_EQ(skinned.Skin().FetchWindowRect(), (RectI{0, 0, c.bounds.width, c.bounds.height}));
    EXPECT_EQ(BitmapSizeIn(skinned.Skin().GetBackDC()), c.buffer);
    EXPECT_EQ(BitmapSizeIn(skinned.Skin().GetFrontDC()), c.buffer);
  }
}

TEST(SkinWindowCore, BuffersGrowWithTheWindowAndAreDrawnWhole) {
  SkinnedWindow skinned(kProgramBounds);
  SkinWindow& skin = skinned.Skin();
  // The size change reaches the skin as WM_SIZE, which refreshes.
  SetWindowPos(skinned.Handle(), nullptr, 0, 0, 1500, 900, SWP_NOZORDER | SWP_NOACTIVATE);
  test::Pump();
  EXPECT_TRUE(skinned.Window().Saw(WM_SIZE, SIZE_RESTORED, MAKELPARAM(1500, 900)));
  EXPECT_EQ(skin.FetchWindowRect(), (RectI{0, 0, 1500, 900}));
  for (HDC dc : {skin.GetBackDC(), skin.GetFrontDC()}) {
    EXPECT_EQ(BitmapSizeIn(dc), std::make_pair(1500, 900));
    const test::PixelGrid pixels = test::ReadBuffer(dc);
    ASSERT_EQ(pixels.width, 1500);
    // Inside the old size, and beyond it to the right and below: all of it painted blue.
    EXPECT_LE(test::ColorDistance(pixels.At(700, 450), kFlatBlue), 2);
    for (const auto& [x, y] : {std::pair{1400, 450}, std::pair{700, 850}, std::pair{1450, 850}}) {
      EXPECT_GT(test::Blue(pixels.At(x, y)), 150) << x << ", " << y;
    }
  }
}

TEST(SkinWindowCore, CaptionButtonLayout) {
  struct Case {
    int showCaption;
    int showMaximize;
    RectI close, maximize, minimize;
  };
  for (const Case& c :
       {Case{1, 1, {441, -1, 39, 20}, {413, -1, 28, 20}, {385, -1, 28, 20}},
        Case{1, 0, {441, -1, 39, 20}, {}, {413, -1, 28, 20}}, Case{0, 1, {}, {}, {}}, Case{2, 1, {}, {}, {}}}) {
    SCOPED_TRACE(testing::Message() << "caption " << c.showCaption << ", maximise " << c.showMaximize);
    SkinnedWindow skinned(kProgramBounds,
                          {.showCaptionButtons = c.showCaption, .showMaximizeButton = c.showMaximize, .show = false});
    EXPECT_EQ(skinned.Skin().CaptionButtonRect(CaptionButtonClose), c.close);
    EXPECT_EQ(skinned.Skin().CaptionButtonRect(CaptionButtonMaximize), c.maximize);
    EXPECT_EQ(skinned.Skin().CaptionButtonRect(CaptionButtonMinimize), c.minimize);
  }
}

TEST(SkinWindowCore, PointInRectExcludesTheRightEdgeAndIncludesTheBottom) {
  const RectI close{441, -1, 39, 20};
  struct Case {
    int x, y;
    bool inside;
  };
  for (const Case& c : {Case{441, -1, true}, Case{479, 19, true}, Case{480, 5, false}, Case{440, 5, false},
                        Case{450, -2, false}, Case{450, 20, false}}) {
    EXPECT_EQ(PointInRect(close, c.x, c.y), c.inside) << c.x << ", " << c.y;
  }
  // A height of 20 at y = -1 is hit on 21 rows; a rectangle of width 0 is never hit.
  EXPECT_TRUE(PointInRect({0, -1, 39, 20}, 0, 19));
  EXPECT_FALSE(PointInRect({}, 0, 0));
}

TEST(SkinWindowProc, FrameMessagesAreSwallowedOrPassedOn) {
  SkinnedWindow skinned(kProgramBounds);
  struct Case {
    UINT message;
    WPARAM wParam;
    bool swallowed;  // answered 1 without reaching the previous procedure
  };
  for (const Case& c : {Case{WM_NCCALCSIZE, 1, true}, Case{WM_NCCALCSIZE, 0, false}, Case{WM_NCPAINT, 1, true},
                        Case{WM_NCACTIVATE, 1, true}, Case{WM_NCACTIVATE, 0, true}, Case{0x00AE, 0, true}}) {
    SCOPED_TRACE(testing::Message() << "message 0x" << std::hex << c.message << ", wParam " << c.wParam);
    NCCALCSIZE_PARAMS sizes{};
    sizes.rgrc[0] = {50, 50, 530, 283};
    const LPARAM lParam = c.message == WM_NCCALCSIZE ? reinterpret_cast<LPARAM>(&sizes) : 0;
    skinned.Window().Forget();
    const LRESULT result = SendMessageA(skinned.Handle(), c.message, c.wParam, lParam);
    EXPECT_EQ(skinned.Window().SeenCount(c.message), c.swallowed ? 0 : 1);
    if (c.swallowed) {
      EXPECT_EQ(result, 1);
    }
    // The proposed rectangle is left as it is: the whole window is client area.
    if (c.message == WM_NCCALCSIZE) {
      EXPECT_EQ(sizes.rgrc[0].right - sizes.rgrc[0].left, 480);
    }
  }
  // Other messages go on to the previous procedure with their parameters.
  skinned.Window().Forget();
  SendMessageA(skinned.Handle(), WM_USER + 7, 11, 22);
  EXPECT_TRUE(skinned.Window().Saw(WM_USER + 7, 11, 22));
}

TEST(SkinWindowProc, PaintingCopiesTheDamagedPartOfTheFrontBuffer) {
  SkinnedWindow skinned(kProgramBounds);
  test::Pump(100);
  // Marks in the front buffer, which only painting can bring to the screen: one inside the
  // damaged rectangle, one outside it.
  HDC front = skinned.Skin().GetFrontDC();
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  const RECT inside{100, 100, 120, 120}, outside{300, 100, 320, 120};
  FillRect(front, &inside, red);
  FillRect(front, &outside, red);
  DeleteObject(red);
  const RECT damaged{90, 90, 130, 130};
  skinned.Window().Forget();
  InvalidateRect(skinned.Handle(), &damaged, FALSE);
  UpdateWindow(skinned.Handle());
  test::Pump(200);
  EXPECT_EQ(skinned.Window().SeenCount(WM_PAINT), 0);
  const test::PixelGrid screen = test::ReadScreen(skinned.Window().ScreenRect());
  EXPECT_EQ(screen.At(110, 110), 0xFF0000u);
  EXPECT_LE(test::ColorDistance(screen.At(310, 110), kFlatBlue), 2);
  // The back buffer was not touched: painting never draws.
  EXPECT_LE(test::ColorDistance(test::ReadBuffer(skinned.Skin().GetBackDC()).At(110, 110), kFlatBlue), 2);
}

// Mouse handlers: plain functions registered by their code address. Each records its calls; the
// one whose number is in `consumer` answers 1.
struct HandlerCall {
  int handler;
  int message;
  int x;
  int y;
  friend bool operator==(const HandlerCall&, const HandlerCall&) = default;
};
std::vector<HandlerCall> handlerCalls;
int consumer = 0;

template <int Number>
std::intptr_t RecordingHandler(std::intptr_t message, std::intptr_t x, std::intptr_t y) {
  handlerCalls.push_back({Number, static_cast<int>(message), static_cast<int>(x), static_cast<int>(y)});
  return Number == consumer ? 1 : 0;
}

HandlerAddress AddressOf(std::intptr_t (*handler)(std::intptr_t, std::intptr_t, std::intptr_t)) {
  return AsHandler(CodeAddress(handler));
}

TEST(SkinWindowProc, MouseHandlersRunLastRegisteredFirstUntilOneConsumes) {
  // The point lies on the close button and on a control rectangle: no window drag, and the skin's
  // own handling shows (the close button lights up or is drawn pressed).
  constexpr int kX = 450, kY = 8;
  struct Case {
    UINT message;
    int consumedBy;
    int removed;  // a handler index removed before the message, or 0
    std::vector<int> reached;
  };
  const std::vector<Case> cases = {
      {WM_LBUTTONDOWN, 0, 0, {3, 2, 1}}, {WM_LBUTTONDOWN, 2, 0, {3, 2}}, {WM_LBUTTONDOWN, 3, 0, {3}},
      {WM_LBUTTONDOWN, 0, 2, {3, 1}},    {WM_MOUSEMOVE, 2, 0, {3, 2}},   {WM_MOUSEMOVE, 1, 3, {2, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "message 0x" << std::hex << c.message << std::dec << ", consumer "
                                    << c.consumedBy << ", removed " << c.removed);
    SkinnedWindow skinned(kProgramBounds, {.showCaptionButtons = 1, .showMaximizeButton = 1});
    SkinWindow& skin = skinned.Skin();
    skin.AddControlRect({400, 0, 80, 40});
    ASSERT_EQ(skin.AddMouseHandler(AddressOf(&RecordingHandler<1>)), 1);
    ASSERT_EQ(skin.AddMouseHandler(AddressOf(&RecordingHandler<2>)), 2);
    ASSERT_EQ(skin.AddMouseHandler(AddressOf(&RecordingHandler<3>)), 3);
    if (c.removed) {
      ASSERT_TRUE(skin.RemoveMouseHandler(c.removed));
    }
    const test::PixelGrid before = test::ReadBuffer(skin.GetFrontDC());
    handlerCalls.clear();
    consumer = c.consumedBy;
    skinned.Window().Forget();
    skinned.Window().HoldDrags(true);

    skinned.Send(c.message, kX, kY);

    std::vector<int> reached;
    for (const HandlerCall& call : handlerCalls) {
      reached.push_back(call.handler);
      EXPECT_EQ(call, (HandlerCall{call.handler, static_cast<int>(c.message), kX, kY}));
    }
    EXPECT_EQ(reached, c.reached);
    // Whatever the handlers answered, the previous procedure sees the message...
    EXPECT_TRUE(skinned.Window().Saw(c.message, 0, MAKELPARAM(kX, kY)));
    EXPECT_EQ(skinned.Window().SeenCount(WM_NCLBUTTONDOWN), 0);
    // ...and so does the skin's own handler.
    if (c.message == WM_MOUSEMOVE) {
      EXPECT_TRUE(skin.IsCaptionHot(CaptionButtonClose));
    } else {
      const Argb pressed = test::ReadBuffer(skin.GetFrontDC()).At(kX, kY);
      EXPECT_GT(test::Red(pressed), test::Blue(pressed) + 60) << std::hex << pressed;
      EXPECT_NE(pressed, before.At(kX, kY));
    }
  }
  consumer = 0;
}

TEST(SkinWindowProc, MouseCoordinatesComeFromLParam) {
  SkinnedWindow skinned(kProgramBounds);
  skinned.Skin().AddMouseHandler(AddressOf(&RecordingHandler<1>));
  struct Case {
    std::uint32_t lParam;
    int x, y;
  };
  // x is the low word read unsigned, y the high word read signed.
  for (const Case& c : {Case{0xFFFB0010, 16, -5}, Case{0x0005FFF0, 65520, 5}, Case{0x80008000, 32768, -32768}}) {
    SCOPED_TRACE(testing::Message() << std::hex << c.lParam);
    handlerCalls.clear();
    skinned.Window().Forget();
    SendMessageA(skinned.Handle(), WM_MOUSEMOVE, 0, static_cast<LPARAM>(c.lParam));
    EXPECT_EQ(handlerCalls, (std::vector<HandlerCall>{{1, WM_MOUSEMOVE, c.x, c.y}}));
    EXPECT_TRUE(skinned.Window().Saw(WM_MOUSEMOVE, 0, static_cast<LPARAM>(c.lParam)));
  }
}

// A handler that, on its first call, removes the handler registered before it and registers
// another one.
SkinWindow* dispatchingSkin = nullptr;
std::intptr_t ReshufflingHandler(std::intptr_t message, std::intptr_t x, std::intptr_t y) {
  handlerCalls.push_back({9, static_cast<int>(message), static_cast<int>(x), static_cast<int>(y)});
  static bool done = false;
  if (!done) {
    done = true;
    dispatchingSkin->RemoveMouseHandler(2);
    dispatchingSkin->AddMouseHandler(AddressOf(&RecordingHandler<4>));
  }
  return 0;
}

TEST(SkinWindowProc, HandlersRemovedDuringDispatchAreSkippedAndAddedOnesWaitForTheNextMessage) {
  SkinnedWindow skinned(kProgramBounds);
  SkinWindow& skin = skinned.Skin();
  dispatchingSkin = &skin;
  skin.AddMouseHandler(AddressOf(&RecordingHandler<1>));
  skin.AddMouseHandler(AddressOf(&RecordingHandler<2>));
  skin.AddMouseHandler(AsHandler(CodeAddress(&ReshufflingHandler)));
  consumer = 0;
  auto reachedBy = [&](int x) {
    handlerCalls.clear();
    skinned.Send(WM_MOUSEMOVE, x, 100);
    std::vector<int> reached;
    for (const HandlerCall& call : handlerCalls) reached.push_back(call.handler);
    return reached;
  };
  EXPECT_EQ(reachedBy(100), (std::vector<int>{9, 1}));
  EXPECT_EQ(reachedBy(101), (std::vector<int>{4, 9, 1}));
  dispatchingSkin = nullptr;
}

#if defined(__x86_64__)
TEST(SkinWindowProc, OnlyTheLow32BitsOfAHandlersResultCount) {
  // A handler's result is a 32-bit value: whatever a procedure leaves in the upper half of RAX
  // (Win64 leaves it undefined for an int result) does not matter. This one answers 1 with
  // 0x00000001'00000001 in RAX: mov rax, imm64; ret.
  const std::uint8_t code[] = {0x48, 0xB8, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0xC3};
  const MethodThunk answersOne(code);
  ASSERT_FALSE(answersOne.empty());
  SkinnedWindow skinned(kProgramBounds);
  skinned.Skin().AddMouseHandler(AddressOf(&RecordingHandler<1>));
  skinned.Skin().AddMouseHandler(AsHandler(ThunkEntry(answersOne)));
  handlerCalls.clear();
  skinned.Send(WM_MOUSEMOVE, 100, 100);
  EXPECT_TRUE(handlerCalls.empty());
}
#endif

TEST(SkinWindowRegistry, IndexesStayValidAfterRemovals) {
  SkinWindow skin;
  struct Registry {
    const char* name;
    int (SkinWindow::*add)(HandlerAddress);
    bool (SkinWindow::*remove)(int);
  };
  for (const Registry& r : {Registry{"mouse", &SkinWindow::AddMouseHandler, &SkinWindow::RemoveMouseHandler},
                            Registry{"paint", &SkinWindow::AddPaintHandler, &SkinWindow::RemovePaintHandler}}) {
    SCOPED_TRACE(r.name);
    for (int i = 1; i <= 3; ++i) EXPECT_EQ((skin.*r.add)(AddressOf(&RecordingHandler<1>)), i);
    EXPECT_TRUE((skin.*r.remove)(2));
    EXPECT_TRUE((skin.*r.remove)(2));  // removing again is harmless
    EXPECT_FALSE((skin.*r.remove)(4));
    // The removed entry keeps its place: the list still has three entries.
    EXPECT_EQ((skin.*r.add)(AddressOf(&RecordingHandler<2>)), 4);
  }

  EXPECT_EQ(skin.AddControlRect({1, 2, 3, 4}), 1);
  EXPECT_EQ(skin.AddControlRect({5, 6, 7, 8}), 2);
  std::vector<RectI> list = {{9, 9, 9, 9}};
  EXPECT_FALSE(skin.RemoveControlRect(5));
  EXPECT_FALSE(skin.RemoveControlRect(3));
  EXPECT_EQ(skin.GetControlRects(list), (std::vector<RectI>{{1, 2, 3, 4}, {5, 6, 7, 8}}));
  EXPECT_TRUE(skin.RemoveControlRect(1));
  const std::vector<RectI> after = skin.GetControlRects(list);
  EXPECT_EQ(after, (std::vector<RectI>{{}, {5, 6, 7, 8}}));
  EXPECT_EQ(list, after);  // also stored into the caller's list
  EXPECT_EQ(skin.AddControlRect({1, 1, 1, 1}), 3);
}

TEST(SkinWindowCore, DetachRestoresTheWindowAndAttachSkinsItAgain) {
  SkinnedWindow skinned(kProgramBounds);
  SkinWindow& skin = skinned.Skin();
  const HWND window = skinned.Handle();
  auto calcSizeReachesWindow = [&] {
    RECT proposed = {50, 50, 530, 283};
    skinned.Window().Forget();
    SendMessageA(window, WM_NCCALCSIZE, 1, reinterpret_cast<LPARAM>(&proposed));
    return skinned.Window().SeenCount(WM_NCCALCSIZE) == 1;
  };
  EXPECT_FALSE(calcSizeReachesWindow());

  skin.Detach();
  EXPECT_EQ(skin.GetWindowHandle(), reinterpret_cast<HWND>(static_cast<INT_PTR>(-1)));
  EXPECT_EQ(skin.GetBackDC(), nullptr);
  EXPECT_EQ(ProcedureOf(window), test::RecordingWindow::OwnProcedure());
  EXPECT_TRUE(calcSizeReachesWindow());

  const resources::Bytes icon = resources::ProgramIcon();
  ASSERT_TRUE(skin.Attach(window, ByteBuffer(icon.begin(), icon.end()), 0, 0, 0xC06000));
  EXPECT_EQ(skin.GetWindowHandle(), window);
  EXPECT_NE(ProcedureOf(window), test::RecordingWindow::OwnProcedure());
  EXPECT_FALSE(calcSizeReachesWindow());
  EXPECT_LE(test::ColorDistance(test::ReadBuffer(skin.GetFrontDC()).At(240, 150), kFlatBlue), 2);
}

}  // namespace
}  // namespace tavrel::skin
