// Renders the editor's seven skin bitmaps into <output-dir> as 8-bit palettised BMP files.
//
//   wrenfold-skingen <output-dir> [--sheet <png>] [--overlay <png>] [--mockup <png>]
//
// --sheet writes all seven images side by side (as quantised) for a quick look; --overlay writes
// the face with every control's rectangle outlined, to check that no label hides under a control;
// --mockup writes the face with knobs, sliders, buttons and value boxes placed on it.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/skingen/BmpWriter.h"
#include "tools/skingen/PaletteQuantiser.h"
#include "tools/skingen/SkinArtist.h"
#include "tools/skingen/SkinLayout.h"
#include "tools/skingen/SkinPreview.h"

namespace {

struct SkinFile {
  const char* name;
  wrenfold::RgbImage image;
};

wrenfold::RgbImage toRgb(const wrenfold::IndexedImage& indexed) {
  wrenfold::RgbImage image;
  image.width = indexed.width;
  image.height = indexed.height;
  for (int y = 0; y < indexed.height; ++y)
    for (int x = 0; x < indexed.width; ++x) image.pixels.push_back(indexed.at(x, y));
  return image;
}

int usage() {
  std::fprintf(stderr, "usage: wrenfold-skingen <output-dir> [--sheet <png>] [--overlay <png>] [--mockup <png>]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc % 2 != 0) return usage();
  const std::string outputDir = argv[1];
  std::string sheetPath;
  std::string overlayPath;
  std::string mockupPath;
  for (int i = 2; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--sheet") == 0)
      sheetPath = argv[i + 1];
    else if (std::strcmp(argv[i], "--overlay") == 0)
      overlayPath = argv[i + 1];
    else if (std::strcmp(argv[i], "--mockup") == 0)
      mockupPath = argv[i + 1];
    else
      return usage();
  }

  const wrenfold::SkinArtist artist;
  const std::vector<SkinFile> files = {
      {"128-background.bmp", artist.background()},
      {"129-lower-knob.bmp", artist.knobBody(wrenfold::SkinArtist::lowerGrey())},
      {"130-channel-knob.bmp", artist.knobBody(wrenfold::SkinArtist::channelGrey())},
      {"131-knob-handle.bmp", artist.knobHandle()},
      {"132-slider-track.bmp", artist.sliderTrack()},
      {"133-slider-handle.bmp", artist.sliderHandle()},
      {"134-button.bmp", artist.button()},
  };
  const wrenfold::PaletteQuantiser quantiser(
      {wrenfold::SkinArtist::channelGrey(), wrenfold::SkinArtist::lowerGrey(), wrenfold::SkinArtist::ink()});

  std::vector<wrenfold::RgbImage> written;
  for (const SkinFile& file : files) {
    const wrenfold::IndexedImage indexed = quantiser.quantise(file.image);
    const std::string path = outputDir + "/" + file.name;
    if (!wrenfold::BmpWriter::write(indexed, path)) {
      std::fprintf(stderr, "wrenfold-skingen: cannot write %s\n", path.c_str());
      return 1;
    }
    written.push_back(toRgb(indexed));
  }
  if (!sheetPath.empty() && !wrenfold::SkinPreview::writeSheet(written, 2, sheetPath)) {
    std::fprintf(stderr, "wrenfold-skingen: cannot write %s\n", sheetPath.c_str());
    return 1;
  }
  if (!overlayPath.empty() &&
      !wrenfold::SkinPreview::writeOverlay(written.front(), wrenfold::SkinLayout::all(), 2, overlayPath)) {
    std::fprintf(stderr, "wrenfold-skingen: cannot write %s\n", overlayPath.c_str());
    return 1;
  }
  if (!mockupPath.empty() && !wrenfold::SkinPreview::writeMockup(written, 2, mockupPath)) {
    std::fprintf(stderr, "wrenfold-skingen: cannot write %s\n", mockupPath.c_str());
    return 1;
  }
  return 0;
}
