// The image library that provides TransparentBlt, loaded at run time, and keyed blits with the
// monochrome-mask method for systems without it.
#include "gui/platform/win32/Win32Surface.h"

namespace wrenfold {

namespace {

using TransparentBltFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int,
                                             UINT);

// Module-wide, like the toolkit's other window-system state; touched only on the UI thread.
TransparentBltFunction transparentBltFunction = nullptr;
HMODULE imageLibrary = nullptr;
int32_t imageLibraryLoads = 0;

// The library's blit is used only on the NT family, whose platform id is above 1.
bool isNtFamily() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  return GetVersionExA(&version) && version.dwPlatformId > 1;
}

// Leaves the destination unchanged where the source has `key`: a mask marks those pixels, then
// XOR, AND with the mask and XOR again show the source everywhere else.
void maskedBlit(HDC destination, Rect area, HDC source, Point sourceOrigin, COLORREF key) {
  const int width = area.width();
  const int height = area.height();
  HDC maskDc = CreateCompatibleDC(destination);
  HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
  if (maskDc == nullptr || mask == nullptr) {
    if (mask != nullptr) DeleteObject(mask);
    if (maskDc != nullptr) DeleteDC(maskDc);
    return;
  }
  HGDIOBJ previousMask = SelectObject(maskDc, mask);
  const COLORREF destinationBackground = SetBkColor(destination, RGB(255, 255, 255));
  const COLORREF destinationText = SetTextColor(destination, RGB(0, 0, 0));
  const COLORREF sourceBackground = SetBkColor(source, key);

  BitBlt(maskDc, 0, 0, width, height, source, sourceOrigin.h, sourceOrigin.v, SRCCOPY);
  BitBlt(destination, area.left, area.top, width, height, source, sourceOrigin.h, sourceOrigin.v,
         SRCINVERT);
  BitBlt(destination, area.left, area.top, width, height, maskDc, 0, 0, SRCAND);
  BitBlt(destination, area.left, area.top, width, height, source, sourceOrigin.h, sourceOrigin.v,
         SRCINVERT);

  SetBkColor(source, sourceBackground);
  SetTextColor(destination, destinationText);
  SetBkColor(destination, destinationBackground);
  SelectObject(maskDc, previousMask);
  DeleteObject(mask);
  DeleteDC(maskDc);
}

}  // namespace

namespace win32 {

void keyedBlit(HDC destination, Rect area, HDC source, Point sourceOrigin, COLORREF key) {
  if (area.width() <= 0 || area.height() <= 0) return;
  if (transparentBltFunction != nullptr) {
    transparentBltFunction(destination, area.left, area.top, area.width(), area.height(), source,
                           sourceOrigin.h, sourceOrigin.v, area.width(), area.height(), key);
    return;
  }
  maskedBlit(destination, area, source, sourceOrigin, key);
}

void loadImageLibrary() {
  HMODULE library = LoadLibraryA("msimg32.dll");
  if (library == nullptr) return;
  imageLibrary = library;
  ++imageLibraryLoads;
  // FARPROC stands for any entry; going through a plain address keeps the cast honest.
  void* entry =
      isNtFamily() ? reinterpret_cast<void*>(GetProcAddress(library, "TransparentBlt")) : nullptr;
  transparentBltFunction = reinterpret_cast<TransparentBltFunction>(entry);
}

void freeImageLibrary() {
  if (imageLibraryLoads <= 0) return;
  HMODULE library = imageLibrary;
  // The function lives in the library: forget it before the last load is given back.
  if (--imageLibraryLoads == 0) {
    transparentBltFunction = nullptr;
    imageLibrary = nullptr;
  }
  FreeLibrary(library);
}

}  // namespace win32
}  // namespace wrenfold
