// A host that draws text with cairo itself and loads and unloads the module again and again,
// opening and closing an instance and its editor (in a window of the host's, so that the editor
// draws its texts) each time. A module that reset the static data of the cairo or fontconfig its
// host shares would make the host's next text abort.
// Usage: wrenfold-cairo-reload-host MODULE [ROUNDS]; exit status 0 when every round drew.
#include <cairo.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "hostkit/EffectCalls.h"
#include "hostkit/Host.h"
#include "hostkit/ModuleLibrary.h"

using namespace wrenfold::hostkit;

namespace {

// Draws a line of text into a small image, as the host's own interface would.
bool drawHostText() {
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 200, 40);
  cairo_t* cr = cairo_create(image);
  cairo_select_font_face(cr, "Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 14);
  cairo_move_to(cr, 4, 24);
  cairo_show_text(cr, "host text");
  const bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
  cairo_destroy(cr);
  cairo_surface_destroy(image);
  return drawn;
}

// Makes a mapped top-level window of the editor's size for the editor to open in; 0 without X.
xcb_window_t makeHostWindow(xcb_connection_t* connection) {
  if (xcb_connection_has_error(connection)) return 0;
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  const xcb_window_t window = xcb_generate_id(connection);
  xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 350, 430, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
  xcb_map_window(connection, window);
  xcb_flush(connection);
  return window;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s MODULE [ROUNDS]\n", argv[0]);
    return 2;
  }
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 100;
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const xcb_window_t hostWindow = makeHostWindow(connection);
  int drawn = 0;
  for (int round = 0; round < rounds; ++round) {
    intptr_t opened = 0;
    {
      ModuleLibrary module(argv[1], ModuleLibrary::Unload::onDestroy);
      AEffect* effect = module.createEffect(Host::callback());
      if (effect == nullptr) {
        std::fprintf(stderr, "%s\n", module.error().c_str());
        break;
      }
      ERect* rect = nullptr;
      dispatch(effect, effEditGetRect, 0, 0, &rect);
      opened = dispatch(effect, effEditOpen, 0, 0, reinterpret_cast<void*>(uintptr_t{hostWindow}));
      for (int idle = 0; idle < 5; ++idle) dispatch(effect, effEditIdle);
      dispatch(effect, effEditClose);
      if (opened != 1) std::fprintf(stderr, "round %d: the editor did not open\n", round);
      dispatch(effect, effClose);
    }
    if (opened != 1 || !drawHostText()) break;
    ++drawn;
  }
  xcb_disconnect(connection);
  std::printf("%d passed, %d failed\n", drawn, rounds - drawn);
  return drawn == rounds ? 0 : 1;
}
