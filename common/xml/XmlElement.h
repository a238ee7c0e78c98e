#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace Common::Xml {

// One element of a document: a name, attributes sorted by name, a text and child elements.
class XmlElement {
 public:
  using Children = std::vector<XmlElement*>;
  using Attributes = std::map<std::string, std::string>;

  // What the reader found; new elements are EmptyElement until read.
  enum NodeType {
    Comment = 0,
    Declaration = 1,
    Element = 2,
    ClosingTag = 3,  // also the end of the data
    EmptyElement = 5,
    Invalid = 6,
    Block = 7,  // a "<!" ... "]>" block
  };

  virtual ~XmlElement() = default;
  // Writes the element and its descendants, one element per line, indented two spaces per depth
  // level. Attribute values and texts are escaped; names are written as they stand.
  virtual void Write(std::ostream& stream) const;
  virtual void Write(std::ostream& stream, int depth) const;
  virtual Children& GetChildren() = 0;
  virtual const Children& GetChildren() const = 0;
  virtual Attributes& GetAttributes() = 0;
  virtual const Attributes& GetAttributes() const = 0;
  virtual std::string& GetName() = 0;
  virtual const std::string& GetName() const = 0;
  virtual std::string& GetText() = 0;
  virtual const std::string& GetText() const = 0;
  virtual int GetType() const = 0;
  // Appends a new child with that name and text and answers it.
  virtual XmlElement* AddChild(const std::string& name, const std::string& text) = 0;
  // Deletes the element with its descendants.
  virtual void Release() = 0;
};

}  // namespace Common::Xml
