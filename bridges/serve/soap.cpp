#include "bridges/serve/soap.h"

#include <pugixml.hpp>

#include "brennock/util/text.h"

namespace brennock::serve {
namespace {

constexpr std::string_view kEnvelopeNamespace = "http://schemas.xmlsoap.org/soap/envelope/";

std::string_view LocalName(const pugi::xml_node& node) {
  std::string_view name = node.name();
  size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node FirstElement(const pugi::xml_node& parent) {
  for (pugi::xml_node child : parent.children())
    if (child.type() == pugi::node_element) return child;
  return {};
}

pugi::xml_node ChildNamed(const pugi::xml_node& parent, std::string_view localName) {
  for (pugi::xml_node child : parent.children())
    if (child.type() == pugi::node_element && LocalName(child) == localName) return child;
  return {};
}

void Open(std::string& out, std::string_view operation) {
  out += R"(<?xml version="1.0" encoding="utf-8"?>)";
  out += R"(<soap:Envelope xmlns:soap=")";
  out += kEnvelopeNamespace;
  out += R"("><soap:Body><)";
  out += operation;
  out += R"(Response xmlns=")";
  out += kIntuitNamespace;
  out += R"("><)";
  out += operation;
  out += "Result>";
}

void Close(std::string& out, std::string_view operation) {
  out += "</";
  out += operation;
  out += "Result></";
  out += operation;
  out += "Response></soap:Body></soap:Envelope>";
}

}  // namespace

const std::string& SoapCall::Parameter(std::string_view name) const {
  static const std::string kNone;
  auto found = parameters.find(name);
  return found == parameters.end() ? kNone : found->second;
}

bool ParseSoapCall(std::string_view body, SoapCall& call, std::string& problem) {
  pugi::xml_document document;
  pugi::xml_parse_result parsed = document.load_buffer(body.data(), body.size());
  if (!parsed) {
    problem = std::string("the body is not XML: ") + parsed.description();
    return false;
  }
  pugi::xml_node envelope = FirstElement(document);
  if (LocalName(envelope) != "Envelope") {
    problem = "the body is not a SOAP envelope";
    return false;
  }
  pugi::xml_node operation = FirstElement(ChildNamed(envelope, "Body"));
  if (!operation) {
    problem = "the SOAP body names no operation";
    return false;
  }
  call.operation = LocalName(operation);
  for (pugi::xml_node parameter : operation.children()) {
    if (parameter.type() != pugi::node_element) continue;
    call.parameters.emplace(LocalName(parameter), parameter.text().get());
  }
  return true;
}

std::string SoapResult(std::string_view operation, std::string_view result) {
  std::string out;
  out.reserve(result.size() + 300);
  Open(out, operation);
  AppendXmlEscaped(out, result, XmlEscaping::kText);
  Close(out, operation);
  return out;
}

std::string SoapResult(std::string_view operation, const std::vector<std::string>& strings) {
  std::string out;
  Open(out, operation);
  for (const std::string& text : strings) {
    out += "<string>";
    AppendXmlEscaped(out, text, XmlEscaping::kText);
    out += "</string>";
  }
  Close(out, operation);
  return out;
}

std::string SoapResult(std::string_view operation, int result) {
  return SoapResult(operation, std::string_view(std::to_string(result)));
}

std::string SoapFault(std::string_view faultCode, std::string_view faultString) {
  std::string out = R"(<?xml version="1.0" encoding="utf-8"?><soap:Envelope xmlns:soap=")";
  out += kEnvelopeNamespace;
  out += R"("><soap:Body><soap:Fault><faultcode>)";
  out += faultCode;
  out += "</faultcode><faultstring>";
  AppendXmlEscaped(out, faultString, XmlEscaping::kText);
  out += "</faultstring></soap:Fault></soap:Body></soap:Envelope>";
  return out;
}

}  // namespace brennock::serve
