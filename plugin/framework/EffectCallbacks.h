#pragma once

#include "plugin/framework/AEffect.h"

// The plain functions stored in every effect's AEffect record. Each finds the effect object through
// the record's `object` and forwards to its virtual operation of the same purpose.

// Forwards to dispatcher; effClose also deletes the effect and answers 1.
VstIntPtr dispatchEffectClass(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                              float opt);
float getParameterClass(AEffect* e, VstInt32 index);
void setParameterClass(AEffect* e, VstInt32 index, float value);
void processClass(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames);
void processClassReplacing(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames);
void processClassDoubleReplacing(AEffect* e, double** inputs, double** outputs, VstInt32 sampleFrames);
