#include "brennock/internal/xml/response_reader.h"

#include <array>
#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "brennock/internal/xml/response_limits.h"
#include "brennock/internal/xml/xml_text_encoding.h"

namespace brennock {
namespace {

constexpr uint8_t kNameStart = 1;  // may begin a name
constexpr uint8_t kNameChar = 2;   // may continue a name
constexpr uint8_t kTextStop = 4;   // ends a plain run of text: '<', '&', CR, control, non-ASCII
constexpr uint8_t kBlank = 8;
constexpr uint8_t kSpace = 16;  // a blank other than CR, which needs line-end handling

// Only ASCII names are taken; any other byte in a name makes the reader decline.
constexpr std::array<uint8_t, 256> kClasses = [] {
  std::array<uint8_t, 256> classes{};
  for (int c = 0; c < 256; ++c) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (letter || c == '_' || c == ':') classes[c] |= kNameStart | kNameChar;
    if ((c >= '0' && c <= '9') || c == '.' || c == '-') classes[c] |= kNameChar;
    if (c < 0x20 || c >= 0x80 || c == '<' || c == '&') classes[c] |= kTextStop;
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') classes[c] |= kBlank;
    if (c == ' ' || c == '\t' || c == '\n') classes[c] |= kSpace;
  }
  classes['\t'] &= ~kTextStop;
  classes['\n'] &= ~kTextStop;
  return classes;
}();

inline bool Is(char c, uint8_t what) {
  return (kClasses[static_cast<unsigned char>(c)] & what) != 0;
}

// The characters XML allows, given by reference.
bool IsXmlChar(uint32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

void AppendUtf8(uint32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The character a reference stands for (the text after '&' up to ';'); false for one the reader
// does not take.
bool Referenced(std::string_view name, std::string& out) {
  static constexpr std::pair<std::string_view, char> kNamed[] = {
      {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
  for (const auto& [entity, character] : kNamed) {
    if (name == entity) {
      out += character;
      return true;
    }
  }
  if (name.size() < 2 || name.front() != '#') return false;
  const bool hex = name[1] == 'x';
  std::string_view digits = name.substr(hex ? 2 : 1);
  if (digits.empty() || digits.size() > 7) return false;
  uint32_t code = 0;
  for (char c : digits) {
    uint32_t digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<uint32_t>(c - '0');
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = static_cast<uint32_t>(c - 'a' + 10);
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = static_cast<uint32_t>(c - 'A' + 10);
    } else {
      return false;
    }
    code = code * (hex ? 16 : 10) + digit;
  }
  if (!IsXmlChar(code)) return false;
  AppendUtf8(code, out);
  return true;
}

// Text with its references replaced and line ends made LF, as the document loader gives it.
bool Decode(std::string_view raw, std::string& out) {
  out.clear();
  size_t at = 0;
  while (at < raw.size()) {
    size_t stop = raw.find_first_of("&\r", at);
    if (stop == std::string_view::npos) stop = raw.size();
    out.append(raw.substr(at, stop - at));
    if (stop == raw.size()) break;
    if (raw[stop] == '\r') {
      out += '\n';
      at = stop + 1;
      if (at < raw.size() && raw[at] == '\n') ++at;
      continue;
    }
    size_t semicolon = raw.find(';', stop);
    if (semicolon == std::string_view::npos) return false;
    if (!Referenced(raw.substr(stop + 1, semicolon - stop - 1), out)) return false;
    at = semicolon + 1;
  }
  return true;
}

// ---- scanning 16 bytes at a time ----------------------------------------------------------------
// Texts, attribute values and end tags make up most of a response. Where SSE2 is at hand they are
// scanned a block at a time; a block is only read where 16 bytes remain before the end. Names are
// not (NameEnd).

#if defined(__SSE2__)
inline __m128i Block(const char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline __m128i Bytes(char c) { return _mm_set1_epi8(c); }
#endif

// One past the last name character from p on. A byte at a time: names are short and mostly the
// same few, so the branch predictor runs the loop ahead, where a block scan makes every later step
// wait for the end it computes (half again as slow on a report's rows).
inline const char* NameEnd(const char* p) {
  while (Is(*p, kNameChar)) ++p;
  return p;
}

// The first byte from p on that may end plain text: '<', '&', a control character (tabs and line
// feeds included, which the caller passes over) or a non-ASCII byte.
const char* TextStop(const char* p, const char* end) {
#if defined(__SSE2__)
  while (end - p >= 16) {
    const __m128i v = Block(p);
    const __m128i stop =
        _mm_or_si128(_mm_cmplt_epi8(v, Bytes(0x20)),
                     _mm_or_si128(_mm_cmpeq_epi8(v, Bytes('<')), _mm_cmpeq_epi8(v, Bytes('&'))));
    const auto found = static_cast<uint32_t>(_mm_movemask_epi8(stop));
    if (found != 0) return p + std::countr_zero(found);
    p += 16;
  }
#else
  (void)end;
#endif
  while (!Is(*p, kTextStop) && *p != '\t' && *p != '\n') ++p;
  return p;
}

// The first byte from p on that may end an attribute value, or needs a look: the quote, '<', '&',
// '?', a control character or a non-ASCII byte.
const char* ValueStop(const char* p, const char* end, char quote) {
#if defined(__SSE2__)
  while (end - p >= 16) {
    const __m128i v = Block(p);
    const __m128i special =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, Bytes(quote)), _mm_cmpeq_epi8(v, Bytes('<'))),
                     _mm_or_si128(_mm_cmpeq_epi8(v, Bytes('&')), _mm_cmpeq_epi8(v, Bytes('?'))));
    // Signed, control characters and non-ASCII bytes both compare below a space.
    const __m128i stop = _mm_or_si128(special, _mm_cmplt_epi8(v, Bytes(0x20)));
    const auto found = static_cast<uint32_t>(_mm_movemask_epi8(stop));
    if (found != 0) return p + std::countr_zero(found);
    p += 16;
  }
#else
  (void)end;
#endif
  for (;; ++p) {
    const char c = *p;
    if (c == quote || c == '<' || c == '&' || c == '?' || static_cast<unsigned char>(c) < 0x20 ||
        static_cast<unsigned char>(c) >= 0x80)
      return p;
  }
}

// Whether the text at p starts with name (which lies earlier in the same text).
bool StartsWithName(const char* p, std::string_view name, const char* end) {
#if defined(__SSE2__)
  if (name.size() <= 16 && end - p >= 16) {
    const auto same =
        static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(Block(p), Block(name.data()))));
    const uint32_t wanted = (1u << name.size()) - 1;
    return (same & wanted) == wanted;
  }
#else
  (void)end;
#endif
  // A byte at a time: the text's final NUL stops a mismatch before the end.
  for (char c : name) {
    if (*p++ != c) return false;
  }
  return true;
}

}  // namespace

