#include "simulator/reports/books.h"

#include <algorithm>
#include <array>

namespace brennock::simulator {

namespace {

constexpr std::array<std::string_view, 16> kAccountTypeOrder = {"Bank",
                                                                "AccountsReceivable",
                                                                "OtherCurrentAsset",
                                                                "FixedAsset",
                                                                "OtherAsset",
                                                                "AccountsPayable",
                                                                "CreditCard",
                                                                "OtherCurrentLiability",
                                                                "LongTermLiability",
                                                                "Equity",
                                                                "Income",
                                                                "CostOfGoodsSold",
                                                                "Expense",
                                                                "OtherIncome",
                                                                "OtherExpense",
                                                                "NonPosting"};

size_t TypeRank(std::string_view type) {
  return static_cast<size_t>(std::find(kAccountTypeOrder.begin(), kAccountTypeOrder.end(), type) -
                             kAccountTypeOrder.begin());
}

}  // namespace

bool Books::ProfitAndLoss(std::string_view type) {
  return type == "Income" || type == "CostOfGoodsSold" || type == "Expense" ||
         type == "OtherIncome" || type == "OtherExpense";
}

std::string Books::TypeText(std::string_view stem) {
  struct Name {
    std::string_view stem, text;
  };
  // The words QuickBooks' reports use where they differ from the qbXML name.
  static constexpr Name kNames[] = {
      {"", "Opening Balance"},
      {"JournalEntry", "General Journal"},
      {"ReceivePayment", "Payment"},
      {"BillPaymentCheck", "Bill Pmt -Check"},
      {"BillPaymentCreditCard", "Bill Pmt -CCard"},
      {"CreditCardCharge", "Credit Card Charge"},
      {"CreditCardCredit", "Credit Card Credit"},
      {"CreditMemo", "Credit Memo"},
      {"SalesReceipt", "Sales Receipt"},
      {"InventoryAdjustment", "Inventory Adjust"},
      {"BuildAssembly", "Build Assembly"},
      {"ItemReceipt", "Item Receipt"},
      {"VendorCredit", "Credit"},
      {"SalesTaxPaymentCheck", "Sales Tax Payment"},
      {"PurchaseOrder", "Purchase Order"},
      {"SalesOrder", "Sales Order"},
      {"TimeTracking", "Time"},
      {"ARRefundCreditCard", "Refund"},
  };
  for (const Name& name : kNames)
    if (name.stem == stem) return std::string(name.text);
  return std::string(stem);
}

Books::Books(ListStore& lists, const ReportQuery& query)
    : lists_(lists), txns_(lists), query_(query) {
  ListFilter filter;
  filter.types = {"Account"};
  filter.active = ListFilter::Active::kAll;
  for (int64_t row : lists_.Select(filter)) {
    auto record = lists_.LoadByRow(row);
    if (!record) continue;
    accounts_.push_back({record->list_id, record->name, record->full_name, record->account_type,
                         record->parent_id, std::string(record->Field("AccountNumber")),
                         static_cast<int>(record->sublevel), record->active});
  }
  // QuickBooks lists accounts by type, then by name with subaccounts below their parents.
  std::stable_sort(accounts_.begin(), accounts_.end(),
                   [](const AccountInfo& a, const AccountInfo& b) {
                     size_t ra = TypeRank(a.type), rb = TypeRank(b.type);
                     if (ra != rb) return ra < rb;
                     return a.full_name < b.full_name;
                   });
  for (size_t i = 0; i < accounts_.size(); ++i) account_index_[accounts_[i].id] = i;

  lists_.ledger().ForEachPosting([&](std::string_view source, const Posting& p) {
    BookLine line;
    line.txn = Facts(source);
    line.account = p.account_id;
    line.entity = p.entity_id;
    line.item = p.item_id;
    line.open = p.open_id;
    line.amount = p.amount;
    line.quantity = p.quantity;
    lines_.push_back(std::move(line));
  });
  // In date order; postings of one transaction stay together and in the order they were made.
  std::stable_sort(lines_.begin(), lines_.end(), [](const BookLine& a, const BookLine& b) {
    if (a.txn->date != b.txn->date) return a.txn->date < b.txn->date;
    return a.txn->number < b.txn->number;
  });
  if (query_.basis == "Cash") ApplyCashBasis(query_.to.empty() ? query_.today : query_.to);
}

const TxnFacts* Books::Facts(std::string_view source_id) {
  auto it = facts_.find(std::string(source_id));
  if (it != facts_.end()) return it->second.get();
  auto facts = std::make_unique<TxnFacts>();
  facts->id = source_id;
  if (auto record = txns_.LoadById(source_id)) {
    facts->type = record->kind->stem;
    facts->date = record->txn_date;
    facts->ref = record->ref_number;
    facts->entity = record->entity_id;
    facts->number = record->txn_number;
    facts->voided = record->voided;
    facts->memo = record->Field("Memo");
    facts->class_id = RefId(record->Field("ClassRef"));
    facts->due_date = record->Field("DueDate");
    facts->terms = RefName(record->Field("TermsRef"));
    if (facts->class_id.empty()) {
      for (const TxnLine& line : record->lines) {
        facts->class_id = RefId(LineField(line, line.Shape(*record->kind), "ClassRef"));
        if (!facts->class_id.empty()) break;
      }
    }
    facts->record = std::make_shared<const TxnRecord>(std::move(*record));
  } else if (auto opening = lists_.LoadById(source_id)) {
    // A record's opening balance, dated the day the record was made.
    facts->date = opening->time_created.substr(0, 10);
    facts->entity =
        opening->type->name == std::string_view("Account") ? std::string() : opening->list_id;
    facts->memo = "Opening balance";
  }
  const TxnFacts* out = facts.get();
  facts_.emplace(std::string(source_id), std::move(facts));
  return out;
}

const std::vector<const TxnFacts*>& Books::Transactions() {
  if (all_loaded_) return all_txns_;
  all_loaded_ = true;
  auto& st = lists_.company().db().Prepare("SELECT txn_id FROM txn_records ORDER BY txn_date,id");
  std::vector<std::string> ids;
  while (st.Step()) ids.emplace_back(st.Text(0));
  st.Reset();
  for (const std::string& id : ids) all_txns_.push_back(Facts(id));
  return all_txns_;
}

void Books::ApplyCashBasis(const std::string& to) {
  // What each receivable or payable source opened, and what of it is still open at `to`.
  std::unordered_map<std::string, std::pair<int64_t, int64_t>> opened;  // id -> original, open
  for (const BookLine& line : lines_) {
    if (line.open.empty()) continue;
    auto& figures = opened[line.open];
    if (line.txn->id == line.open) figures.first += line.amount;
    if (line.txn->date <= to) figures.second += line.amount;
  }
  std::unordered_map<std::string, std::vector<BookLine*>> by_txn;
  for (BookLine& line : lines_)
    if (opened.count(line.txn->id)) by_txn[line.txn->id].push_back(&line);
  for (auto& [id, lines] : by_txn) {
    auto [original, open] = opened[id];
    if (original == 0) continue;
    const int64_t paid = original - open;
    BookLine* own = nullptr;
    int64_t rest = 0;
    for (BookLine* line : lines) {
      const AccountInfo* account = Account(line->account);
      if (line->open == id && !own) {
        own = line;
        continue;
      }
      if (account && ProfitAndLoss(account->type))
        line->amount = RoundedDivide(static_cast<__int128>(line->amount) * paid, original);
      rest += line->amount;
    }
    if (own) own->amount = -rest;
  }
}

const AccountInfo* Books::Account(const std::string& id) const {
  auto it = account_index_.find(id);
  return it == account_index_.end() ? nullptr : &accounts_[it->second];
}

const std::string& Books::NameOf(const std::string& list_id) {
  auto it = names_.find(list_id);
  if (it != names_.end()) return it->second;
  std::string name, type;
  if (!list_id.empty()) {
    auto& st = lists_.company().db().Prepare(
        "SELECT full_name,list_type FROM list_records WHERE list_id=?");
    st.Bind(1, list_id);
    if (st.Step()) {
      name = st.Text(0);
      type = st.Text(1);
    }
    st.Reset();
  }
  types_[list_id] = type;
  return names_.emplace(list_id, std::move(name)).first->second;
}

std::string Books::ListTypeOf(const std::string& list_id) {
  NameOf(list_id);
  return types_[list_id];
}

std::optional<ListRecord> Books::Record(const std::string& list_id) {
  return lists_.LoadById(list_id);
}

bool Books::PassesTxn(const TxnFacts& txn) {
  if (!query_.txn_types.empty() && !query_.txn_types.count(txn.type)) return false;
  if (query_.classes.given && !query_.classes.Passes(txn.class_id)) return false;
  if (query_.entities.given) {
    if (!query_.entities.type.empty()) {
      const std::string type = ListTypeOf(txn.entity);
      if (type != query_.entities.type) return false;
    } else if (!query_.entities.Passes(txn.entity)) {
      return false;
    }
  }
  return true;
}

bool Books::Passes(const BookLine& line) {
  if (!PassesTxn(*line.txn)) return false;
  if (query_.accounts.given && query_.accounts.type.empty() &&
      !query_.accounts.Passes(line.account))
    return false;
  if (query_.items.given && query_.items.type.empty()) {
    bool named = query_.items.Passes(line.item);
    if (!named && line.txn->record) {
      // A sale's income lines are kept per account; the item is on the transaction's lines.
      const TxnRecord& record = *line.txn->record;
      for (const TxnLine& l : record.lines)
        if (query_.items.Passes(std::string(RefId(LineField(l, l.Shape(*record.kind), "ItemRef")))))
          named = true;
    }
    if (!named) return false;
  }
  return true;
}

}  // namespace brennock::simulator
