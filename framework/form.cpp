#include "framework/form.h"

#include <shellapi.h>

#include <memory>

namespace tavrel::framework {

namespace {

constexpr char kFormClass[] = "TavrelForm";
// Posted by DestroyFormWindow; the form destroys itself when its queue reaches it.
constexpr UINT kDestroyFormMessage = WM_APP + 1;
constexpr int kFirstControlId = 1000;
// A hyperlink box sits on the skinned surface: its ground matches the surface's blue.
constexpr COLORREF kHyperlinkGround = RGB(97, 154, 210);
constexpr COLORREF kHyperlinkText = RGB(0, 32, 120);

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using UniqueGdiObject = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, GdiObjectDeleter>;

struct Control {
  const ControlDescription* description;
  HWND window;
  UniqueGdiObject font;
};

struct Form {
  FormDescription description;
  HWND window = nullptr;
  HCURSOR cursor = nullptr;
  std::vector<Control> controls;
  UniqueGdiObject hyperlinkGround{CreateSolidBrush(kHyperlinkGround)};
};

std::vector<std::unique_ptr<Form>> forms;
HWND startupWindow = nullptr;
int openWindows = 0;

Form* FormOf(HWND window) { return reinterpret_cast<Form*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

const Control* ControlById(Form& form, WPARAM id) {
  const size_t index = LOWORD(id) - kFirstControlId;
  return index < form.controls.size() ? &form.controls[index] : nullptr;
}

void OnCommand(Form& form, WPARAM wParam) {
  const Control* control = ControlById(form, wParam);
  if (!control || (HIWORD(wParam) != BN_CLICKED && HIWORD(wParam) != STN_CLICKED)) return;
  const ControlDescription& description = *control->description;
  if (description.kind == ControlKind::HyperlinkBox && !description.openedAddress.empty()) {
    ShellExecuteA(form.window, "open", description.openedAddress.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
  if (description.clicked) description.clicked();
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    form->window = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    ++openWindows;
  }
  Form* form = FormOf(window);
  if (!form) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case kDestroyFormMessage:
      DestroyWindow(window);
      return 0;
    case WM_COMMAND:
      OnCommand(*form, wParam);
      return 0;
    case WM_SETCURSOR:
      if (form->cursor) {
        SetCursor(form->cursor);
        return TRUE;
      }
      break;
    case WM_CTLCOLORSTATIC: {
      auto dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, kHyperlinkText);
      SetBkColor(dc, kHyperlinkGround);
      return reinterpret_cast<LRESULT>(form->hyperlinkGround.get());
    }
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      if (--openWindows == 0) PostQuitMessage(0);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterFormClass(const FormDescription& description) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExA(instance, kFormClass, &existing)) return true;
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = FormProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = description.icon ? LoadIconA(instance, description.icon) : nullptr;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kFormClass;
  return RegisterClassExA(&windowClass) != 0;
}

UniqueGdiObject MakeFont(const FontDescription& font) {
  // A negative height asks for the character height rather than the cell height.
  return UniqueGdiObject(CreateFontA(-font.characterHeight, 0, 0, 0, FW_NORMAL, font.italic, FALSE, FALSE,
                                     font.charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                     DEFAULT_PITCH | FF_DONTCARE, font.face.c_str()));
}

void CreateControl(Form& form, const ControlDescription& description, int id) {
  DWORD style = WS_CHILD | (description.visible ? WS_VISIBLE : 0) | (description.tabStop ? WS_TABSTOP : 0);
  const char* windowClass = "BUTTON";
  if (description.kind == ControlKind::PushButton) {
    style |= BS_PUSHBUTTON;
  } else {
    windowClass = "STATIC";
    style |= SS_NOTIFY | SS_LEFT | SS_CENTERIMAGE;
  }
  const RectI& r = description.rect;
  HWND control = CreateWindowExA(0, windowClass, description.text.c_str(), style, r.x, r.y, r.width, r.height,
                                 form.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
  UniqueGdiObject font = description.font ? MakeFont(*description.font) : nullptr;
  if (font) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  form.controls.push_back({&description, control, std::move(font)});
}

}  // namespace

HWND LoadForm(const FormDescription& description) {
  auto form = std::make_unique<Form>();
  form->description = description;
  Form& f = *form;
  forms.push_back(std::move(form));
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (f.description.cursor) f.cursor = LoadCursorA(instance, f.description.cursor);
  const RectI& r = f.description.rect;
  HWND window = nullptr;
  if (RegisterFormClass(f.description)) {
    // A popup: the skin draws the whole window; clipping children keeps its copies off the controls.
    window = CreateWindowExA(WS_EX_APPWINDOW, kFormClass, f.description.caption.c_str(),
                             WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, r.x, r.y, r.width, r.height,
                             nullptr, nullptr, instance, &f);
  }
  if (!window) {
    MessageBoxA(nullptr, "The main window could not be created.", f.description.caption.c_str(), MB_ICONERROR);
    forms.pop_back();
    return nullptr;
  }
  if (!startupWindow) startupWindow = window;
  int id = kFirstControlId;
  for (const ControlDescription& control : f.description.controls) CreateControl(f, control, id++);
  if (f.description.created) f.description.created();
  if (f.description.visible && IsWindow(window)) {
    ShowWindow(window, SW_SHOWNORMAL);
    // A form reports its size once it is shown, so that whatever its created handler laid over
    // the window (a skin, controls drawn by it) lays itself out and draws with everything in place.
    RECT client{};
    GetClientRect(window, &client);
    SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    UpdateWindow(window);
  }
  return window;
}

HWND StartupFormWindow() { return startupWindow; }

HWND FormControl(HWND window, const std::string& name) {
  Form* form = FormOf(window);
  if (!form) return nullptr;
  for (const Control& control : form->controls) {
    if (control.description->name == name) return control.window;
  }
  return nullptr;
}

void DestroyFormWindow(HWND window) { PostMessageA(window, kDestroyFormMessage, 0, 0); }

int OpenFormWindowCount() { return openWindows; }

}  // namespace tavrel::framework
