#pragma once

#include <string>
#include <string_view>

namespace brennock {

// Appends `text` to `out` escaped for qbXML element text, as QuickBooks expects it: & > " ' < @
// become &amp; &gt; &quot; &apos; &lt; &#64;, and every character that Windows-1252 codes 128 to
// 255 becomes &#code; (the euro sign is &#128;, e acute &#233;; the five codes Windows-1252 leaves
// undefined stand for U+0081, U+008D, U+008F, U+0090 and U+009D). Other characters are copied as
// they are. The input is UTF-8; a byte that does not start a valid UTF-8 sequence is taken as a
// Windows-1252 character, so Latin-1 text given by mistake is still escaped and nothing is lost.
void AppendEscapedText(std::string& out, std::string_view text);

// The escaped text as a new string.
std::string EscapeXmlText(std::string_view text);

}  // namespace brennock
