// The X11 module's editor in a real X server (Xvfb), driven like a host drives it: the module is
// loaded through its entry, its editor opened in host windows of this process's own connection,
// and the mouse and keyboard moved with XTest from outside the module.
#include <dirent.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xcb/res.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "editor/EditorLayout.h"
#include "editor/Skin.h"
#include "gui/platform/headless/HeadlessControl.h"
#include "gui/platform/platform.h"
#include "hostkit/EffectCalls.h"
#include "hostkit/Host.h"
#include "hostkit/ModuleLibrary.h"
#include "hostkit/x11/EditorWindow.h"
#include "plugin/PluginEntry.h"

namespace wrenfold {
namespace {

using namespace layout;
using hostkit::Host;
using hostkit::HostCall;

constexpr int32_t feedbackLeftTag = 10;
constexpr int32_t clearBufferTag = 1;
constexpr int32_t bypassTag = 2;
constexpr int32_t LpfCutoff = 3;
constexpr uint32_t numLockKeysym = 0xff7f;
constexpr uint32_t capsLockKeysym = 0xffe5;
constexpr uint16_t lockMasks = XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2;

hostkit::ModuleLibrary& module() {
  static hostkit::ModuleLibrary library(WRENFOLD_X11_MODULE_PATH);
  return library;
}

std::vector<HostCall>& hostCalls() { return Host::shared().calls(); }

// What the editor shows, as 0x00RRGGBB pixels row by row.
using Pixels = std::vector<uint32_t>;

uint32_t packed(Color color) {
  return (static_cast<uint32_t>(color.red) << 16) | (static_cast<uint32_t>(color.green) << 8) |
         color.blue;
}

// Renders the editor on the headless back end in this process after `prepare` ran on the effect.
Pixels headlessRendering(const std::function<void(AEffect*)>& prepare) {
  AEffect* effect = createPluginInstance(Host::callback());
  prepare(effect);
  platform::Window* host =
      headless::createHostWindow(Rect(0, 0, skin::editorWidth, skin::editorHeight));
  effect->dispatcher(effect, effEditOpen, 0, 0, host, 0.0f);
  while (platform::dispatchOnePendingPaint()) {
  }
  platform::Window* child = headless::childWindows(host).at(0);
  Pixels pixels;
  for (int32_t y = 0; y < skin::editorHeight; ++y) {
    for (int32_t x = 0; x < skin::editorWidth; ++x)
      pixels.push_back(packed(headless::windowPixel(child, Point(x, y))));
  }
  effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  headless::destroyHostWindow(host);
  return pixels;
}

std::size_t openDescriptorCount() {
  std::size_t count = 0;
  if (DIR* folder = opendir("/proc/self/fd")) {
    while (readdir(folder) != nullptr) ++count;
    closedir(folder);
  }
  return count;
}

class X11EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(module().loaded()) << module().error();
    connection = xcb_connect(nullptr, nullptr);
    ASSERT_EQ(xcb_connection_has_error(connection), 0) << "no X display";
    root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    hostCalls().clear();
    moveTo(Point(600, 600));
    // The editor's scale comes from this test alone: no settings of the user's, a 96-dpi desktop.
    char folder[] = "/tmp/wrenfold-x11-settings-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    settingsFolder = folder;
    setenv("XDG_CONFIG_HOME", folder, 1);
    useScale(nullptr, nullptr, nullptr);
  }

  void TearDown() override {
    useScale(nullptr, nullptr, nullptr);
    std::remove((settingsFolder + "/wrenfold/wrenfold.conf").c_str());
    rmdir((settingsFolder + "/wrenfold").c_str());
    rmdir(settingsFolder.c_str());
    Host::shared().setIdleHandler(nullptr);
    windows.clear();
    for (AEffect* effect : effects) hostkit::dispatch(effect, effClose);
    EXPECT_EQ(hostErrors(), 0) << "an X error reached the host's connection";
    xcb_disconnect(connection);
  }

  // Makes an effect and a host window for it at (x, 0), and opens the editor in it.
  EditorWindow& openEditor(int16_t x = 0) {
    effects.push_back(module().createEffect(Host::callback()));
    hostkit::dispatch(effects.back(), effOpen);
    windows.push_back(std::make_unique<EditorWindow>(connection, effects.back(), x, 0));
    windows.back()->openEditor();
    idle(5);
    return *windows.back();
  }

  // Sets what the editor's next open reads: the desktop's Xft.dpi (on the root window, as the
  // desktops' settings daemons write it), the user's settings file and variable; null for none.
  void useScale(const char* xftDpi, const char* settings, const char* variable) {
    if (xftDpi != nullptr) {
      const std::string database = std::string("Xft.antialias:\t1\nXft.dpi:\t") + xftDpi + "\n";
      xcb_change_property(connection, XCB_PROP_MODE_REPLACE, root, XCB_ATOM_RESOURCE_MANAGER,
                          XCB_ATOM_STRING, 8, static_cast<uint32_t>(database.size()),
                          database.data());
    } else {
      xcb_delete_property(connection, root, XCB_ATOM_RESOURCE_MANAGER);
    }
    sync();
    const std::string folder = settingsFolder + "/wrenfold";
    if (settings != nullptr) {
      mkdir(folder.c_str(), 0700);
      std::ofstream(folder + "/wrenfold.conf") << settings;
    } else {
      std::remove((folder + "/wrenfold.conf").c_str());
    }
    if (variable != nullptr) {
      setenv("WRENFOLD_EDITOR_SCALE", variable, 1);
    } else {
      unsetenv("WRENFOLD_EDITOR_SCALE");
    }
  }

