// A Windows host in miniature: loads wrenfold.dll through the host kit, reads the record at its
// 32-bit offsets, processes audio, and opens the editor in a top-level window where real input
// (SendInput from a second thread), painting and window destruction reach it. Runs under Wine on a
// display.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

#include "editor/EditorLayout.h"
#include "hostkit/Host.h"
#include "hostkit/ModuleLibrary.h"

namespace {

constexpr int32_t program0EchoFrames = 20353;
constexpr int32_t feedBackL = 10;
constexpr int32_t bypassIndex = 2;
constexpr int32_t wetPanL = 16;

using wrenfold::hostkit::Host;
using wrenfold::hostkit::HostCall;
using wrenfold::hostkit::ModuleLibrary;

std::vector<HostCall>& hostCalls() { return Host::shared().calls(); }

int32_t readInt32(const AEffect* record, int offset) {
  int32_t value;
  std::memcpy(&value, reinterpret_cast<const char*>(record) + offset, sizeof(value));
  return value;
}

uintptr_t readAddress(const AEffect* record, int offset) {
  uintptr_t value;
  std::memcpy(&value, reinterpret_cast<const char*>(record) + offset, sizeof(value));
  return value;
}

// The loaded module and one effect made through its exported `main`.
class ModuleHost : public ::testing::Test {
 protected:
  void SetUp() override {
    // Unloaded after each test, so each starts with the module's own state fresh.
    library = std::make_unique<ModuleLibrary>(WRENFOLD_DLL_PATH, ModuleLibrary::Unload::onDestroy);
    module = static_cast<HMODULE>(library->nativeHandle());
    record = library->createEffect(Host::callback(), "main");
    ASSERT_NE(record, nullptr) << library->error();
    hostCalls().clear();
  }
  void TearDown() override {
    if (hostWindow != nullptr) closeEditor();
    if (record != nullptr) dispatch(effClose);
    library.reset();
  }

  intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr) {
    return record->dispatcher(record, opcode, index, value, ptr, 0.0f);
  }

  // Opens the editor in a new top-level window sized by effEditGetRect and lets it paint.
  void openEditor(DWORD settleMilliseconds = 300) {
    ERect* area = nullptr;
    dispatch(effEditGetRect, 0, 0, &area);
    ASSERT_NE(area, nullptr);
    width = area->right - area->left;
    height = area->bottom - area->top;
    RECT outer = {0, 0, width, height};
    AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, 0);
    hostWindow = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                 outer.right - outer.left, outer.bottom - outer.top, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(hostWindow, nullptr);
    LARGE_INTEGER start, end, frequency;
    QueryPerformanceCounter(&start);
    ASSERT_NE(dispatch(effEditOpen, 0, 0, hostWindow), 0);
    editorWindow = GetWindow(hostWindow, GW_CHILD);
    ASSERT_NE(editorWindow, nullptr);
    UpdateWindow(editorWindow);
    QueryPerformanceCounter(&end);
    QueryPerformanceFrequency(&frequency);
    openMilliseconds =
        1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
    pump(settleMilliseconds);
  }

  void closeEditor() {
    dispatch(effEditClose);
    if (IsWindow(hostWindow)) DestroyWindow(hostWindow);
    hostWindow = nullptr;
    editorWindow = nullptr;
    pump(20);
  }

  // Runs the host's side for a while: messages and the editor's idle.
  void pump(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
      if (hostWindow != nullptr) dispatch(effEditIdle);
      Sleep(5);
    } while (GetTickCount() - start < milliseconds);
  }

  // Returns the editor window's pixels as 0x00RRGGBB, captured with BitBlt from its DC.
  std::vector<uint32_t> capture() {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC windowDc = GetDC(editorWindow);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memoryDc, section);
    BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    std::memcpy(pixels.data(), bits, pixels.size() * sizeof(uint32_t));
    SelectObject(memoryDc, previous);
    DeleteObject(section);
    DeleteDC(memoryDc);
    ReleaseDC(editorWindow, windowDc);
    for (uint32_t& pixel : pixels) pixel &= 0x00FFFFFFu;
    return pixels;
  }

  // Returns the screen position of a point of the editor window.
  POINT toScreen(int x, int y) const {
    POINT point = {x, y};
    ClientToScreen(editorWindow, &point);
    return point;
  }

  std::unique_ptr<ModuleLibrary> library;
  HMODULE module = nullptr;
  AEffect* record = nullptr;
  HWND hostWindow = nullptr;
  HWND editorWindow = nullptr;
  int width = 0;
  int height = 0;
  double openMilliseconds = 0;  // from the open to the end of the first paint
};

