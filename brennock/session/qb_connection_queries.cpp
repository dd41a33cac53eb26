// The queries a connection sends while it opens a session: the host, the company and its
// preferences.
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/session/company_loader.h"
#include "brennock/internal/session/host_info.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/session/qb_connection.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/xml/xml_document.h"

namespace brennock {
namespace {

constexpr int16_t kOldestSupportedMajorVersion = 10;

// The first record of the first response: QBXML, message set, response, record.
XmlNode FirstRecord(const XmlDocument& response) {
  XmlNode node = response.documentElement();
  for (int step = 0; step < 3 && node; ++step) node = node.childNodes().item(0);
  return node;
}

}  // namespace

void QBConnection::LoadHost() {
  xmlBldr builder;
  std::shared_ptr<XmlDocument> response = builder.QueryFullTableExecute("HostQueryRq", 0);
  HostInfo host = ReadHostInfo(*response);
  if (LeadingNumber(host.MajorVersion) < Currency(kOldestSupportedMajorVersion)) {
    RaiseLibraryError(errUnsupportedProduct);
  }
  KeepHost(host);
}

void QBConnection::KeepHost(const HostInfo& host) {
  productName_ = host.ProductName;
  majorVersion_ = host.MajorVersion;
  minorVersion_ = host.MinorVersion;
  qbxmlVersion_ = host.SupportedQBXMLVersion;
  isAutomaticLogin_ = host.IsAutomaticLogin;
  qbFileMode_ = host.QBFileMode;
  SessionState& session = Session();
  session.country = host.Country;
  ApplySessionQbxmlVersion(session, host.SupportedQBXMLVersion);
}

void QBConnection::LoadCompany() {
  SessionState& session = Session();
  CompanyLoader* loader = RegisteredCompanyLoader();
  xmlBldr builder;
  builder.NewClear();
  builder.OpenAggregateOnly("CompanyQueryRq");
  if (!session.dataExtOwnerID.empty()) builder.CreateElement("OwnerID", session.dataExtOwnerID);
  builder.EndAggregate("CompanyQueryRq");
  std::shared_ptr<XmlDocument> response = builder.NewSendRequest();
  session.company.reset();
  if (builder.ErrNumber() == 0 && loader != nullptr) {
    if (XmlNode companyRet = FirstRecord(*response)) {
      session.company = loader->CreateCompany(companyRet);
    }
  }
  if (session.qbxmlVersionNumber <= Currency(1)) return;
  response = builder.QueryFullTableExecute("PreferencesQueryRq", 0);
  if (builder.ErrNumber() != 0 || !session.company || loader == nullptr) return;
  if (XmlNode preferencesRet = FirstRecord(*response)) {
    loader->LoadPreferences(*session.company, preferencesRet);
  }
}

}  // namespace brennock
