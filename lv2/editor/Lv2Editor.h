#pragma once

#include <lv2/core/lv2.h>
#include <lv2/ui/ui.h>

#include <cstdint>

#include "base/HostInterface.h"
#include "params/ParameterTable.h"

namespace wrenfold {

class DelayPlugin;

// The plug-in's editor as an LV2 UI: a DelayPlugin of its own holds the values the host's ports
// stand for, and its editor opens in the host's parent window. A control moved by the user
// reaches the host as a port write in the port's units, between touch gestures when the host
// offers them; a port event from the host moves the control. [UI thread]
class Lv2Editor {
 public:
  Lv2Editor(LV2UI_Write_Function write, LV2UI_Controller controller,
            const LV2_Feature* const* features);
  // Closes the editor and releases the effect.
  ~Lv2Editor();

  Lv2Editor(const Lv2Editor&) = delete;
  Lv2Editor& operator=(const Lv2Editor&) = delete;

  // Opens the editor in the host's parent window at the host's scale, when it gives one, and
  // gives its X window as the widget, telling the host its size; false without a parent or when
  // the editor cannot open.
  bool open(LV2UI_Widget* widget);
  // Moves the control of a parameter port to the host's value; other ports are ignored.
  void portEvent(uint32_t port, uint32_t bufferSize, uint32_t format, const void* buffer);
  // Runs the editor's idle: input, redraws; answers 0.
  int idle();

 private:
  // Answers the calls the effect makes to its host: a moved control, the edges of an edit.
  static intptr_t WRENFOLD_CALL hostCallback(AEffect* effect, int32_t opcode, int32_t index,
                                             intptr_t value, void* ptr, float opt);
  // Writes a control's new value to its port in the port's units.
  void controlMoved(int32_t index, float normalised);
  // Tells the host that the user grabs or releases a port's control.
  void touchPort(int32_t index, bool grabbed);

  DelayPlugin* plugin = nullptr;
  LV2UI_Write_Function writePort;
  LV2UI_Controller controller;
  const LV2UI_Touch* touch = nullptr;
  const LV2UI_Resize* resize = nullptr;
  void* parent = nullptr;
  // The scale the host asked for through its options, 0 when it gave none.
  float hostScale = 0.0f;
  // The port values last written or received, so that a host's echo of a write changes nothing.
  float portValues[parameterCountTotal] = {};
};

}  // namespace wrenfold