  // Returns the size of a window.
  std::pair<int, int> sizeOf(xcb_window_t window) {
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    const std::pair<int, int> size =
        geometry != nullptr ? std::make_pair(int{geometry->width}, int{geometry->height})
                            : std::make_pair(0, 0);
    std::free(geometry);
    return size;
  }

  // Runs the host's idle `times` times, 10 ms apart, as a host's event loop does.
  void idle(int times) {
    for (int i = 0; i < times; ++i) {
      sync();
      for (auto& window : windows) window->idle();
      usleep(10000);
    }
  }

  // Runs the host's idle until `done` answers true, for at most about three seconds, so that a
  // loaded machine gets the time it needs; answers `done`'s last answer.
  bool idleUntil(const std::function<bool()>& done) {
    for (int round = 0; round < 300; ++round) {
      if (done()) return true;
      idle(1);
    }
    return done();
  }

  // Waits until the server has handled every request of the host's connection.
  void sync() {
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
  }

  void fake(uint8_t type, uint8_t detail, Point where = Point()) {
    xcb_test_fake_input(connection, type, detail, XCB_CURRENT_TIME, root,
                        static_cast<int16_t>(where.h), static_cast<int16_t>(where.v), 0);
    sync();
  }
  void moveTo(Point where) { fake(XCB_MOTION_NOTIFY, 0, where); }
  void press(uint8_t button) { fake(XCB_BUTTON_PRESS, button); }
  void release(uint8_t button) { fake(XCB_BUTTON_RELEASE, button); }
  void tapKey(xcb_keycode_t key) {
    fake(XCB_KEY_PRESS, key);
    fake(XCB_KEY_RELEASE, key);
  }

  xcb_keycode_t keycodeOf(uint32_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const uint8_t count = static_cast<uint8_t>(setup->max_keycode - setup->min_keycode + 1);
    xcb_get_keyboard_mapping_reply_t* reply = xcb_get_keyboard_mapping_reply(
        connection, xcb_get_keyboard_mapping(connection, setup->min_keycode, count), nullptr);
    xcb_keycode_t found = 0;
    if (reply != nullptr) {
      const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
      for (int i = 0; i < xcb_get_keyboard_mapping_keysyms_length(reply) && found == 0; ++i) {
        if (syms[i] == keysym)
          found = static_cast<xcb_keycode_t>(setup->min_keycode + i / reply->keysyms_per_keycode);
      }
    }
    std::free(reply);
    return found;
  }

