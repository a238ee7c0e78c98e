#pragma once

#include "common/xml/XmlElement.h"

#include <istream>
#include <ostream>
#include <string>

namespace Common::Xml {

// A document with at most one root element, read from and written to files.
class XmlDocument {
 public:
  virtual ~XmlDocument() = default;
  // Reads the file; answers whether the document then has a root. A missing, empty or unreadable
  // file leaves the document without one.
  virtual bool Load(const std::string& path);
  virtual bool Load(std::istream& stream) = 0;
  // Writes the whole document to a temporary file beside path and only then replaces path with
  // it, so that a failed save (full disk, crash) leaves the old file as it was. Answers whether
  // every step succeeded.
  virtual bool Save(const std::string& path);
  virtual bool Save(std::ostream& stream) = 0;
  virtual XmlElement* GetRoot() = 0;
  // Replaces the root (and everything below it) by a new empty element with that name.
  virtual XmlElement* CreateRoot(const std::string& name) = 0;
  // Deletes the document with its root.
  virtual void Release() = 0;
};

}  // namespace Common::Xml
