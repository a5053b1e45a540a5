// The editor window's OLE drop target, driven the way OLE drives it during a drag: a data object
// offering text or file names, key states, and a window whose class records what was dropped.
#include <gtest/gtest.h>
#include <ole2.h>
#include <shlobj.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/ModuleHandle.h"
#include "gui/platform/platform.h"
#include "gui/platform/win32/Win32DropTarget.h"

namespace {

using wrenfold::Point;
using wrenfold::Rect;
namespace platform = wrenfold::platform;

// What the window's drop callback received.
struct DropRecord {
  int calls = 0;
  int32_t type = -1;
  int32_t count = 0;
  std::vector<std::string> items;
};

bool recordDrop(platform::Window*, void* userData, void** items, int32_t count, int32_t type,
                Point) {
  auto* record = static_cast<DropRecord*>(userData);
  ++record->calls;
  record->type = type;
  record->count = count;
  const int32_t names = type == 1 ? 1 : count;
  for (int32_t i = 0; i < names; ++i)
    record->items.emplace_back(static_cast<const char*>(items[i]));
  return false;
}

const platform::WindowHandler recordingHandler = {nullptr, nullptr, nullptr, recordDrop, nullptr};

HGLOBAL globalText(const std::string& text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  return block;
}

HGLOBAL globalFileList(const std::vector<std::string>& names) {
  std::string packed;
  for (const std::string& name : names) packed += name + '\0';
  packed += '\0';
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + packed.size());
  auto* header = static_cast<DROPFILES*>(GlobalLock(block));
  header->pFiles = sizeof(DROPFILES);
  std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), packed.data(), packed.size());
  GlobalUnlock(block);
  return block;
}

// A data object offering text, file names, both or neither, as a dragging application does.
class OfferedData : public IDataObject {
 public:
  OfferedData(const char* text, std::vector<std::string> names)
      : text(text), names(std::move(names)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
      *object = this;
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    medium->tymed = TYMED_HGLOBAL;
    medium->pUnkForRelease = nullptr;
    medium->hGlobal = format->cfFormat == CF_TEXT ? globalText(text) : globalFileList(names);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    if (format->tymed != TYMED_HGLOBAL || format->dwAspect != DVASPECT_CONTENT)
      return DV_E_FORMATETC;
    if (format->cfFormat == CF_TEXT && text != nullptr) return S_OK;
    if (format->cfFormat == CF_HDROP && !names.empty()) return S_OK;
    return DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

 private:
  const char* text;
  std::vector<std::string> names;
};

// A host window with one editor-like child of a class whose drops are recorded.
class DropTargetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OleInitialize(nullptr);
    wrenfold::storeModuleInstanceHandle(GetModuleHandleA(nullptr));
    host = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200,
                           nullptr, nullptr, nullptr, nullptr);
    child = platform::createChildWindow(host, Rect(0, 0, 100, 100), "Window", &recordingHandler,
                                        &record);
    ASSERT_NE(child, nullptr);
    target = new wrenfold::win32::Win32DropTarget(reinterpret_cast<HWND>(child));
    target->AddRef();
  }
  void TearDown() override {
    if (target != nullptr) target->Release();
    platform::destroyWindow(child);
    DestroyWindow(host);
    OleUninitialize();
  }

  // Drags `data` in with the key state, then drops it; answers the effect shown while dragging.
  DWORD dragAndDrop(IDataObject* data, DWORD keyState) {
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->DragEnter(data, keyState, POINTL{10, 10}, &effect);
    DWORD overEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->DragOver(keyState, POINTL{12, 12}, &overEffect);
    EXPECT_EQ(overEffect, effect);
    DWORD dropEffect = effect;
    EXPECT_EQ(target->Drop(data, keyState, POINTL{12, 12}, &dropEffect), S_OK);
    return effect;
  }

  HWND host = nullptr;
  platform::Window* child = nullptr;
  DropRecord record;
  wrenfold::win32::Win32DropTarget* target = nullptr;
};