  uint16_t modifierMask() {
    xcb_query_pointer_reply_t* reply =
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr);
    const uint16_t mask = reply != nullptr ? reply->mask : 0;
    std::free(reply);
    return mask;
  }

  // Turns NumLock and CapsLock on or off.
  void setLocks(bool on) {
    for (uint32_t keysym : {numLockKeysym, capsLockKeysym}) {
      const uint16_t bit = keysym == numLockKeysym ? XCB_MOD_MASK_2 : XCB_MOD_MASK_LOCK;
      if (((modifierMask() & bit) != 0) != on) tapKey(keycodeOf(keysym));
    }
  }

  // Returns the editor's child window inside a host window, with its size; 0 when there is none.
  xcb_window_t childOf(xcb_window_t host) {
    xcb_query_tree_reply_t* tree =
        xcb_query_tree_reply(connection, xcb_query_tree(connection, host), nullptr);
    xcb_window_t child = 0;
    if (tree != nullptr && xcb_query_tree_children_length(tree) == 1)
      child = xcb_query_tree_children(tree)[0];
    std::free(tree);
    return child;
  }

  std::string textProperty(xcb_window_t window, xcb_atom_t property) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, XCB_ATOM_STRING, 0, 256),
        nullptr);
    std::string text;
    if (reply != nullptr) {
      text.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                  static_cast<std::size_t>(xcb_get_property_value_length(reply)));
    }
    std::free(reply);
    return text;
  }

  // The screen's pixel format as the server describes it: per channel (red, green, blue) its
  // shift and width, the bytes per pixel, the row padding and the byte order.
  struct ScreenFormat {
    uint32_t shift[3], width[3], bytes = 4, pad = 4;
    bool msbFirst = false;
  };
  ScreenFormat screenFormat() {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(setup).data;
    ScreenFormat format{};
    format.msbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem > 0;
         xcb_format_next(&formats))
      if (formats.data->depth == screen->root_depth) {
        format.bytes = formats.data->bits_per_pixel / 8u;
        format.pad = formats.data->scanline_pad / 8u;
      }
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem > 0;
         xcb_depth_next(&depths))
      for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem > 0;
           xcb_visualtype_next(&visuals))
        if (visuals.data->visual_id == screen->root_visual) {
          const uint32_t masks[3] = {visuals.data->red_mask, visuals.data->green_mask,
                                     visuals.data->blue_mask};
          for (int c = 0; c < 3; ++c) {
            format.shift[c] = static_cast<uint32_t>(__builtin_ctz(masks[c]));
            format.width[c] = static_cast<uint32_t>(__builtin_popcount(masks[c]));
          }
        }
    return format;
  }

  // Returns what a window shows as 0x00RRGGBB, each channel cut to at most its 8 highest bits.
  Pixels windowPixels(xcb_window_t window) {
    xcb_get_image_reply_t* reply =
        xcb_get_image_reply(connection,
                            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                          skin::editorWidth, skin::editorHeight, ~0u),
                            nullptr);
    Pixels pixels;
    const ScreenFormat format = screenFormat();
    const uint32_t rowBytes =
        (skin::editorWidth * format.bytes + format.pad - 1) / format.pad * format.pad;
    for (uint32_t i = 0; reply != nullptr && i < skin::editorWidth * skin::editorHeight; ++i) {
      const uint8_t* at = xcb_get_image_data(reply) + i / skin::editorWidth * rowBytes +
                          i % skin::editorWidth * format.bytes;
      uint32_t value = 0, rgb = 0;
      for (uint32_t b = 0; b < format.bytes; ++b)
        value |= static_cast<uint32_t>(at[b]) << (8 * (format.msbFirst ? format.bytes - 1 - b : b));
      for (int c = 0; c < 3; ++c) {
        const uint32_t channel = value >> format.shift[c] & ((1u << format.width[c]) - 1);
        rgb = rgb << 8 | (format.width[c] > 8 ? channel >> (format.width[c] - 8) : channel);
      }
      pixels.push_back(rgb);
    }
    std::free(reply);
    return pixels;
  }

  // Returns a drawn picture cut to the precision the screen keeps, as windowPixels answers it.
  Pixels atScreenPrecision(Pixels pixels) {
    const ScreenFormat format = screenFormat();
    for (uint32_t& rgb : pixels) {
      uint32_t cut = 0;
      for (int c = 0; c < 3; ++c) {
        const uint32_t channel = rgb >> (16 - 8 * c) & 0xffu;
        cut = cut << 8 | (format.width[c] >= 8 ? channel : channel >> (8 - format.width[c]));
      }
      rgb = cut;
    }
    return pixels;
  }

  // Counts the error events that reached the host's connection.
  int hostErrors() {
    int errors = 0;
    sync();
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
      if (event->response_type == 0) ++errors;
      std::free(event);
    }
    return errors;
  }

  // Returns the number of X clients and the number of resources they hold together.
  std::pair<uint32_t, uint32_t> serverResources() {
    xcb_res_query_clients_reply_t* clients =
        xcb_res_query_clients_reply(connection, xcb_res_query_clients(connection), nullptr);
    std::pair<uint32_t, uint32_t> totals{0, 0};
    if (clients == nullptr) return totals;
    xcb_res_client_iterator_t it = xcb_res_query_clients_clients_iterator(clients);
    for (; it.rem > 0; xcb_res_client_next(&it)) {
      ++totals.first;
      xcb_res_query_client_resources_reply_t* resources = xcb_res_query_client_resources_reply(
          connection, xcb_res_query_client_resources(connection, it.data->resource_base), nullptr);
      if (resources == nullptr) continue;
      xcb_res_type_iterator_t types = xcb_res_query_client_resources_types_iterator(resources);
      for (; types.rem > 0; xcb_res_type_next(&types)) totals.second += types.data->count;
      std::free(resources);
    }
    std::free(clients);
    return totals;
  }

  // The host calls since the last clear, without the idle calls.
  std::vector<HostCall> editCalls() {
    std::vector<HostCall> calls;
    for (const HostCall& call : hostCalls()) {
      if (call.opcode != audioMasterIdle) calls.push_back(call);
    }
    return calls;
  }

  xcb_atom_t atom(const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t answer = reply != nullptr ? reply->atom : 0;
    std::free(reply);
    return answer;
  }

  std::string atomName(xcb_atom_t value) {
    if (value == XCB_ATOM_NONE) return "";
    xcb_get_atom_name_reply_t* reply =
        xcb_get_atom_name_reply(connection, xcb_get_atom_name(connection, value), nullptr);
    std::string name;
    if (reply != nullptr)
      name.assign(xcb_get_atom_name_name(reply), xcb_get_atom_name_name_length(reply));
    std::free(reply);
    return name;
  }

  void sendToEditor(xcb_window_t target, const char* type, const uint32_t (&data)[5]) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = target;
    message.type = atom(type);
    std::memcpy(message.data.data32, data, sizeof(data));
    xcb_send_event(connection, 0, target, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    sync();
  }

  // What the drag source saw: the message it waited for and the type the editor asked for.
  struct DragReplies {
    std::optional<xcb_client_message_event_t> message;
    std::string requested;
  };

  // Idles the editor and acts as the drag source until a message of `type` arrives: answers
  // requests for the selection with a short text or file list in the asked type.
  DragReplies runSource(xcb_window_t source, const char* type) {
    DragReplies replies;
    for (int round = 0; round < 300 && !replies.message.has_value(); ++round) {
      idle(1);
      while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
        const uint8_t kind = event->response_type & 0x7f;
        if (kind == XCB_CLIENT_MESSAGE) {
          const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
          if (message->window == source && message->type == atom(type)) replies.message = *message;
        } else if (kind == XCB_SELECTION_REQUEST) {
          replies.requested =
              atomName(reinterpret_cast<xcb_selection_request_event_t*>(event)->target);
          answerSelection(reinterpret_cast<xcb_selection_request_event_t*>(event));
        }
        std::free(event);
      }
    }
    return replies;
  }

  void answerSelection(const xcb_selection_request_event_t* request) {
    const std::string data =
        atomName(request->target) == "text/uri-list" ? "file:///tmp/a%20b\r\n" : "dropped text";
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request->requestor, request->property,
                        request->target, 8, static_cast<uint32_t>(data.size()), data.data());
    xcb_selection_notify_event_t notify{};
    notify.response_type = XCB_SELECTION_NOTIFY;
    notify.time = request->time;
    notify.requestor = request->requestor;
    notify.selection = request->selection;
    notify.target = request->target;
    notify.property = request->property;
    xcb_send_event(connection, 0, request->requestor, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&notify));
    sync();
  }

  xcb_connection_t* connection = nullptr;
  xcb_window_t root = 0;
  std::string settingsFolder;
  std::vector<AEffect*> effects;
  std::vector<std::unique_ptr<EditorWindow>> windows;
};

