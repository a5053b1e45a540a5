// A host that draws text with cairo itself and loads and unloads the module again and again,
// opening and closing an instance (and its editor) each time. A module that reset the static data
// of the cairo or fontconfig its host shares would make the host's next text abort.
// Usage: wrenfold-cairo-reload-host MODULE [ROUNDS]; exit status 0 when every round drew.
#include <cairo.h>

#include <cstdio>
#include <cstdlib>

#include "tests/hosts/HostProcess.h"

using namespace wrenfold::testing;

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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s MODULE [ROUNDS]\n", argv[0]);
    return 2;
  }
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 100;
  int drawn = 0;
  for (int round = 0; round < rounds; ++round) {
    void* module = nullptr;
    AEffect* effect = loadEffect(argv[1], &module);
    if (effect == nullptr) break;
    ERect* rect = nullptr;
    send(effect, effEditGetRect, &rect);
    send(effect, effEditOpen);
    send(effect, effEditIdle);
    send(effect, effEditClose);
    send(effect, effClose);
    dlclose(module);
    if (!drawHostText()) break;
    ++drawn;
  }
  std::printf("%d passed, %d failed\n", drawn, rounds - drawn);
  return drawn == rounds ? 0 : 1;
}