// Sends mouse input as a user's hand would: absolute moves and button changes, paced.
class MouseScript {
 public:
  void moveTo(POINT where) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx =
        (where.x * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy =
        (where.y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    steps.push_back(input);
  }
  void button(bool down) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    steps.push_back(input);
  }
  void wheel(int delta) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.mouseData = static_cast<DWORD>(delta);
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    steps.push_back(input);
  }
  // Plays the script on a second thread, 40 ms between steps, while the caller pumps.
  std::thread play() {
    return std::thread([this] {
      Sleep(100);
      for (INPUT& input : steps) {
        SendInput(1, &input, sizeof(INPUT));
        Sleep(40);
      }
      done = true;
    });
  }
  std::atomic<bool> done{false};

 private:
  std::vector<INPUT> steps;
};

// The 32-bit record is the designed 144 bytes; on 64-bit Windows addresses and the reserved
// fields are 8 bytes wide, aligned, and everything else keeps its 32 bits.
TEST_F(ModuleHost, RecordReadsAsDesignedAtItsOffsets) {
  struct Layout {
    int magic, programs, parameters, inputs, outputs, flags, reserved1, reserved2, delay, user, id,
        version, ioRatio, object, size;
    int entries[5];  // dispatcher, process, setParameter, getParameter, processReplacing
  };
  constexpr Layout x86{0,  20, 24, 28, 32, 36, 40,  44,
                       48, 68, 72, 76, 60, 64, 144, {4, 8, 12, 16, 80}};
  constexpr Layout x64{0,  40,  44,  48,  52, 56, 64,  72,
                       80, 104, 112, 116, 92, 96, 192, {8, 16, 24, 32, 120}};
  const Layout& at = sizeof(void*) == 4 ? x86 : x64;
  const std::pair<int, int32_t> fields[] = {{at.magic, kEffectMagic},
                                            {at.programs, 5},
                                            {at.parameters, wrenfold::parameterCountTotal},
                                            {at.inputs, 2},
                                            {at.outputs, 2},
                                            {at.flags, 25},
                                            {at.reserved1, 0},
                                            {at.reserved2, 0},
                                            {at.delay, 0},
                                            {at.version, 1},
                                            {at.id, fourCharCode('Q', 'W', 'N', '3')},
                                            {at.user, 0}};
  for (const auto& [offset, expected] : fields) {
    SCOPED_TRACE(offset);
    EXPECT_EQ(readInt32(record, offset), expected);
  }
  float ioRatio;
  std::memcpy(&ioRatio, reinterpret_cast<const char*>(record) + at.ioRatio, sizeof(ioRatio));
  EXPECT_EQ(ioRatio, 1.0f);
  EXPECT_NE(readAddress(record, at.object), 0u);
  for (int offset : at.entries) EXPECT_NE(readAddress(record, offset), 0u) << offset;
  EXPECT_EQ(sizeof(AEffect), static_cast<size_t>(at.size));
}

