#pragma once

#include "common/xml/StaticXmlDocument.h"

#include <memory>
#include <string>

namespace Common::Config {

// The settings store: an XML document whose settings are attributes of elements below the root,
// addressed by keys such as "Drivers/DriverInfo/AudioSystem<0>/Driver<1>/SampleRate". Every
// segment before the last "/" names an element, optionally with its index among the siblings of
// that name ("Driver<1>", 0 when left out); the text after the last "/" names the attribute.
// Readers answer their default when the key does not resolve; writers create missing elements.
// A key without "/", or with an empty or malformed element name, is never stored.
class Configuration {
 public:
  // Reads the file. A missing or empty file gives an empty store with a root named
  // "Configuration"; a file that exists but cannot be read is logged and copied aside as path
  // followed by ".bad" before the store starts empty, so the next save cannot destroy it unseen.
  // When it cannot be copied either, Save leaves it as it is.
  explicit Configuration(const std::string& path);
  Configuration(const Configuration&) = delete;
  Configuration& operator=(const Configuration&) = delete;
  // Does not save.
  virtual ~Configuration();

  // The document.
  Xml::XmlDocument* GetDocument() { return document_.get(); }
  // Writes the document to the file it was read from; false, with a log line, when that fails or
  // when the file holds settings that could be neither read nor kept aside (it is never overwritten).
  bool Save();

  void SetString(const std::string& key, const std::string& value);
  void SetInt(const std::string& key, int value);
  // Written with six significant digits: 44100.0 as "44100".
  void SetDouble(const std::string& key, double value);
  void SetBool(const std::string& key, bool value);
  void SetEmpty(const std::string& key);

  // The attribute's value, also when it is empty; the default when there is no such attribute.
  std::string GetString(const std::string& key, const std::string& defaultValue) const;
  // The default for an absent or empty value; a value that is not a number reads 0.
  int GetInt(const std::string& key, int defaultValue) const;
  double GetDouble(const std::string& key, double defaultValue) const;
  // False only for a value that begins with neither "t" nor "T": absent or empty reads true.
  bool GetBool(const std::string& key) const;

  // For a path whose last segment names the wanted children ("Drivers/DriverInfo/AudioSystem"):
  // the index of the first such child whose attribute equals value, else the number of such
  // children; -1 when the path has no "/", ends with "/" or its parent element does not exist.
  int IndexOfElementWithAttribute(const std::string& path, const std::string& attribute,
                                  const std::string& value) const;
  // The key prefix of the element that IndexOfElementWithAttribute finds ("path<i>/", or "path/"
  // for -1). With create, makes sure that element exists and carries the attribute.
  std::string ElementPathWithAttribute(const std::string& path, const std::string& attribute,
                                       const std::string& value, bool create);

 private:
  const std::string path_;
  std::unique_ptr<Xml::StaticXmlDocument> document_;
  bool keepFile_ = false;  // its settings could be neither read nor copied aside
};

}  // namespace Common::Config
