// The window procedure, child windows and their device contexts.
#include <windows.h>
#include <windowsx.h>

#include <cstring>
#include <new>

#include "base/ModuleHandle.h"
#include "gui/platform/shared/DeviceScale.h"
#include "gui/platform/win32/Win32Surface.h"

namespace wrenfold {

namespace {

// Where a window of the class keeps its scale, as the bits of the float.
constexpr int scaleSlot = 0;

void* userDataOf(HWND window) {
  return reinterpret_cast<void*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void keepScale(HWND window, float scale) {
  LONG bits = 0;
  static_assert(sizeof(bits) == sizeof(scale), "a scale fits a window's long");
  std::memcpy(&bits, &scale, sizeof(bits));
  SetWindowLongA(window, scaleSlot, bits);
}

// Unsigned 16-bit coordinates of a button message, as the toolkit expects them, in editor pixels.
Point messagePoint(HWND window, LPARAM position) {
  const Point device(static_cast<int32_t>(LOWORD(position)),
                     static_cast<int32_t>(HIWORD(position)));
  return platform::toEditor(device, win32::windowScaleOf(window));
}

LRESULT paint(HWND window, const platform::WindowHandler* handler, void* userData) {
  PAINTSTRUCT paintInfo;
  HDC dc = BeginPaint(window, &paintInfo);
  if (dc != nullptr && handler->paint != nullptr) {
    platform::Surface surface;
    surface.dc = dc;
    surface.scale = win32::windowScaleOf(window);
    handler->paint(
        win32::platformWindow(window), userData, &surface,
        platform::coveringEditorRect(win32::fromNativeRect(paintInfo.rcPaint), surface.scale));
  }
  EndPaint(window, &paintInfo);
  return 0;
}

}  // namespace

namespace win32 {

void* windowUserData(HWND window) { return userDataOf(window); }

float windowScaleOf(HWND window) {
  // Another class's window has no slot, and a dead one none at all: both answer 0 here.
  const LONG bits = IsWindow(window) ? GetWindowLongA(window, scaleSlot) : 0;
  float scale = 0;
  std::memcpy(&scale, &bits, sizeof(scale));
  return platform::usableScale(scale);
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const platform::WindowHandler* handler = windowClassHandler();
  void* userData = userDataOf(window);
  if (handler == nullptr || userData == nullptr)
    return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_DESTROY:
      // A host that destroys its window never lets the frame revoke the registration itself.
      platform::revokeDropTarget(win32::platformWindow(window));
      if (handler->destroyed != nullptr)
        handler->destroyed(win32::platformWindow(window), userData);
      break;
    case WM_PAINT:
      if (GetUpdateRect(window, nullptr, FALSE)) return paint(window, handler, userData);
      break;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (handler->buttonDown != nullptr) {
        win32::beginClick(wParam);
        handler->buttonDown(win32::platformWindow(window), userData, messagePoint(window, lParam));
        win32::endClick();
      }
      return 0;
    case WM_MOUSEWHEEL:
      if (handler->wheel != nullptr) {
        // The position is on the screen; the delta counts 120 per notch, finer wheels send less.
        POINT where = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(window, &where);
        const float notches = static_cast<float>(GET_WHEEL_DELTA_WPARAM(wParam)) / WHEEL_DELTA;
        // A turn no control takes goes on to the host's window, which may scroll.
        const Point at = platform::toEditor(Point(where.x, where.y), win32::windowScaleOf(window));
        if (handler->wheel(win32::platformWindow(window), userData, at, notches)) return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace win32

namespace platform {

Window* createChildWindow(void* parent, Rect editorBounds, const char* title,
                          const WindowHandler* handler, void* userData, float scale) {
  if (parent == nullptr || handler == nullptr) return nullptr;
  scale = usableScale(scale);
  const Rect bounds = toDevice(editorBounds, scale);
  // A window that cannot be made keeps its use of the class, so the class stays registered.
  const char* className = win32::useWindowClass(handler);
  HWND window = CreateWindowExA(0, className, title != nullptr ? title : "", WS_CHILD | WS_VISIBLE,
                                bounds.left, bounds.top, bounds.width(), bounds.height(),
                                static_cast<HWND>(parent), nullptr,
                                static_cast<HINSTANCE>(moduleInstanceHandle()), nullptr);
  if (window == nullptr) return nullptr;
  keepScale(window, scale);
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(userData));
  return win32::platformWindow(window);
}

void destroyWindow(Window* window) {
  if (window == nullptr) return;
  HWND native = win32::nativeWindow(window);
  // A window that went with the host's window is not touched again; its class use still ends.
  if (IsWindow(native)) {
    SetWindowLongPtrA(native, GWLP_USERDATA, 0);
    DestroyWindow(native);
  }
  win32::endWindowClassUse();
}

float windowScale(Window* window) {
  return window != nullptr ? win32::windowScaleOf(win32::nativeWindow(window)) : 1.0f;
}

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
  const RECT native = win32::nativeRect(toDevice(*area, windowScale(window)));
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
  surface->scale = windowScale(window);
  return surface;
}

void releaseWindowSurface(Window* window, Surface* surface) {
  if (surface == nullptr) return;
  if (surface->dc != nullptr)
    ReleaseDC(window != nullptr ? win32::nativeWindow(window) : surface->window, surface->dc);
  delete surface;
}

}  // namespace platform
}  // namespace wrenfold
