#include "tools/skingen/SkinLayout.h"

#include <initializer_list>

#include "editor/EditorLayout.h"

namespace wrenfold {

namespace {

ControlBox::Kind boxKind(layout::ControlKind kind) {
  switch (kind) {
    case layout::ControlKind::knob: return ControlBox::Kind::knob;
    case layout::ControlKind::slider: return ControlBox::Kind::slider;
    case layout::ControlKind::toggleButton:
    case layout::ControlKind::momentaryButton: return ControlBox::Kind::button;
    case layout::ControlKind::display: break;
  }
  return ControlBox::Kind::display;
}

ControlBox boxAt(int32_t position) {
  const layout::ControlRow row = layout::placedControl(position).row;
  return {boxKind(row.kind), row.bounds.left, row.bounds.top, row.bounds.right, row.bounds.bottom, row.bitmap};
}

// Returns the boxes of the parameters' value controls (or displays), in the order given.
std::vector<ControlBox> boxesOf(std::initializer_list<int32_t> parameters, bool displays = false) {
  std::vector<ControlBox> boxes;
  for (int32_t parameter : parameters) boxes.push_back(boxAt(layout::positionOf(parameter, displays)));
  return boxes;
}

}  // namespace

int SkinLayout::channelOrigin(int channel) { return layout::channelLeftEdge(channel); }

std::vector<ControlBox> SkinLayout::channelKnobs(int channel) {
  return boxesOf({TempoL + channel, NoteLenL + channel, WetPanL + channel});
}

std::vector<ControlBox> SkinLayout::channelSliders(int channel) {
  return boxesOf({DryLevelL + channel, WetLevelL + channel, FeedBackL + channel});
}

std::vector<ControlBox> SkinLayout::buttons() { return boxesOf({NomorRev, ClearBuffer, Bypass}); }

std::vector<ControlBox> SkinLayout::envelopeKnobs() { return boxesOf({RevAttack, RevRelease}); }

std::vector<ControlBox> SkinLayout::filterKnobs() { return boxesOf({LpfCutoff, LpfQ, HpfCutoff}); }

std::vector<ControlBox> SkinLayout::all() {
  std::vector<ControlBox> result;
  for (int32_t position = 0; position < layout::controlCount; ++position) result.push_back(boxAt(position));
  return result;
}

}  // namespace wrenfold
