// The skin's figures: button fade timing, the cost of a redraw and of the warning text, memory over many refreshes
// and fades, and the call cost of a method stub. The window is laid out as the program lays out its main window.
// Prints one line per figure, "<key> <value> <context>", which scripts/bench gathers into its table; slowness is
// printed, never failed on.
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string_view>
#include <vector>

#include "app/app_texts.h"
#include "framework/application.h"
#include "gdiplus_objects/plus_graphics.h"
#include "gdiplus_objects/plus_object.h"
#include "resources/embedded_pictures.h"
#include "skin/method_thunk.h"
#include "skin/skin_button.h"
#include "skin/skin_window.h"

namespace {

using tavrel::framework::Uptime;
namespace skin = tavrel::skin;

constexpr int kRepetitions = 7;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Milliseconds that `work` takes, the median of kRepetitions runs of `calls` calls each, per call.
double MedianMs(int calls, const std::function<void()>& work) {
  std::vector<double> perCall;
  for (int r = 0; r < kRepetitions; ++r) {
    const double start = Uptime();
    for (int i = 0; i < calls; ++i) work();
    perCall.push_back((Uptime() - start) / calls);
  }
  return Median(perCall);
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

int clicks = 0;
void CountClick() { ++clicks; }

tavrel::RectF Layout(float x, float y, float width, float height) { return {x, y, width, height}; }

// The program's main window: 480 x 233 at (50, 50), titled Tavrel, skinned in 0xC06000 with the program icon, its two
// buttons and its two texts.
class Scene {
 public:
  Scene() {
    static const ATOM windowClass = [] {
      WNDCLASSA description{};
      description.lpfnWndProc = DefWindowProcA;
      description.hInstance = GetModuleHandleA(nullptr);
      description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
      description.lpszClassName = "TavrelBenchWindow";
      return RegisterClassA(&description);
    }();
    // The pointer stays off the window: its moves would start fades between the measured calls.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    window = CreateWindowExA(0, MAKEINTATOM(windowClass), "Tavrel", WS_POPUP, 50, 50, 480, 233, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    const tavrel::resources::Bytes icon = tavrel::resources::ProgramIcon();
    skinWindow.Attach(window, tavrel::ByteBuffer(icon.begin(), icon.end()), 0, 0, 0xC06000);
    const auto onClick = reinterpret_cast<skin::HandlerAddress>(&CountClick);
    clearButton.Create(skinWindow, {56, 96, 160, 48}, tavrel::app::kClearButtonCaption, 20, onClick);
    exitButton.Create(skinWindow, {264, 96, 160, 48}, tavrel::app::kExitButtonCaption, 20, onClick);
    skin::TextOptions warning;
    warning.layout = Layout(72, 48, 360, 48);
    warning.size = 14;
    skinWindow.AddText(tavrel::app::kWarningText, Gdiplus::FontStyleItalic, warning);
    skin::TextOptions microblog;
    microblog.layout = Layout(16, 176, 120, 38);
    microblog.size = 13;
    skinWindow.AddText(tavrel::app::kMicroblogCaption, Gdiplus::FontStyleUnderline, microblog);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    Pump();
  }
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;
  ~Scene() {
    clearButton.Remove(skinWindow);
    exitButton.Remove(skinWindow);
    skinWindow.Detach();
    DestroyWindow(window);
    Pump();
  }

  skin::SkinWindow& Skin() { return skinWindow; }
  skin::SkinButton& Button() { return clearButton; }

 private:
  HWND window = nullptr;
  skin::SkinWindow skinWindow;
  skin::SkinButton clearButton;
  skin::SkinButton exitButton;
};

void Print(const char* key, double value, const char* format, double a = 0, double b = 0) {
  std::printf("%s %.4g ", key, value);
  std::printf(format, a, b);
  std::printf("\n");
  std::fflush(stdout);
}

void BenchFades(Scene& scene) {
  skin::SkinButton& button = scene.Button();
  // Each figure alternates the direction of its fades, as moving in and out of the button does.
  const auto fadeMs = [&](double period) {
    int tile = 1;
    return MedianMs(1, [&] {
      button.FadeTiles(tile, 3 - tile, period);
      tile = 3 - tile;
    });
  };
  const double at45 = fadeMs(45);
  const double at60 = fadeMs(60);
  const double work = fadeMs(0) / 5;
  Print("fade_ratio_45", at45 / (5 * 45), "fade_ms=%.1f nominal_ms=%.0f", at45, 5 * 45);
  Print("fade_ratio_60", at60 / (5 * 60), "fade_ms=%.1f nominal_ms=%.0f", at60, 5 * 60);
  Print("frame_work_fraction", work / 45, "frame_work_ms=%.2f period_ms=%.0f", work, 45);
}

void BenchRedraw(Scene& scene) {
  skin::SkinWindow& skinWindow = scene.Skin();
  skinWindow.Refresh();
  const double refresh = MedianMs(10, [&] { skinWindow.Refresh(); });

  HDC back = skinWindow.GetBackDC();
  HDC front = skinWindow.GetFrontDC();
  BITMAP buffer{};
  GetObjectA(GetCurrentObject(back, OBJ_BITMAP), sizeof buffer, &buffer);
  const double blit = MedianMs(20, [&] {
    BitBlt(front, 0, 0, buffer.bmWidth, buffer.bmHeight, back, 0, 0, SRCCOPY);
    GdiFlush();
  });
  std::printf("refresh_vs_blit %.4g refresh_ms=%.2f blit_ms=%.3f buffer=%ldx%ld\n", refresh / blit, refresh, blit,
              buffer.bmWidth, buffer.bmHeight);

  // Where a refresh goes: the back buffer's background alone, the whole render (which composes), the compose, and
  // one tile of a button as its fades draw it.
  tavrel::plus::PlusGraphics graphics;
  graphics.CreateFromHDC(back);
  const double background =
      MedianMs(5, [&] { skin::PaintColorBackground(graphics, buffer.bmWidth, buffer.bmHeight, 0xC06000); });
  const double render = MedianMs(5, [&] { skinWindow.Render(); });
  const double compose = MedianMs(5, [&] { skinWindow.Compose(); });
  tavrel::plus::PlusGraphics frontGraphics;
  frontGraphics.CreateFromHDC(front);
  const double tile = MedianMs(5, [&] { scene.Button().DrawState(frontGraphics, 1, 100); });
  frontGraphics.Dispose();
  std::printf("refresh_parts %.2f background_ms=%.2f render_ms=%.2f compose_ms=%.2f button_tile_ms=%.2f\n", refresh,
              background, render, compose, tile);
  const double glow = MedianMs(10, [&] {
    skin::TextOptions options;
    options.layout = Layout(72, 48, 360, 48);
    options.size = 14;
    skin::DrawGlowText(graphics, Gdiplus::FontStyleItalic, tavrel::app::kWarningText, options);
  });
  graphics.Dispose();
  Print("glow_text_ms", glow, "share_of_refresh=%.2f", glow / refresh);
  skinWindow.Refresh();
}

// Private bytes of the process. Wine 8.0 leaves PrivateUsage at 0; later Wine fills it with PagefileUsage, which
// Wine takes from the resident anonymous memory of the process (RssAnon and VmSwap): used in its place.
std::int64_t PrivateBytes(bool* fallback = nullptr) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  if (fallback) *fallback = counters.PrivateUsage == 0;
  return static_cast<std::int64_t>(counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage);
}

// The bytes of every busy block on every heap of the process: growth here is memory handed out and not given back,
// at the level of single allocations.
std::int64_t HeapBusyBytes() {
  std::vector<HANDLE> heaps(64);
  const DWORD count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
  heaps.resize(std::min<std::size_t>(count, heaps.size()));
  std::int64_t busy = 0;
  for (HANDLE heap : heaps) {
    if (!HeapLock(heap)) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heap, &entry)) {
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy += entry.cbData;
    }
    HeapUnlock(heap);
  }
  return busy;
}