TEST_F(X11EditorTest, EditorIsAChildWindowOfTheHostWithItsSizeAndTitle) {
  EditorWindow& host = openEditor();
  const xcb_window_t child = childOf(host.window());
  ASSERT_NE(child, 0u);
  xcb_get_geometry_reply_t* geometry =
      xcb_get_geometry_reply(connection, xcb_get_geometry(connection, child), nullptr);
  ASSERT_NE(geometry, nullptr);
  EXPECT_EQ(geometry->x, 0);
  EXPECT_EQ(geometry->y, 0);
  EXPECT_EQ(geometry->width, 350);
  EXPECT_EQ(geometry->height, 430);
  std::free(geometry);
  EXPECT_EQ(textProperty(child, XCB_ATOM_WM_NAME), "Window");
}

// Each row: what the desktop, the user's settings file and the user's variable say, and the size
// the editor asks for before it opens, opens at and answers once open.
struct ScaleSources {
  const char* name;
  const char* xftDpi;
  const char* settings;
  const char* variable;
  int width;
  int height;
};

TEST_F(X11EditorTest, EditorOpensAtTheUsersOrTheDesktopsScaleAndAsksForThatSizeFirst) {
  // Settings files of 64 KiB, the most that is read, and one byte more.
  const std::string largest = "editor-scale = 2\n#" + std::string(65536 - 19, '-') + "\n";
  const std::string tooLarge = largest + "\n";
  const ScaleSources rows[] = {
      {"96-dpi desktop", nullptr, nullptr, nullptr, 350, 430},
      {"a file of 64 KiB is read", nullptr, largest.c_str(), nullptr, 700, 860},
      {"a larger one is passed over", nullptr, tooLarge.c_str(), nullptr, 350, 430},
      {"Xft.dpi 192", "192", nullptr, nullptr, 700, 860},
      {"Xft.dpi 144", "144", nullptr, nullptr, 525, 645},
      {"Xft.dpi 192, the file says 1", "192", "# for a host that scales\neditor-scale = 1\n",
       nullptr, 350, 430},
      {"96 dpi, the file says 2", nullptr, "editor-scale=2", nullptr, 700, 860},
      {"the variable over the file", "192", "editor-scale = 2\n", "1.5", 525, 645},
      {"auto and malformed values pass to the desktop", "192", "editor-scale = auto\n", "2x", 700,
       860},
      {"a malformed file passes to the desktop", "192", "editor-scale = large\n\x01\xff", nullptr,
       700, 860},
      {"a quarter step and the upper limit", nullptr, nullptr, "7", 1050, 1290},
      {"rounded to the nearest quarter", nullptr, "editor-scale = 1.3", nullptr, 438, 538},
  };
  for (const ScaleSources& row : rows) {
    SCOPED_TRACE(row.name);
    useScale(row.xftDpi, row.settings, row.variable);
    windows.clear();
    EditorWindow& host = openEditor();
    EXPECT_EQ(std::make_pair(host.width(), host.height()), std::make_pair(row.width, row.height));
    EXPECT_EQ(sizeOf(childOf(host.window())), std::make_pair(row.width, row.height));
    ERect* rect = nullptr;
    hostkit::dispatch(effects.back(), effEditGetRect, 0, 0, &rect);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(std::make_pair(rect->right - rect->left, rect->bottom - rect->top),
              std::make_pair(row.width, row.height));
  }
}

