#pragma once

#include <string>

namespace Common::System {

// Writes content to a temporary file beside path, flushes it to the disk and then replaces path
// with it in one step. Answers false, and leaves path as it was, when any step fails.
bool WriteFileAtomically(const std::string& path, const std::string& content);

}  // namespace Common::System
