#include "host/core/Logic.h"

#include "common/system/Timer.h"
#include "common/system/threading/ScopedLock.h"
#include "host/core/DriverInfo.h"
#include "host/core/Engine.h"
#include "host/core/Plugin.h"
#include "host/core/audio/AudioEngine.h"
#include "host/core/commands/CreateNewPlugin.h"
#include "host/core/commands/StopDriver.h"
#include "host/core/events/IEvent.h"
#include "host/core/events/ScanningPlugin.h"
#include "host/drivers/IAudioDriver.h"
#include "host/hosting/PluginFactory.h"
#include "host/hosting/PluginIterator.h"
#include "host/hosting/ProbeProtocol.h"

namespace Ombix::Kelvane {

using Common::System::Threading::ScopedLock;

namespace {

constexpr int kMidiChannels = 16;
constexpr int kControllerStatus = 0xB0;
constexpr int kAllSoundOff = 120;
constexpr int kAllNotesOff = 123;
constexpr double kFadeSeconds = 0.02;
// How long a device that has stopped asking for blocks is waited for beyond the blocks the fade and
// the silence after it take.
constexpr double kSilenceTimeoutMs = 1000.0;
// How long a device takes beyond its own double buffer until what it was handed is heard: a sound
// server holds about 150 ms more.
constexpr DWORD kPlayOutMs = 250;

}  // namespace

Logic::Logic(HWND mainWindow, Common::Config::Configuration* configuration, const std::string& vendor,
             const std::string& product, int vendorVersion)
    : scannerPort_(ProbeProtocol::kPort),
      driverInfo_(std::make_unique<DriverInfo>(this, configuration)),
      engine_(std::make_unique<Engine>(mainWindow, vendor, product, vendorVersion)),
      ownerThread_(GetCurrentThreadId()) {
  engine_->EventsPending.connect([this] { OnEventsPending(); });
  engine_->Dispatch.connect([this](Events::IEvent* event) { OnEvent(event); });
  engine_->GetAudioEngine()->Init();
}

Logic::~Logic() {
  // First: the scanner's thread posts into the engine and writes its configuration until it ends.
  scanner_.reset();
  busy_ = true;
  while (!records_.empty()) {
    const auto first = records_.begin();
    first->second->Dispose();
    // Out of the map first, then deleted: its Disposed signal is the user interface's last notice.
    const std::unique_ptr<Plugin> record = std::move(first->second);
    records_.erase(first);
  }
  ProcessCommands();
  engine_.reset();
  driverInfo_.reset();
  for (Commands::ICommand* command : commands_) delete command;
}

IDriverInfo* Logic::GetDriverInfo() {
  return driverInfo_.get();
}

IPlugin* Logic::GetPlugin(int id) {
  return FindRecord(id);
}

Plugin* Logic::FindRecord(int id) {
  const auto found = records_.find(id);
  return found == records_.end() ? nullptr : found->second.get();
}

bool Logic::IsAudioRunning() {
  IAudioDriver* driver = engine_->GetAudioEngine()->Driver();
  return driver && driver->IsRunning();
}

float Logic::GetCpuLoad() {
  return engine_->GetAudioEngine()->TakeLoadPeak();
}

void Logic::SetLoaderThreads(int count) {
  engine_->Factory()->SetLoaderThreadCount(count);
}

void Logic::ScanPlugins(const std::string& folder, const std::string& probeProgram,
                        Common::Config::Configuration* configuration) {
  if (!scanner_) {
    scanner_ = std::make_unique<PluginIterator>(probeProgram, configuration, scannerPort_);
    scanner_->ScanningPlugin.connect([this](const std::string& path) { OnScanningPlugin(path); });
  }
  scanner_->Scan(folder);
}

void Logic::CreatePlugin(const std::string& path) {
  PostCommand(new Commands::CreateNewPlugin(path));
}

void Logic::PostCommand(Commands::ICommand* command) {
  if (GetCurrentThreadId() == ownerThread_) {
    command->Execute(engine_.get());
    delete command;
    return;
  }
  {
    ScopedLock hold(commandLock_);
    commands_.push_back(command);
  }
  CommandsPending();
}

void Logic::ProcessCommands() {
  // A call while busy comes from a nested loop (a dialog a command or event opened), which may have
  // taken the wake-up of a command posted meanwhile: the outer call goes round once more for it.
  if (busy_) {
    rerun_ = true;
    return;
  }
  busy_ = true;
  do {
    rerun_ = false;
    while (Commands::ICommand* command = TakeCommand()) {
      command->Execute(engine_.get());
      delete command;
    }
    engine_->DispatchEvents();
  } while (rerun_ || HasCommands());
  busy_ = false;
}

Commands::ICommand* Logic::TakeCommand() {
  ScopedLock hold(commandLock_);
  if (commands_.empty()) return nullptr;
  Commands::ICommand* command = commands_.front();
  commands_.pop_front();
  return command;
}

bool Logic::HasCommands() {
  ScopedLock hold(commandLock_);
  return !commands_.empty();
}

void Logic::SilenceAudio() {
  if (!IsAudioRunning()) return;
  for (const auto& entry : records_) {
    for (int channel = 0; channel < kMidiChannels; ++channel) {
      const int controller = kControllerStatus | channel;
      entry.second->InjectMidi(controller | kAllNotesOff << 8, controller | kAllSoundOff << 8);
    }
  }
  AudioEngine* audio = engine_->GetAudioEngine();
  const int fadeFrames = static_cast<int>(audio->SampleRate() * kFadeSeconds);
  audio->Fade().Start(fadeFrames);
  // The block that ends the fade still fades; the next ones are silent. Once two of them have gone
  // out, a double-buffered device has played the fade to its end; silence goes on playing until
  // what the device has handed on has been heard too.
  const double blocksMs = 1000.0 * (fadeFrames + 4 * audio->BlockSize()) / audio->SampleRate();
  const Common::System::Timer waited;
  while (audio->Fade().SilentBlocks() < 2 && waited.ElapsedMs() < blocksMs + kSilenceTimeoutMs) Sleep(1);
  Sleep(kPlayOutMs);
  PostCommand(new Commands::StopDriver());
}

void Logic::OnPluginCreated(int id, const std::string& name) {
  // A container id is never reused; should one come twice, the newer record replaces the older.
  RemoveRecord(id);
  auto& record = records_[id];
  record = std::make_unique<Plugin>(this, id, name);
  PluginAdded(record.get());
}

void Logic::RemoveRecord(int id) {
  const auto found = records_.find(id);
  if (found == records_.end()) return;
  const std::unique_ptr<Plugin> record = std::move(found->second);
  records_.erase(found);
}

void Logic::OnScanningPlugin(const std::string& path) {
  engine_->PostEvent(new Events::ScanningPlugin(path));
}

void Logic::OnEventsPending() {
  CommandsPending();
}

void Logic::OnEvent(Events::IEvent* event) {
  event->Apply(this);
}

}  // namespace Ombix::Kelvane
