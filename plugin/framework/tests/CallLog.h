#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

// The operations a test object saw, each written as "name(arg,arg)": integers in decimal, booleans as
// true/false, floats as the stream writes them and pointers in hex ("0x1000", "null").
class CallLog {
 public:
  template <typename... Args>
  void add(const char* name, const Args&... args) {
    const std::string described[] = {describe(args)..., ""};
    std::string line = std::string(name) + "(";
    for (std::size_t i = 0; i < sizeof...(Args); ++i) line += (i ? "," : "") + described[i];
    entries.push_back(line + ")");
  }

  const std::vector<std::string>& all() const { return entries; }
  void clear() { entries.clear(); }

  static std::string describe(bool value) { return value ? "true" : "false"; }
  static std::string describe(std::int32_t value) { return std::to_string(value); }
  static std::string describe(std::int64_t value) { return std::to_string(value); }
  static std::string describe(float value) {
    std::ostringstream text;
    text << value;
    return text.str();
  }
  static std::string describe(const void* value) {
    if (!value) return "null";
    std::ostringstream text;
    text << "0x" << std::hex << reinterpret_cast<std::uintptr_t>(value);
    return text.str();
  }

 private:
  std::vector<std::string> entries;
};
