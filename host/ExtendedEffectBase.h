#pragma once

#include <cstdint>

#include "host/EffectBase.h"

namespace wrenfold {

// The second layer: answers opcodes 25 to 76 and wraps the remaining host calls.
// Operations named host… call the host and answer their no-callback default without one.
// Threads: as the tags say; an untagged override keeps its base's.
class ExtendedEffectBase : public EffectBase {
 public:
  // Fills the extended part of the record. [during construction]
  ExtendedEffectBase(audioMasterCallback hostCallback, int32_t programCount,
                     int32_t parameterCount);

  // Answers opcodes 25 to 76 and passes the others to the first layer. [any thread the opcode
  // allows]
  intptr_t dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override;

  // Returns the attached editor. [any thread]
  virtual EditorBase* editorObject();
  // Asks the host for events of the given filter. [any thread]
  virtual intptr_t requestEvents(int32_t filter);
  // Asks the host for its time information. [any thread]
  virtual VstTimeInfo* hostTimeInfo(int32_t filter);
  // Asks the host for its tempo at a sample position. [any thread]
  virtual intptr_t hostTempoAt(int32_t position);
  // Handles events sent by the host. [audio thread]
  virtual intptr_t onEvents(VstEvents* events);
  // Asks the host how many parameters it can automate. [any thread]
  virtual intptr_t hostAutomatableCount();
  // Asks the host for its parameter quantisation. [any thread]
  virtual intptr_t hostParameterQuantization();
  // Returns whether a parameter may be automated. [any thread]
  virtual bool isParameterAutomatable(int32_t index);
  // Sets a parameter from a text; answers whether it did. [any thread]
  virtual bool parseParameterText(int32_t index, char* text);
  // Returns a parameter's value on one channel. [any thread]
  virtual float channelParameterValue(int32_t channel, int32_t index);
  // Returns the number of program categories. [any thread]
  virtual int32_t programCategoryCount();
  // Copies the name of any program into the host's buffer; answers whether it did. [any thread]
  virtual bool copyProgramNameByIndex(int32_t category, int32_t index, char* text);
  // Copies the current program onto another; answers whether it did. [any thread]
  virtual bool duplicateProgram(int32_t destination);
  // Tells the host the input/output setup changed. [any thread]
  virtual bool hostIoChanged();
  // Tells the host the plug-in needs idle calls. [any thread]
  virtual bool hostNeedIdle();
  // Asks the host to resize the editor's window. [UI thread]
  virtual bool hostResizeWindow(int32_t width, int32_t height);
  // Asks the host for its sample rate and keeps a positive answer. [any thread]
  virtual float hostSampleRate();
  // Asks the host for its block size and keeps a positive answer. [any thread]
  virtual int32_t hostBlockSize();
  // Asks the host for its input latency. [any thread]
  virtual intptr_t hostInputLatency();
  // Asks the host for its output latency. [any thread]
  virtual intptr_t hostOutputLatency();
  // Asks the host for the effect before this one. [any thread]
  virtual AEffect* hostPreviousPlug(int32_t pin);
  // Asks the host for the effect after this one. [any thread]
  virtual AEffect* hostNextPlug(int32_t pin);
  // Handles the host connecting or disconnecting an input. [not while processing]
  virtual void onInputConnection(int32_t index, bool connected);
  // Handles the host connecting or disconnecting an output. [not while processing]
  virtual void onOutputConnection(int32_t index, bool connected);
  // Describes an input pin; answers whether it did. [any thread]
  virtual bool copyInputProperties(int32_t index, VstPinProperties* properties);
  // Describes an output pin; answers whether it did. [any thread]
  virtual bool copyOutputProperties(int32_t index, VstPinProperties* properties);
  // Returns the plug-in's category. [any thread]
  virtual int32_t plugCategory();
  // Asks the host whether it replaces or accumulates. [any thread]
  virtual intptr_t hostReplaceOrAccumulate();
  // Asks the host which thread level the call comes from. [any thread]
  virtual intptr_t hostProcessLevel();
  // Asks the host for its automation state. [any thread]
  virtual intptr_t hostAutomationState();
  // Sets or clears effFlagsExtIsAsync. [during construction]
  virtual void declareAsync(bool state);
  // Sets or clears effFlagsExtHasBuffer. [during construction]
  virtual void declareExternalBuffer(bool state);
  // Returns the position of asynchronous processing. [any thread]
  virtual intptr_t currentPosition();
  // Returns the buffer of asynchronous processing. [any thread]
  virtual float* destinationBuffer();
  // Asks the host to read offline data. [any thread]
  virtual bool hostOfflineRead(VstOfflineTask* task, int32_t option, bool readSource);
  // Asks the host to write offline data. [any thread]
  virtual bool hostOfflineWrite(VstOfflineTask* task, int32_t option);
  // Asks the host to start offline processing. [any thread]
  virtual bool hostOfflineStart(VstAudioFile* files, int32_t fileCount, int32_t newFileCount);
  // Asks the host for the current offline pass. [any thread]
  virtual bool hostOfflinePass();
  // Asks the host for the current offline meta pass. [any thread]
  virtual bool hostOfflineMetaPass();
  // Handles the offline notification. [not while processing]
  virtual bool onOfflineNotify(VstAudioFile* file, int32_t count, bool start);
  // Prepares offline tasks. [not while processing]
  virtual bool onOfflinePrepare(VstOfflineTask* task, int32_t count);
  // Runs offline tasks. [audio thread]
  virtual bool onOfflineRun(VstOfflineTask* task, int32_t count);
  // Returns the number of offline passes. [any thread]
  virtual int32_t offlinePassCount();
  // Returns the number of offline meta passes. [any thread]
  virtual int32_t offlineMetaPassCount();
  // Tells the host the output sample rate. [any thread]
  virtual intptr_t hostSetOutputSampleRate(float rate);
  // Asks the host for its input speaker arrangement. [any thread]
  virtual VstSpeakerArrangement* hostInputArrangement();
  // Asks the host for its output speaker arrangement. [any thread]
  virtual VstSpeakerArrangement* hostOutputArrangement();
  // Asks the host for its vendor text. [any thread]
  virtual bool hostVendorString(char* text);
  // Asks the host for its product text. [any thread]
  virtual bool hostProductString(char* text);
  // Asks the host for its vendor version. [any thread]
  virtual intptr_t hostVendorVersion();
  // Makes a vendor-specific call to the host. [any thread]
  virtual intptr_t hostVendorCall(int32_t index, intptr_t value, void* ptr, float opt);
  // Asks the host whether it has a capability: 1 when it answers non-zero. [any thread]
  virtual int32_t hostCanDo(const char* text);
  // Sets or clears effFlagsIsSynth. [during construction]
  virtual void declareSynth(bool state);
  // Sets or clears effFlagsNoSoundInStop. [during construction]
  virtual void declareNoTail(bool state);
  // Asks the host for its language. [any thread]
  virtual intptr_t hostLanguage();
  // Asks the host to open a window. [UI thread]
  virtual void* hostOpenWindow(VstWindow* window);
  // Asks the host to close a window. [UI thread]
  virtual bool hostCloseWindow(VstWindow* window);
  // Asks the host for its directory. [any thread]
  virtual void* hostDirectory();
  // Asks the host to update its display of the plug-in. [any thread]
  virtual bool hostUpdateDisplay();
  // Handles variable input/output processing. [not while processing]
  virtual bool onVariableIo(VstVariableIo* io);
  // Handles the host's speaker arrangement; answers whether it is accepted. [not while processing]
  virtual bool onSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output);
  // Stores the plug-in's own arrangements; the default stores null in both places. [any thread]
  virtual bool copySpeakerArrangement(VstSpeakerArrangement** input,
                                      VstSpeakerArrangement** output);
  // Stores a block size and a sample rate without passing them on. [not while processing]
  virtual void storeBlockSizeAndRate(int32_t blockSize, float rate);
  // Handles soft bypass; answers whether the effect does it itself. [not while processing]
  virtual bool onBypass(bool state);
  // Copies the effect's name into the host's buffer. [any thread]
  virtual bool copyEffectName(char* text);
  // Copies an error text into the host's buffer. [any thread]
  virtual bool copyErrorText(char* text);
  // Copies the vendor text into the host's buffer. [any thread]
  virtual bool copyVendorString(char* text);
  // Copies the product text into the host's buffer. [any thread]
  virtual bool copyProductString(char* text);
  // Returns the vendor's version number. [any thread]
  virtual int32_t vendorVersion();
  // Handles a vendor-specific call: takes the host's scale for the editor (answer 1), else 0.
  // [any thread]
  virtual intptr_t onVendorSpecific(int32_t index, intptr_t value, void* ptr, float opt);
  // Answers a capability query: 1 yes, −1 no, 0 unknown. [any thread]
  virtual int32_t answerCanDo(const char* text);
  // Returns the effect's icon. [any thread]
  virtual void* iconHandle();
  // Handles the host moving the editor. [UI thread]
  virtual bool onViewPosition(int32_t x, int32_t y);
  // Returns the tail length in samples. [any thread]
  virtual int32_t tailSize();
  // Handles the host's general idle. [any thread]
  virtual int32_t onIdle();
  // Describes a parameter; answers whether it did. [any thread]
  virtual bool copyParameterProperties(int32_t index, VstParameterProperties* properties);
  // Returns whether the editor needs the keyboard. [any thread]
  virtual bool needsKeys();
  // Returns the interface version the plug-in implements. [any thread]
  virtual int32_t interfaceVersion();
  // Copies a MIDI program name. [any thread]
  virtual int32_t copyMidiProgramName(int32_t channel, MidiProgramName* name);
  // Returns the current MIDI program. [any thread]
  virtual int32_t currentMidiProgram(int32_t channel, MidiProgramName* name);
  // Copies a MIDI program category. [any thread]
  virtual int32_t copyMidiProgramCategory(int32_t channel, MidiProgramCategory* category);
  // Returns whether MIDI programs changed. [any thread]
  virtual bool midiProgramsChanged(int32_t channel);
  // Copies a MIDI key name. [any thread]
  virtual bool copyMidiKeyName(int32_t channel, MidiKeyName* name);
  // Handles the start of a program change. [any thread]
  virtual bool onBeginSetProgram();
  // Handles the end of a program change. [any thread]
  virtual bool onEndSetProgram();
  // Tells the host that an edit gesture on a parameter begins. [UI thread]
  virtual bool hostBeginEdit(int32_t index);
  // Tells the host that an edit gesture on a parameter ends. [UI thread]
  virtual bool hostEndEdit(int32_t index);
  // Asks the host to open a file selector; false for a null request. [UI thread]
  virtual bool hostOpenFileSelector(VstFileSelect* select);
  // Handles the total number of samples to process; answers it. [audio thread]
  virtual int32_t onTotalSamples(int32_t value);
  // Copies the next shell plug-in's name. [any thread]
  virtual int32_t nextShellPlugin(char* name);
  // Handles the start of processing. [not while processing]
  virtual int32_t onStartProcess();
  // Handles the end of processing. [not while processing]
  virtual int32_t onStopProcess();
  // Handles the host's pan law. [not while processing]
  virtual bool onPanLaw(int32_t law, float gain);
  // Handles the start of a bank load. [not while processing]
  virtual int32_t onBeginLoadBank(VstPatchChunkInfo* info);
  // Handles the start of a program load. [not while processing]
  virtual int32_t onBeginLoadProgram(VstPatchChunkInfo* info);
  // Replaces *arrangement with a zeroed one of the given channel count. [any thread]
  virtual bool newSpeakerLayout(VstSpeakerArrangement** arrangement, int32_t channels);
  // Frees *arrangement and stores null. [any thread]
  virtual bool freeSpeakerLayout(VstSpeakerArrangement** arrangement);
  // Copies one speaker's properties. [any thread]
  virtual bool duplicateSpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from);
  // Makes *to a copy of from. [any thread]
  virtual bool mirrorSpeakerLayout(VstSpeakerArrangement** to, VstSpeakerArrangement* from);
};

}  // namespace wrenfold
