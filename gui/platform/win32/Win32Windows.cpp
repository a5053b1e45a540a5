// Window classes, the window procedure, child windows and their device contexts.
#include <cstring>
#include <new>

#include "gui/platform/win32/Win32Surface.h"

namespace wrenfold {

namespace {

// A class registered by this module and the handler its windows report to.
struct RegisteredClass {
  ATOM atom;
  char name[64];
  const platform::WindowHandler* handler;
};

// One class per loaded module is all the toolkit registers; a few spare slots cost nothing.
constexpr int maxRegisteredClasses = 4;
RegisteredClass registeredClasses[maxRegisteredClasses] = {};

RegisteredClass* freeClassSlot() {
  for (RegisteredClass& entry : registeredClasses) {
    if (entry.atom == 0) return &entry;
  }
  return nullptr;
}

RegisteredClass* classNamed(const char* name) {
  for (RegisteredClass& entry : registeredClasses) {
    if (entry.atom != 0 && std::strcmp(entry.name, name) == 0) return &entry;
  }
  return nullptr;
}

void* userDataOf(HWND window) { return reinterpret_cast<void*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

// Unsigned 16-bit coordinates of a button message, as the toolkit expects them.
Point messagePoint(LPARAM position) {
  return Point(static_cast<int32_t>(LOWORD(position)), static_cast<int32_t>(HIWORD(position)));
}

LRESULT paint(HWND window, const platform::WindowHandler* handler, void* userData) {
  PAINTSTRUCT paintInfo;
  HDC dc = BeginPaint(window, &paintInfo);
  if (dc != nullptr && handler->paint != nullptr) {
    platform::Surface surface;
    surface.dc = dc;
    handler->paint(win32::platformWindow(window), userData, &surface, win32::fromNativeRect(paintInfo.rcPaint));
  }
  EndPaint(window, &paintInfo);
  return 0;
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const platform::WindowHandler* handler = win32::handlerOfWindow(window);
  void* userData = userDataOf(window);
  if (handler == nullptr || userData == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_DESTROY:
      // A host that destroys its window never lets the frame revoke the registration itself.
      platform::revokeDropTarget(win32::platformWindow(window));
      if (handler->destroyed != nullptr) handler->destroyed(win32::platformWindow(window), userData);
      break;
    case WM_PAINT:
      if (GetUpdateRect(window, nullptr, FALSE)) return paint(window, handler, userData);
      break;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (handler->buttonDown != nullptr) handler->buttonDown(win32::platformWindow(window), userData, messagePoint(lParam));
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

namespace win32 {

const platform::WindowHandler* handlerOfWindow(HWND window) {
  const ATOM atom = static_cast<ATOM>(GetClassWord(window, GCW_ATOM));
  for (const RegisteredClass& entry : registeredClasses) {
    if (entry.atom != 0 && entry.atom == atom) return entry.handler;
  }
  return nullptr;
}

}  // namespace win32

namespace platform {

bool registerWindowClass(const char* name, void* module, const WindowHandler* handler) {
  RegisteredClass* slot = freeClassSlot();
  if (name == nullptr || handler == nullptr || slot == nullptr || std::strlen(name) >= sizeof(slot->name)) return false;
  WNDCLASSA windowClass = {};
  windowClass.style = CS_GLOBALCLASS;
  windowClass.lpfnWndProc = windowProcedure;
  windowClass.hInstance = static_cast<HINSTANCE>(module);
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = name;
  const ATOM atom = RegisterClassA(&windowClass);
  if (atom == 0) return false;
  slot->atom = atom;
  std::strcpy(slot->name, name);
  slot->handler = handler;
  return true;
}

void unregisterWindowClass(const char* name, void* module) {
  if (name == nullptr) return;
  // A class that Windows keeps (a window of it still exists) keeps its handler too.
  if (!UnregisterClassA(name, static_cast<HINSTANCE>(module))) return;
  if (RegisteredClass* entry = classNamed(name)) *entry = RegisteredClass{};
}

Window* createChildWindow(const char* className, const char* title, void* parent, Rect bounds, void* module) {
  if (className == nullptr || parent == nullptr) return nullptr;
  HWND window = CreateWindowExA(0, className, title != nullptr ? title : "", WS_CHILD | WS_VISIBLE, bounds.left,
                                bounds.top, bounds.width(), bounds.height(), static_cast<HWND>(parent), nullptr,
                                static_cast<HINSTANCE>(module), nullptr);
  return win32::platformWindow(window);
}

void destroyWindow(Window* window) {
  if (window != nullptr) DestroyWindow(win32::nativeWindow(window));
}

void setWindowUserData(Window* window, void* userData) {
  if (window != nullptr) SetWindowLongPtrA(win32::nativeWindow(window), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(userData));
}

void* windowUserData(Window* window) { return window != nullptr ? userDataOf(win32::nativeWindow(window)) : nullptr; }

Rect windowScreenRect(Window* window) {
  RECT area;
  if (window == nullptr || !GetWindowRect(win32::nativeWindow(window), &area)) return Rect();
  return win32::fromNativeRect(area);
}

void invalidateWindow(Window* window, const Rect* area) {
  if (window == nullptr) return;
  if (area == nullptr) {
    InvalidateRect(win32::nativeWindow(window), nullptr, FALSE);
    return;
  }
  const RECT native = win32::nativeRect(*area);
  InvalidateRect(win32::nativeWindow(window), &native, FALSE);
}

Surface* acquireWindowSurface(Window* window) {
  if (window == nullptr) return nullptr;
  HDC dc = GetDC(win32::nativeWindow(window));
  if (dc == nullptr) return nullptr;
  Surface* surface = new (std::nothrow) Surface();
  if (surface == nullptr) {
    ReleaseDC(win32::nativeWindow(window), dc);
    return nullptr;
  }
  surface->dc = dc;
  surface->window = win32::nativeWindow(window);
  return surface;
}

void releaseWindowSurface(Window* window, Surface* surface) {
  if (surface == nullptr) return;
  if (surface->dc != nullptr) ReleaseDC(window != nullptr ? win32::nativeWindow(window) : surface->window, surface->dc);
  delete surface;
}

}  // namespace platform
}  // namespace wrenfold