// Each row: what the host does before (headless) or while (X11) the editor is open; the window
// must then show exactly what the headless back end draws for the same state.
struct ShownState {
  const char* name;
  std::function<void(AEffect*)> apply;
};

TEST_F(X11EditorTest, WindowShowsTheHeadlessRenderingPixelForPixel) {
  const ShownState states[] = {
      {"first paint", [](AEffect*) {}},
      {"host writes the left feedback",
       [](AEffect* effect) { effect->setParameter(effect, feedbackLeftTag, 0.9f); }},
      {"host changes the program",
       [](AEffect* effect) { effect->dispatcher(effect, effSetProgram, 0, 2, nullptr, 0.0f); }},
  };
  for (const ShownState& state : states) {
    SCOPED_TRACE(state.name);
    const Pixels expected = atScreenPrecision(headlessRendering(state.apply));
    windows.clear();
    EditorWindow& host = openEditor();
    state.apply(effects.back());
    Pixels shown;
    idleUntil([&] { return (shown = windowPixels(childOf(host.window()))) == expected; });
    ASSERT_EQ(shown.size(), expected.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) differing += shown[i] != expected[i] ? 1 : 0;
    EXPECT_EQ(differing, 0u);
  }
}

TEST_F(X11EditorTest, DraggingTheLeftFeedbackSliderDownReportsFallingValuesWithAnyLockKeys) {
  // Each row: NumLock and CapsLock on, the scale (at 2 the same hand movement is twice as many
  // pixels) and a wheel turn during the drag, which the slider ignores; every row ends on the
  // same value.
  const std::tuple<bool, int32_t, bool> rows[] = {
      {false, 1, false}, {true, 1, false}, {false, 2, false}, {false, 1, true}};
  float firstValue = -1.0f;
  for (const auto& [locks, scale, wheel] : rows) {
    SCOPED_TRACE(std::string(locks ? "locks " : "") + (scale == 2 ? "scale 2 " : "") +
                 (wheel ? "wheel" : ""));
    setLocks(locks);
    ASSERT_EQ((modifierMask() & lockMasks) != 0, locks);
    useScale(nullptr, nullptr, scale == 2 ? "2" : nullptr);
    windows.clear();
    openEditor();
    // The handle of a slider at 0.5 sits on this line; the host moves the mouse in its own idle.
    const Point grab((controlBounds(FeedBackL).left + 10) * scale, 149 * scale);
    std::vector<std::function<void()>> script;
    for (int32_t step = 1; step <= 4; ++step) {
      script.push_back(
          [this, grab, step, scale = scale] { moveTo(Point(grab.h, grab.v + 10 * scale * step)); });
    }
    if (wheel) {
      script.insert(script.begin() + 2, [this] {
        press(4);
        release(4);
      });
    }
    script.push_back([this] { release(1); });
    std::size_t next = 0;
    Host::shared().setIdleHandler([&] {
      if (next < script.size()) script[next++]();
    });
    moveTo(grab);
    hostCalls().clear();
    press(1);
    idleUntil(
        [&] { return !editCalls().empty() && editCalls().back().opcode == audioMasterEndEdit; });
    Host::shared().setIdleHandler(nullptr);
    ASSERT_EQ(next, script.size()) << "the drag did not run through the host's idle";

    const std::vector<HostCall>& calls = hostCalls();
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls.front().opcode, audioMasterBeginEdit);
    EXPECT_EQ(calls.front().index, feedbackLeftTag);
    std::size_t end = calls.size();
    while (end > 0 && calls[end - 1].opcode == audioMasterIdle) --end;
    ASSERT_GT(end, 1u);
    EXPECT_EQ(calls[end - 1].opcode, audioMasterEndEdit);
    EXPECT_EQ(calls[end - 1].index, feedbackLeftTag);
    float last = 0.5f;
    int automations = 0;
    bool idleBetween = false;
    for (std::size_t i = 1; i + 1 < end; ++i) {
      if (calls[i].opcode == audioMasterIdle) {
        idleBetween = true;
        continue;
      }
      ASSERT_EQ(calls[i].opcode, audioMasterAutomate);
      EXPECT_EQ(calls[i].index, feedbackLeftTag);
      EXPECT_LT(calls[i].opt, last);
      last = calls[i].opt;
      ++automations;
    }
    EXPECT_GE(automations, 4);
    EXPECT_TRUE(idleBetween);
    EXPECT_EQ(effects.back()->getParameter(effects.back(), feedbackLeftTag), last);
    // The handle and the display follow: the window shows what a fresh editor at that value shows.
    if (scale == 1) {
      const Pixels expected = atScreenPrecision(headlessRendering(
          [last](AEffect* effect) { effect->setParameter(effect, feedbackLeftTag, last); }));
      EXPECT_TRUE(
          idleUntil([&] { return windowPixels(childOf(windows.back()->window())) == expected; }));
    }
    // Neither the lock keys, the scale nor the wheel change anything: the same drag ends on the
    // same value.
    if (firstValue >= 0.0f) {
      EXPECT_EQ(last, firstValue);
    }
    firstValue = last;
  }
  setLocks(false);
}

