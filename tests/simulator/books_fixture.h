#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "simulator/lists/field_values.h"
#include "tests/simulator/simulator_fixture.h"

namespace brennock::testing {

// The sample company, read as an accountant reads it: balances of accounts, customers and items
// as the simulator answers queries for them, in cents.
class BooksTest : public SimulatorTest {
 protected:
  static int64_t Cents(std::string_view text) {
    auto cents = simulator::ParseCents(text);
    EXPECT_TRUE(cents) << "not an amount: " << text;
    return cents.value_or(0);
  }

  std::string One(const std::string& request, const char* ret, const char* field) {
    pugi::xml_node rs = First(request);
    EXPECT_EQ(Code(rs), 0) << rs.attribute("statusMessage").value();
    return rs.child(ret).child_value(field);
  }

  int64_t AccountBalance(const std::string& name) {
    return Cents(One("<AccountQueryRq><FullName>" + name + "</FullName></AccountQueryRq>",
                     "AccountRet", "Balance"));
  }
  int64_t CustomerBalance(const std::string& name) {
    return Cents(One("<CustomerQueryRq><FullName>" + name + "</FullName></CustomerQueryRq>",
                     "CustomerRet", "Balance"));
  }
  std::string ItemField(const std::string& name, const char* field) {
    return One("<ItemInventoryQueryRq><FullName>" + name + "</FullName></ItemInventoryQueryRq>",
               "ItemInventoryRet", field);
  }

  // Sends one request and expects it to succeed; the response element.
  pugi::xml_node Ok(const std::string& request) {
    pugi::xml_node rs = First(request);
    EXPECT_EQ(Code(rs), 0) << rs.attribute("statusMessage").value();
    return rs;
  }

  // Element paths below node ("CustomerRef/ListID"), each once, in document order: the shape of
  // an answer, for comparing it with a real QuickBooks answer.
  static void Paths(pugi::xml_node node, const std::string& prefix, std::vector<std::string>& out) {
    for (auto child : node.children()) {
      if (child.type() != pugi::node_element) continue;
      std::string path = prefix + child.name();
      if (std::find(out.begin(), out.end(), path) == out.end()) out.push_back(path);
      Paths(child, path + "/", out);
    }
  }

  // Balances moved between two readings of the books.
  static std::map<std::string, int64_t> Moved(std::map<std::string, int64_t> after,
                                              const std::map<std::string, int64_t>& before) {
    for (auto& [k, v] : after) v -= before.at(k);
    return after;
  }

  static std::string Ref(const std::string& element, const std::string& name) {
    return "<" + element + "><FullName>" + name + "</FullName></" + element + ">";
  }
  static std::string Line(const std::string& item, const std::string& quantity,
                          const std::string& extra = {}) {
    return "<InvoiceLineAdd>" + Ref("ItemRef", item) +
           (quantity.empty() ? "" : "<Quantity>" + quantity + "</Quantity>") + extra +
           "</InvoiceLineAdd>";
  }
};

}  // namespace brennock::testing
