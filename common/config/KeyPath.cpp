#include "common/config/KeyPath.h"

#include <climits>

namespace Common::Config {

namespace {

// Whether a name survives a round trip through the file as an element or attribute name.
bool isStorableName(const std::string& name) {
  if (name.empty() || name[0] == '!' || name[0] == '?') return false;
  return name.find_first_of(" \t\r\n<>\"'=&/") == std::string::npos;
}

// Reads a decimal number as the standard conversion does: optional sign, digits up to the first
// other character, none giving 0. Large values are held at the int range.
long long readIndex(const char* text) {
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  long long value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    if (value <= INT_MAX) value = value * 10 + (*text - '0');
  }
  return negative ? -value : value;
}

std::optional<KeyPath::Segment> parseSegment(const std::string& segment) {
  KeyPath::Segment parsed{segment, 0};
  const std::size_t open = segment.find('<');
  if (open != std::string::npos && open > 0) {
    const std::size_t close = segment.find('>');
    if (close == std::string::npos || close < open) return std::nullopt;
    const long long index = readIndex(segment.c_str() + open + 1);
    if (index < 0) return std::nullopt;
    parsed.index = index > INT_MAX ? INT_MAX : static_cast<int>(index);
    parsed.name = segment.substr(0, open);
  }
  if (!isStorableName(parsed.name)) return std::nullopt;
  return parsed;
}

}  // namespace

std::optional<KeyPath> KeyPath::Parse(const std::string& key) {
  const std::size_t lastSlash = key.rfind('/');
  if (lastSlash == std::string::npos || lastSlash + 1 == key.size()) return std::nullopt;
  KeyPath path;
  path.attribute = key.substr(lastSlash + 1);
  if (!isStorableName(path.attribute)) return std::nullopt;
  for (std::size_t start = 0; start <= lastSlash;) {
    const std::size_t slash = key.find('/', start);
    const auto segment = parseSegment(key.substr(start, slash - start));
    if (!segment) return std::nullopt;
    path.elements.push_back(*segment);
    start = slash + 1;
  }
  return path;
}

Xml::XmlElement* KeyPath::Resolve(Xml::XmlElement& root, bool create) const {
  Xml::XmlElement* current = &root;
  for (const Segment& segment : elements) {
    Xml::XmlElement* next = nullptr;
    int remaining = segment.index;
    for (Xml::XmlElement* child : current->GetChildren()) {
      if (child->GetName() != segment.name) continue;
      if (remaining-- == 0) {
        next = child;
        break;
      }
    }
    if (!next) {
      if (!create) return nullptr;
      next = current->AddChild(segment.name, "");
    }
    current = next;
  }
  return current;
}

}  // namespace Common::Config
