#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "host/drivers/asio/AsioInterface.h"

namespace Ombix::Kelvane {

// The ASIO drivers installed on the system, read from the registry once at construction, and the one
// loaded among them.
class AsioDriverList {
 public:
  AsioDriverList();
  ~AsioDriverList();
  AsioDriverList(const AsioDriverList&) = delete;
  AsioDriverList& operator=(const AsioDriverList&) = delete;

  int Count() const { return static_cast<int>(m_records.size()); }
  // The driver's name as listed: a name of 32 characters or more is cut to 28 followed by "...".
  std::string Name(int index) const;
  // Creates driver index's object and makes it the current one; AsioResult::Ok or the failure.
  ASIOError Open(int index);
  // Releases the current driver's object; no driver is current afterwards.
  void RemoveCurrent();
  // The current driver's object; null when none is loaded.
  IASIO* Current() const;

  static std::string ListedName(const std::string& name);

 private:
  struct Record {
    CLSID classId;
    std::string name;
    IASIO* object;
  };

  void ReadRegistry();

  std::vector<Record> m_records;
  int m_current = -1;
  bool m_comInitialised = false;
};

}  // namespace Ombix::Kelvane
