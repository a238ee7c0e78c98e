#pragma once

// Records that the framework only hands through by pointer between host and effect; an effect that
// offers one of these features declares the record's layout itself.
struct VstParameterProperties;
struct VstPinProperties;
struct VstPatchChunkInfo;
struct VstVariableIo;
struct VstAudioFile;
struct VstOfflineTask;
struct VstFileSelect;
struct VstWindow;
struct MidiProgramName;
struct MidiProgramCategory;
struct MidiKeyName;
