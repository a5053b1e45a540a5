#include "tools/skingen/SkinLayout.h"

namespace wrenfold {

namespace {

constexpr int kKnobSize = 30;
constexpr int kSliderWidth = 20;
constexpr int kSliderHeight = 180;
constexpr int kButtonWidth = 20;
constexpr int kButtonHeight = 27;

ControlBox knobAt(int left, int top) {
  return {ControlBox::Kind::knob, left, top, left + kKnobSize, top + kKnobSize};
}

ControlBox display(int left, int top, int right, int bottom) {
  return {ControlBox::Kind::display, left, top, right, bottom};
}

}  // namespace

int SkinLayout::channelOrigin(int channel) { return channel == 0 ? 25 : 195; }

std::vector<ControlBox> SkinLayout::channelKnobs(int channel) {
  const int x0 = channelOrigin(channel);
  return {knobAt(x0, 55), knobAt(x0, 134), knobAt(x0, 215)};
}

std::vector<ControlBox> SkinLayout::channelSliders(int channel) {
  const int x0 = channelOrigin(channel);
  std::vector<ControlBox> sliders;
  for (int offset : {55, 85, 115})
    sliders.push_back({ControlBox::Kind::slider, x0 + offset, 60, x0 + offset + kSliderWidth, 60 + kSliderHeight});
  return sliders;
}

std::vector<ControlBox> SkinLayout::channelDisplays(int channel) {
  const int x0 = channelOrigin(channel);
  return {display(x0 - 10, 40, x0 + 40, 50),   display(x0 - 10, 119, x0 + 40, 129),
          display(x0 - 10, 200, x0 + 40, 210),  display(x0 + 50, 45, x0 + 80, 55),
          display(x0 + 80, 45, x0 + 110, 55),   display(x0 + 110, 45, x0 + 140, 55)};
}

std::vector<ControlBox> SkinLayout::buttons() {
  std::vector<ControlBox> result;
  for (int left : {25, 65, 105})
    result.push_back({ControlBox::Kind::button, left, 300, left + kButtonWidth, 300 + kButtonHeight});
  return result;
}

std::vector<ControlBox> SkinLayout::envelopeKnobs() { return {knobAt(31, 364), knobAt(81, 364)}; }

std::vector<ControlBox> SkinLayout::filterKnobs() { return {knobAt(155, 330), knobAt(215, 330), knobAt(290, 330)}; }

std::vector<ControlBox> SkinLayout::lowerDisplays() {
  return {display(145, 315, 195, 325), display(205, 315, 255, 325), display(280, 315, 330, 325),
          display(21, 351, 71, 362), display(71, 351, 121, 362)};
}

std::vector<ControlBox> SkinLayout::all() {
  std::vector<ControlBox> result;
  auto append = [&result](const std::vector<ControlBox>& boxes) { result.insert(result.end(), boxes.begin(), boxes.end()); };
  for (int channel : {0, 1}) {
    append(channelKnobs(channel));
    append(channelSliders(channel));
    append(channelDisplays(channel));
  }
  append(buttons());
  append(envelopeKnobs());
  append(filterKnobs());
  append(lowerDisplays());
  return result;
}

}  // namespace wrenfold
