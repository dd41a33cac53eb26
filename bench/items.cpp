// Loading a 100 000-item query response of every kind (services and parts with their price
// blocks and accounts, inventory with quantities, groups and assemblies with lines, sub-items
// under every fourth service, custom fields) into an Items collection, against parsing the same
// text with pugixml alone, in one run.

#include "brennock/items/items.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <pugixml.hpp>
#include <string>

#include "bench/canned_processor.h"
#include "bench/kept_heap.h"
#include "bench/scan_only.h"
#include "brennock/internal/session/session_state.h"

namespace {

constexpr int kItems = 100000;

std::string Ref(const char* element, const char* id, const std::string& name) {
  return std::string("<") + element + "><ListID>" + id + "</ListID><FullName>" + name +
         "</FullName></" + element + ">\n";
}

// The body of one item of kind i % 12 after its head.
std::string Body(int kind, const std::string& n) {
  const std::string sop = "<SalesOrPurchase>\n<Desc>Work order " + n +
                          "</Desc>\n<Price>95.00</Price>\n" +
                          Ref("AccountRef", "80000010-1", "Services") + "</SalesOrPurchase>\n";
  const std::string sap = "<SalesAndPurchase>\n<SalesDesc>Sold " + n +
                          "</SalesDesc>\n<SalesPrice>19.99</SalesPrice>\n" +
                          Ref("IncomeAccountRef", "80000011-1", "Sales") + "<PurchaseDesc>Bought " +
                          n + "</PurchaseDesc>\n<PurchaseCost>11.25</PurchaseCost>\n" +
                          Ref("ExpenseAccountRef", "80000012-1", "Cost of Goods Sold") +
                          Ref("PrefVendorRef", "80000013-1", "Acme Supply") +
                          "</SalesAndPurchase>\n";
  const std::string tax = Ref("SalesTaxCodeRef", "80000003-1", "Tax");
  const std::string stock = tax + "<SalesDesc>Part " + n +
                            "</SalesDesc>\n<SalesPrice>12.00</SalesPrice>\n" +
                            Ref("IncomeAccountRef", "80000011-1", "Sales") + "<PurchaseDesc>Part " +
                            n + "</PurchaseDesc>\n<PurchaseCost>7.00</PurchaseCost>\n" +
                            Ref("COGSAccountRef", "80000012-1", "Cost of Goods Sold") +
                            Ref("PrefVendorRef", "80000013-1", "Acme Supply") +
                            Ref("AssetAccountRef", "80000014-1", "Inventory Asset");
  const std::string figures =
      "<QuantityOnHand>120</QuantityOnHand>\n<AverageCost>7.00</AverageCost>\n"
      "<QuantityOnOrder>0</QuantityOnOrder>\n<QuantityOnSalesOrder>4</QuantityOnSalesOrder>\n";
  switch (kind) {
    case 0:
    case 1:
      return tax + sop;
    case 2:
      return tax + sap;
    case 3:
      return tax + sop;
    case 4:
    case 5:
      return stock + "<ReorderPoint>20</ReorderPoint>\n" + figures;
    case 6:
      return "<ItemDesc>Subtotal</ItemDesc>\n";
    case 7:
      return "<ItemDesc>Kit " + n +
             "</ItemDesc>\n<IsPrintItemsInGroup>true</IsPrintItemsInGroup>\n" +
             "<ItemGroupLine>\n" + Ref("ItemRef", "80000020-1", "Widget") +
             "<Quantity>2</Quantity>\n</ItemGroupLine>\n<ItemGroupLine>\n" +
             Ref("ItemRef", "80000021-1", "Installation") +
             "<Quantity>1</Quantity>\n</ItemGroupLine>\n";
    case 8:
      return "<ItemDesc>Discount " + n + "</ItemDesc>\n" + tax +
             "<DiscountRatePercent>10.0</DiscountRatePercent>\n" +
             Ref("AccountRef", "80000015-1", "Discounts Given");
    case 9:
      return "<ItemDesc>Tax " + n + "</ItemDesc>\n<TaxRate>7.25</TaxRate>\n" +
             Ref("TaxVendorRef", "80000016-1", "State Board of Equalization");
    case 10:
      return stock + "<BuildPoint>5</BuildPoint>\n" + figures + "<ItemInventoryAssemblyLine>\n" +
             Ref("ItemInventoryRef", "80000020-1", "Widget") +
             "<Quantity>3</Quantity>\n</ItemInventoryAssemblyLine>\n";
    default:
      return "<AcquiredAs>New</AcquiredAs>\n<PurchaseDesc>Asset " + n +
             "</PurchaseDesc>\n<PurchaseDate>2020-01-15</PurchaseDate>\n"
             "<PurchaseCost>28000.00</PurchaseCost>\n" +
             Ref("AssetAccountRef", "80000017-1", "Vehicles") + "<SerialNumber>SN" + n +
             "</SerialNumber>\n";
  }
}

const std::string& ItemQueryResponse() {
  static const std::string text = [] {
    static constexpr const char* kRet[] = {
        "ItemServiceRet",   "ItemNonInventoryRet", "ItemNonInventoryRet",      "ItemOtherChargeRet",
        "ItemInventoryRet", "ItemInventoryRet",    "ItemSubtotalRet",          "ItemGroupRet",
        "ItemDiscountRet",  "ItemSalesTaxRet",     "ItemInventoryAssemblyRet", "ItemFixedAssetRet"};
    std::string xml =
        "<?xml version=\"1.0\" ?>\n<QBXML>\n<QBXMLMsgsRs>\n<ItemQueryRs requestID=\"1\" "
        "statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"Status OK\">\n";
    for (int i = 0; i < kItems; ++i) {
      const int kind = i % 12;
      const std::string n = std::to_string(10000 + i);
      // Every fourth service is a sub-item of the service twelve before it.
      bool sub = kind == 0 && i % 48 == 12;
      const std::string parent = "Item " + std::to_string(10000 + i - 12);
      const std::string name = "Item " + n;
      xml += std::string("<") + kRet[kind] + ">\n<ListID>8000" + n + "-1646382185</ListID>\n";
      xml += "<TimeCreated>2022-03-04T00:24:19-08:00</TimeCreated>\n";
      xml += "<TimeModified>2022-03-04T00:24:19-08:00</TimeModified>\n";
      xml += "<EditSequence>1646382259</EditSequence>\n<Name>" + name + "</Name>\n";
      xml += "<FullName>" + (sub ? parent + ":" : "") + name + "</FullName>\n";
      xml += "<IsActive>true</IsActive>\n";
      if (sub) xml += "<ParentRef><FullName>" + parent + "</FullName></ParentRef>\n";
      xml += std::string("<Sublevel>") + (sub ? "1" : "0") + "</Sublevel>\n";
      xml += Body(kind, n);
      if (i % 3 == 0)
        xml +=
            "<DataExtRet><OwnerID>0</OwnerID><DataExtName>Bin</DataExtName><DataExtType>"
            "STR255TYPE</DataExtType><DataExtValue>A-" +
            n.substr(2) + "</DataExtValue></DataExtRet>\n";
      xml += std::string("</") + kRet[kind] + ">\n";
    }
    xml += "</ItemQueryRs>\n</QBXMLMsgsRs>\n</QBXML>\n";
    return xml;
  }();
  return text;
}

void BM_ItemsPugixmlParseOnly(benchmark::State& state) {
  const std::string& text = ItemQueryResponse();
  for (auto _ : state) {
    pugi::xml_document document;
    benchmark::DoNotOptimize(document.load_buffer(text.data(), text.size()));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ItemsPugixmlParseOnly)->Unit(benchmark::kMillisecond);

void BM_ItemsGetAll(benchmark::State& state) {
  const std::string& text = ItemQueryResponse();
  auto processor = std::make_shared<brennock::bench::CannedProcessor>(text);
  brennock::Session().processor = processor;
  brennock::Session().ticket = "T";
  auto items = std::make_shared<brennock::Items>();
  for (auto _ : state) {
    processor->PrepareAnswer(state);
    if (items->GetAll() != kItems) state.SkipWithError("not every item was loaded");
  }
  items->Clear();
  brennock::Session() = brennock::SessionState{};
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ItemsGetAll)->Unit(benchmark::kMillisecond);

void BM_ItemsScanOnly(benchmark::State& state) {
  brennock::bench::ScanOnly(state, ItemQueryResponse());
}
BENCHMARK(BM_ItemsScanOnly)->Unit(benchmark::kMillisecond);

}  // namespace