TEST_F(ModuleHost, ProgramZeroEchoesAnImpulseInBothChannels) {
  record->dispatcher(record, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  dispatch(effSetBlockSize, 0, 512);
  dispatch(effMainsChanged, 0, 1);
  const int32_t frames = program0EchoFrames + 512;
  std::vector<float> inLeft(frames), inRight(frames), outLeft(frames), outRight(frames);
  inLeft[0] = inRight[0] = 1.0f;
  for (int32_t start = 0; start < frames; start += 512) {
    float* inputs[] = {inLeft.data() + start, inRight.data() + start};
    float* outputs[] = {outLeft.data() + start, outRight.data() + start};
    record->processReplacing(record, inputs, outputs, std::min(512, frames - start));
  }
  for (int32_t frame = 1; frame < program0EchoFrames; ++frame) {
    ASSERT_EQ(outLeft[frame], 0.0f) << frame;
    ASSERT_EQ(outRight[frame], 0.0f) << frame;
  }
  EXPECT_GT(std::abs(outLeft[program0EchoFrames]), 0.05f);
  EXPECT_GT(std::abs(outRight[program0EchoFrames]), 0.05f);
}

TEST_F(ModuleHost, EditorIsAChildOfClassPluginAndTitleWindow) {
  openEditor();
  char className[64] = {};
  char title[64] = {};
  GetClassNameA(editorWindow, className, sizeof(className));
  GetWindowTextA(editorWindow, title, sizeof(title));
  char expectedClass[24];
  std::snprintf(expectedClass, sizeof(expectedClass), "Plugin%08x",
                static_cast<unsigned>(reinterpret_cast<uintptr_t>(module)));
  EXPECT_STREQ(className, expectedClass);
  EXPECT_STREQ(title, "Window");
  EXPECT_EQ(GetParent(editorWindow), hostWindow);
  EXPECT_EQ(width, 350);
  EXPECT_EQ(height, 430);
}

// Some hosts open the editor before they ask for its size.
TEST_F(ModuleHost, EditorOpensAtItsFullSizeBeforeItsRectangleIsAsked) {
  hostWindow = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400,
                               480, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(dispatch(effEditOpen, 0, 0, hostWindow), 0);
  editorWindow = GetWindow(hostWindow, GW_CHILD);
  ASSERT_NE(editorWindow, nullptr);
  RECT area;
  GetClientRect(editorWindow, &area);
  EXPECT_EQ(area.right, 350);
  EXPECT_EQ(area.bottom, 430);
  ERect* rect = nullptr;
  dispatch(effEditGetRect, 0, 0, &rect);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right - rect->left, 350);
}

// The dots per inch the prefix's desktop is set to (96 unless its LogPixels says otherwise).
DWORD desktopDpi() {
  DWORD dpi = 96;
  DWORD size = sizeof(dpi);
  RegGetValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", RRF_RT_REG_DWORD, nullptr,
               &dpi, &size);
  return dpi;
}

// Sets whether the windows the calling thread makes next are DPI-aware, as today's hosts make
// theirs, or not aware (the system stretches those); answers the previous setting, null when the
// system cannot set it.
HANDLE useDpiAwareness(HANDLE context) {
  using SetContext = HANDLE(WINAPI*)(HANDLE);
  const auto set = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("user32.dll"), "SetThreadDpiAwarenessContext")));
  return set != nullptr ? set(context) : nullptr;
}

// The system's contexts "not aware" and "aware per monitor".
HANDLE awarenessContext(bool aware) { return reinterpret_cast<HANDLE>(aware ? -3 : -1); }

// Writes the user's settings file (%APPDATA%\\Wrenfold\\wrenfold.conf) with `text`, or takes it and
// its folder away for null.
void writeSettingsFile(const std::string* text) {
  const std::string folder = std::string(std::getenv("APPDATA")) + "\\Wrenfold";
  const std::string file = folder + "\\wrenfold.conf";
  if (text == nullptr) {
    DeleteFileA(file.c_str());
    RemoveDirectoryA(folder.c_str());
    return;
  }
  CreateDirectoryA(folder.c_str(), nullptr);
  FILE* out = std::fopen(file.c_str(), "wb");
  ASSERT_NE(out, nullptr) << file;
  std::fwrite(text->data(), 1, text->size(), out);
  std::fclose(out);
}