ResponseReader::ResponseReader(const std::string& text)
    : begin_(text.c_str()),
      p_(begin_),
      end_(begin_ + text.size()),
      maxDepth_(static_cast<size_t>(MaxResponseDepth())) {}

// The cursor is kept in a local while scanning: a char read may alias any member, so a loop
// stepping p_ itself would store it back on every byte.
inline const char* PastBlanks(const char* p) {
  while (Is(*p, kBlank)) ++p;
  return p;
}

void ResponseReader::SkipBlanks() { p_ = PastBlanks(p_); }

bool ResponseReader::Name(std::string_view& name) {
  // The text ends in a NUL, which is no name character: no scan passes the end.
  if (!Is(*p_, kNameStart)) return Decline();
  const char* start = p_;
  p_ = NameEnd(p_ + 1);
  name = std::string_view(start, static_cast<size_t>(p_ - start));
  return true;
}

bool ResponseReader::Attributes(bool declaration, bool keep, bool& empty, ElementTree* tree) {
  if (keep) attributes_.clear();
  const char* p = p_;
  for (;;) {
    const bool blank = Is(*p, kBlank);
    p = PastBlanks(p);
    if (declaration) {
      if (p[0] == '?' && p[1] == '>') {
        p_ = p + 2;
        return true;
      }
    } else if (*p == '>') {
      p_ = p + 1;
      empty = false;
      return true;
    } else if (*p == '/') {
      if (p[1] != '>') return Decline();
      p_ = p + 2;
      empty = true;
      return true;
    }
    if (!blank) return Decline();  // attributes are set apart by blanks
    if (!Is(*p, kNameStart)) return Decline();
    const char* nameStart = p;
    p = NameEnd(p + 1);
    const std::string_view name(nameStart, static_cast<size_t>(p - nameStart));
    p = PastBlanks(p);
    if (*p != '=') return Decline();
    p = PastBlanks(p + 1);
    const char quote = *p;
    if (quote != '"' && quote != '\'') return Decline();
    const char* value = ++p;
    // Values the document loader would rewrite (blanks other than spaces) are left to it; an
    // element's values may hold references and UTF-8, which its tree is given decoded.
    bool decode = false;
    bool wide = false;
    for (;;) {
      p = ValueStop(p, end_, quote);
      const char c = *p;
      if (c == quote) break;
      if (c == '?') {
        // The loader ends the declaration at the first "?>", even inside a quoted value.
        if (declaration && p[1] == '>') return Decline();
      } else if (tree != nullptr && c == '&') {
        decode = true;
      } else if (tree != nullptr && static_cast<unsigned char>(c) >= 0x80) {
        wide = true;
      } else {
        return Decline();  // '<', a control character or blank other than a space, the end
      }
      ++p;
    }
    const std::string_view raw(value, static_cast<size_t>(p - value));
    if (keep) attributes_.emplace_back(name, raw);
    if (tree != nullptr) {
      if (wide && detail::FindInvalidUtf8(raw) != std::string_view::npos) return Decline();
      if (decode) {
        if (!Decode(raw, decoded_)) return Decline();
        tree->AddDecodedAttribute(name, decoded_);
      } else {
        tree->AddAttribute(name, raw);
      }
    }
    ++p;
  }
}

