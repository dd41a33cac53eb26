#include "bridges/serve/qwc.h"

#include <sodium.h>

#include "brennock/internal/util/text.h"

namespace brennock::serve {

std::string StableGuid(const std::string& text) {
  unsigned char digest[16];
  crypto_generichash(digest, sizeof digest, reinterpret_cast<const unsigned char*>(text.data()),
                     text.size(), nullptr, 0);
  // Marked as a name-based (version 5 style) RFC 4122 identifier.
  digest[6] = static_cast<unsigned char>((digest[6] & 0x0F) | 0x50);
  digest[8] = static_cast<unsigned char>((digest[8] & 0x3F) | 0x80);
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string guid = "{";
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) guid += '-';
    guid += kHex[digest[i] >> 4];
    guid += kHex[digest[i] & 15];
  }
  guid += '}';
  return guid;
}

std::string QwcDocument(const QwcOptions& o) {
  std::string out = "<?xml version=\"1.0\"?>\n<QBWCXML>\n";
  auto element = [&out](const char* name, const std::string& value, const char* indent = "\t") {
    out += indent;
    out += '<';
    out += name;
    out += '>';
    AppendXmlEscaped(out, value, XmlEscaping::kText);
    out += "</";
    out += name;
    out += ">\n";
  };
  std::string identity = o.appName + "\n" + o.appUrl;
  std::string origin = o.appUrl.substr(0, o.appUrl.find('/', o.appUrl.find("://") + 3));
  element("AppName", o.appName);
  element("AppID", StableGuid("AppID\n" + identity));
  element("AppURL", o.appUrl);
  element("AppDescription", o.description);
  element("AppSupport", origin + "/support");
  element("UserName", o.userName);
  element("OwnerID", StableGuid("OwnerID\n" + identity));
  element("FileID", StableGuid("FileID\n" + identity));
  element("QBType", o.qbType);
  if (o.runEveryMinutes > 0) {
    out += "\t<Scheduler>\n";
    element("RunEveryNMinutes", std::to_string(o.runEveryMinutes), "\t\t");
    out += "\t</Scheduler>\n";
  }
  element("IsReadOnly", o.readOnly ? "true" : "false");
  out += "</QBWCXML>\n";
  return out;
}

}  // namespace brennock::serve
