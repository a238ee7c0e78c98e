#pragma once

namespace Common::System::Threading {

// Anything that one thread can hold against the others for a while.
class ILockable {
 public:
  virtual void Lock() = 0;
  virtual void Unlock() = 0;
  virtual ~ILockable() = default;
};

}  // namespace Common::System::Threading
