#include "gui/platform/win32/Win32DropTarget.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <new>

#include "gui/DropRules.h"
#include "gui/platform/win32/Win32Surface.h"

namespace wrenfold {
namespace win32 {

namespace {

constexpr int kNameSize = 1024;
constexpr int kWideNameSize = 2048;
// Resolve without any user interface, matching any target, giving up after 500 ms.
constexpr DWORD kResolveFlags = 0x01F40003;
constexpr DWORD kShortPath = 1;

FORMATETC formatOf(CLIPFORMAT format) { return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

bool offers(IDataObject* data, CLIPFORMAT format) {
  FORMATETC request = formatOf(format);
  return data->QueryGetData(&request) == S_OK;
}

// Replaces a shell shortcut's name by its target's; a failed step leaves what the buffer holds.
void resolveShortcut(char* name) {
  if (!isShortcutFileName(name)) return;
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link)))) {
    return;
  }
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    WCHAR wide[kWideNameSize];
    if (MultiByteToWideChar(CP_ACP, 0, name, -1, wide, kWideNameSize) != 0 && SUCCEEDED(file->Load(wide, 0)) &&
        SUCCEEDED(link->Resolve(nullptr, kResolveFlags))) {
      link->GetPath(name, kNameSize, nullptr, kShortPath);
    }
    file->Release();
  }
  link->Release();
}

}  // namespace

Win32DropTarget::Win32DropTarget(HWND target) : window(target) {}

HRESULT Win32DropTarget::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG Win32DropTarget::AddRef() { return static_cast<ULONG>(++referenceCount); }

ULONG Win32DropTarget::Release() {
  const LONG count = --referenceCount;
  if (count <= 0) delete this;
  return static_cast<ULONG>(count);
}

HRESULT Win32DropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
  accepting = data != nullptr &&
              chooseDropFormat(offers(data, CF_TEXT), offers(data, CF_HDROP)) != DropFormat::none;
  return DragOver(keyState, point, effect);
}

HRESULT Win32DropTarget::DragOver(DWORD keyState, POINTL, DWORD* effect) {
  if (effect != nullptr) *effect = static_cast<DWORD>(dropEffectFor(accepting, (keyState & MK_CONTROL) != 0));
  return S_OK;
}

HRESULT Win32DropTarget::DragLeave() { return S_OK; }

HRESULT Win32DropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD*) {
  if (data != nullptr && IsWindow(window)) {
    STGMEDIUM medium = {};
    FORMATETC text = formatOf(CF_TEXT);
    FORMATETC files = formatOf(CF_HDROP);
    if (data->GetData(&text, &medium) == S_OK) {
      if (medium.hGlobal != nullptr) dropText(medium);
    } else if (data->GetData(&files, &medium) == S_OK) {
      if (medium.hGlobal != nullptr) dropFileNames(static_cast<HDROP>(medium.hGlobal));
      ReleaseStgMedium(&medium);
    }
  }
  return DragLeave();
}

void Win32DropTarget::dropText(STGMEDIUM& medium) {
  void* text = GlobalLock(medium.hGlobal);
  const SIZE_T size = GlobalSize(medium.hGlobal);
  if (text != nullptr && size != 0) deliver(&text, static_cast<int32_t>(size), dropItemType(DropFormat::text));
  GlobalUnlock(medium.hGlobal);
  if (medium.pUnkForRelease != nullptr) {
    medium.pUnkForRelease->Release();
  } else {
    GlobalFree(medium.hGlobal);
  }
}

void Win32DropTarget::dropFileNames(HDROP files) {
  const int count = static_cast<int>(DragQueryFileA(files, 0xFFFFFFFF, nullptr, 0));
  if (count <= 0) return;
  char** names = new (std::nothrow) char*[count];
  if (names == nullptr) return;
  int collected = 0;
  for (int index = 0; index < count; ++index) {
    char name[kNameSize];
    if (DragQueryFileA(files, static_cast<UINT>(index), name, kNameSize) == 0) continue;
    resolveShortcut(name);
    char* copy = new (std::nothrow) char[kNameSize];
    if (copy == nullptr) continue;
    std::strncpy(copy, name, kNameSize - 1);
    copy[kNameSize - 1] = 0;
    names[collected++] = copy;
  }
  deliver(reinterpret_cast<void**>(names), collected, dropItemType(DropFormat::fileNames));
  for (int i = 0; i < collected; ++i) delete[] names[i];
  delete[] names;
}

bool Win32DropTarget::deliver(void** items, int32_t count, int32_t type) {
  const platform::WindowHandler* handler = handlerOfWindow(window);
  void* userData = platform::windowUserData(platformWindow(window));
  if (handler == nullptr || handler->drop == nullptr || userData == nullptr) return false;
  // The cursor, not the point OLE reports, relative to the window's top-left corner.
  const Point cursor = platform::cursorScreenPosition();
  const Point origin = platform::windowScreenRect(platformWindow(window)).topLeft();
  return handler->drop(platformWindow(window), userData, items, count, type,
                       Point(cursor.h - origin.h, cursor.v - origin.v));
}

}  // namespace win32
}  // namespace wrenfold
