#include "host/hosting/PluginContainer.h"

#include <algorithm>

#include "common/logging/Logger.h"
#include "common/system/threading/ScopedLock.h"
#include "host/hosting/PluginFactory.h"
#include "host/hosting/PluginLoader.h"

namespace Ombix::Kelvane {

namespace {

using Common::System::Threading::CriticalSection;
using Common::System::Threading::ScopedLock;

int NextContainerId() {
  static CriticalSection idLock;
  static int nextId = 0;
  ScopedLock hold(&idLock);
  return nextId++;
}

}  // namespace

// Holds the container's own lock for a scope. When the container was disposed and its last load has
// finished, the outermost hold deletes it after releasing the lock, so no caller ever touches the lock
// of a deleted container.
class PluginContainer::Hold {
 public:
  explicit Hold(PluginContainer& container) : container_(container) {
    container_.lock_.Lock();
    ++container_.lockDepth_;
  }
  ~Hold() {
    const bool deleteNow = --container_.lockDepth_ == 0 && container_.deleteOnRelease_;
    container_.lock_.Unlock();
    if (deleteNow) {
      container_.deleteOnRelease_ = false;
      delete &container_;
    }
  }
  Hold(const Hold&) = delete;
  Hold& operator=(const Hold&) = delete;

 private:
  PluginContainer& container_;
};

PluginContainer::PluginContainer(PluginFactory* factory, Common::System::Threading::ILockable* audioLock)
    : id_(NextContainerId()), factory_(factory), audioLock_(audioLock) {
  midiQueue_.reserve(kInitialMidiCapacity);
}

PluginContainer::~PluginContainer() {
  // The owner's part is gone already: no notification can reach it any more.
  if (processor_) {
    ScopedLock audio(audioLock_);
    processor_.reset();
  }
}

void PluginContainer::SetPath(const std::string& path) {
  Hold hold(*this);
  OnLoading();
  loadPath_ = path;
  if (loading_) {
    reloadWanted_ = true;
  } else if (!queued_) {
    RequestLoad();
  }
}

void PluginContainer::RequestLoad() {
  Hold hold(*this);
  if (queued_ || loading_) {
    reloadWanted_ = true;
    return;
  }
  reloadWanted_ = false;
  HandToLoader();
}

void PluginContainer::HandToLoader() {
  queued_ = true;
  Common::Logging::theLogger.Info("Enqueuing container");
  if (factory_->LoaderThreadCount() == 0) {
    Common::Logging::theLogger.Info(" => Direct\n");
    factory_->DirectLoader().Load(this);
  } else {
    Common::Logging::theLogger.Info(" => Threaded\n");
    factory_->Enqueue(this);
  }
}

std::string PluginContainer::TakeLoadPath() {
  Hold hold(*this);
  queued_ = false;
  loading_ = true;
  return dying_ ? std::string() : loadPath_;
}

void PluginContainer::DeleteProcessor() {
  OnDeactivated();
  {
    ScopedLock audio(audioLock_);
    processor_.reset();
  }
  OnUnloaded();
}

void PluginContainer::SetPlugin(std::unique_ptr<IAudioProcessor> processor) {
  Hold hold(*this);
  if (processor_) DeleteProcessor();
  processor_ = std::move(processor);
  if (dying_) return;
  if (!processor_) {
    OnUnloaded();
    return;
  }
  processor_->SizeChanged.connect([this](int width, int height) { OnSizeChanged(width, height); });
  processor_->UpdateDisplay.connect([this] { OnUpdateDisplay(); });
  processor_->ProgramListChanged.connect([this] { RefreshPrograms(); });
  processor_->Open(blockSize_, sampleRate_);
  name_ = processor_->ProductString() + " - " + processor_->VendorString();
  OnNameChanged();
  SetInputCount(processor_->NumInputs());
  SetOutputCount(processor_->NumOutputs());
  OnActivated();
  RefreshPrograms();
}

void PluginContainer::LoadFinished() {
  Hold hold(*this);
  loading_ = false;
  if (dying_) {
    if (processor_) DeleteProcessor();
    deleteOnRelease_ = true;
  } else if (reloadWanted_) {
    RequestLoad();
  }
}

void PluginContainer::Dispose() {
  Hold hold(*this);
  if (dying_) return;
  dying_ = true;
  if (processor_) SetPlugin(nullptr);
  DisposeSelf();
  if (!queued_ && !loading_) HandToLoader();  // the loader finds the container dying and deletes it
}

void PluginContainer::RefreshPrograms() {
  programs_.clear();
  if (processor_) {
    const int count = processor_->NumPrograms();
    for (int i = 0; i < count; ++i) {
      PatchInfo patch;
      if (processor_->ProgramName(static_cast<unsigned>(i), patch)) programs_.push_back(std::move(patch));
    }
  }
  OnPatchesChanged();
}

void PluginContainer::OpenEditor(void* parentWindow) {
  Hold hold(*this);
  editorOpen_ = true;
  if (processor_) {
    ScopedLock audio(audioLock_);
    processor_->OpenEditor(parentWindow);
  }
}

void PluginContainer::CloseEditor() {
  Hold hold(*this);
  editorOpen_ = false;
  if (processor_) {
    ScopedLock audio(audioLock_);
    processor_->CloseEditor();
  }
}

void PluginContainer::EditorIdle() {
  Hold hold(*this);
  if (processor_) processor_->EditorIdle();
}

void PluginContainer::PushMidi(PackedMidiEvent word) {
  ScopedLock audio(audioLock_);
  if (midiQueue_.size() == midiQueue_.capacity()) {
    if (midiQueue_.size() >= static_cast<std::size_t>(kMaxQueuedMidi)) {
      if (!midiDropWarned_) Common::Logging::theLogger.Warning("MIDI queue full: dropping injected events\n");
      midiDropWarned_ = true;
      return;
    }
    midiQueue_.reserve(std::max<std::size_t>(midiQueue_.capacity() * 2, kInitialMidiCapacity));
  }
  midiQueue_.push_back(word);
}

void PluginContainer::MergeQueuedMidi(int count, PackedMidiEvent* events, int capacity) {
  const int queued = static_cast<int>(midiQueue_.size());
  if (queued == 0) {
    if (count > 0) Deliver(count, events);
    return;
  }
  midiDropWarned_ = false;
  if (count == 0) {
    Deliver(queued, midiQueue_.data());
    midiQueue_.clear();
    return;
  }
  const int room = capacity - count;
  const int moved = std::clamp(queued, 0, std::max(room, 0));
  std::copy(midiQueue_.begin(), midiQueue_.begin() + moved, events + count);
  midiQueue_.erase(midiQueue_.begin(), midiQueue_.begin() + moved);
  Deliver(count + moved, events);
}

void PluginContainer::Deliver(int count, const PackedMidiEvent* events) {
  if (!processor_) return;
  if (editorOpen_) {
    for (int i = 0; i < count; ++i) {
      const int status = static_cast<int>(events[i] & 0xF0);
      const int note = static_cast<int>((events[i] >> 8) & 0xFF);
      const bool velocity = ((events[i] >> 16) & 0xFF) != 0;
      if (status == 0x90) OnMidiKey(note, velocity);
      if (status == 0x80) OnMidiKey(note, false);
    }
  }
  processor_->ProcessEvents(count, events);
}

}  // namespace Ombix::Kelvane
