#include "common/xml/XmlParser.h"

#include "common/logging/Logger.h"
#include "common/xml/XmlEscape.h"

#include <string_view>

namespace Common::Xml {

namespace {

// One tag found in the data: its kind (an XmlElement::NodeType), where its content lies between
// its delimiters, and where it ends.
struct Tag {
  int type = XmlElement::ClosingTag;
  bool found = false;  // false: the end of the data
  std::size_t start = 0;
  std::size_t contentStart = 0;
  std::size_t contentEnd = 0;
  std::size_t end = 0;
};

class Reader {
 public:
  explicit Reader(std::string_view data) : data_(data) {}

  std::unique_ptr<StaticXmlElement> ParseDocument() {
    std::unique_ptr<StaticXmlElement> root;
    std::size_t at = 0;
    for (;;) {
      auto element = std::make_unique<StaticXmlElement>();
      at = ParseNode(*element, at, 0);
      if (element->GetType() == XmlElement::Declaration) continue;
      if (element->GetType() != XmlElement::Element) break;
      if (root) {
        Logging::theLogger.Warning("XmlParser: More than one parent nodes found!\n");
      } else {
        root = std::move(element);
      }
    }
    return root;
  }

 private:
  bool StartsWith(std::size_t at, std::string_view text) const {
    return data_.compare(at, text.size(), text) == 0;
  }

  // The first end of a special block at or after from, or npos. Remembers where an end was
  // missing, so that many unfinished blocks cost one scan.
  std::size_t FindBlockEnd(std::string_view end, std::size_t from, std::size_t& missingFrom) const {
    if (from >= missingFrom) return std::string_view::npos;
    const std::size_t found = data_.find(end, from);
    if (found == std::string_view::npos) missingFrom = from;
    return found;
  }

  // The length of the comment, CDATA section or DOCTYPE block with an internal subset that begins
  // at at; 0 when none does, or when it never ends.
  std::size_t SkipSpecial(std::size_t at) const {
    struct Block {
      std::string_view start;
      std::string_view end;
      std::size_t* missingFrom;
    };
    const Block blocks[] = {{"<!--", "-->", &commentEndMissingFrom_},
                            {"<![CDATA[", "]]>", &cdataEndMissingFrom_},
                            {"<!DOCTYPE", "]>", &doctypeEndMissingFrom_}};
    for (const Block& block : blocks) {
      if (!StartsWith(at, block.start)) continue;
      const std::size_t end = FindBlockEnd(block.end, at + block.start.size(), *block.missingFrom);
      return end == std::string_view::npos ? 0 : end + block.end.size() - at;
    }
    return 0;
  }

  // The first offset at or after from where text stands outside every special block; the data's
  // size when there is none.
  std::size_t Find(std::string_view text, std::size_t from) const {
    for (std::size_t at = from; at < data_.size();) {
      if (data_[at] == '<') {
        const std::size_t skip = SkipSpecial(at);
        if (skip > 0) {
          at += skip;
          continue;
        }
      }
      if (StartsWith(at, text)) return at;
      ++at;
    }
    return data_.size();
  }

  // Matches the tag at at between its delimiters. Every closing delimiter ends in ">", so it can
  // only be the one that ends at the first ">" after the tag's start.
  bool MatchForm(std::size_t at, std::string_view open, std::string_view close, int type, Tag& tag) const {
    if (!StartsWith(at, open)) return false;
    const std::size_t greater = Find(">", at);
    if (greater == data_.size()) return false;
    const std::size_t end = greater + 1;
    if (end < at + open.size() + close.size()) return false;
    const std::size_t closeStart = end - close.size();
    if (!StartsWith(closeStart, close)) return false;
    tag = {type, true, at, at + open.size(), closeStart, end};
    return true;
  }

  Tag NextTag(std::size_t from) const {
    const std::size_t at = Find("<", from);
    if (at == data_.size()) return {};
    Tag tag;
    tag.found = true;
    tag.start = at;
    tag.type = XmlElement::Invalid;
    if (at + 1 == data_.size()) return tag;
    switch (data_[at + 1]) {
      case '!':
        if (StartsWith(at, "<!--")) {
          MatchForm(at, "<!--", "-->", XmlElement::Comment, tag);
        } else {
          MatchForm(at, "<!", "]>", XmlElement::Block, tag);
        }
        break;
      case '/':
        MatchForm(at, "</", ">", XmlElement::ClosingTag, tag);
        break;
      case '?':
        MatchForm(at, "<?", "?>", XmlElement::Declaration, tag);
        break;
      default:
        if (!MatchForm(at, "<", "/>", XmlElement::EmptyElement, tag)) {
          MatchForm(at, "<", ">", XmlElement::Element, tag);
        }
    }
    return tag;
  }