// The editor opens at the scale of the desktop as the host's thread sees it, or at the user's
// choice (the variable, else the settings file, which is read only up to 64 KiB); the host is told
// the size before the open, the child window has it, and a click on a control's device position
// lands on that control. Each row runs at the desktop DPI it names: the 192-dpi rows in the run
// that sets the prefix's LogPixels to 192.
TEST_F(ModuleHost, EditorOpensAtTheDesktopsScaleAndClicksLandOnTheirControl) {
  struct Row {
    DWORD dpi;
    bool aware;
    const char* variable;
    std::string settings;  // the settings file's text; none when empty
    int width;
    int height;
  };
  const std::string tooLong = std::string(64 * 1024, '#') + "\neditor-scale = 2\n";
  const Row rows[] = {
      {96, true, nullptr, "", 350, 430},
      {96, true, "1.5", "", 525, 645},
      {96, true, "2", "", 700, 860},
      {96, true, nullptr, "editor-scale = 2\n", 700, 860},
      {96, true, nullptr, tooLong, 350, 430},
      {192, true, nullptr, "", 700, 860},
      {192, false, nullptr, "", 350, 430},
      {192, true, "1", "", 350, 430},
      {192, true, nullptr, "editor-scale = 1", 350, 430},
      {192, true, "1.5", "editor-scale = 1", 525, 645},
  };
  int ran = 0;
  for (const Row& row : rows) {
    if (row.dpi != desktopDpi()) continue;
    SCOPED_TRACE(::testing::Message() << row.dpi << " dpi, aware " << row.aware << ", variable "
                                      << (row.variable != nullptr ? row.variable : "unset")
                                      << ", settings of " << row.settings.size() << " bytes");
    const HANDLE previous = useDpiAwareness(awarenessContext(row.aware));
    ASSERT_NE(previous, nullptr);
    _putenv((std::string("WRENFOLD_EDITOR_SCALE=") + (row.variable != nullptr ? row.variable : ""))
                .c_str());
    if (!row.settings.empty()) writeSettingsFile(&row.settings);
    record->setParameter(record, bypassIndex, 0.0f);
    openEditor();
    _putenv("WRENFOLD_EDITOR_SCALE=");
    writeSettingsFile(nullptr);
    // The hand moves in the screen's pixels, as the process sees them.
    useDpiAwareness(previous);
    std::printf("editor of %dx%d opened and painted in %.1f ms\n", width, height, openMilliseconds);
    EXPECT_EQ(width, row.width);
    EXPECT_EQ(height, row.height);
    RECT client;
    GetClientRect(editorWindow, &client);
    EXPECT_EQ(client.right, row.width);
    EXPECT_EQ(client.bottom, row.height);
    ERect* area = nullptr;
    dispatch(effEditGetRect, 0, 0, &area);
    EXPECT_EQ(area->right - area->left, row.width);
    // Only the system's stretching sees clicks in a host that is not DPI-aware, and Wine has none.
    if (!row.aware) {
      closeEditor();
      ++ran;
      continue;
    }
    // The middle of the bypass toggle's editor pixel (112, 307), in device pixels.
    MouseScript mouse;
    mouse.moveTo(toScreen((2 * 112 + 1) * row.width / 700, (2 * 307 + 1) * row.height / 860));
    mouse.button(true);
    mouse.button(false);
    std::thread hand = mouse.play();
    while (!mouse.done) pump(20);
    hand.join();
    pump(100);
    EXPECT_EQ(record->getParameter(record, bypassIndex), 1.0f);
    closeEditor();
    ++ran;
  }
  EXPECT_GT(ran, 0) << "no row is for a desktop at " << desktopDpi() << " dpi";
}

// Returns the editor's value-display boxes, where the text is drawn.
std::vector<wrenfold::Rect> displayBoxes() {
  std::vector<wrenfold::Rect> boxes;
  for (int32_t position = 0; position < wrenfold::layout::controlCount; ++position) {
    const wrenfold::layout::ControlRow row = wrenfold::layout::placedControl(position).row;
    if (row.kind == wrenfold::layout::ControlKind::display) boxes.push_back(row.bounds);
  }
  return boxes;
}

