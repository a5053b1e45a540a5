#pragma once

#include <atomic>
#include <cstdint>

#include "base/HostInterface.h"

namespace wrenfold {

class EditorBase;

// The first layer of every effect: owns the record the host holds, the host callback and the
// common fields, answers opcodes 0 to 24 and gives every operation a default.
// Threads: all operations run on whatever thread the host calls from; nothing here locks.
class EffectBase {
 public:
  EffectBase(audioMasterCallback hostCallback, int32_t programCount, int32_t parameterCount);
  // Destroys the editor if one is still attached.
  virtual ~EffectBase();

  EffectBase(const EffectBase&) = delete;
  EffectBase& operator=(const EffectBase&) = delete;

  // Stores a normalised parameter value. [any thread]
  virtual void applyParameter(int32_t index, float value);
  // Returns the stored normalised value of a parameter.
  virtual float parameterValue(int32_t index);
  // Applies a value from the editor, then reports it to the host as automation. [UI thread]
  virtual void applyParameterAndReport(int32_t index, float value);
  // Adds the effect's output into the output buffers. [audio thread]
  virtual void processAdding(float** inputs, float** outputs, int32_t sampleFrames) = 0;
  // Overwrites the output buffers with the effect's output. [audio thread]
  virtual void processOverwriting(float** inputs, float** outputs, int32_t sampleFrames);
  // Turns one host opcode into one operation call and shapes its answer.
  virtual intptr_t dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
  // Handles effOpen.
  virtual void onOpen();
  // Handles effClose, just before the record's entry destroys the effect.
  virtual void onClose();
  // Returns the current program number.
  virtual int32_t programNumber();
  // Makes the given program current. [any thread]
  virtual void selectProgram(int32_t program);
  // Renames the current program; the default empties the given text.
  virtual void renameProgram(char* name);
  // Copies the current program's name into the host's buffer.
  virtual void copyProgramName(char* text);
  // Copies a parameter's label into the host's buffer.
  virtual void copyParameterLabel(int32_t index, char* text);
  // Copies a parameter's value text into the host's buffer.
  virtual void copyParameterDisplay(int32_t index, char* text);
  // Copies a parameter's name into the host's buffer.
  virtual void copyParameterName(int32_t index, char* text);
  // Returns the level meter value, 0..1.
  virtual float vuLevel();
  // Points *data at the effect's chunk and returns its size in bytes.
  virtual int32_t saveChunk(void** data, bool isPreset);
  // Loads a chunk the host kept.
  virtual int32_t loadChunk(void* data, int32_t byteSize, bool isPreset);
  // Handles a new sample rate. [not while processing]
  virtual void changeSampleRate(float rate);
  // Handles a new maximum block size.
  virtual void changeBlockSize(int32_t size);
  // Handles the host switching processing off. [not while processing]
  virtual void onSuspend();
  // Handles the host switching processing on.
  virtual void onResume();
  // Sets the record's unique identifier.
  virtual void assignUniqueId(int32_t id);
  // Sets the record's input count.
  virtual void assignInputCount(int32_t count);
  // Sets the record's output count.
  virtual void assignOutputCount(int32_t count);
  // Sets or clears effFlagsHasVu.
  virtual void declareVu(bool state);
  // Sets or clears effFlagsHasClip.
  virtual void declareClip(bool state);
  // Sets or clears effFlagsCanMono.
  virtual void declareMono(bool state);
  // Sets or clears effFlagsCanReplacing.
  virtual void declareReplacing(bool state);
  // Sets or clears effFlagsProgramChunks.
  virtual void declareChunkPrograms(bool state);
  // Sets the record's realtime qualities.
  virtual void assignRealtimeQualities(int32_t qualities);
  // Sets the record's offline qualities.
  virtual void assignOfflineQualities(int32_t qualities);
  // Sets the record's initial delay in samples.
  virtual void assignInitialDelay(int32_t delay);
  // Returns the stored sample rate.
  virtual float sampleRateValue();
  // Returns the stored block size.
  virtual int32_t blockSizeValue();
  // Asks the host for its interface version; 1 when it does not say.
  virtual int32_t hostVersion();
  // Asks the host for the identifier of the plug-in it is loading.
  virtual int32_t hostCurrentId();
  // Gives the host time to run its own idle work. [UI thread]
  virtual void hostIdle();
  // Asks the host whether an input pin is connected.
  virtual bool isInputPinConnected(int32_t index);
  // Asks the host whether an output pin is connected.
  virtual bool isOutputPinConnected(int32_t index);
  // Writes a gain as decibels, "-oo" for silence.
  virtual void formatDecibels(float value, char* text);
  // Writes the frequency of a period given in samples.
  virtual void formatHertz(float period, char* text);
  // Writes a sample count as milliseconds.
  virtual void formatMilliseconds(float samples, char* text);
  // Writes a number in fixed-point notation with at most eight digits.
  virtual void formatFloat(float value, char* text);
  // Writes an integer, "Huge!" when it has more than eight digits.
  virtual void formatInteger(int32_t value, char* text);

  // Returns the record the host holds.
  AEffect* effectRecord() { return &record; }
  // Returns the host callback, null when the host gave none.
  audioMasterCallback callback() const { return hostCallback; }
  // Returns the attached editor, or null.
  EditorBase* attachedEditor() const { return editor; }
  // Attaches an editor (the effect owns it from now on) and announces it in the record's flags.
  void attachEditor(EditorBase* newEditor);
  // Returns whether the host closed the effect while its editor was tracking the mouse; the
  // effect then lives until the editor's click ends and answers no further host calls.
  bool isClosePending() const { return closePending; }
  // Returns the effect behind a record, or null.
  static EffectBase* fromRecord(AEffect* effect);

  // The five entries whose addresses stand in the record.
  static intptr_t WRENFOLD_CALL dispatchThunk(AEffect* effect, int32_t opcode, int32_t index,
                                              intptr_t value, void* ptr, float opt);
  static void WRENFOLD_CALL processThunk(AEffect* effect, float** inputs, float** outputs,
                                         int32_t sampleFrames);
  static void WRENFOLD_CALL processReplacingThunk(AEffect* effect, float** inputs, float** outputs,
                                                  int32_t sampleFrames);
  static void WRENFOLD_CALL setParameterThunk(AEffect* effect, int32_t index, float value);
  static float WRENFOLD_CALL getParameterThunk(AEffect* effect, int32_t index);

 protected:
  // Calls the host; answers 0 without a callback.
  intptr_t callHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f);
  // Sets or clears one bit of the record's flags.
  void setFlag(int32_t flag, bool state);

  float storedSampleRate;
  EditorBase* editor;
  audioMasterCallback hostCallback;
  int32_t programCount;
  int32_t parameterCount;
  // Written by program changes on any thread, read by every text and value query.
  std::atomic<int32_t> currentProgram;
  int32_t storedBlockSize;
  bool closePending;
  AEffect record;
};

}  // namespace wrenfold