// Each row: a click on a button or a wheel turn (buttons 4 and 5, 6 and 7 sideways) and the calls
// the host sees.
struct ButtonClick {
  const char* name;
  Point where;
  std::vector<std::pair<int32_t, int32_t>> calls;  // opcode, index
  uint8_t button = 1;
  bool shift = false;
  float feedbackAfter = 0.5f;    // the left feedback, 0.5 in program 0
  const char* scale = nullptr;   // the user's scale, none for the desktop's 1
  bool closeOnAutomate = false;  // the host closes the editor inside the automation call
};

TEST_F(X11EditorTest, ClickingButtonsAndTurningTheWheelReportsToTheHost) {
  const Point feedback(controlBounds(FeedBackL).left + 10, 149);
  const ButtonClick clicks[] = {
      {"bypass toggle",
       Point(controlBounds(Bypass).left + 10, controlBounds(Bypass).top + 10),
       {{audioMasterAutomate, bypassTag}}},
      {"clear buffer momentary",
       Point(controlBounds(ClearBuffer).left + 10, controlBounds(ClearBuffer).top + 10),
       {{audioMasterBeginEdit, clearBufferTag},
        {audioMasterAutomate, clearBufferTag},
        {audioMasterEndEdit, clearBufferTag},
        {audioMasterAutomate, clearBufferTag}}},
      {"wheel away from the user: one step up",
       feedback,
       {{audioMasterAutomate, feedbackLeftTag}},
       4,
       false,
       0.6f},
      {"wheel towards the user with shift: a tenth down",
       feedback,
       {{audioMasterAutomate, feedbackLeftTag}},
       5,
       true,
       0.49f},
      {"sideways scroll left: ignored", feedback, {}, 6},
      {"sideways scroll right: ignored", feedback, {}, 7},
      {"wheel whose automation closes the editor",
       feedback,
       {{audioMasterAutomate, feedbackLeftTag}},
       4,
       false,
       0.6f,
       nullptr,
       true},
      {"bypass toggle at scale 2",
       Point(2 * controlBounds(Bypass).left + 20, 2 * controlBounds(Bypass).top + 20),
       {{audioMasterAutomate, bypassTag}},
       1,
       false,
       0.5f,
       "2"},
      {"wheel at scale 1.5",
       Point(feedback.h * 3 / 2, feedback.v * 3 / 2),
       {{audioMasterAutomate, feedbackLeftTag}},
       4,
       false,
       0.6f,
       "1.5"},
  };
  const xcb_keycode_t shift = keycodeOf(0xffe1);
  for (const ButtonClick& click : clicks) {
    SCOPED_TRACE(click.name);
    useScale(nullptr, nullptr, click.scale);
    windows.clear();
    openEditor();
    moveTo(click.where);
    hostCalls().clear();
    if (click.closeOnAutomate) {
      Host::shared().setHandler(audioMasterAutomate, [this] { windows.back()->closeEditor(); });
    }
    // A quick click, over before the host's next idle.
    if (click.shift) fake(XCB_KEY_PRESS, shift);
    press(click.button);
    release(click.button);
    if (click.shift) fake(XCB_KEY_RELEASE, shift);
    idleUntil([&] { return editCalls().size() >= click.calls.size(); });
    idle(3);
    Host::shared().setHandler(audioMasterAutomate, nullptr);
    std::vector<std::pair<int32_t, int32_t>> seen;
    for (const HostCall& call : editCalls()) seen.emplace_back(call.opcode, call.index);
    EXPECT_EQ(seen, click.calls);
    EXPECT_NEAR(effects.back()->getParameter(effects.back(), feedbackLeftTag), click.feedbackAfter,
                1e-6f);
    if (click.closeOnAutomate) {
      EXPECT_EQ(childOf(windows.back()->window()), 0u) << "closed once the turn was handled";
    }
  }
  EXPECT_EQ(effects.front()->getParameter(effects.front(), bypassTag), 1.0f);
}

// Each row: a gesture on the low-pass cutoff knob, set to 0.9 by the host first.
struct KnobGesture {
  const char* name;
  bool control;
  std::vector<Point> path;  // where the mouse goes after the press, one point per host idle
  bool bracketed;           // reported between 43 and 44
};

