#include <new>

#include "plugin/engine/OmAudio.h"

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  try {
    return new OmAudio(audioMaster);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
