#include "common/xml/XmlEscape.h"

#include <cstring>

namespace Common::Xml {

namespace {

struct Entity {
  char character;
  const char* name;
};

constexpr Entity Entities[] = {
    {'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}, {'\'', "&apos;"}};
constexpr std::size_t EscapedCount = 4;  // the apostrophe is only ever read

}  // namespace

std::string Escape(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    const Entity* entity = nullptr;
    for (std::size_t i = 0; i < EscapedCount; ++i) {
      if (Entities[i].character == c) entity = &Entities[i];
    }
    if (entity) {
      escaped += entity->name;
    } else {
      escaped += c;
    }
  }
  return escaped;
}

std::string Unescape(const std::string& text) {
  std::string plain;
  plain.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const Entity* found = nullptr;
    if (text[i] == '&') {
      for (const Entity& entity : Entities) {
        if (text.compare(i, std::strlen(entity.name), entity.name) == 0) found = &entity;
      }
    }
    if (found) {
      plain += found->character;
      i += std::strlen(found->name);
    } else {
      plain += text[i++];
    }
  }
  return plain;
}

}  // namespace Common::Xml
