#pragma once

#include <windows.h>

#include <string>

namespace Common::System {

// A loaded DLL. Every load, symbol lookup and release made through this class is serialised
// by one process-wide lock.
class Library {
 public:
  // Loads the DLL at path; when that fails, tries "./" followed by path. Null when neither loads;
  // the thread's last error is then that of the load by path.
  static Library* Load(const std::string& path);

  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  virtual ~Library();

  // The address of an exported symbol, or null.
  void* GetProc(const std::string& name) const;
  HMODULE GetHandle() const { return module_; }

 private:
  explicit Library(HMODULE module) : module_(module) {}

  HMODULE module_;
};

}  // namespace Common::System
