#include "common/config/Configuration.h"

#include "common/config/KeyPath.h"
#include "common/logging/Logger.h"

#include <windows.h>

#include <climits>
#include <cstdlib>
#include <locale>
#include <sstream>

namespace Common::Config {

namespace {

bool fileHasContent(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  return data.nFileSizeLow != 0 || data.nFileSizeHigh != 0;
}

// Keeps a settings file that could not be read, so that the next save does not silently
// replace the user's settings; false when it could not be copied.
bool keepUnreadableFile(const std::string& path) {
  const std::string copy = path + ".bad";
  if (CopyFileA(path.c_str(), copy.c_str(), FALSE)) {
    Logging::theLogger.Error("Configuration file " + path + " could not be read; it is kept as " + copy +
                             "\n");
    return true;
  }
  Logging::theLogger.Error("Configuration file " + path + " could not be read, nor copied to " + copy + "\n");
  return false;
}

}  // namespace

Configuration::Configuration(const std::string& path)
    : path_(path), document_(std::make_unique<Xml::StaticXmlDocument>()) {
  document_->Load(path);
  if (document_->GetRoot()) return;
  if (fileHasContent(path)) keepFile_ = !keepUnreadableFile(path);
  document_->CreateRoot("Configuration");
}

Configuration::~Configuration() = default;

bool Configuration::Save() {
  if (keepFile_) {
    Logging::theLogger.Error("Configuration file " + path_ +
                             " is not saved: the settings it holds could not be kept aside\n");
    return false;
  }
  if (document_->Save(path_)) return true;
  Logging::theLogger.Error("Configuration file " + path_ + " could not be saved\n");
  return false;
}

void Configuration::SetString(const std::string& key, const std::string& value) {
  const auto path = KeyPath::Parse(key);
  if (!path) return;
  Xml::XmlElement* root = document_->GetRoot();
  if (!root) return;
  if (Xml::XmlElement* element = path->Resolve(*root, true)) {
    element->GetAttributes()[path->attribute] = value;
  }
}

void Configuration::SetInt(const std::string& key, int value) {
  SetString(key, std::to_string(value));
}

void Configuration::SetDouble(const std::string& key, double value) {
  std::ostringstream text;
  text.imbue(std::locale::classic());
  text << value;
  SetString(key, text.str());
}

void Configuration::SetBool(const std::string& key, bool value) {
  SetString(key, value ? "true" : "false");
}

void Configuration::SetEmpty(const std::string& key) {
  SetString(key, "");
}

std::string Configuration::GetString(const std::string& key, const std::string& defaultValue) const {
  const auto path = KeyPath::Parse(key);
  Xml::XmlElement* root = document_->GetRoot();
  if (!path || !root) return defaultValue;
  const Xml::XmlElement* element = path->Resolve(*root, false);
  if (!element) return defaultValue;
  const auto& attributes = element->GetAttributes();
  const auto found = attributes.find(path->attribute);
  return found == attributes.end() ? defaultValue : found->second;
}

int Configuration::GetInt(const std::string& key, int defaultValue) const {
  const std::string value = GetString(key, "");
  if (value.empty()) return defaultValue;
  const long long number = std::strtoll(value.c_str(), nullptr, 10);
  if (number > INT_MAX) return INT_MAX;
  if (number < INT_MIN) return INT_MIN;
  return static_cast<int>(number);
}

double Configuration::GetDouble(const std::string& key, double defaultValue) const {
  const std::string value = GetString(key, "");
  return value.empty() ? defaultValue : std::strtod(value.c_str(), nullptr);
}

bool Configuration::GetBool(const std::string& key) const {
  const std::string value = GetString(key, "");
  return value.empty() || value[0] == 't' || value[0] == 'T';
}

int Configuration::IndexOfElementWithAttribute(const std::string& path, const std::string& attribute,
                                               const std::string& value) const {
  // The path's last segment names the children, in the place of an attribute.
  const auto parentPath = KeyPath::Parse(path);
  Xml::XmlElement* root = document_->GetRoot();
  if (!parentPath || !root) return -1;
  const Xml::XmlElement* parent = parentPath->Resolve(*root, false);
  if (!parent) return -1;
  int index = 0;
  for (const Xml::XmlElement* child : parent->GetChildren()) {
    if (child->GetName() != parentPath->attribute) continue;
    const auto& attributes = child->GetAttributes();
    const auto found = attributes.find(attribute);
    if (found != attributes.end() && found->second == value) return index;
    ++index;
  }
  return index;
}

std::string Configuration::ElementPathWithAttribute(const std::string& path, const std::string& attribute,
                                                    const std::string& value, bool create) {
  const int index = IndexOfElementWithAttribute(path, attribute, value);
  const std::string elementPath = index >= 0 ? path + "<" + std::to_string(index) + ">/" : path + "/";
  if (create) SetString(elementPath + attribute, value);
  return elementPath;
}

}  // namespace Common::Config
