#pragma once

#include <string>

namespace Testing {

// The folder of the running test executable, with a trailing backslash. Every test program,
// test plug-in and test driver is built into this one folder.
std::string binaryFolder();

// A fresh, empty folder for one test's files, below the system's temporary folder.
std::string makeTempFolder(const std::string& name);

}  // namespace Testing
