#include "brennock/internal/xml/xml_tree.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <string_view>
#include <utility>

#include "brennock/errors/automation_error.h"
#include "brennock/internal/errors/runtime_errors.h"
#include "brennock/internal/xml/xml_reference_check.h"
#include "brennock/internal/xml/xml_text_encoding.h"

namespace brennock::detail {

namespace {

// What MSXML keeps as nodes, plus top-level text so that stray text can be refused.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_declaration |
                                   pugi::parse_doctype | pugi::parse_pi | pugi::parse_comments |
                                   pugi::parse_fragment;

bool StartsWithUtf16Or32Bom(std::string_view text) {
  return text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF") ||
         text.starts_with(std::string_view("\0\0\xFE\xFF", 4));
}

// The length of the text's leading run of ASCII, measured 64 bytes at a time (rounded down to
// that step). Responses are mostly plain ASCII; only what follows the run needs decoding checks.
std::size_t AsciiPrefix(std::string_view text) noexcept {
  constexpr uint64_t kHighBits = 0x8080808080808080ull;
  std::size_t at = 0;
  for (; at + 64 <= text.size(); at += 64) {
    uint64_t w[8];
    std::memcpy(w, text.data() + at, sizeof w);
    if ((((w[0] | w[1]) | (w[2] | w[3])) | ((w[4] | w[5]) | (w[6] | w[7]))) & kHighBits) break;
  }
  return at;
}

// FindInvalidUtf8 after skipping the ASCII run.
std::size_t FindInvalidUtf8AfterAscii(std::string_view text) {
  const std::size_t ascii = AsciiPrefix(text);
  const std::size_t invalid = FindInvalidUtf8(text.substr(ascii));
  return invalid == std::string_view::npos ? invalid : ascii + invalid;
}

}  // namespace

void ThrowObjectNotSet() { RaiseRuntime(kObjectNotSetNumber); }

void ThrowNotSupported() { RaiseRuntime(kActionNotSupportedNumber); }

bool XmlTree::Fail(std::string reason, int64_t filepos) {
  document_.reset();
  std::string().swap(buffer_);
  removed_ = pugi::xml_node();
  ForgetPositions();
  error_ = XmlParseError{1, std::move(reason), filepos};
  return false;
}

bool XmlTree::Load(std::string text) {
  document_.reset();
  removed_ = pugi::xml_node();
  ForgetPositions();
  error_ = XmlParseError{};

  pugi::xml_parse_result result;
  std::size_t start = 0;
  if (StartsWithUtf16Or32Bom(text)) {
    // Wide text, as from a file saved in UTF-16: pugixml converts it.
    buffer_ = std::move(text);
    result = document_.load_buffer_inplace(buffer_.data(), buffer_.size(), kParseOptions,
                                           pugi::encoding_auto);
  } else {
    if (std::string_view(text).starts_with("\xEF\xBB\xBF")) start = 3;
    std::string_view body = std::string_view(text).substr(start);
    std::size_t invalid = FindInvalidUtf8AfterAscii(body);
    if (invalid != std::string_view::npos) {
      SingleByteEncoding declared = DeclaredSingleByteEncoding(body);
      if (declared == SingleByteEncoding::kNone) {
        return Fail("An invalid character was found in text content.",
                    static_cast<int64_t>(start + invalid));
      }
      buffer_ = SingleByteToUtf8(body, declared);
      start = 0;
    } else {
      buffer_ = std::move(text);
    }
    if (auto fault = FindBadReference(std::string_view(buffer_).substr(start))) {
      return Fail(std::move(fault->reason), static_cast<int64_t>(start) + fault->offset);
    }
    result = document_.load_buffer_inplace(buffer_.data() + start, buffer_.size() - start,
                                           kParseOptions, pugi::encoding_utf8);
  }
  if (!result) return Fail(result.description(), static_cast<int64_t>(start + result.offset));

  // pugixml accepts fragments; a document has one root element and no stray text.
  bool seen_doctype = false, seen_element = false;
  for (pugi::xml_node child = document_.first_child(); child; child = child.next_sibling()) {
    const int64_t at =
        child.offset_debug() < 0 ? -1 : static_cast<int64_t>(start) + child.offset_debug();
    switch (child.type()) {
      case pugi::node_declaration:
        if (child != document_.first_child()) return Fail("Invalid xml declaration.", at);
        break;
      case pugi::node_doctype:
        if (seen_doctype) return Fail("Cannot have multiple DOCTYPE declarations.", at);
        if (seen_element) return Fail("Invalid at the top level of the document.", at);
        seen_doctype = true;
        break;
      case pugi::node_element:
        if (seen_element) {
          return Fail("Only one top level element is allowed in an XML document.", at);
        }
        seen_element = true;
        break;
      case pugi::node_pcdata:
      case pugi::node_cdata:
        return Fail("Invalid at the top level of the document.", at);
      default:
        break;
    }
  }
  if (!seen_element) {
    return Fail("XML document must have a top level element.",
                static_cast<int64_t>(buffer_.size()));
  }
  return true;
}

pugi::xml_node XmlTree::FirstChild(pugi::xml_node parent) const {
  pugi::xml_node first = parent.first_child();
  return first == removed_ ? pugi::xml_node() : first;
}

pugi::xml_node XmlTree::LastChild(pugi::xml_node parent) const {
  pugi::xml_node last = parent.last_child();
  return last && last == removed_ ? last.previous_sibling() : last;
}

pugi::xml_node XmlTree::NextSibling(pugi::xml_node node) const {
  pugi::xml_node next = node.next_sibling();
  return next == removed_ ? pugi::xml_node() : next;
}

XmlTree::ChildCursor& XmlTree::CursorFor(pugi::xml_node parent) {
  pugi::xml_node_struct* key = parent.internal_object();
  ++clock_;
  ChildCursor* oldest = &cursors_[0];
  for (ChildCursor& cursor : cursors_) {
    if (cursor.parent == key) {
      cursor.last_use = clock_;
      return cursor;
    }
    if (cursor.last_use < oldest->last_use) oldest = &cursor;
  }
  pugi::xml_node first = FirstChild(parent);
  *oldest = ChildCursor{key, first.internal_object(), 0, first ? -1 : 0, clock_};
  return *oldest;
}

int32_t XmlTree::ChildCount(pugi::xml_node parent) {
  ChildCursor& cursor = CursorFor(parent);
  if (cursor.length < 0) {
    int32_t count = 0;
    for (pugi::xml_node child = FirstChild(parent); child; child = NextSibling(child)) ++count;
    cursor.length = count;
  }
  return cursor.length;
}

pugi::xml_node XmlTree::ChildAt(pugi::xml_node parent, int32_t index) {
  if (index < 0) return {};
  ChildCursor& cursor = CursorFor(parent);
  if (cursor.length >= 0 && index >= cursor.length) return {};

  // Walk from whichever known position is nearest: the cursor, the first or the last child.
  pugi::xml_node node(cursor.node);
  int32_t at = cursor.index;
  if (index < at && index < at - index) {
    node = FirstChild(parent);
    at = 0;
  }
  if (cursor.length >= 0 && index > at && cursor.length - 1 - index < index - at) {
    node = LastChild(parent);
    at = cursor.length - 1;
  }
  while (at < index) {
    pugi::xml_node next = NextSibling(node);
    if (!next) {
      cursor.node = node.internal_object();
      cursor.index = at;
      cursor.length = at + 1;
      return {};
    }
    node = next;
    ++at;
  }
  while (at > index) {
    node = node.previous_sibling();
    --at;
  }
  cursor.node = node.internal_object();
  cursor.index = at;
  return node;
}

void XmlTree::RemoveChildren(pugi::xml_node parent) {
  // pugixml frees removed nodes; parking them under a hidden holder keeps held handles valid.
  if (!removed_) removed_ = document_.append_child(pugi::node_element);
  if (!removed_) throw std::bad_alloc();
  while (pugi::xml_node child = parent.first_child()) {
    if (!removed_.append_move(child)) ThrowNotSupported();
  }
  ForgetPositions();
}

}  // namespace brennock::detail
