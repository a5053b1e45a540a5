#include "tools/skingen/SkinLayout.h"

#include "editor/EditorLayout.h"

namespace wrenfold {

namespace {

ControlBox::Kind boxKind(layout::ControlKind kind) {
  switch (kind) {
    case layout::ControlKind::knob:
      return ControlBox::Kind::knob;
    case layout::ControlKind::slider:
      return ControlBox::Kind::slider;
    case layout::ControlKind::toggleButton:
    case layout::ControlKind::momentaryButton:
      return ControlBox::Kind::button;
    case layout::ControlKind::display:
      break;
  }
  return ControlBox::Kind::display;
}

ControlBox boxAt(int32_t position) {
  const layout::ControlRow row = layout::placedControl(position).row;
  return {boxKind(row.kind), row.bounds.left,
          row.bounds.top,    row.bounds.right,
          row.bounds.bottom, row.bitmap,
          row.label.text,    row.bounds.bottom + row.label.baselineDrop};
}

}  // namespace

int SkinLayout::channelOrigin(int channel) { return layout::channelLeftEdge(channel); }

std::vector<ControlBox> SkinLayout::all() {
  std::vector<ControlBox> result;
  for (int32_t position = 0; position < layout::controlCount; ++position)
    result.push_back(boxAt(position));
  return result;
}

}  // namespace wrenfold