TEST_F(X11EditorTest, KnobDragsInACircleAndControlClickGoesToTheDefault) {
  const Rect knob = controlBounds(LpfCutoff);
  const Point centre((knob.left + knob.right) / 2, (knob.top + knob.bottom) / 2);
  const KnobGesture gestures[] = {
      {"circular drag",
       false,
       {Point(centre.h + 5, centre.v - 20), Point(centre.h - 20, centre.v - 5)},
       true},
      {"control-click", true, {}, false},
  };
  const xcb_keycode_t control = keycodeOf(0xffe3);
  for (const KnobGesture& gesture : gestures) {
    SCOPED_TRACE(gesture.name);
    windows.clear();
    openEditor();
    AEffect* effect = effects.back();
    effect->setParameter(effect, LpfCutoff, 0.9f);
    idle(2);
    std::vector<std::function<void()>> script;
    for (const Point& where : gesture.path) script.push_back([this, where] { moveTo(where); });
    script.push_back([this] { release(1); });
    std::size_t next = 0;
    Host::shared().setIdleHandler([&] {
      if (next < script.size()) script[next++]();
    });
    moveTo(Point(centre.h + 12, centre.v));
    if (gesture.control) fake(XCB_KEY_PRESS, control);
    hostCalls().clear();
    press(1);
    idleUntil([&] {
      return !editCalls().empty() &&
             (!gesture.bracketed || editCalls().back().opcode == audioMasterEndEdit);
    });
    if (next < script.size()) release(1);
    Host::shared().setIdleHandler(nullptr);
    if (gesture.control) fake(XCB_KEY_RELEASE, control);
    idle(2);

    const std::vector<HostCall> calls = editCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front().opcode == audioMasterBeginEdit, gesture.bracketed);
    EXPECT_EQ(calls.back().opcode == audioMasterEndEdit, gesture.bracketed);
    int automations = 0;
    for (const HostCall& call : calls) {
      EXPECT_EQ(call.index, LpfCutoff);
      automations += call.opcode == audioMasterAutomate ? 1 : 0;
    }
    EXPECT_GE(automations, 1);
    EXPECT_NE(effect->getParameter(effect, LpfCutoff), 0.9f);
  }
}

TEST_F(X11EditorTest, HostDestroyingItsWindowFirstLeavesNothingBroken) {
  for (bool idleBetween : {false, true}) {
    SCOPED_TRACE(idleBetween ? "editor idled after the destruction" : "editor closed at once");
    windows.clear();
    EditorWindow& host = openEditor();
    host.destroyWindow();
    sync();
    if (idleBetween) host.idle();
    host.closeEditor();
    EXPECT_EQ(hostErrors(), 0);
  }
  EditorWindow& again = openEditor();
  EXPECT_NE(childOf(again.window()), 0u) << "the editor opens again afterwards";
}

TEST_F(X11EditorTest, OpenCloseCyclesAndTwoInstancesLeaveResourcesAndDescriptorsFlat) {
  EditorWindow& first = openEditor(0);
  EditorWindow& second = openEditor(400);
  EXPECT_NE(childOf(first.window()), 0u);
  EXPECT_NE(childOf(second.window()), 0u);
  // Cycles of the second editor while the first stays open, then of the first alone.
  for (EditorWindow* cycled : {&second, &first}) {
    if (cycled == &first) second.closeEditor();
    cycled->closeEditor();
    cycled->openEditor();
    cycled->idle();
    const auto resourcesBefore = serverResources();
    const std::size_t descriptorsBefore = openDescriptorCount();
    for (int cycle = 0; cycle < 1000; ++cycle) {
      cycled->closeEditor();
      cycled->openEditor();
      cycled->idle();
    }
    EXPECT_EQ(serverResources(), resourcesBefore);
    EXPECT_EQ(openDescriptorCount(), descriptorsBefore);
  }
}