  std::string_view Content(const Tag& tag) const {
    return data_.substr(tag.contentStart, tag.contentEnd - tag.contentStart);
  }

  static std::string_view NameOf(std::string_view content) { return content.substr(0, content.find(' ')); }

  static void ParseAttributes(std::string_view rest, XmlElement::Attributes& attributes) {
    while (!rest.empty()) {
      const std::size_t open = rest.find('"');
      const std::size_t close = open == std::string_view::npos ? open : rest.find('"', open + 1);
      const std::size_t equals = rest.find('=');
      if (equals == std::string_view::npos || equals == 0 || close == std::string_view::npos) return;
      const std::size_t nameStart = rest.find_first_not_of(' ');
      if (nameStart >= equals) return;
      std::string_view name = rest.substr(nameStart, equals - nameStart);
      name = name.substr(0, name.find_last_not_of(' ') + 1);
      attributes[std::string(name)] = Unescape(std::string(rest.substr(open + 1, close - open - 1)));
      rest = rest.substr(close + 1);
    }
  }

  // Reads the node that starts at from into element; answers the offset after it (from itself
  // when nothing was consumed).
  std::size_t ParseNode(StaticXmlElement& element, std::size_t from, int depth) const {
    const Tag tag = NextTag(from);
    element.SetType(tag.type);
    if (tag.type == XmlElement::Invalid) return from;
    const std::string_view content = Content(tag);
    const std::string_view name = NameOf(content);
    element.GetName() = std::string(name);
    if (tag.type == XmlElement::ClosingTag) {
      if (tag.found) element.SetType(XmlElement::Invalid);  // a closing tag without its opening
      return from;
    }
    if (tag.type != XmlElement::Element && tag.type != XmlElement::EmptyElement) return tag.end;
    if (name.empty() || depth > XmlParser::MaxDepth) return Fail(element, from);
    ParseAttributes(content.substr(name.size()), element.GetAttributes());
    if (tag.type == XmlElement::EmptyElement) {
      element.SetType(XmlElement::Element);
      return tag.end;
    }

    std::size_t at = tag.end;
    Tag next = NextTag(at);
    if (next.type == XmlElement::ClosingTag) {
      if (!IsClosingOf(next, element)) return Fail(element, from);
      element.GetText() = TextBetween(at, next.start);
      return next.end;
    }
    for (;;) {
      if (next.type == XmlElement::Invalid) return Fail(element, from);
      auto child = std::make_unique<StaticXmlElement>();
      at = ParseNode(*child, at, depth + 1);
      if (child->GetType() == XmlElement::Invalid) return Fail(element, from);
      element.GetChildren().push_back(child.get());
      child.release();
      next = NextTag(at);
      if (next.type == XmlElement::ClosingTag) {
        if (!IsClosingOf(next, element)) return Fail(element, from);
        return next.end;
      }
    }
  }

  // The text from from to end with its entities replaced; comments, CDATA sections and DOCTYPE
  // blocks inside it stay as they stand.
  std::string TextBetween(std::size_t from, std::size_t end) const {
    std::string text;
    std::size_t plain = from;
    for (std::size_t at = from; at < end;) {
      const std::size_t skip = data_[at] == '<' ? SkipSpecial(at) : 0;
      if (skip == 0) {
        ++at;
        continue;
      }
      text += Unescape(std::string(data_.substr(plain, at - plain)));
      text += data_.substr(at, skip);
      at += skip;
      plain = at;
    }
    return text + Unescape(std::string(data_.substr(plain, end - plain)));
  }

  bool IsClosingOf(const Tag& closing, const StaticXmlElement& element) const {
    return closing.found && NameOf(Content(closing)) == element.GetName();
  }

  static std::size_t Fail(StaticXmlElement& element, std::size_t from) {
    element.SetType(XmlElement::Invalid);
    return from;
  }

  std::string_view data_;
  mutable std::size_t commentEndMissingFrom_ = std::string_view::npos;
  mutable std::size_t cdataEndMissingFrom_ = std::string_view::npos;
  mutable std::size_t doctypeEndMissingFrom_ = std::string_view::npos;
};

}  // namespace

std::unique_ptr<StaticXmlElement> XmlParser::ParseDocument(const std::string& data) {
  return Reader(data).ParseDocument();
}

}  // namespace Common::Xml
