// Data-extension values: 2 000 customer records, each with two custom fields and one application
// field, read through a record's field table (ListID and the DataExtRet reader); and the commit
// request of one record's changed values written.

#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/model/field_table.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/model/data_extension.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/xml/xml_document.h"

namespace {

constexpr int kRecords = 2000;

// A record that carries extensions and reads nothing else but its ListID.
class Carrier : public brennock::qcBase, public brennock::DataExtensionCarrier<Carrier> {
 public:
  int32_t XMLInsert(brennock::xmlBldr&) override { return 0; }
  int32_t XMLQueryRs(brennock::xmlBldr&) override { return 0; }
  int32_t XMLModify(brennock::xmlBldr&) override { return 0; }
  brennock::qoEnumListObjectType ObjectType() const override {
    return brennock::qoObjectTypeCustomer;
  }
  brennock::Variant FromDom(const brennock::XmlNode& obj) override {
    static constexpr auto kFields = brennock::SortedFields(
        std::array<brennock::FieldEntry, 1>{{{"ListID", &ReadListID}}}, DataExtFields());
    brennock::ReadFields(*this, obj, brennock::FieldTable(kFields));
    return brennock::Variant();
  }

 private:
  static void ReadListID(brennock::qcBase& record, const brennock::FieldElement& element) {
    static_cast<Carrier&>(record).listID_ = element.text();
  }
  std::string listID_;
};

std::string CustomerResponse() {
  std::string xml = "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><CustomerQueryRs>";
  for (int i = 0; i < kRecords; ++i) {
    std::string id = std::to_string(80000000 + i) + "-1";
    xml += "<CustomerRet><ListID>" + id + "</ListID><Name>Customer " + std::to_string(i) +
           "</Name><DataExtRet><OwnerID>0</OwnerID><DataExtName>Colour</DataExtName>"
           "<DataExtType>STR255TYPE</DataExtType><DataExtValue>Teal</DataExtValue></DataExtRet>"
           "<DataExtRet><OwnerID>0</OwnerID><DataExtName>Since</DataExtName><DataExtType>"
           "DATETIMETYPE</DataExtType><DataExtValue>2023-06-30</DataExtValue></DataExtRet>"
           "<DataExtRet><OwnerID>{APP}</OwnerID><DataExtName>Rating</DataExtName><DataExtType>"
           "AMTTYPE</DataExtType><DataExtValue>12.50</DataExtValue></DataExtRet></CustomerRet>";
  }
  return xml + "</CustomerQueryRs></QBXMLMsgsRs></QBXML>";
}

void BM_ReadRecordsWithValues(benchmark::State& state) {
  brennock::Session().dataExtOwnerID = "{APP}";
  brennock::XmlDocument document;
  document.loadXML(CustomerResponse());
  brennock::XmlNode response = document.documentElement().childNodes().item(0).childNodes().item(0);
  for (auto _ : state) {
    std::vector<std::unique_ptr<Carrier>> records;
    records.reserve(kRecords);
    for (const brennock::XmlNode& ret : response.childNodes()) {
      records.push_back(std::make_unique<Carrier>());
      records.back()->FromDom(ret);
    }
    benchmark::DoNotOptimize(records.data());
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_ReadRecordsWithValues)->Unit(benchmark::kMillisecond);

void BM_WriteCommitRequests(benchmark::State& state) {
  brennock::Session().qbxmlVersion = "16.0";
  brennock::Session().qbxmlVersionNumber = brennock::Currency(16);
  brennock::DataExtensions values;
  values.SetOwnerId("0");
  values.SetOwnerType(brennock::qoObjectTypeCustomer);
  for (int i = 0; i < 20; ++i)
    values.Add("Field " + std::to_string(i))->SetValue(brennock::Variant("value"));
  for (auto _ : state) {
    brennock::xmlBldr builder;
    builder.NewClear();
    int32_t id = 0;
    for (const auto& value : values) value->WriteRequest(builder, ++id);
    benchmark::DoNotOptimize(builder.GetXML());
  }
  state.SetItemsProcessed(state.iterations() * 20);
}
BENCHMARK(BM_WriteCommitRequests);

}  // namespace

BENCHMARK_MAIN();
