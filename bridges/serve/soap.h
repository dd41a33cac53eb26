#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace brennock::serve {

inline constexpr std::string_view kIntuitNamespace = "http://developer.intuit.com/";

// One SOAP 1.1 call, document/literal: the operation is the local name of the Body's first element
// and its parameters the local names and texts of that element's children.
struct SoapCall {
  std::string operation;
  std::map<std::string, std::string, std::less<>> parameters;

  const std::string& Parameter(std::string_view name) const;
};

// False when the body is not a SOAP envelope with an operation; `problem` then says why.
bool ParseSoapCall(std::string_view body, SoapCall& call, std::string& problem);

// "<operation>Response" holding "<operation>Result" with the text, in the Intuit namespace.
std::string SoapResult(std::string_view operation, std::string_view result);
// The same with an array of strings (authenticate).
std::string SoapResult(std::string_view operation, const std::vector<std::string>& strings);
// The same with an integer (receiveResponseXML).
std::string SoapResult(std::string_view operation, int result);
// A SOAP 1.1 fault; faultCode "soap:Client" or "soap:Server".
std::string SoapFault(std::string_view faultCode, std::string_view faultString);

}  // namespace brennock::serve
