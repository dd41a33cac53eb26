#include "simulator/strict_validator.h"

#include <libxml/parser.h>
#include <libxml/xmlschemas.h>

#include <cstdarg>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>

namespace brennock::simulator {
namespace {

struct CompiledSchema {
  xmlSchemaPtr schema = nullptr;
  ~CompiledSchema() {
    if (schema) xmlSchemaFree(schema);
  }
};

void CollectError(void* context, const char* format, ...) {
  auto* message = static_cast<std::string*>(context);
  if (!message->empty()) return;  // the first complaint is the useful one
  char buf[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buf, sizeof buf, format, args);
  va_end(args);
  *message = buf;
  while (!message->empty() && message->back() == '\n') message->pop_back();
}

void Quiet(void*, const char*, ...) {}

std::mutex schema_mutex;

xmlSchemaPtr Schema(const std::string& path, std::string& problem) {
  static std::map<std::string, std::unique_ptr<CompiledSchema>> compiled;
  auto& entry = compiled[path];
  if (!entry) {
    entry = std::make_unique<CompiledSchema>();
    xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(path.c_str());
    if (parser) {
      xmlSchemaSetParserErrors(parser, Quiet, Quiet, nullptr);
      entry->schema = xmlSchemaParse(parser);
      xmlSchemaFreeParserCtxt(parser);
    }
  }
  if (!entry->schema) problem = "the qbXML schema " + path + " could not be loaded";
  return entry->schema;
}

}  // namespace

std::string SchemaProblem(const std::string& schema_path, std::string_view text) {
  std::lock_guard lock(schema_mutex);
  std::string problem;
  xmlSchemaPtr schema = Schema(schema_path, problem);
  if (!schema) return problem;
  // The text is UTF-8 whatever its declaration names (the processor decoded it already).
  xmlDocPtr doc = xmlReadMemory(
      text.data(), static_cast<int>(text.size()), "request.xml", "UTF-8",
      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_IGNORE_ENC);
  if (!doc) return "not well-formed XML";
  xmlSchemaValidCtxtPtr valid = xmlSchemaNewValidCtxt(schema);
  xmlSchemaSetValidErrors(valid, CollectError, CollectError, &problem);
  int rc = xmlSchemaValidateDoc(valid, doc);
  xmlSchemaFreeValidCtxt(valid);
  xmlFreeDoc(doc);
  if (rc != 0 && problem.empty()) problem = "the document does not validate";
  return rc == 0 ? std::string() : problem;
}

std::string StrictModeProblem(std::string_view request_text) {
  const char* path = std::getenv("BRENNOCK_QBXML_SCHEMA");
  if (!path || !*path) return {};
  // The schema replaces the DTD; the qbXML DOCTYPE often lacks the system literal XML requires.
  auto start = request_text.find("<!DOCTYPE");
  if (start == std::string_view::npos) return SchemaProblem(path, request_text);
  auto end = request_text.find('>', start);
  if (end == std::string_view::npos) return "unterminated DOCTYPE";
  std::string text(request_text.substr(0, start));
  text.append(request_text.substr(end + 1));
  return SchemaProblem(path, text);
}

}  // namespace brennock::simulator
