#pragma once

#include <string>

namespace Common::Xml {

// Replaces "&", "<", ">" and the double quote by their entities, so that any text can stand in
// an attribute value or between tags.
std::string Escape(const std::string& text);

// Replaces the entities &amp; &lt; &gt; &quot; and &apos; by their characters; anything else,
// including an unknown or unfinished entity, stays as it stands.
std::string Unescape(const std::string& text);

}  // namespace Common::Xml