// Memory is cumulative, so this figure is one run rather than a median: private bytes after 1000 refreshes and 200
// fades minus after the first refresh, read at five checkpoints on the way (each a fifth of the work) so that a
// steady leak shows as growth at every checkpoint rather than a one-time cost at the first.
void BenchMemory() {
  Scene scene;
  skin::SkinButton& button = scene.Button();
  bool fallback = false;
  scene.Skin().Refresh();
  const std::int64_t before = PrivateBytes(&fallback);
  const std::int64_t heapBefore = HeapBusyBytes();
  std::int64_t previous = before;
  for (int round = 1; round <= 5; ++round) {
    for (int i = 0; i < 200; ++i) {
      scene.Skin().Refresh();
      // The fades run without their pauses: the figure is about memory, not time.
      if (i % 5 == 0) button.FadeTiles(1 + (i / 5) % 3, 1 + (i / 5 + 1) % 3, 0);
    }
    Pump();
    const std::int64_t now = PrivateBytes();
    std::printf("memory_checkpoint %d growth=%lld since_last=%lld\n", round, static_cast<long long>(now - before),
                static_cast<long long>(now - previous));
    previous = now;
  }
  std::printf("memory_growth_bytes %lld heap_busy_growth=%lld counter=%s\n", static_cast<long long>(previous - before),
              static_cast<long long>(HeapBusyBytes() - heapBefore),
              fallback ? "PagefileUsage(Wine8.0:PrivateUsage=0)" : "PrivateUsage");
  std::fflush(stdout);
}

// The entry a stub is made for: as the button's handler entry, it reads the object through the slot.
struct Counter {
  std::intptr_t total = 0;
};
__attribute__((noinline)) std::intptr_t CountEntry(Counter** slot, std::intptr_t a, std::intptr_t b, std::intptr_t c) {
  (*slot)->total += a + b + c;
  return (*slot)->total;
}

void BenchStub() {
  Counter counter;
  Counter* holder = &counter;
  const skin::MethodThunk stub = skin::MakeMethodThunk(&counter, skin::CodeAddress(&CountEntry), 3);
  using StubCall = std::intptr_t (*)(std::intptr_t, std::intptr_t, std::intptr_t);
  using EntryCall = std::intptr_t (*)(Counter**, std::intptr_t, std::intptr_t, std::intptr_t);
  // Called through volatile pointers, so that the compiler neither inlines the entry nor drops a call.
  StubCall volatile viaStub = reinterpret_cast<StubCall>(skin::ThunkEntry(stub));
  EntryCall volatile direct = &CountEntry;
  constexpr int kCalls = 2000000;
  const double stubMs = MedianMs(1, [&] {
    for (int i = 0; i < kCalls; ++i) viaStub(i, 1, 2);
  });
  const double directMs = MedianMs(1, [&] {
    for (int i = 0; i < kCalls; ++i) direct(&holder, i, 1, 2);
  });
  const double stubNs = stubMs * 1e6 / kCalls, directNs = directMs * 1e6 / kCalls;
  Print("stub_vs_direct", stubNs / directNs, "stub_ns=%.2f direct_ns=%.2f", stubNs, directNs);
}

}  // namespace

int main(int argc, char** argv) {
  tavrel::plus::StartGdiplus();
  const bool memory = argc < 2 || std::string_view(argv[1]) != "--no-memory";
  {
    Scene scene;
    BenchFades(scene);
    BenchRedraw(scene);
  }
  BenchStub();
  if (memory) BenchMemory();
  return 0;
}
