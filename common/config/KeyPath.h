#pragma once

#include "common/xml/XmlElement.h"

#include <optional>
#include <string>
#include <vector>

namespace Common::Config {

// A configuration key taken apart: the chain of elements below the root and, after the last "/",
// the attribute's name.
struct KeyPath {
  struct Segment {
    std::string name;
    int index = 0;  // among the siblings of the same name, in document order
  };

  std::vector<Segment> elements;
  std::string attribute;

  // Nothing when the key has no "/", ends with "/", or holds a segment or attribute name that
  // could not be written to the file and read back (empty, or with markup or white space in it),
  // or an index that is negative or lacks its closing ">".
  static std::optional<KeyPath> Parse(const std::string& key);

  // The element the segments name, starting below root. With create, each missing element is
  // appended (one new element, whatever index was asked for); without, a missing one gives null.
  Xml::XmlElement* Resolve(Xml::XmlElement& root, bool create) const;
};

}  // namespace Common::Config
