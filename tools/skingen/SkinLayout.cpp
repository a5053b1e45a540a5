#include "tools/skingen/SkinLayout.h"

#include "editor/EditorLayout.h"

namespace wrenfold {

namespace {

constexpr int kSliderWidth = 20;
constexpr int kSliderHeight = 180;
constexpr int kButtonWidth = 20;
constexpr int kButtonHeight = 27;

ControlBox boxOf(ControlBox::Kind kind, const Rect& area) {
  return {kind, area.left, area.top, area.right, area.bottom};
}

ControlBox knob(const Rect& area) { return boxOf(ControlBox::Kind::knob, area); }

ControlBox display(const Rect& area) { return boxOf(ControlBox::Kind::display, area); }

}  // namespace

int SkinLayout::channelOrigin(int channel) { return layout::channelLeftEdge(channel); }

std::vector<ControlBox> SkinLayout::channelKnobs(int channel) {
  const int x0 = channelOrigin(channel);
  return {knob(layout::tempoKnob(x0)), knob(layout::noteLengthKnob(x0)), knob(layout::wetPanKnob(x0))};
}

std::vector<ControlBox> SkinLayout::channelSliders(int channel) {
  const int x0 = channelOrigin(channel);
  std::vector<ControlBox> sliders;
  for (int left : {layout::drySliderLeft(x0), layout::wetSliderLeft(x0), layout::feedbackSliderLeft(x0)})
    sliders.push_back(boxOf(ControlBox::Kind::slider,
                            Rect(left, layout::sliderTop, left + kSliderWidth, layout::sliderTop + kSliderHeight)));
  return sliders;
}

std::vector<ControlBox> SkinLayout::channelDisplays(int channel) {
  const int x0 = channelOrigin(channel);
  return {display(layout::tempoDisplay(x0)), display(layout::noteLengthDisplay(x0)),
          display(layout::wetPanDisplay(x0)), display(layout::dryDisplay(x0)),
          display(layout::wetDisplay(x0)),    display(layout::feedbackDisplay(x0))};
}

std::vector<ControlBox> SkinLayout::buttons() {
  std::vector<ControlBox> result;
  for (int left : {layout::reverseButtonLeft, layout::clearBufferButtonLeft, layout::bypassButtonLeft})
    result.push_back(boxOf(ControlBox::Kind::button,
                           Rect(left, layout::buttonTop, left + kButtonWidth, layout::buttonTop + kButtonHeight)));
  return result;
}

std::vector<ControlBox> SkinLayout::envelopeKnobs() {
  return {knob(layout::revAttackKnob), knob(layout::revReleaseKnob)};
}

std::vector<ControlBox> SkinLayout::filterKnobs() {
  return {knob(layout::lpfCutoffKnob), knob(layout::lpfQKnob), knob(layout::hpfCutoffKnob)};
}

std::vector<ControlBox> SkinLayout::lowerDisplays() {
  return {display(layout::lpfCutoffDisplay), display(layout::lpfQDisplay), display(layout::hpfCutoffDisplay),
          display(layout::revAttackDisplay), display(layout::revReleaseDisplay)};
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