bool ResponseReader::StartTag(std::string_view& name, bool keep, bool& empty) {
  ++p_;  // '<'
  return Name(name) && Attributes(false, keep, empty);
}

bool ResponseReader::EndTag() {
  p_ += 2;  // "</"
  std::string_view name;
  if (!Name(name)) return false;
  SkipBlanks();
  if (*p_ != '>' || open_.empty() || open_.back() != name) return Decline();
  ++p_;
  open_.pop_back();
  return true;
}

bool ResponseReader::Text(ElementTree* tree) {
  const char* p = p_;
  const char* start = p;
  bool decode = false;
  while (Is(*p, kBlank)) decode |= *p++ == '\r';
  if (*p != '<') {
    bool wide = false;
    for (;;) {
      p = TextStop(p, end_);
      const char c = *p;
      if (c == '<') {
        break;
      } else if (c == '\t' || c == '\n') {
        ++p;
      } else if (c == '&' || c == '\r') {
        decode = true;
        ++p;
      } else if (static_cast<unsigned char>(c) >= 0x80) {
        wide = true;
        ++p;
      } else {
        return Decline();  // a control character, or the end of the text
      }
    }
    std::string_view raw(start, static_cast<size_t>(p - start));
    if (wide && detail::FindInvalidUtf8(raw) != std::string_view::npos) return Decline();
    if (decode) {
      if (!Decode(raw, decoded_)) return Decline();
      if (tree != nullptr) tree->AddDecodedText(decoded_);
    } else if (tree != nullptr) {
      tree->AddText(raw);
    }
  }
  p_ = p;
  // Comments, CDATA sections and processing instructions are left to the document loader.
  if (p[1] == '!' || p[1] == '?') return Decline();
  return true;
}

bool ResponseReader::Element(ElementTree& tree) {
  // Every record passes through here: the usual markup (a tag without attributes, text without
  // references, an end tag straight after) is read with a local cursor, and anything else goes
  // to the general readers above.
  const char* p = p_;
  const size_t base = tree.OpenDepth();
  for (;;) {
    const char* name = ++p;  // past '<'
    if (!Is(*p, kNameStart)) return Decline();
    p = NameEnd(p + 1);
    tree.OpenElement(std::string_view(name, static_cast<size_t>(p - name)));
    bool empty = false;
    if (*p == '>') {
      ++p;
    } else {
      p_ = p;
      if (!Attributes(false, false, empty, &tree)) return false;
      p = p_;
    }
    if (empty) tree.CloseElement();
    // The record sits below the elements still open around it.
    if (tree.OpenDepth() + open_.size() > maxDepth_) return Decline();
    // Content up to the next child's start tag, or to the end of this element.
    for (;;) {
      if (tree.OpenDepth() == base) {
        p_ = p;
        return true;
      }
      const char* text = p;
      while (Is(*p, kSpace)) ++p;
      if (*p != '<') {
        for (;;) {
          p = TextStop(p, end_);
          if (*p != '\t' && *p != '\n') break;
          ++p;
        }
        if (*p == '<') {  // TextStop passes ASCII only
          tree.AddAsciiText(std::string_view(text, static_cast<size_t>(p - text)));
        } else {
          p_ = text;
          if (!Text(&tree)) return false;
          p = p_;
        }
      }
      if (p[1] != '/') {
        if (p[1] == '!' || p[1] == '?') return Decline();
        break;
      }
      // The end tag must name the innermost open element.
      std::string_view open = tree.InnermostName();
      p += 2;
      if (!StartsWithName(p, open, end_)) return Decline();
      p += open.size();
      if (Is(*p, kNameChar)) return Decline();
      while (Is(*p, kBlank)) ++p;
      if (*p++ != '>') return Decline();
      tree.CloseElement();
    }
  }
}

