#include "common/xml/XmlDocument.h"

#include "common/system/AtomicFile.h"

#include <fstream>
#include <sstream>

namespace Common::Xml {

bool XmlDocument::Load(const std::string& path) {
  std::ifstream file(path, std::ios::in | std::ios::binary);
  if (!file.is_open()) return false;
  return Load(file);
}

bool XmlDocument::Save(const std::string& path) {
  std::ostringstream content(std::ios::out | std::ios::binary);
  if (!Save(content)) return false;
  return System::WriteFileAtomically(path, content.str());
}

}  // namespace Common::Xml
