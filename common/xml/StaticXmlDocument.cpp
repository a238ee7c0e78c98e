#include "common/xml/StaticXmlDocument.h"

#include "common/xml/XmlParser.h"

#include <exception>

namespace Common::Xml {

namespace {

constexpr char Declaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";

}  // namespace

StaticXmlDocument::~StaticXmlDocument() {
  ReleaseRoot();
}

void StaticXmlDocument::ReleaseRoot() {
  if (root_) root_->Release();
  root_ = nullptr;
}

bool StaticXmlDocument::Load(std::istream& stream) {
  ReleaseRoot();
  try {
    stream.seekg(0, std::ios::end);
    const std::streamoff size = stream.tellg();
    if (size <= 0) return false;
    stream.seekg(0, std::ios::beg);
    std::string data(static_cast<std::size_t>(size), '\0');
    stream.read(data.data(), size);
    data.resize(static_cast<std::size_t>(stream.gcount()));
    root_ = XmlParser::ParseDocument(data).release();
  } catch (const std::exception&) {
    // Out of memory for the whole file: the document stays without a root.
  }
  return root_ != nullptr;
}

bool StaticXmlDocument::Save(std::ostream& stream) {
  try {
    stream << Declaration;
    if (root_) root_->Write(stream, 0);
    stream.flush();
  } catch (const std::exception&) {
    return false;
  }
  return !stream.fail();
}

StaticXmlElement* StaticXmlDocument::CreateRoot(const std::string& name) {
  ReleaseRoot();
  root_ = new StaticXmlElement(name, "");
  return root_;
}

}  // namespace Common::Xml
