#pragma once

// The functions the recording test plug-in exports besides its entry, as the tests call them.

#include "host/hosting/VstRecords.h"

namespace RecordingPlugin {

// The record's counts and flags for the next instance (flags 0 leaves processReplacing unset).
using ConfigureProc = void (*)(Ombix::Kelvane::VstInt32 inputs, Ombix::Kelvane::VstInt32 outputs,
                               Ombix::Kelvane::VstInt32 programs, Ombix::Kelvane::VstInt32 flags);
// Every call received and every host answer so far, one line each.
using LogProc = const char* (*)();
using ClearProc = void (*)();
// Calls the host with the newest instance's record, on the calling thread.
using CallHostProc = Ombix::Kelvane::VstIntPtr (*)(Ombix::Kelvane::VstInt32 opcode,
                                                   Ombix::Kelvane::VstInt32 index,
                                                   Ombix::Kelvane::VstIntPtr value, void* ptr, float opt);
// Instances built and not yet closed.
using InstancesProc = int (*)();

// Holds (1) or releases (0) every entry call at its start.
using HoldEntriesProc = void (*)(int hold);
// Waits until at least this many entry calls are held.
using AwaitWaitingEntriesProc = void (*)(int count);
// The directory text the newest instance was given while its entry ran (the pointer itself).
using EntryDirectoryProc = const char* (*)();

}  // namespace RecordingPlugin
