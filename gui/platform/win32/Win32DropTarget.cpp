#include "gui/platform/win32/Win32DropTarget.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "gui/platform/win32/Win32Surface.h"

namespace wrenfold {
namespace win32 {

namespace {

constexpr int nameSize = 1024;
constexpr int wideNameSize = 2048;
// Resolve without any user interface, matching any target, giving up after 500 ms.
constexpr DWORD resolveFlags = 0x01F40003;
constexpr DWORD shortPath = 1;

FORMATETC formatOf(CLIPFORMAT format) {
  return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// Returns whether the name's last extension is ".lnk" in any mix of cases: a shell shortcut.
bool isShortcutName(const char* name) {
  const char* dot = std::strrchr(name, '.');
  if (dot == nullptr || std::strlen(dot) != 4) return false;
  const char* lnk = ".lnk";
  for (int i = 0; i < 4; ++i)
    if (std::tolower(static_cast<unsigned char>(dot[i])) != lnk[i]) return false;
  return true;
}

bool offers(IDataObject* data, CLIPFORMAT format) {
  FORMATETC request = formatOf(format);
  return data->QueryGetData(&request) == S_OK;
}

// Replaces a shell shortcut's name by its target's; a failed step leaves what the buffer holds.
void resolveShortcut(char* name) {
  if (!isShortcutName(name)) return;
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link)))) {
    return;
  }
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    WCHAR wide[wideNameSize];
    if (MultiByteToWideChar(CP_ACP, 0, name, -1, wide, wideNameSize) != 0 &&
        SUCCEEDED(file->Load(wide, 0)) && SUCCEEDED(link->Resolve(nullptr, resolveFlags))) {
      link->GetPath(name, nameSize, nullptr, shortPath);
    }
    file->Release();
  }
  link->Release();
}

// The drop logic's view of an OLE data object: CF_TEXT as text, CF_HDROP as file names.
class OleDropData : public DropData {
 public:
  explicit OleDropData(IDataObject* object) : data(object) {}
  bool offersText() override { return data != nullptr && offers(data, CF_TEXT); }
  bool offersFiles() override { return data != nullptr && offers(data, CF_HDROP); }
  bool readText(std::string& bytes) override {
    STGMEDIUM medium = {};
    FORMATETC format = formatOf(CF_TEXT);
    if (data->GetData(&format, &medium) != S_OK) return false;
    const char* text =
        medium.hGlobal != nullptr ? static_cast<const char*>(GlobalLock(medium.hGlobal)) : nullptr;
    if (text != nullptr) {
      // The whole block, terminator included: its size in bytes is the item count handed on.
      bytes.assign(text, GlobalSize(medium.hGlobal));
      GlobalUnlock(medium.hGlobal);
    }
    ReleaseStgMedium(&medium);
    return text != nullptr;
  }
  bool readFiles(std::vector<std::string>& names) override {
    STGMEDIUM medium = {};
    FORMATETC format = formatOf(CF_HDROP);
    if (data->GetData(&format, &medium) != S_OK) return false;
    auto files = static_cast<HDROP>(medium.hGlobal);
    const UINT count = files != nullptr ? DragQueryFileA(files, 0xFFFFFFFF, nullptr, 0) : 0;
    for (UINT index = 0; index < count; ++index) {
      char name[nameSize];
      if (DragQueryFileA(files, index, name, nameSize) == 0) continue;
      resolveShortcut(name);
      names.emplace_back(name);
    }
    ReleaseStgMedium(&medium);
    return true;
  }

 private:
  IDataObject* data;
};

}  // namespace

Win32DropTarget::Win32DropTarget(HWND target)
    : window(target), logic(platformWindow(target), windowClassHandler(), windowUserData(target)) {}

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

HRESULT Win32DropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL, DWORD* effect) {
  OleDropData offered(data);
  const int32_t shown = logic.dragEnter(&offered, (keyState & MK_CONTROL) != 0);
  if (effect != nullptr) *effect = static_cast<DWORD>(shown);
  return S_OK;
}

HRESULT Win32DropTarget::DragOver(DWORD keyState, POINTL, DWORD* effect) {
  if (effect != nullptr) *effect = static_cast<DWORD>(logic.dragOver((keyState & MK_CONTROL) != 0));
  return S_OK;
}

HRESULT Win32DropTarget::DragLeave() {
  logic.dragLeave();
  return S_OK;
}

HRESULT Win32DropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD*) {
  OleDropData offered(data);
  if (data != nullptr && IsWindow(window)) {
    logic.drop(&offered);
  } else {
    logic.dragLeave();
  }
  return S_OK;
}

}  // namespace win32
}  // namespace wrenfold
