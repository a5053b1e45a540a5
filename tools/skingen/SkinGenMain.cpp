// Renders the editor's seven skin bitmaps into <output-dir> as 8-bit palettised BMP files, each
// also drawn for scale 2.
//
//   wrenfold-skingen <output-dir> [--sheet <png>] [--overlay <png>] [--mockup <png>]
//
// --sheet writes all seven images side by side (as quantised) for a quick look; --overlay writes
// the face with every control's rectangle outlined, to check that no label hides under a control;
// --mockup writes the face with knobs, sliders, buttons and value boxes placed on it.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "editor/Skin.h"
#include "tools/skingen/BmpWriter.h"
#include "tools/skingen/PaletteQuantiser.h"
#include "tools/skingen/SkinArtist.h"
#include "tools/skingen/SkinLayout.h"
#include "tools/skingen/SkinPreview.h"

namespace {

wrenfold::RgbImage toRgb(const wrenfold::IndexedImage& indexed) {
  wrenfold::RgbImage image;
  image.width = indexed.width;
  image.height = indexed.height;
  for (int y = 0; y < indexed.height; ++y)
    for (int x = 0; x < indexed.width; ++x) image.pixels.push_back(indexed.at(x, y));
  return image;
}

const char usage[] =
    "usage: wrenfold-skingen OUTPUT-DIR [--sheet PNG] [--overlay PNG] [--mockup PNG]\n"
    "Renders the editor's seven skin bitmaps into OUTPUT-DIR as 8-bit palettised BMP files,\n"
    "each also drawn for HiDPI screens at twice the size.\n"
    "  --sheet PNG     also writes all seven side by side, as quantised\n"
    "  --overlay PNG   also writes the face with every control's rectangle outlined\n"
    "  --mockup PNG    also writes the face with the controls placed on it\n"
    "  --help          print this text\n"
    "  --version       print the version\n";

// Reports a wrong command line in one line; answers the exit status.
int usageError(const std::string& problem) {
  std::fprintf(stderr, "wrenfold-skingen: %s (see --help)\n", problem.c_str());
  return 1;
}

// Answers whether any argument is the option.
bool asks(int argc, char** argv, const char* option, const char* shortOption = nullptr) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], option) == 0 ||
        (shortOption != nullptr && std::strcmp(argv[i], shortOption) == 0))
      return true;
  return false;
}

// Reports a file that could not be written, with the system's reason when there is one.
int cannotWrite(const std::string& path) {
  std::fprintf(stderr, "wrenfold-skingen: cannot write %s: %s\n", path.c_str(),
               errno != 0 ? std::strerror(errno) : "the encoder failed");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (asks(argc, argv, "--help", "-h")) {
    std::fputs(usage, stdout);
    return 0;
  }
  if (asks(argc, argv, "--version")) {
    std::fputs("wrenfold-skingen " WRENFOLD_VERSION "\n", stdout);
    return 0;
  }
  if (argc < 2) return usageError("no output folder given");
  if (argv[1][0] == '-')
    return usageError("the output folder comes first, not '" + std::string(argv[1]) + "'");
  if (argc % 2 != 0) return usageError(std::string(argv[argc - 1]) + " needs a value");
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
      return usageError("unknown option '" + std::string(argv[i]) + "'");
  }

  const wrenfold::PaletteQuantiser quantiser({wrenfold::SkinArtist::channelGrey(),
                                              wrenfold::SkinArtist::lowerGrey(),
                                              wrenfold::SkinArtist::ink()});
  std::vector<wrenfold::RgbImage> written;
  for (int scale : {1, 2}) {
    const wrenfold::SkinArtist artist(scale);
    // In resource id order.
    const wrenfold::RgbImage images[wrenfold::skin::bitmapCount] = {
        artist.background(),
        artist.knobBody(wrenfold::SkinArtist::lowerGrey()),
        artist.knobBody(wrenfold::SkinArtist::channelGrey()),
        artist.knobHandle(),
        artist.sliderTrack(),
        artist.sliderHandle(),
        artist.button()};
    for (int i = 0; i < wrenfold::skin::bitmapCount; ++i) {
      const wrenfold::IndexedImage indexed = quantiser.quantise(images[i]);
      const wrenfold::skin::SkinBitmap& bitmap = wrenfold::skin::bitmaps[i];
      const std::string path =
          outputDir + "/" + (scale == 1 ? bitmap.fileName : bitmap.doubleSizeFileName);
      errno = 0;
      if (!wrenfold::BmpWriter::write(indexed, path)) return cannotWrite(path);
      // The previews show the pictures of the design's size.
      if (scale == 1) written.push_back(toRgb(indexed));
    }
  }
  errno = 0;
  if (!sheetPath.empty() && !wrenfold::SkinPreview::writeSheet(written, 2, sheetPath))
    return cannotWrite(sheetPath);
  errno = 0;
  if (!overlayPath.empty() && !wrenfold::SkinPreview::writeOverlay(
                                  written.front(), wrenfold::SkinLayout::all(), 2, overlayPath))
    return cannotWrite(overlayPath);
  errno = 0;
  if (!mockupPath.empty() && !wrenfold::SkinPreview::writeMockup(written, 2, mockupPath))
    return cannotWrite(mockupPath);
  return 0;
}