// GDI draws the face, the knobs, sliders and buttons exactly as the headless rendering; only the
// glyphs inside the display boxes differ, because the fonts and rasterisers do.
TEST_F(ModuleHost, EditorLooksLikeTheHeadlessRendering) {
  openEditor();
  int referenceWidth = 0, referenceHeight = 0, channels = 0;
  unsigned char* reference =
      stbi_load(WRENFOLD_GOLDEN_PNG, &referenceWidth, &referenceHeight, &channels, 3);
  ASSERT_NE(reference, nullptr) << WRENFOLD_GOLDEN_PNG;
  ASSERT_EQ(referenceWidth, width);
  ASSERT_EQ(referenceHeight, height);
  const std::vector<uint32_t> pixels = capture();
  const std::vector<wrenfold::Rect> boxes = displayBoxes();
  int outsideText = 0, insideText = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const size_t i = static_cast<size_t>(y) * width + x;
      if (pixels[i] == static_cast<uint32_t>((reference[3 * i] << 16) |
                                             (reference[3 * i + 1] << 8) | reference[3 * i + 2]))
        continue;
      const bool inBox = std::any_of(boxes.begin(), boxes.end(), [&](const wrenfold::Rect& box) {
        return box.contains(wrenfold::Point(x, y));
      });
      ++(inBox ? insideText : outsideText);
    }
  }
  stbi_image_free(reference);
  std::printf(
      "pixels differing from the headless rendering: %d outside the text boxes, %d inside\n",
      outsideText, insideText);
  EXPECT_EQ(outsideText, 0);
  EXPECT_LT(insideText, static_cast<int>(pixels.size() / 25));
}

TEST_F(ModuleHost, DraggingASliderReportsBeginAutomationWithIdlesAndEnd) {
  openEditor();
  MouseScript mouse;
  mouse.moveTo(toScreen(150, 149));
  mouse.button(true);
  for (int y = 145; y >= 60; y -= 15) mouse.moveTo(toScreen(150, y));
  mouse.button(false);
  hostCalls().clear();
  std::thread hand = mouse.play();
  while (!mouse.done) pump(20);
  hand.join();
  pump(100);

  std::vector<int32_t> opcodes;
  for (const HostCall& call : hostCalls()) opcodes.push_back(call.opcode);
  ASSERT_GE(hostCalls().size(), 3u);
  EXPECT_EQ(hostCalls().front().opcode, audioMasterBeginEdit);
  EXPECT_EQ(hostCalls().front().index, feedBackL);
  EXPECT_EQ(hostCalls().back().opcode, audioMasterEndEdit);
  EXPECT_EQ(hostCalls().back().index, feedBackL);
  int automations = 0, idles = 0;
  for (size_t i = 1; i + 1 < hostCalls().size(); ++i) {
    const int32_t opcode = hostCalls()[i].opcode;
    EXPECT_TRUE(opcode == audioMasterAutomate || opcode == audioMasterIdle) << opcode;
    automations += opcode == audioMasterAutomate ? 1 : 0;
    idles += opcode == audioMasterIdle ? 1 : 0;
  }
  EXPECT_GE(automations, 2);
  EXPECT_GE(idles, 1);
  EXPECT_GT(record->getParameter(record, feedBackL), 0.5f);
}

TEST_F(ModuleHost, ClickingAToggleSwitchesItsParameter) {
  openEditor();
  ASSERT_EQ(record->getParameter(record, bypassIndex), 0.0f);
  MouseScript mouse;
  mouse.moveTo(toScreen(112, 307));
  mouse.button(true);
  mouse.button(false);
  hostCalls().clear();
  std::thread hand = mouse.play();
  while (!mouse.done) pump(20);
  hand.join();
  pump(100);
  EXPECT_EQ(record->getParameter(record, bypassIndex), 1.0f);
  bool automated = false;
  for (const HostCall& call : hostCalls())
    automated |= call.opcode == audioMasterAutomate && call.index == bypassIndex;
  EXPECT_TRUE(automated);
}

// Each notch steps the slider under the pointer, half a notch half a step, with no edit gesture.
TEST_F(ModuleHost, TurningTheWheelStepsTheSliderUnderThePointer) {
  openEditor();
  // Windows 10 turns the window under the pointer, Wine and older systems the focus window.
  SetFocus(editorWindow);
  MouseScript mouse;
  mouse.moveTo(toScreen(150, 149));
  mouse.wheel(WHEEL_DELTA);
  mouse.wheel(-WHEEL_DELTA / 2);
  hostCalls().clear();
  std::thread hand = mouse.play();
  while (!mouse.done) pump(20);
  hand.join();
  pump(100);
  EXPECT_NEAR(record->getParameter(record, feedBackL), 0.55f, 1e-6f);
  std::vector<int32_t> opcodes;
  for (const HostCall& call : hostCalls())
    if (call.opcode != audioMasterIdle) opcodes.push_back(call.opcode);
  EXPECT_EQ(opcodes, std::vector<int32_t>(2, audioMasterAutomate));
}

