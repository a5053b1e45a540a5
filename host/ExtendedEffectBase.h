#pragma once

#include <cstdint>

#include "host/EffectBase.h"

namespace wrenfold {

// The second layer: answers opcodes 25 to 76 and wraps the remaining host calls.
// Operations named host… call the host and answer their no-callback default without one.
class ExtendedEffectBase : public EffectBase {
 public:
  ExtendedEffectBase(audioMasterCallback hostCallback, int32_t programCount, int32_t parameterCount);

  intptr_t dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override;

  // Returns the attached editor.
  virtual EditorBase* editorObject();
  // Asks the host for events of the given filter.
  virtual intptr_t requestEvents(int32_t filter);
  // Asks the host for its time information.
  virtual VstTimeInfo* hostTimeInfo(int32_t filter);
  // Asks the host for its tempo at a sample position.
  virtual intptr_t hostTempoAt(int32_t position);
  // Handles events sent by the host. [audio thread]
  virtual intptr_t onEvents(VstEvents* events);
  // Asks the host how many parameters it can automate.
  virtual intptr_t hostAutomatableCount();
  // Asks the host for its parameter quantisation.
  virtual intptr_t hostParameterQuantization();
  // Returns whether a parameter may be automated.
  virtual bool isParameterAutomatable(int32_t index);
  // Sets a parameter from a text; answers whether it did.
  virtual bool parseParameterText(int32_t index, char* text);
  // Returns a parameter's value on one channel.
  virtual float channelParameterValue(int32_t channel, int32_t index);
  // Returns the number of program categories.
  virtual int32_t programCategoryCount();
  // Copies the name of any program into the host's buffer; answers whether it did.
  virtual bool copyProgramNameByIndex(int32_t category, int32_t index, char* text);
  // Copies the current program onto another; answers whether it did.
  virtual bool duplicateProgram(int32_t destination);
  // Tells the host the input/output setup changed.
  virtual bool hostIoChanged();
  // Tells the host the plug-in needs idle calls.
  virtual bool hostNeedIdle();
  // Asks the host to resize the editor's window.
  virtual bool hostResizeWindow(int32_t width, int32_t height);
  // Asks the host for its sample rate and keeps a positive answer.
  virtual float hostSampleRate();
  // Asks the host for its block size and keeps a positive answer.
  virtual int32_t hostBlockSize();
  // Asks the host for its input latency.
  virtual intptr_t hostInputLatency();
  // Asks the host for its output latency.
  virtual intptr_t hostOutputLatency();
  // Asks the host for the effect before this one.
  virtual AEffect* hostPreviousPlug(int32_t pin);
  // Asks the host for the effect after this one.
  virtual AEffect* hostNextPlug(int32_t pin);
  // Handles the host connecting or disconnecting an input.
  virtual void onInputConnection(int32_t index, bool connected);
  // Handles the host connecting or disconnecting an output.
  virtual void onOutputConnection(int32_t index, bool connected);
  // Describes an input pin; answers whether it did.
  virtual bool copyInputProperties(int32_t index, VstPinProperties* properties);
  // Describes an output pin; answers whether it did.
  virtual bool copyOutputProperties(int32_t index, VstPinProperties* properties);
  // Returns the plug-in's category.
  virtual int32_t plugCategory();
  // Asks the host whether it replaces or accumulates.
  virtual intptr_t hostReplaceOrAccumulate();
  // Asks the host which thread level the call comes from.
  virtual intptr_t hostProcessLevel();
  // Asks the host for its automation state.
  virtual intptr_t hostAutomationState();
  // Sets or clears effFlagsExtIsAsync.
  virtual void declareAsync(bool state);
  // Sets or clears effFlagsExtHasBuffer.
  virtual void declareExternalBuffer(bool state);
  // Returns the position of asynchronous processing.
  virtual intptr_t currentPosition();
  // Returns the buffer of asynchronous processing.
  virtual float* destinationBuffer();
  // Asks the host to read offline data.
  virtual bool hostOfflineRead(VstOfflineTask* task, int32_t option, bool readSource);
  // Asks the host to write offline data.
  virtual bool hostOfflineWrite(VstOfflineTask* task, int32_t option);
  // Asks the host to start offline processing.
  virtual bool hostOfflineStart(VstAudioFile* files, int32_t fileCount, int32_t newFileCount);
  // Asks the host for the current offline pass.
  virtual bool hostOfflinePass();
  // Asks the host for the current offline meta pass.
  virtual bool hostOfflineMetaPass();
  // Handles the offline notification.
  virtual bool onOfflineNotify(VstAudioFile* file, int32_t count, bool start);
  // Prepares offline tasks.
  virtual bool onOfflinePrepare(VstOfflineTask* task, int32_t count);
  // Runs offline tasks.
  virtual bool onOfflineRun(VstOfflineTask* task, int32_t count);
  // Returns the number of offline passes.
  virtual int32_t offlinePassCount();
  // Returns the number of offline meta passes.
  virtual int32_t offlineMetaPassCount();
  // Tells the host the output sample rate.
  virtual intptr_t hostSetOutputSampleRate(float rate);
  // Asks the host for its input speaker arrangement.
  virtual VstSpeakerArrangement* hostInputArrangement();
  // Asks the host for its output speaker arrangement.
  virtual VstSpeakerArrangement* hostOutputArrangement();
  // Asks the host for its vendor text.
  virtual bool hostVendorString(char* text);
  // Asks the host for its product text.
  virtual bool hostProductString(char* text);
  // Asks the host for its vendor version.
  virtual intptr_t hostVendorVersion();
  // Makes a vendor-specific call to the host.
  virtual intptr_t hostVendorCall(int32_t index, intptr_t value, void* ptr, float opt);
  // Asks the host whether it has a capability: 1 when it answers non-zero.
  virtual int32_t hostCanDo(const char* text);
  // Sets or clears effFlagsIsSynth.
  virtual void declareSynth(bool state);
  // Sets or clears effFlagsNoSoundInStop.
  virtual void declareNoTail(bool state);
  // Asks the host for its language.
  virtual intptr_t hostLanguage();
  // Asks the host to open a window.
  virtual void* hostOpenWindow(VstWindow* window);
  // Asks the host to close a window.
  virtual bool hostCloseWindow(VstWindow* window);
  // Asks the host for its directory.
  virtual void* hostDirectory();
  // Asks the host to update its display of the plug-in.
  virtual bool hostUpdateDisplay();
  // Handles variable input/output processing.
  virtual bool onVariableIo(VstVariableIo* io);
  // Handles the host's speaker arrangement; answers whether it is accepted.
  virtual bool onSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output);
  // Stores the plug-in's own arrangements; the default stores null in both places.
  virtual bool copySpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output);
  // Stores a block size and a sample rate without passing them on.
  virtual void storeBlockSizeAndRate(int32_t blockSize, float rate);
  // Handles soft bypass; answers whether the effect does it itself.
  virtual bool onBypass(bool state);
  // Copies the effect's name into the host's buffer.
  virtual bool copyEffectName(char* text);
  // Copies an error text into the host's buffer.
  virtual bool copyErrorText(char* text);
  // Copies the vendor text into the host's buffer.
  virtual bool copyVendorString(char* text);
  // Copies the product text into the host's buffer.
  virtual bool copyProductString(char* text);
  // Returns the vendor's version number.
  virtual int32_t vendorVersion();
  // Handles a vendor-specific call.
  virtual intptr_t onVendorSpecific(int32_t index, intptr_t value, void* ptr, float opt);
  // Answers a capability query: 1 yes, −1 no, 0 unknown.
  virtual int32_t answerCanDo(const char* text);
  // Returns the effect's icon.
  virtual void* iconHandle();
  // Handles the host moving the editor.
  virtual bool onViewPosition(int32_t x, int32_t y);
  // Returns the tail length in samples.
  virtual int32_t tailSize();
  // Handles the host's general idle.
  virtual int32_t onIdle();
  // Describes a parameter; answers whether it did.
  virtual bool copyParameterProperties(int32_t index, VstParameterProperties* properties);
  // Returns whether the editor needs the keyboard.
  virtual bool needsKeys();
  // Returns the interface version the plug-in implements.
  virtual int32_t interfaceVersion();
  // Copies a MIDI program name.
  virtual int32_t copyMidiProgramName(int32_t channel, MidiProgramName* name);
  // Returns the current MIDI program.
  virtual int32_t currentMidiProgram(int32_t channel, MidiProgramName* name);
  // Copies a MIDI program category.
  virtual int32_t copyMidiProgramCategory(int32_t channel, MidiProgramCategory* category);
  // Returns whether MIDI programs changed.
  virtual bool midiProgramsChanged(int32_t channel);
  // Copies a MIDI key name.
  virtual bool copyMidiKeyName(int32_t channel, MidiKeyName* name);
  // Handles the start of a program change.
  virtual bool onBeginSetProgram();
  // Handles the end of a program change.
  virtual bool onEndSetProgram();
  // Tells the host that an edit gesture on a parameter begins. [UI thread]
  virtual bool hostBeginEdit(int32_t index);
  // Tells the host that an edit gesture on a parameter ends. [UI thread]
  virtual bool hostEndEdit(int32_t index);
  // Asks the host to open a file selector; false for a null request.
  virtual bool hostOpenFileSelector(VstFileSelect* select);
  // Handles the total number of samples to process; answers it.
  virtual int32_t onTotalSamples(int32_t value);
  // Copies the next shell plug-in's name.
  virtual int32_t nextShellPlugin(char* name);
  // Handles the start of processing.
  virtual int32_t onStartProcess();
  // Handles the end of processing.
  virtual int32_t onStopProcess();
  // Handles the host's pan law.
  virtual bool onPanLaw(int32_t law, float gain);
  // Handles the start of a bank load.
  virtual int32_t onBeginLoadBank(VstPatchChunkInfo* info);
  // Handles the start of a program load.
  virtual int32_t onBeginLoadProgram(VstPatchChunkInfo* info);
  // Replaces *arrangement with a zeroed one of the given channel count.
  virtual bool newSpeakerLayout(VstSpeakerArrangement** arrangement, int32_t channels);
  // Frees *arrangement and stores null.
  virtual bool freeSpeakerLayout(VstSpeakerArrangement** arrangement);
  // Copies one speaker's properties.
  virtual bool duplicateSpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from);
  // Makes *to a copy of from.
  virtual bool mirrorSpeakerLayout(VstSpeakerArrangement** to, VstSpeakerArrangement* from);
};

}  // namespace wrenfold
