#include "tests/support/soap_schema.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlschemas.h>

#include <cstring>
#include <mutex>

#include "tests/support/qbxml_samples.h"

namespace brennock::testing {
namespace {

constexpr const char* kEnvelopeNamespace = "http://schemas.xmlsoap.org/soap/envelope/";
constexpr const char* kXsdNamespace = "http://www.w3.org/2001/XMLSchema";

void Collect(void* sink, xmlErrorPtr error) {
  if (error != nullptr && error->message != nullptr)
    static_cast<std::string*>(sink)->append(error->message);
}

bool Is(xmlNodePtr node, const char* name, const char* ns) {
  return node != nullptr && node->type == XML_ELEMENT_NODE &&
         std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0 && node->ns != nullptr &&
         std::strcmp(reinterpret_cast<const char*>(node->ns->href), ns) == 0;
}

xmlNodePtr FirstElement(xmlNodePtr parent) {
  for (xmlNodePtr child = parent ? parent->children : nullptr; child; child = child->next)
    if (child->type == XML_ELEMENT_NODE) return child;
  return nullptr;
}

xmlNodePtr FindSchema(xmlNodePtr node) {
  for (; node != nullptr; node = node->next) {
    if (Is(node, "schema", kXsdNamespace)) return node;
    if (xmlNodePtr found = FindSchema(node->children)) return found;
  }
  return nullptr;
}

// The WSDL's schema as a document of its own, compiled once per program.
xmlSchemaPtr WsdlSchema(std::string& messages) {
  static std::once_flag once;
  static xmlSchemaPtr schema = nullptr;
  static std::string loadMessages;
  std::call_once(once, [] {
    auto dir = QbxmlDir();
    if (!dir) return;
    std::string path = (*dir / "wsdl" / "QBWebConnectorSvc_with_versions.wsdl").string();
    xmlDocPtr wsdl = xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET);
    if (wsdl == nullptr) return;
    xmlNodePtr found = FindSchema(xmlDocGetRootElement(wsdl));
    xmlDocPtr alone = xmlNewDoc(BAD_CAST "1.0");
    xmlNodePtr root = xmlDocCopyNode(found, alone, 1);
    xmlDocSetRootElement(alone, root);
    // Type names refer to prefixes declared on the WSDL's root.
    xmlNewNs(root, BAD_CAST "http://developer.intuit.com/", BAD_CAST "tns");
    if (xmlSearchNs(alone, root, BAD_CAST "s") == nullptr)
      xmlNewNs(root, BAD_CAST kXsdNamespace, BAD_CAST "s");
    xmlSchemaParserCtxtPtr parser = xmlSchemaNewDocParserCtxt(alone);
    xmlSchemaSetParserStructuredErrors(parser, Collect, &loadMessages);
    schema = xmlSchemaParse(parser);
    xmlSchemaFreeParserCtxt(parser);
    xmlFreeDoc(wsdl);
  });
  if (schema == nullptr) messages = "the WSDL's schema could not be loaded: " + loadMessages;
  return schema;
}

}  // namespace

std::string SoapSchemaErrors(std::string_view message) {
  std::string messages;
  xmlSchemaPtr schema = WsdlSchema(messages);
  if (schema == nullptr) return messages;
  xmlDocPtr doc = xmlReadMemory(message.data(), static_cast<int>(message.size()), nullptr, nullptr,
                                XML_PARSE_NONET);
  if (doc == nullptr) return "not XML";
  xmlNodePtr envelope = xmlDocGetRootElement(doc);
  xmlNodePtr body = FirstElement(envelope);
  if (!Is(envelope, "Envelope", kEnvelopeNamespace) || !Is(body, "Body", kEnvelopeNamespace)) {
    xmlFreeDoc(doc);
    return "not a SOAP 1.1 envelope with a Body";
  }
  xmlNodePtr content = FirstElement(body);
  if (content == nullptr) messages = "empty SOAP body";
  if (content != nullptr && !Is(content, "Fault", kEnvelopeNamespace)) {
    xmlDocPtr alone = xmlNewDoc(BAD_CAST "1.0");
    xmlDocSetRootElement(alone, xmlDocCopyNode(content, alone, 1));
    xmlSchemaValidCtxtPtr validator = xmlSchemaNewValidCtxt(schema);
    xmlSchemaSetValidStructuredErrors(validator, Collect, &messages);
    if (xmlSchemaValidateDoc(validator, alone) != 0 && messages.empty()) messages = "invalid";
    xmlSchemaFreeValidCtxt(validator);
    xmlFreeDoc(alone);
  }
  xmlFreeDoc(doc);
  return messages;
}

}  // namespace brennock::testing