TEST_F(ModuleHost, HostWriteMovesItsControlAtTheNextIdle) {
  openEditor();
  const std::vector<uint32_t> before = capture();
  record->setParameter(record, wetPanL, 0.9f);
  EXPECT_EQ(capture(), before);
  dispatch(effEditIdle);
  const std::vector<uint32_t> after = capture();
  int changed = 0;
  for (int y = 215; y < 245; ++y)
    for (int x = 25; x < 55; ++x) changed += after[y * width + x] != before[y * width + x] ? 1 : 0;
  EXPECT_GT(changed, 0);
}

// GDI and USER objects of the process, as Windows counts them.
struct GuiObjectCounts {
  DWORD gdi;
  DWORD user;
};

// Wine answers GetGuiResources with 0. It keeps the same shared GDI handle table as Windows,
// reachable from the process environment block (offset 0x94 on 32-bit, 0xF8 on 64-bit), whose
// 24-byte entries carry the object type in byte 14 (0 for a free entry).
DWORD countSharedGdiHandles() {
  const unsigned char* peb = nullptr;
#ifdef _WIN64
  asm("movq %%gs:0x60, %0" : "=r"(peb));
  const auto* table = *reinterpret_cast<const unsigned char* const*>(peb + 0xF8);
#else
  asm("movl %%fs:0x30, %0" : "=r"(peb));
  const auto* table = *reinterpret_cast<const unsigned char* const*>(peb + 0x94);
#endif
  if (table == nullptr) return 0;
  constexpr int entryCount = 0x10000;
  constexpr int entrySize = 24;
  DWORD count = 0;
  for (int i = 0; i < entryCount; ++i) count += table[i * entrySize + 14] != 0 ? 1 : 0;
  return count;
}

BOOL CALLBACK countWindow(HWND window, LPARAM counter) {
  ++*reinterpret_cast<DWORD*>(counter);
  EnumChildWindows(window, countWindow, counter);
  return TRUE;
}

// Wine answers GetGuiResources with 0 here too: the thread's windows stand for the USER objects.
DWORD countThreadWindows() {
  DWORD count = 0;
  EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

GuiObjectCounts guiObjectCounts() {
  GuiObjectCounts counts = {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
                            GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
  if (counts.gdi == 0) counts.gdi = countSharedGdiHandles();
  if (counts.user == 0) counts.user = countThreadWindows();
  return counts;
}

TEST_F(ModuleHost, OpeningAndClosingTheEditorLeaksNoGuiObjects) {
  openEditor();
  closeEditor();
  const GuiObjectCounts start = guiObjectCounts();
  for (int cycle = 0; cycle < 100; ++cycle) {
    openEditor(20);
    closeEditor();
  }
  const GuiObjectCounts end = guiObjectCounts();
  std::printf("GDI objects %lu -> %lu, USER objects %lu -> %lu\n", start.gdi, end.gdi, start.user,
              end.user);
  EXPECT_EQ(end.gdi, start.gdi);
  EXPECT_EQ(end.user, start.user);
  char className[24];
  std::snprintf(className, sizeof(className), "Plugin%08x",
                static_cast<unsigned>(reinterpret_cast<uintptr_t>(module)));
  WNDCLASSA unused;
  EXPECT_FALSE(GetClassInfoA(module, className, &unused))
      << "the window class outlives the last editor";
}

TEST_F(ModuleHost, HostDestroyingItsWindowWhileTheEditorIsOpenIsSafe) {
  openEditor();
  DestroyWindow(hostWindow);
  EXPECT_FALSE(IsWindow(editorWindow));
  dispatch(effEditIdle);
  record->setParameter(record, wetPanL, 0.2f);
  dispatch(effEditIdle);
  dispatch(effEditClose);
  hostWindow = nullptr;
  dispatch(effEditOpen, 0, 0, nullptr);
  dispatch(effEditClose);
  EXPECT_EQ(record->getParameter(record, wetPanL), 0.2f);
}

}  // namespace
