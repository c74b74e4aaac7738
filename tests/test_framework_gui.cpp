// The application framework on real windows: forms and their events, the queued destroy, the
// message loop's end, the termination routine, message-box modality, time and the screen.
#include <gtest/gtest.h>

#include "framework/application.h"
#include "framework/form.h"

namespace tavrel::framework {
namespace {

int createdCalls = 0;
bool visibleWhenCreated = true;
HWND createdWindow = nullptr;

void OnCreated() {
  ++createdCalls;
  createdWindow = StartupFormWindow();
  visibleWhenCreated = IsWindowVisible(createdWindow) != 0;
}

int clicks = 0;
void OnClicked() { ++clicks; }

FormDescription TestForm() {
  FormDescription form;
  form.caption = "Framework test";
  form.rect = {60, 70, 300, 200};
  form.created = OnCreated;
  ControlDescription hidden;
  hidden.name = "hidden";
  hidden.rect = {10, 20, 100, 30};
  hidden.visible = false;
  hidden.tabStop = true;
  hidden.clicked = OnClicked;
  ControlDescription link;
  link.kind = ControlKind::HyperlinkBox;
  link.name = "link";
  link.rect = {10, 100, 180, 24};
  link.text = "http://example.invalid/";
  link.font = FontDescription{"Arial", 12, true, ANSI_CHARSET};
  form.controls = {hidden, link};
  return form;
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

RectI ClientRectOf(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

TEST(Form, LoadsWindowAndControlsThenRaisesCreatedBeforeShowing) {
  HWND window = LoadForm(TestForm());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(createdCalls, 1);
  EXPECT_EQ(createdWindow, window);
  EXPECT_FALSE(visibleWhenCreated);
  EXPECT_TRUE(IsWindowVisible(window));
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ((RectI{r.left, r.top, r.right - r.left, r.bottom - r.top}), (RectI{60, 70, 300, 200}));
  char title[64] = {};
  GetWindowTextA(window, title, sizeof(title));
  EXPECT_STREQ(title, "Framework test");

  HWND hidden = FormControl(window, "hidden");
  ASSERT_NE(hidden, nullptr);
  EXPECT_FALSE(IsWindowVisible(hidden));
  EXPECT_TRUE(GetWindowLongA(hidden, GWL_STYLE) & WS_TABSTOP);
  EXPECT_EQ(ClientRectOf(hidden), (RectI{10, 20, 100, 30}));
  HWND link = FormControl(window, "link");
  ASSERT_NE(link, nullptr);
  char text[64] = {};
  GetWindowTextA(link, text, sizeof(text));
  EXPECT_STREQ(text, "http://example.invalid/");
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(link, WM_GETFONT, 0, 0)), sizeof(font), &font);
  EXPECT_EQ(font.lfHeight, -12);
  EXPECT_TRUE(font.lfItalic);
  EXPECT_EQ(FormControl(window, "missing"), nullptr);

  // The hidden button's clicked event reaches its handler.
  SendMessageA(hidden, BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);

  // The destroy is queued: the window lives until the queue is read.
  DestroyFormWindow(window);
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(OpenFormWindowCount(), 1);
  RunMessageLoop();  // ends because the last form window is gone
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(OpenFormWindowCount(), 0);
}

int terminations = 0;
void OnEnd() { ++terminations; }

TEST(Application, TerminationRoutineRunsOnce) {
  RegisterTermination(OnEnd);
  RunTermination();
  RunTermination();
  EXPECT_EQ(terminations, 1);
}

TEST(Application, MessageBoxIsTaskModalUnlessSystemModalIsAsked) {
  struct Case {
    UINT style;
    bool ownWindowEnabled;
  };
  for (const Case& c : {Case{0, false}, Case{MB_SYSTEMMODAL, true}}) {
    HWND own = CreateWindowExA(0, "STATIC", "own", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                               nullptr, nullptr);
    static HWND probed;
    static bool enabledDuringBox;
    probed = own;
    // While the box runs its own loop, a timer looks at our window and closes the box.
    SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      enabledDuringBox = IsWindowEnabled(probed) != 0;
      if (HWND box = FindWindowA(nullptr, "Modality")) PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(ShowMessageBox("text", c.style, "Modality"), IDOK);
    EXPECT_EQ(enabledDuringBox, c.ownWindowEnabled) << "style " << c.style;
    EXPECT_TRUE(IsWindowEnabled(own));
    DestroyWindow(own);
    PumpMessages();
  }
}

TEST(Application, TimeAndScreen) {
  const double before = Uptime();
  Sleep(30);
  const double slept = Uptime() - before;
  EXPECT_GE(slept, 29.0);
  const double again = Uptime();
  Sleep(-50);  // a negative duration sleeps 0 ms
  EXPECT_LT(Uptime() - again, 20.0);
  EXPECT_EQ(ScreenWidth(), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(ScreenHeight(), GetSystemMetrics(SM_CYSCREEN));
  EXPECT_GT(ScreenWidth(), 0);
}

}  // namespace
}  // namespace tavrel::framework
