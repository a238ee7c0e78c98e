#pragma once

#include "plugin/framework/AEffect.h"

class AudioEffect;

// Made by the effect: a new effect object on the host's callback, or null when it cannot be made.
AudioEffect* createEffectInstance(audioMasterCallback audioMaster);

// The plug-in's entry, exported as "VSTPluginMain" and as "main": asks the host for its version,
// makes a new effect and answers its record; null without a host callback, when the host gives no
// version or when the effect cannot be made.
extern "C" AEffect* VSTPluginMain(audioMasterCallback audioMaster);