// The LV2 UI of the bundle's binary, opened in a host window of this process: the size it tells
// the host follows the host's scale factor, and opening and closing it leaks nothing.
TEST_F(X11EditorTest, Lv2UiOpensAtTheHostsScaleAndOpenCloseCyclesLeaveResourcesFlat) {
  void* binary = dlopen(WRENFOLD_LV2_BINARY_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(binary, nullptr) << dlerror();
  const auto entry =
      reinterpret_cast<const LV2UI_Descriptor* (*)(uint32_t)>(dlsym(binary, "lv2ui_descriptor"));
  ASSERT_NE(entry, nullptr);
  const LV2UI_Descriptor* ui = entry(0);
  static std::vector<std::string> uris;
  LV2_URID_Map map = {
      nullptr, [](LV2_URID_Map_Handle, const char* uri) {
        const auto known = std::find(uris.begin(), uris.end(), uri);
        if (known == uris.end()) uris.push_back(uri);
        return static_cast<LV2_URID>(std::find(uris.begin(), uris.end(), uri) - uris.begin() + 1);
      }};
  std::pair<int, int> told;
  LV2UI_Resize resize = {&told, [](LV2UI_Feature_Handle handle, int width, int height) {
                           *static_cast<std::pair<int, int>*>(handle) = {width, height};
                           return 0;
                         }};
  const xcb_window_t host = xcb_generate_id(connection);
  xcb_create_window(connection, XCB_COPY_FROM_PARENT, host, root, 0, 0, 1200, 1000, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
  xcb_map_window(connection, host);
  sync();
  for (float scale : {0.0f, 2.0f}) {
    SCOPED_TRACE(scale);
    const LV2_Options_Option options[] = {
        {LV2_OPTIONS_INSTANCE, 0, map.map(nullptr, LV2_UI__scaleFactor), sizeof scale,
         map.map(nullptr, "http://lv2plug.in/ns/ext/atom#Float"), &scale},
        {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
    const LV2_Feature parent = {LV2_UI__parent,
                                reinterpret_cast<void*>(static_cast<uintptr_t>(host))};
    const LV2_Feature resizing = {LV2_UI__resize, &resize};
    const LV2_Feature mapping = {LV2_URID__map, &map};
    const LV2_Feature optionList = {LV2_OPTIONS__options, const_cast<LV2_Options_Option*>(options)};
    const LV2_Feature* features[] = {&parent, &resizing, &mapping, &optionList, nullptr};
    const auto cycle = [&] {
      LV2UI_Widget widget = nullptr;
      LV2UI_Handle handle = ui->instantiate(
          ui, "", "", [](LV2UI_Controller, uint32_t, uint32_t, uint32_t, const void*) {}, nullptr,
          &widget, features);
      EXPECT_NE(handle, nullptr);
      if (handle == nullptr) return std::make_pair(0, 0);
      sync();
      const std::pair<int, int> size =
          sizeOf(static_cast<xcb_window_t>(reinterpret_cast<uintptr_t>(widget)));
      ui->cleanup(handle);
      return size;
    };
    const int factor = scale > 0.0f ? static_cast<int>(scale) : 1;
    const std::pair<int, int> expected = {350 * factor, 430 * factor};
    EXPECT_EQ(cycle(), expected);
    EXPECT_EQ(told, expected);
    const auto resourcesBefore = serverResources();
    const std::size_t descriptorsBefore = openDescriptorCount();
    for (int i = 0; i < 200; ++i) cycle();
    EXPECT_EQ(serverResources(), resourcesBefore);
    EXPECT_EQ(openDescriptorCount(), descriptorsBefore);
  }
  xcb_destroy_window(connection, host);
}

// Each row: the types a scripted drag source offers, whether Control is held, and what the editor
// answers and asks for.
struct DropOffer {
  const char* name;
  std::vector<std::string> types;
  bool control;
  bool accepted;
  std::string action;     // of XdndStatus
  std::string requested;  // the type the editor fetches on the drop, "" for none
};

TEST_F(X11EditorTest, DropsFromAnXdndSourcePreferTextAndChangeNothing) {
  const DropOffer offers[] = {
      {"text and files",
       {"text/uri-list", "text/plain"},
       false,
       true,
       "XdndActionMove",
       "text/plain"},
      {"UTF-8 text with Control", {"UTF8_STRING"}, true, true, "XdndActionCopy", "UTF8_STRING"},
      {"files only", {"text/uri-list"}, false, true, "XdndActionMove", "text/uri-list"},
      {"neither", {"image/png"}, true, false, "", ""},
  };
  EditorWindow& host = openEditor();
  const xcb_window_t target = childOf(host.window());
  ASSERT_NE(target, 0u);
  AEffect* effect = effects.back();
  std::vector<float> parameters;
  for (int32_t i = 0; i < effect->numParams; ++i)
    parameters.push_back(effect->getParameter(effect, i));
  const xcb_window_t source = xcb_generate_id(connection);
  xcb_create_window(connection, XCB_COPY_FROM_PARENT, source, root, 0, 0, 1, 1, 0,
                    XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
  xcb_set_selection_owner(connection, source, atom("XdndSelection"), XCB_CURRENT_TIME);
  const xcb_keycode_t control = keycodeOf(0xffe3);
  moveTo(Point(300, 100));

  for (const DropOffer& offer : offers) {
    SCOPED_TRACE(offer.name);
    hostCalls().clear();
    if (offer.control) fake(XCB_KEY_PRESS, control);
    uint32_t enter[5] = {source, 5u << 24, 0, 0, 0};
    for (std::size_t i = 0; i < offer.types.size(); ++i)
      enter[2 + i] = atom(offer.types[i].c_str());
    sendToEditor(target, "XdndEnter", enter);
    sendToEditor(target, "XdndPosition",
                 {source, 0, (300u << 16) | 100u, XCB_CURRENT_TIME, atom("XdndActionCopy")});
    const DragReplies status = runSource(source, "XdndStatus");
    ASSERT_TRUE(status.message.has_value());
    EXPECT_EQ((status.message->data.data32[1] & 1) != 0, offer.accepted);
    EXPECT_EQ(atomName(status.message->data.data32[4]), offer.action);

    sendToEditor(target, "XdndDrop", {source, 0, XCB_CURRENT_TIME, 0, 0});
    const DragReplies finished = runSource(source, "XdndFinished");
    if (offer.control) fake(XCB_KEY_RELEASE, control);
    ASSERT_TRUE(finished.message.has_value());
    EXPECT_EQ(finished.requested, offer.requested);
    // No view takes a drop, so none is reported as performed.
    EXPECT_EQ(finished.message->data.data32[1] & 1, 0u);
    EXPECT_EQ(finished.message->data.data32[2], static_cast<uint32_t>(XCB_ATOM_NONE));
    EXPECT_TRUE(editCalls().empty());
  }
  for (int32_t i = 0; i < effect->numParams; ++i)
    EXPECT_EQ(effect->getParameter(effect, i), parameters[i]);
  xcb_destroy_window(connection, source);
}

}  // namespace
}  // namespace wrenfold
