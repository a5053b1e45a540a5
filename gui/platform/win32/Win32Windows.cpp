// The window procedure, child windows and their device contexts.
#include <windows.h>
#include <windowsx.h>

#include <new>

#include "base/ModuleHandle.h"
#include "gui/platform/win32/Win32Surface.h"

namespace wrenfold {

namespace {

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

}  // namespace

namespace win32 {

void* windowUserData(HWND window) { return userDataOf(window); }

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const platform::WindowHandler* handler = windowClassHandler();
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
    case WM_MOUSEWHEEL:
      if (handler->wheel != nullptr) {
        // The position is on the screen; the delta counts 120 per notch, finer wheels send less.
        POINT where = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(window, &where);
        const float notches = static_cast<float>(GET_WHEEL_DELTA_WPARAM(wParam)) / WHEEL_DELTA;
        // A turn no control takes goes on to the host's window, which may scroll.
        if (handler->wheel(win32::platformWindow(window), userData, Point(where.x, where.y), notches)) return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace win32

namespace platform {

Window* createChildWindow(void* parent, Rect bounds, const char* title, const WindowHandler* handler, void* userData,
                          float) {
  if (parent == nullptr || handler == nullptr) return nullptr;
  // A window that cannot be made keeps its use of the class, so the class stays registered.
  const char* className = win32::useWindowClass(handler);
  HWND window = CreateWindowExA(0, className, title != nullptr ? title : "", WS_CHILD | WS_VISIBLE, bounds.left,
                                bounds.top, bounds.width(), bounds.height(), static_cast<HWND>(parent), nullptr,
                                static_cast<HINSTANCE>(moduleInstanceHandle()), nullptr);
  if (window == nullptr) return nullptr;
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

float windowScale(Window*) { return 1.0f; }

float desktopScale(void*) { return 1.0f; }

bool readSettingsFile(std::string&) { return false; }

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
