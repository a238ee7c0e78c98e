#pragma once

#include <boost/signals2/signal.hpp>

namespace Ombix::Kelvane {

// The states of the 128 notes of the on-screen keyboard. Users write a state directly (0 up, any
// other value down; the keyboard writes 1) and then fire noteChanged with the note.
class KeyboardModel {
 public:
  KeyboardModel() = default;
  KeyboardModel(const KeyboardModel&) = delete;
  KeyboardModel& operator=(const KeyboardModel&) = delete;
  virtual ~KeyboardModel() = default;

  unsigned char notes[128] = {};
  boost::signals2::signal<void(unsigned char)> noteChanged;
};

}  // namespace Ombix::Kelvane