bool ResponseReader::OpenContainer(bool keepAttributes) {
  std::string_view name;
  bool empty = false;
  if (!StartTag(name, keepAttributes, empty)) return false;
  if (empty) return Decline();
  open_.push_back(name);
  // Its first child must be an element: the loader would give any text first.
  SkipBlanks();
  if (*p_ != '<' || !Is(p_[1], kNameStart)) return Decline();
  return true;
}

bool ResponseReader::OpenFirstResponse() {
  // A declaration first (the document's first node), then the root.
  if (std::string_view(p_, static_cast<size_t>(end_ - p_)).substr(0, 5) != "<?xml")
    return Decline();
  p_ += 5;
  bool empty = false;
  if (!Is(*p_, kBlank) || !Attributes(true, false, empty)) return Decline();
  SkipBlanks();
  if (*p_ != '<' || !Is(p_[1], kNameStart)) return Decline();
  if (!OpenContainer(false) || !OpenContainer(false)) return false;
  std::string_view name;
  if (!StartTag(name, true, empty)) return false;
  firstResponse_ = name;
  if (!empty) open_.push_back(name);
  recordsDepth_ = open_.size();
  inRecords_ = !empty;
  return true;
}

std::pair<std::string_view, bool> ResponseReader::FirstResponseAttribute(std::string_view name,
                                                                         bool first) const {
  if (first) {
    for (const auto& [attribute, value] : attributes_) {
      if (attribute == name) return {value, true};
    }
    return {{}, false};
  }
  for (auto at = attributes_.rbegin(); at != attributes_.rend(); ++at) {
    if (at->first == name) return {at->second, true};
  }
  return {{}, false};
}

bool ResponseReader::AtRecord() {
  if (!inRecords_ || declined_) return false;
  // Text between records is checked, not kept: the records are the elements.
  if (!Text(nullptr)) return false;
  if (p_[1] != '/') return true;
  // The end of the element the records were in: the first response, or one entered.
  if (!EndTag()) return false;
  if (open_.size() < recordsDepth_) inRecords_ = false;
  return false;
}

bool ResponseReader::PeekRecord(std::string_view& name) {
  if (!AtRecord()) return false;
  const char* start = p_ + 1;
  if (!Is(*start, kNameStart)) return Decline();
  name = std::string_view(start, static_cast<size_t>(NameEnd(start + 1) - start));
  return true;
}

bool ResponseReader::NextRecord(ElementTree& tree) {
  if (!AtRecord()) return false;
  tree.Clear();
  if (!Element(tree)) return false;
  tree.Finish();
  return true;
}

bool ResponseReader::EnterRecord(ElementTree& head, bool& empty) {
  if (!AtRecord()) return false;
  head.Clear();
  std::string_view name;
  ++p_;  // '<'
  if (!Name(name)) return false;
  head.OpenElement(name);
  empty = false;
  if (!Attributes(false, false, empty, &head)) return false;
  head.CloseElement();
  head.Finish();
  if (!empty) {
    open_.push_back(name);
    if (open_.size() > maxDepth_) return Decline();
  }
  return true;
}

bool ResponseReader::Finish() {
  if (declined_) return false;
  while (!open_.empty()) {
    if (!Text(nullptr)) return false;
    if (p_[1] == '/') {
      if (!EndTag()) return false;
      continue;
    }
    skipped_.Clear();
    if (!Element(skipped_)) return false;
  }
  inRecords_ = false;
  SkipBlanks();
  return AtEnd() || Decline();
}

}  // namespace brennock
