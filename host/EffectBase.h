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
  // Fills the record, with the host's callback and the counts of programs and parameters.
  // [during construction]
  EffectBase(audioMasterCallback hostCallback, int32_t programCount, int32_t parameterCount);
  // Destroys the editor if one is still attached. [not while processing]
  virtual ~EffectBase();

  EffectBase(const EffectBase&) = delete;
  EffectBase& operator=(const EffectBase&) = delete;

  // Stores a normalised parameter value. [any thread]
  virtual void applyParameter(int32_t index, float value);
  // Returns the stored normalised value of a parameter. [any thread]
  virtual float parameterValue(int32_t index);
  // Applies a value from the editor, then reports it to the host as automation. [UI thread]
  virtual void applyParameterAndReport(int32_t index, float value);
  // Adds the effect's output into the output buffers. [audio thread]
  virtual void processAdding(float** inputs, float** outputs, int32_t sampleFrames) = 0;
  // Overwrites the output buffers with the effect's output. [audio thread]
  virtual void processOverwriting(float** inputs, float** outputs, int32_t sampleFrames);
  // Turns one host opcode into one operation call and shapes its answer. [any thread the opcode
  // allows: see each operation]
  virtual intptr_t dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
  // Handles effOpen. [not while processing]
  virtual void onOpen();
  // Handles effClose, just before the record's entry destroys the effect. [not while processing]
  virtual void onClose();
  // Returns the current program number. [any thread]
  virtual int32_t programNumber();
  // Makes the given program current. [any thread]
  virtual void selectProgram(int32_t program);
  // Renames the current program; the default empties the given text. [any thread]
  virtual void renameProgram(char* name);
  // Copies the current program's name into the host's buffer. [any thread]
  virtual void copyProgramName(char* text);
  // Copies a parameter's label into the host's buffer. [any thread]
  virtual void copyParameterLabel(int32_t index, char* text);
  // Copies a parameter's value text into the host's buffer. [any thread]
  virtual void copyParameterDisplay(int32_t index, char* text);
  // Copies a parameter's name into the host's buffer. [any thread]
  virtual void copyParameterName(int32_t index, char* text);
  // Returns the level meter value, 0..1. [any thread]
  virtual float vuLevel();
  // Points *data at the effect's chunk and returns its size in bytes. [not while processing]
  virtual int32_t saveChunk(void** data, bool isPreset);
  // Loads a chunk the host kept. [not while processing]
  virtual int32_t loadChunk(void* data, int32_t byteSize, bool isPreset);
  // Handles a new sample rate. [not while processing]
  virtual void changeSampleRate(float rate);
  // Handles a new maximum block size. [not while processing]
  virtual void changeBlockSize(int32_t size);
  // Handles the host switching processing off. [not while processing]
  virtual void onSuspend();
  // Handles the host switching processing on. [not while processing]
  virtual void onResume();
  // Sets the record's unique identifier. [during construction]
  virtual void assignUniqueId(int32_t id);
  // Sets the record's input count. [during construction]
  virtual void assignInputCount(int32_t count);
  // Sets the record's output count. [during construction]
  virtual void assignOutputCount(int32_t count);
  // Sets or clears effFlagsHasVu. [during construction]
  virtual void declareVu(bool state);
  // Sets or clears effFlagsHasClip. [during construction]
  virtual void declareClip(bool state);
  // Sets or clears effFlagsCanMono. [during construction]
  virtual void declareMono(bool state);
  // Sets or clears effFlagsCanReplacing. [during construction]
  virtual void declareReplacing(bool state);
  // Sets or clears effFlagsProgramChunks. [during construction]
  virtual void declareChunkPrograms(bool state);
  // Sets the record's realtime qualities. [during construction]
  virtual void assignRealtimeQualities(int32_t qualities);
  // Sets the record's offline qualities. [during construction]
  virtual void assignOfflineQualities(int32_t qualities);
  // Sets the record's initial delay in samples. [during construction]
  virtual void assignInitialDelay(int32_t delay);
  // Returns the stored sample rate. [any thread]
  virtual float sampleRateValue();
  // Returns the stored block size. [any thread]
  virtual int32_t blockSizeValue();
  // Asks the host for its interface version; 1 when it does not say. [any thread]
  virtual int32_t hostVersion();
  // Asks the host for the identifier of the plug-in it is loading. [any thread]
  virtual int32_t hostCurrentId();
  // Gives the host time to run its own idle work. [UI thread]
  virtual void hostIdle();
  // Asks the host whether an input pin is connected. [any thread]
  virtual bool isInputPinConnected(int32_t index);
  // Asks the host whether an output pin is connected. [any thread]
  virtual bool isOutputPinConnected(int32_t index);
  // Writes a gain as decibels, "-oo" for silence. [any thread]
  virtual void formatDecibels(float value, char* text);
  // Writes the frequency of a period given in samples. [any thread]
  virtual void formatHertz(float period, char* text);
  // Writes a sample count as milliseconds. [any thread]
  virtual void formatMilliseconds(float samples, char* text);
  // Writes a number in fixed-point notation with at most eight digits. [any thread]
  virtual void formatFloat(float value, char* text);
  // Writes an integer, "Huge!" when it has more than eight digits. [any thread]
  virtual void formatInteger(int32_t value, char* text);

  // Returns the record the host holds. [any thread]
  AEffect* effectRecord() { return &record; }
  // Returns the host callback, null when the host gave none. [any thread]
  audioMasterCallback callback() const { return hostCallback; }
  // Returns the attached editor, or null. [any thread]
  EditorBase* attachedEditor() const { return editor; }
  // Attaches an editor (the effect owns it from now on) and announces it in the record's flags.
  // [during construction]
  void attachEditor(EditorBase* newEditor);
  // Returns whether the host closed the effect while its editor was tracking the mouse; the
  // effect then lives until the editor's click ends and answers no further host calls. [any thread]
  bool isClosePending() const { return closePending; }
  // Returns the effect behind a record, or null. [any thread]
  static EffectBase* fromRecord(AEffect* effect);

  // The five entries whose addresses stand in the record.
  // Passes a dispatcher call to dispatch. [any thread the opcode allows]
  static intptr_t WRENFOLD_CALL dispatchThunk(AEffect* effect, int32_t opcode, int32_t index,
                                              intptr_t value, void* ptr, float opt);
  // Runs processAdding. [audio thread]
  static void WRENFOLD_CALL processThunk(AEffect* effect, float** inputs, float** outputs,
                                         int32_t sampleFrames);
  // Runs processOverwriting. [audio thread]
  static void WRENFOLD_CALL processReplacingThunk(AEffect* effect, float** inputs, float** outputs,
                                                  int32_t sampleFrames);
  // Passes a parameter write to applyParameter. [any thread]
  static void WRENFOLD_CALL setParameterThunk(AEffect* effect, int32_t index, float value);
  // Answers a parameter read from parameterValue. [any thread]
  static float WRENFOLD_CALL getParameterThunk(AEffect* effect, int32_t index);

 protected:
  // Calls the host; answers 0 without a callback. [any thread]
  intptr_t callHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f);
  // Sets or clears one bit of the record's flags. [during construction]
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
