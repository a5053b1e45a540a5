// The desktop's scale as Windows states it, and the user's settings file under the roaming
// application data folder.
#include <algorithm>
#include <string>

#include "gui/platform/win32/Win32Surface.h"

namespace wrenfold {

namespace {

constexpr double standardDpi = 96.0;
constexpr LONGLONG largestSettingsFile = 64 * 1024;

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

// Returns the dots per inch of the monitor holding `window` as its thread's DPI awareness sees
// them (96 for a host that is not DPI-aware, which the system stretches), or 0 where the system
// cannot say per window (before Windows 10).
UINT windowDpi(HWND window) {
  HMODULE user = GetModuleHandleA("user32.dll");
  // FARPROC stands for any entry; going through a plain address keeps the cast honest.
  void* entry =
      user != nullptr ? reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")) : nullptr;
  if (entry == nullptr || window == nullptr || !IsWindow(window)) return 0;
  return reinterpret_cast<GetDpiForWindowFunction>(entry)(window);
}

// Returns the screen's dots per inch as the calling thread sees them, or 0.
int screenDpi() {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return 0;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// Returns %APPDATA%\Wrenfold\wrenfold.conf, or empty where the variable is unset.
std::wstring settingsFilePath() {
  wchar_t folder[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"APPDATA", folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::wstring();
  return std::wstring(folder, length) + L"\\Wrenfold\\wrenfold.conf";
}

}  // namespace

namespace platform {

float desktopScale(void* parent) {
  UINT dpi = windowDpi(static_cast<HWND>(parent));
  if (dpi == 0) dpi = static_cast<UINT>(std::max(screenDpi(), 0));
  return dpi > 0 ? static_cast<float>(dpi / standardDpi) : 1.0f;
}

bool readSettingsFile(std::string& text) {
  const std::wstring path = settingsFilePath();
  if (path.empty()) return false;
  // Shared with anyone writing or replacing it meanwhile; a device or pipe put there is refused
  // below before anything is read from it.
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size = {};
  bool answer = GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) &&
                size.QuadPart <= largestSettingsFile;
  if (answer) {
    text.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD done = 0;
    answer =
        text.empty() || ReadFile(file, &text[0], static_cast<DWORD>(text.size()), &done, nullptr);
    text.resize(answer ? done : 0);
  }
  CloseHandle(file);
  return answer;
}

}  // namespace platform
}  // namespace wrenfold
