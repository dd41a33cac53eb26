#include <algorithm>
#include <vector>

#include "simulator/company_file.h"
#include "tests/simulator/simulator_fixture.h"

namespace brennock::testing {
namespace {

using CompanyQueryTest = SimulatorTest;

// Element names of a subtree in document order, with their depth, for shape comparisons.
std::vector<std::string> Shape(pugi::xml_node node, int depth = 0) {
  std::vector<std::string> names;
  for (auto child : node.children()) {
    if (child.type() != pugi::node_element) continue;
    names.push_back(std::string(depth, ' ') + child.name());
    auto inner = Shape(child, depth + 1);
    names.insert(names.end(), inner.begin(), inner.end());
  }
  return names;
}

TEST_F(CompanyQueryTest, HostQueryListsProductVersionsAndFileMode) {
  auto rs = First("<HostQueryRq requestID=\"7\"/>");
  EXPECT_STREQ(rs.name(), "HostQueryRs");
  EXPECT_STREQ(rs.attribute("requestID").value(), "7");
  EXPECT_EQ(Code(rs), 0);
  EXPECT_STREQ(rs.attribute("statusMessage").value(), "Status OK");
  auto host = rs.child("HostRet");
  EXPECT_STREQ(host.child_value("Country"), "US");
  EXPECT_STREQ(host.child_value("QBFileMode"), "SingleUser");
  std::vector<std::string> versions;
  for (auto v : host.children("SupportedQBXMLVersion")) versions.push_back(v.text().get());
  ASSERT_EQ(versions.size(), 19u);
  EXPECT_EQ(versions.front(), "1.0");
  EXPECT_EQ(versions.back(), "16.0");
  EXPECT_EQ(processor_->QBXMLVersionsForSession(ticket_), versions);
}

class ClosedBooksCompanyTest : public SimulatorTest {
  simulator::CompanyFileOptions Options() override {
    auto options = SimulatorTest::Options();
    options.preferences["AccountingPreferences.ClosingDate"] = "2016-11-30";
    options.activity["LastRestoreTime"] = "2020-05-01T09:00:00-07:00";
    return options;
  }
};

TEST_F(ClosedBooksCompanyTest, ResponsesHaveTheShapeOfQuickBooks2012) {
  BRENNOCK_REQUIRE_QBXML_DIR();
  pugi::xml_document expected;
  std::string text =
      ReadQbxmlFile("samples/extracted/strHCPResponse_Host_Company_Preferences_QB2012.xml");
  ASSERT_TRUE(expected.load_string(text.c_str()));
  auto ours =
      Responses(Send("<HostQueryRq requestID=\"0\"/><CompanyQueryRq requestID=\"1\"/>"
                     "<PreferencesQueryRq requestID=\"2\"/>"));
  auto theirs = expected.child("QBXML").child("QBXMLMsgsRs");
  // The sample file's subscribed services, data extensions and multi-location preferences are
  // things a fresh company does not have; every other element appears in the same order.
  auto filter = [](std::vector<std::string> names) {
    std::vector<std::string> kept;
    bool skipping = false;
    for (const auto& n : names) {
      bool nested = n.size() > 2 && n[0] == ' ' && n[1] == ' ';
      if (skipping && nested && n[2] == ' ') continue;
      skipping = false;
      if (n == "  SubscribedServices" || n == "  DataExtRet" || n == "  ListMetaData") {
        skipping = true;
        continue;
      }
      kept.push_back(n);
    }
    return kept;
  };
  auto our_shape = filter(Shape(ours));
  auto their_shape = filter(Shape(theirs));
  // Every element the 2012 response has is present in ours, in the same relative order.
  size_t at = 0;
  for (const auto& name : their_shape) {
    while (at < our_shape.size() && our_shape[at] != name) ++at;
    ASSERT_LT(at, our_shape.size()) << "missing or out of order: " << name;
  }
}

TEST_F(CompanyQueryTest, CompanyQueryAnswersDataExtensionsOfTheOwner) {
  const std::string owner = "{11111111-2222-3333-4444-555555555555}";
  auto rs = Responses(
      Send("<DataExtDefAddRq requestID=\"1\"><DataExtDefAdd><OwnerID>" + owner +
           "</OwnerID><DataExtName>FileID</DataExtName><DataExtType>STR255TYPE</DataExtType>"
           "<AssignToObject>Company</AssignToObject></DataExtDefAdd></DataExtDefAddRq>"
           "<DataExtAddRq requestID=\"2\"><DataExtAdd><OwnerID>" +
           owner +
           "</OwnerID><DataExtName>FileID</DataExtName><OtherDataExtType>Company</OtherDataExtType>"
           "<DataExtValue>abc</DataExtValue></DataExtAdd></DataExtAddRq>"));
  EXPECT_EQ(Code(rs.first_child()), 0);
  EXPECT_EQ(Code(rs.last_child()), 0);
  auto company = First("<CompanyQueryRq><OwnerID>" + owner + "</OwnerID></CompanyQueryRq>");
  auto ext = company.child("CompanyRet").child("DataExtRet");
  EXPECT_STREQ(ext.child_value("OwnerID"), owner.c_str());
  EXPECT_STREQ(ext.child_value("DataExtValue"), "abc");
  auto without = First("<CompanyQueryRq/>");
  EXPECT_FALSE(without.child("CompanyRet").child("DataExtRet"));
}

TEST_F(CompanyQueryTest, PreferencesReferToSampleRecords) {
  auto prefs = First("<PreferencesQueryRq/>").child("PreferencesRet");
  auto ref = prefs.child("SalesTaxPreferences").child("DefaultItemSalesTaxRef");
  EXPECT_STREQ(ref.child_value("FullName"), "State Tax");
  EXPECT_NE(std::string(ref.child_value("ListID")), "");
  EXPECT_STREQ(prefs.child("TimeTrackingPreferences").child_value("FirstDayOfWeek"), "Monday");
}

TEST_F(ClosedBooksCompanyTest, CompanyActivityQueryAnswers) {
  auto rs = First("<CompanyActivityQueryRq/>");
  EXPECT_EQ(Code(rs), 0);
  auto ret = rs.child("CompanyActivityRet");
  EXPECT_STREQ(ret.child_value("LastRestoreTime"), "2020-05-01T09:00:00-07:00");
  EXPECT_FALSE(ret.child("LastCondenseTime"));
}

class CanadianCompanyTest : public SimulatorTest {
  simulator::CompanyFileOptions Options() override {
    simulator::CompanyFileOptions options;
    options.edition = simulator::Edition::kCA;
    return options;
  }
};

TEST_F(CanadianCompanyTest, VersionsCarryTheCountryPrefix) {
  auto versions = processor_->QBXMLVersionsForSession(ticket_);
  EXPECT_EQ(versions.back(), "CA16.0");
  EXPECT_EQ(versions.front(), "1.0");
  auto host = First("<HostQueryRq/>").child("HostRet");
  EXPECT_STREQ(host.child_value("Country"), "CA");
}

}  // namespace
}  // namespace brennock::testing

namespace brennock::testing {
namespace {

TEST_F(CompanyQueryTest, CreatingASampleBusinessReportsRisingProgressUpToOne) {
  simulator::CompanyFileOptions options;
  options.sample = simulator::SampleBusiness{};
  options.sample->customers = 500;
  std::vector<double> heard;
  options.progress = [&](double share) { heard.push_back(share); };
  simulator::CreateCompanyFile((folder_ / "progress.qbw").string(), options);
  ASSERT_GE(heard.size(), 50u);
  EXPECT_TRUE(std::is_sorted(heard.begin(), heard.end()));
  EXPECT_GT(heard.front(), 0.0);
  EXPECT_LT(heard[heard.size() - 2], 1.0);  // the commit is still ahead of the customers
  EXPECT_EQ(heard.back(), 1.0);
}

}  // namespace
}  // namespace brennock::testing
