// Reports by name and by item: sales, income, expenses and purchases summarized per customer,
// vendor, rep or item; inventory valuation, stock status and the physical inventory worksheet.
#include <map>

#include "simulator/ledger/stock_figures.h"
#include "simulator/records/txn_link_index.h"
#include "simulator/reports/report_builders.h"

namespace brennock::simulator {

namespace {

// Figures per name over the report's figure columns, with a TOTAL row.
void NameSummary(Books& books, const ReportQuery& q, ReportTable& table,
                 const std::function<bool(const AccountInfo&)>& accounts, int sign,
                 const std::function<std::string(const BookLine&)>& key) {
  std::vector<FigureColumn> columns = FigureColumns(books, q);
  table.AddColumn({}, "Blank", "STRTYPE");
  for (const FigureColumn& c : columns)
    table.AddColumn(c.title, c.total || columns.size() == 1 ? "Total" : "Amount", "AMTTYPE");
  std::map<std::string, std::vector<int64_t>> rows;
  std::vector<int64_t> total(columns.size());
  for (const BookLine& line : books.Lines()) {
    const AccountInfo* account = books.Account(line.account);
    if (!account || !accounts(*account) || !books.Passes(line)) continue;
    if ((!q.from.empty() && line.txn->date < q.from) || (!q.to.empty() && line.txn->date > q.to))
      continue;
    const std::string name = key(line);
    const std::string column_key = ColumnKeyOf(books, q, line);
    auto& figures = rows[name];
    figures.resize(columns.size());
    for (size_t c = 0; c < columns.size(); ++c)
      if (InColumn(columns[c], column_key, line)) {
        figures[c] += sign * line.amount;
        total[c] += sign * line.amount;
      }
  }
  auto cells = [](ReportRow& row, const std::string& label, const std::vector<int64_t>& f) {
    row.cells.emplace_back(1, label);
    for (size_t i = 0; i < f.size(); ++i)
      row.cells.emplace_back(static_cast<int>(i + 2), Money(f[i]));
  };
  for (const auto& [name, figures] : rows) {
    const std::string label = name.empty() ? "No name" : name;
    cells(table.Row(ReportRow::Kind::kData, "name", label), label, figures);
  }
  cells(table.Row(ReportRow::Kind::kTotal), "TOTAL", total);
}

struct StockItem {
  ListRecord record;
  int64_t quantity = 0, value = 0;
};

// Inventory parts and assemblies with their quantity and value at the report's end date.
std::vector<StockItem> Stock(Books& books, const ReportQuery& q) {
  std::map<std::string, std::pair<int64_t, int64_t>> moved;
  const std::string end = q.to.empty() ? q.today : q.to;
  for (const BookLine& line : books.Lines())
    if (!line.item.empty() && line.txn->date <= end) {
      moved[line.item].first += line.quantity;
      moved[line.item].second += line.amount;
    }
  ListFilter filter;
  filter.types = {"ItemInventory", "ItemInventoryAssembly"};
  filter.active = ListFilter::Active::kAll;
  std::vector<StockItem> out;
  for (int64_t row : books.lists().Select(filter)) {
    auto record = books.lists().LoadByRow(row);
    if (!record || (q.items.given && q.items.type.empty() && !q.items.ids.count(record->list_id)))
      continue;
    auto [quantity, value] = moved[record->list_id];
    out.push_back({std::move(*record), quantity, value});
  }
  std::sort(out.begin(), out.end(), [](const StockItem& a, const StockItem& b) {
    return a.record.full_name < b.record.full_name;
  });
  return out;
}

// Items in their hierarchy under one heading: a parent with sub-items gets a text row, its own
// figures as "<name> - Other" and a subtotal, as QuickBooks lays out item reports.
void ItemRows(
    ReportTable& table, const std::vector<StockItem>& items,
    const std::function<void(ReportRow&, const StockItem&)>& fill,
    const std::function<void(ReportRow&, const std::vector<const StockItem*>&)>& subtotal) {
  std::function<void(const StockItem&)> emit = [&](const StockItem& item) {
    std::vector<const StockItem*> children;
    for (const StockItem& other : items)
      if (other.record.parent_id == item.record.list_id) children.push_back(&other);
    if (children.empty()) {
      auto& row = table.Row(ReportRow::Kind::kData, "item", item.record.full_name);
      row.cells.emplace_back(1, item.record.name);
      fill(row, item);
      return;
    }
    table.Text(item.record.name);
    for (const StockItem* child : children) emit(*child);
    auto& own = table.Row(ReportRow::Kind::kData, "item", item.record.full_name);
    own.cells.emplace_back(1, item.record.name + " - Other");
    fill(own, item);
    std::vector<const StockItem*> all = children;
    all.push_back(&item);
    auto& row = table.Row(ReportRow::Kind::kSubtotal, "item", item.record.full_name);
    row.cells.emplace_back(1, "Total " + item.record.name);
    subtotal(row, all);
  };
  for (const StockItem& item : items)
    if (item.record.parent_id.empty()) emit(item);
}

void Put(ReportRow& row, int column, std::string value) {
  if (!value.empty()) row.cells.emplace_back(column, std::move(value));
}

void StockStatus(Books& books, const ReportQuery& q, ReportTable& table) {
  table.AddColumn({}, "Blank", "STRTYPE");
  table.AddColumn("Item Description", "ItemDesc", "STRTYPE");
  table.AddColumn("Pref Vendor", "ItemVendor", "STRTYPE");
  table.AddColumn("Reorder Pt", "ReorderPoint", "QUANTYPE");
  table.AddColumn("On Hand", "QuantityOnHand", "QUANTYPE");
  table.AddColumn("Order", "SuggestedReorder", "BOOLTYPE");
  table.AddColumn("On PO", "QuantityOnOrder", "QUANTYPE");
  table.AddColumn("Next Deliv", "EarliestReceiptDate", "DATETYPE");
  table.AddColumn("Sales/Week", "SalesPerWeek", "QUANTYPE");
  ReportQuery now = q;  // stock status shows what is on hand now, whatever the period
  now.to.clear();
  std::vector<StockItem> items = Stock(books, now);
  if (items.empty()) return;
  // What open purchase orders still have to bring, per item, and the earliest date one of them
  // is expected.
  TxnLinkIndex links(books.lists().company());
  std::map<std::string, int64_t> on_order;
  std::map<std::string, std::string> next_delivery;
  for (const StockItem& item : items) {
    const std::string& id = item.record.list_id;
    on_order[id] = links.Outstanding(id, "PurchaseOrder");
    for (const std::string& order : links.OrdersAwaiting(id, "PurchaseOrder")) {
      std::optional<TxnRecord> txn = books.txns().LoadById(order);
      if (!txn) continue;
      std::string expected(txn->Field("ExpectedDate"));
      if (expected.empty()) expected = txn->txn_date;
      std::string& next = next_delivery[id];
      if (next.empty() || expected < next) next = expected;
    }
  }
  table.Text("Inventory");
  ItemRows(
      table, items,
      [&on_order, &next_delivery](ReportRow& row, const StockItem& item) {
        Put(row, 2, std::string(item.record.Field("SalesDesc")));
        Put(row, 3, std::string(RefName(item.record.Field("PrefVendorRef"))));
        const std::string reorder(item.record.Field("ReorderPoint"));
        Put(row, 4, reorder);
        Put(row, 5, Units(item.quantity));
        const auto point = ParseQuantity(reorder);
        Put(row, 6, point && item.quantity <= *point ? "true" : "false");
        Put(row, 7, Units(on_order[item.record.list_id]));
        Put(row, 8, next_delivery[item.record.list_id]);
        Put(row, 9, "0");
      },
      [&on_order](ReportRow& row, const std::vector<const StockItem*>& all) {
        int64_t quantity = 0, ordered = 0;
        for (const StockItem* item : all) {
          quantity += item->quantity;
          ordered += on_order[item->record.list_id];
        }
        Put(row, 5, Units(quantity));
        Put(row, 7, Units(ordered));
        Put(row, 9, "0");
      });
}

void Valuation(Books& books, const ReportQuery& q, ReportTable& table) {
  table.AddColumn({}, "Blank", "STRTYPE");
  table.AddColumn("Item Description", "ItemDesc", "STRTYPE");
  table.AddColumn("On Hand", "QuantityOnHand", "QUANTYPE");
  table.AddColumn("Avg Cost", "AverageCost", "AMTTYPE");
  table.AddColumn("Asset Value", "ValueOnHand", "AMTTYPE");
  table.AddColumn("Sales Price", "UnitPrice", "AMTTYPE");
  table.AddColumn("Retail Value", "RetailValueOnHand", "AMTTYPE");
  std::vector<StockItem> items = Stock(books, q);
  auto retail = [](const StockItem& item) {
    return Amount(item.quantity, item.record.Field("SalesPrice")).value_or(0);
  };
  int64_t value = 0, retail_total = 0, quantity = 0;
  for (const StockItem& item : items) {
    value += item.value;
    retail_total += retail(item);
    quantity += item.quantity;
  }
  if (!items.empty()) {
    table.Text("Inventory");
    ItemRows(
        table, items,
        [&](ReportRow& row, const StockItem& item) {
          Put(row, 2, std::string(item.record.Field("SalesDesc")));
          Put(row, 3, Units(item.quantity));
          Put(row, 4, FormatAverageCost(item.value, item.quantity));
          Put(row, 5, Money(item.value));
          Put(row, 6, std::string(item.record.Field("SalesPrice")));
          Put(row, 7, Money(retail(item)));
        },
        [&](ReportRow& row, const std::vector<const StockItem*>& all) {
          int64_t q2 = 0, v = 0, r = 0;
          for (const StockItem* item : all)
            q2 += item->quantity, v += item->value, r += retail(*item);
          Put(row, 3, Units(q2));
          Put(row, 5, Money(v));
          Put(row, 7, Money(r));
        });
    auto& subtotal = table.Row(ReportRow::Kind::kSubtotal);
    subtotal.cells = {
        {1, "Total Inventory"}, {3, Units(quantity)}, {5, Money(value)}, {7, Money(retail_total)}};
  }
  auto& total = table.Row(ReportRow::Kind::kTotal);
  total.cells = {{1, "TOTAL"}, {3, Units(quantity)}, {5, Money(value)}, {7, Money(retail_total)}};
}

void PhysicalWorksheet(Books& books, const ReportQuery& q, ReportTable& table) {
  table.AddColumn("Item", "Blank", "STRTYPE");
  table.AddColumn("Description", "ItemDesc", "STRTYPE");
  table.AddColumn("Pref Vendor", "ItemVendor", "STRTYPE");
  table.AddColumn("On Hand", "QuantityOnHand", "QUANTYPE");
  table.AddColumn("Physical Count", "PhysicalCount", "STRTYPE");
  ReportQuery all = q;
  all.to.clear();
  for (const StockItem& item : Stock(books, all)) {
    auto& row = table.Row(ReportRow::Kind::kData, "item", item.record.full_name);
    row.cells.emplace_back(1, item.record.full_name);
    Put(row, 2, std::string(item.record.Field("SalesDesc")));
    Put(row, 3, std::string(RefName(item.record.Field("PrefVendorRef"))));
    Put(row, 4, Units(item.quantity));
  }
}

// Sales or purchases by item from the transactions' lines: quantity and amount per item.
void ItemSummary(Books& books, const ReportQuery& q, ReportTable& table, bool sales, bool detail) {
  table.AddColumn({}, "Blank", "STRTYPE");
  if (detail) {
    table.AddColumn("Type", "TxnType", "STRTYPE");
    table.AddColumn("Date", "Date", "DATETYPE");
    table.AddColumn("Num", "RefNumber", "STRTYPE");
    table.AddColumn("Name", "Name", "STRTYPE");
  }
  const int qty_col = table.AddColumn("Qty", "Quantity", "QUANTYPE");
  const int amount_col = table.AddColumn("Amount", "Amount", "AMTTYPE");
  struct Sum {
    int64_t quantity = 0, amount = 0;
    std::vector<std::pair<const TxnFacts*, std::pair<int64_t, int64_t>>> lines;
  };
  std::map<std::string, Sum> by_item;
  for (const TxnFacts* txn : books.Transactions()) {
    if (!txn->record || txn->voided || !books.PassesTxn(*txn)) continue;
    if ((!q.from.empty() && txn->date < q.from) || (!q.to.empty() && txn->date > q.to)) continue;
    const std::string entity_type = books.ListTypeOf(txn->entity);
    if (entity_type != (sales ? "Customer" : "Vendor")) continue;
    const std::string& stem = txn->type;
    if (stem == "Estimate" || stem == "SalesOrder" || stem == "PurchaseOrder") continue;
    const int sign = stem == "CreditMemo" || stem == "VendorCredit" ? -1 : 1;
    for (const TxnLine& line : txn->record->lines) {
      const auto& shape = line.Shape(*txn->record->kind);
      const std::string item(RefId(LineField(line, shape, "ItemRef")));
      if (item.empty() || (q.items.given && q.items.type.empty() && !q.items.ids.count(item)))
        continue;
      const auto amount = ParseQuantity(LineField(line, shape, "Amount"));  // 5 decimals
      const auto quantity = ParseQuantity(LineField(line, shape, "Quantity"));
      const int64_t cents = amount ? *amount / 1000 * sign : 0;
      const int64_t units = quantity ? *quantity * sign : 0;
      Sum& sum = by_item[books.NameOf(item)];
      sum.quantity += units;
      sum.amount += cents;
      sum.lines.push_back({txn, {units, cents}});
    }
  }
  int64_t quantity = 0, amount = 0;
  for (const auto& [name, sum] : by_item) {
    if (detail) {
      table.Text(name);
      for (const auto& [txn, figures] : sum.lines) {
        auto& row = table.Row(ReportRow::Kind::kData, "item", name);
        row.cells = {{2, Books::TypeText(txn->type)},
                     {3, txn->date},
                     {4, txn->ref},
                     {5, books.NameOf(txn->entity)},
                     {qty_col, Units(figures.first)},
                     {amount_col, Money(figures.second)}};
      }
      auto& subtotal = table.Row(ReportRow::Kind::kSubtotal, "item", name);
      subtotal.cells = {
          {1, "Total " + name}, {qty_col, Units(sum.quantity)}, {amount_col, Money(sum.amount)}};
    } else {
      auto& row = table.Row(ReportRow::Kind::kData, "item", name);
      row.cells = {{1, name}, {qty_col, Units(sum.quantity)}, {amount_col, Money(sum.amount)}};
    }
    quantity += sum.quantity;
    amount += sum.amount;
  }
  auto& total = table.Row(ReportRow::Kind::kTotal);
  total.cells = {{1, "TOTAL"}, {qty_col, Units(quantity)}, {amount_col, Money(amount)}};
}

bool IsIncome(const AccountInfo& a) { return a.type == "Income"; }
bool IsCost(const AccountInfo& a) {
  return a.type == "Expense" || a.type == "CostOfGoodsSold" || a.type == "OtherExpense";
}

}  // namespace

bool BuildItemReport(Books& books, const ReportQuery& q, ReportTable& table) {
  const std::string& r = q.report;
  auto customer = [&](const BookLine& line) {
    const std::string& entity = line.txn->entity.empty() ? line.entity : line.txn->entity;
    return books.ListTypeOf(entity) == "Customer" ? books.NameOf(entity) : std::string();
  };
  auto payee = [&](const BookLine& line) {
    return books.NameOf(line.txn->entity.empty() ? line.entity : line.txn->entity);
  };
  if (r == "InventoryStockStatusByItem" || r == "InventoryStockStatusByVendor") {
    StockStatus(books, q, table);
  } else if (r == "InventoryValuationSummary") {
    Valuation(books, q, table);
  } else if (r == "PhysicalInventoryWorksheet") {
    PhysicalWorksheet(books, q, table);
  } else if (r == "SalesByItemSummary" || r == "SalesByItemDetail") {
    ItemSummary(books, q, table, true, r == "SalesByItemDetail");
  } else if (r == "PurchaseByItemSummary" || r == "PurchaseByItemDetail") {
    ItemSummary(books, q, table, false, r == "PurchaseByItemDetail");
  } else if (r == "SalesByCustomerSummary") {
    NameSummary(books, q, table, IsIncome, -1, customer);
  } else if (r == "IncomeByCustomerSummary" || r == "JobProfitabilitySummary") {
    NameSummary(
        books, q, table, [](const AccountInfo& a) { return Books::ProfitAndLoss(a.type); }, -1,
        customer);
  } else if (r == "SalesByRepSummary") {
    NameSummary(books, q, table, IsIncome, -1, [](const BookLine& line) {
      return line.txn->record ? std::string(RefName(line.txn->record->Field("SalesRepRef")))
                              : std::string();
    });
  } else if (r == "ExpenseByVendorSummary" || r == "PurchaseByVendorSummary") {
    NameSummary(books, q, table, IsCost, 1, payee);
  } else {
    return false;
  }
  const bool as_of = r.starts_with("Inventory") || r == "PhysicalInventoryWorksheet";
  if (r != "PhysicalInventoryWorksheet")
    table.subtitle = as_of && r.starts_with("InventoryValuation")
                         ? AsOfText(q.to.empty() ? q.today : q.to)
                         : PeriodText(q.from, q.to);
  return true;
}

}  // namespace brennock::simulator
