#pragma once

// The editor's skin: the seven bitmap resources with the sizes the layout is built around, and the
// greys the face is painted in. The editor, the skin generator, the skin tools and the tests read
// these facts here and nowhere else. The Windows resource script lists the same ids and files.

#include <cstdint>

#include "gui/Color.h"

namespace wrenfold {
namespace skin {

// Resource ids of the seven bitmaps, in the order the editor loads them.
enum BitmapId : int32_t {
  backgroundBitmap = 128,  // the whole face, drawn by the frame
  lowerKnobBitmap,         // knob body with the lower area's grey in its corners
  channelKnobBitmap,       // knob body with the channel panels' grey in its corners
  knobHandleBitmap,        // the handle dot of every knob, white keyed out
  sliderTrackBitmap,       // the track behind every slider
  sliderHandleBitmap,      // the slider handle, white keyed out
  buttonBitmap,            // the button face: the unlit image above the lit one
};

// Number of skin bitmaps.
constexpr int32_t bitmapCount = 7;

// One bitmap resource: its id, the files under resources/ it is built from (the picture and the
// one drawn for scale 2, resource id + platform::doubleSizeResourceOffset) and its size in pixels.
struct SkinBitmap {
  int32_t id;
  const char* fileName;
  const char* doubleSizeFileName;
  int32_t width;
  int32_t height;
};

// The seven bitmaps in id order.
constexpr SkinBitmap bitmaps[bitmapCount] = {
    {backgroundBitmap, "128-background.bmp", "228-background-2x.bmp", 350, 430},
    {lowerKnobBitmap, "129-lower-knob.bmp", "229-lower-knob-2x.bmp", 30, 30},
    {channelKnobBitmap, "130-channel-knob.bmp", "230-channel-knob-2x.bmp", 30, 30},
    {knobHandleBitmap, "131-knob-handle.bmp", "231-knob-handle-2x.bmp", 6, 6},
    {sliderTrackBitmap, "132-slider-track.bmp", "232-slider-track-2x.bmp", 20, 180},
    {sliderHandleBitmap, "133-slider-handle.bmp", "233-slider-handle-2x.bmp", 20, 10},
    {buttonBitmap, "134-button.bmp", "234-button-2x.bmp", 20, 54},
};

// The editor's size in pixels: the background's.
constexpr int32_t editorWidth = bitmaps[0].width;
constexpr int32_t editorHeight = bitmaps[0].height;

// Returns the facts of one of the seven bitmaps.
constexpr const SkinBitmap& bitmap(BitmapId id) { return bitmaps[id - backgroundBitmap]; }

// Number of images stacked in the button bitmap: unlit (off, released) above lit (on, pressed).
constexpr int32_t buttonImages = 2;

// Grey of the lower area: behind its displays and in the lower knobs' corners.
constexpr Color lowerGrey(168, 168, 168);
// Grey of the two channel panels: behind their displays, knobs and slider tracks.
constexpr Color channelGrey(183, 183, 183);
// Ink of the display texts, also used for the printed labels.
constexpr Color ink(51, 51, 51);

}  // namespace skin
}  // namespace wrenfold
