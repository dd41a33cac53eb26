#pragma once

#include <string>
#include <string_view>

namespace brennock::simulator {

// Appends qbXML response text to one growing buffer: one element per line, as QuickBooks writes
// its responses. Text and attribute values are escaped; raw fragments are appended unchanged.
class XmlWriter {
 public:
  explicit XmlWriter(std::string& out) : out_(out) {}

  void Open(std::string_view tag);
  // Starts a tag whose attributes follow; finish it with EndAttributes.
  void OpenWithAttributes(std::string_view tag);
  void Attribute(std::string_view name, std::string_view value);
  void EndAttributes();
  void Close(std::string_view tag);
  // <tag>text</tag>
  void Element(std::string_view tag, std::string_view text);
  void Raw(std::string_view text) { out_.append(text); }

  static void AppendEscaped(std::string& out, std::string_view text, bool attribute);

 private:
  std::string& out_;
};

}  // namespace brennock::simulator