TEST_F(DropTargetTest, EffectIsNoneWithoutUsableDataElseCopyWithControlAndMoveWithout) {
  struct Row {
    const char* text;
    std::vector<std::string> names;
    DWORD keyState;
    DWORD effect;
    int dropsDelivered;
  };
  const Row rows[] = {
      {nullptr, {}, 0, DROPEFFECT_NONE, 0},
      {nullptr, {}, MK_CONTROL, DROPEFFECT_NONE, 0},
      {"text", {}, MK_LBUTTON, DROPEFFECT_MOVE, 1},
      {"text", {}, MK_LBUTTON | MK_CONTROL, DROPEFFECT_COPY, 1},
      {nullptr, {"C:\\a.txt"}, MK_CONTROL, DROPEFFECT_COPY, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.keyState);
    record = DropRecord();
    OfferedData data(row.text, row.names);
    EXPECT_EQ(dragAndDrop(&data, row.keyState), row.effect);
    EXPECT_EQ(record.calls, row.dropsDelivered);
  }
  DWORD effect = DROPEFFECT_MOVE;
  target->DragEnter(nullptr, 0, POINTL{0, 0}, &effect);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
}

TEST_F(DropTargetTest, TextIsPreferredOverFileNamesAndArrivesAsOneBlockWithItsSize) {
  OfferedData data("dropped words", {"C:\\a.txt"});
  dragAndDrop(&data, 0);
  ASSERT_EQ(record.calls, 1);
  EXPECT_EQ(record.type, 1);
  EXPECT_GE(record.count, 14);  // the block holds at least the text and its terminator
  EXPECT_EQ(record.items, std::vector<std::string>{"dropped words"});
}

std::string temporaryFolder() {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return folder;
}

void writeFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  CloseHandle(file);
}

bool writeShortcut(const std::string& path, const std::string& targetPath) {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link)))) {
    return false;
  }
  link->SetPath(targetPath.c_str());
  IPersistFile* file = nullptr;
  bool saved = false;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    saved = SUCCEEDED(file->Save(wide, TRUE));
    file->Release();
  }
  link->Release();
  return saved;
}

TEST_F(DropTargetTest, FileNamesArriveInOrderWithShortcutsResolvedByTheirLastExtension) {
  const std::string folder = temporaryFolder();
  const std::string linked = folder + "wrenfold drop target.txt";
  const std::string shortcut = folder + "wrenfold shortcut.LnK";
  const std::string notShortcut = folder + "wrenfold.lnk.txt";
  writeFile(linked);
  writeFile(notShortcut);
  ASSERT_TRUE(writeShortcut(shortcut, linked));
  char shortLinked[MAX_PATH];
  ASSERT_NE(GetShortPathNameA(linked.c_str(), shortLinked, MAX_PATH), 0u);

  OfferedData data(nullptr, {linked, shortcut, notShortcut});
  dragAndDrop(&data, 0);
  DeleteFileA(shortcut.c_str());
  DeleteFileA(linked.c_str());
  DeleteFileA(notShortcut.c_str());

  ASSERT_EQ(record.calls, 1);
  EXPECT_EQ(record.type, 0);
  EXPECT_EQ(record.count, 3);
  ASSERT_EQ(record.items.size(), 3u);
  EXPECT_EQ(record.items[0], linked);
  // The short form is asked for; Wine answers the long one. Both name the shortcut's target.
  EXPECT_TRUE(record.items[1] == shortLinked || record.items[1] == linked) << record.items[1];
  EXPECT_EQ(record.items[2], notShortcut);
}

TEST_F(DropTargetTest, AnswersOnlyForItsInterfacesAndCountsReferences) {
  struct Row {
    const IID* iid;
    HRESULT answer;
  };
  const Row rows[] = {
      {&IID_IUnknown, S_OK}, {&IID_IDropTarget, S_OK}, {&IID_IDataObject, E_NOINTERFACE}};
  for (const Row& row : rows) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(target->QueryInterface(*row.iid, &object), row.answer);
    EXPECT_EQ(object,
              row.answer == S_OK ? static_cast<void*>(static_cast<IDropTarget*>(target)) : nullptr);
    if (row.answer == S_OK) {
      EXPECT_EQ(target->Release(), 1u);
    }
  }
  EXPECT_EQ(target->AddRef(), 2u);
  EXPECT_EQ(target->Release(), 1u);
}

TEST_F(DropTargetTest, RegistrationIsGivenBackWhenTheHostDestroysTheWindow) {
  ASSERT_EQ(RegisterDragDrop(reinterpret_cast<HWND>(child), target), S_OK);
  target->AddRef();
  EXPECT_GT(target->Release(), 1u);  // OLE holds the target while it is registered
  DestroyWindow(host);
  host = nullptr;
  target->AddRef();
  EXPECT_EQ(target->Release(), 1u);
}

}  // namespace
