#include "simulator/sample_business.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <map>
#include <numeric>
#include <pugixml.hpp>
#include <stdexcept>

#include "simulator/ledger/ledger.h"
#include "simulator/lists/field_values.h"
#include "simulator/lists/list_store.h"
#include "simulator/sample_purchasing.h"
#include "simulator/transactions/receivables.h"
#include "simulator/transactions/txn_store.h"
#include "simulator/transactions/undeposited_funds.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

// splitmix64: small, fast and the same on every platform, so a seed always gives one business.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
  }
  size_t Below(size_t n) { return static_cast<size_t>(Next() % n); }
  template <typename T, size_t N>
  const T& Pick(const std::array<T, N>& items) {
    return items[Below(N)];
  }

 private:
  uint64_t state_;
};

// The n-th of `size` combinations in a scattered order that never repeats one: an affine map
// modulo the size whose stride is coprime to it. Names drawn this way are unique without a set of
// the names already used, which a hundred thousand customers would make large.
class Scatter {
 public:
  Scatter(uint64_t size, Random& rng) : size_(size), offset_(rng.Next() % size) {
    constexpr std::array<uint64_t, 4> kStrides = {7919, 104729, 1299709, 15485863};
    stride_ = kStrides[rng.Below(kStrides.size())];
    while (std::gcd(stride_, size_) != 1) ++stride_;
  }
  uint64_t size() const { return size_; }
  uint64_t operator()(uint64_t n) const { return (offset_ + n % size_ * stride_) % size_; }

 private:
  uint64_t size_;
  uint64_t offset_;
  uint64_t stride_ = 1;
};

constexpr std::array<std::string_view, 64> kFirstNames = {
    "Ada",    "Adrian", "Alicia", "Amir",   "Ana",   "Ben",    "Bianca", "Carla",
    "Carlos", "Chloe",  "Daniel", "Dev",    "Diana", "Elena",  "Emma",   "Ethan",
    "Farid",  "Fiona",  "Gavin",  "Grace",  "Greta", "Hannah", "Hugo",   "Imani",
    "Iris",   "Isaac",  "Jasmin", "Jon",    "Julia", "Kenji",  "Kira",   "Laura",
    "Liam",   "Lucia",  "Marcus", "Maya",   "Mei",   "Nadia",  "Nathan", "Nils",
    "Nora",   "Olga",   "Omar",   "Owen",   "Paula", "Pavel",  "Priya",  "Quinn",
    "Rafael", "Rosa",   "Ruth",   "Sam",    "Sofia", "Tara",   "Theo",   "Uma",
    "Victor", "Vivian", "Wren",   "Xavier", "Yara",  "Yusuf",  "Zoe",    "Zachary"};
constexpr std::array<std::string_view, 128> kLastNames = {
    "Abbott",   "Acosta",    "Adler",    "Alvarez",  "Baker",    "Barnes",  "Becker",   "Bennett",
    "Blake",    "Brennan",   "Castillo", "Chen",     "Clarke",   "Coleman", "Cruz",     "Dalton",
    "Diaz",     "Donovan",   "Dubois",   "Duncan",   "Ellis",    "Evans",   "Farrell",  "Fischer",
    "Fleming",  "Foster",    "Garcia",   "Gibson",   "Gordon",   "Graham",  "Griffin",  "Hale",
    "Harper",   "Hayes",     "Hughes",   "Ibrahim",  "Ingram",   "Ivanov",  "Jansen",   "Jensen",
    "Jimenez",  "Keller",    "Kennedy",  "Kim",      "Kowalski", "Lambert", "Larsen",   "Lawson",
    "Lee",      "Lindqvist", "Lopez",    "Lowe",     "Maddox",   "Marsh",   "Martinez", "Meyer",
    "Moreau",   "Morgan",    "Murphy",   "Nakamura", "Nash",     "Nguyen",  "Novak",    "Nyberg",
    "Obi",      "Okafor",    "Olsen",    "Ortiz",    "Owens",    "Park",    "Patel",    "Pearson",
    "Perez",    "Porter",    "Quinlan",  "Quist",    "Ramos",    "Reed",    "Reyes",    "Rossi",
    "Russo",    "Santos",    "Schmidt",  "Shah",     "Silva",    "Sloane",  "Stone",    "Sullivan",
    "Tanaka",   "Taylor",    "Thornton", "Torres",   "Tran",     "Turner",  "Ueda",     "Underwood",
    "Valdez",   "Varga",     "Vaughn",   "Vega",     "Wagner",   "Walsh",   "Ward",     "Weber",
    "Whitaker", "Wong",      "Wu",       "Yamamoto", "Young",    "Zhang",   "Ziegler",  "Zimmerman",
    "Avery",    "Bishop",    "Carver",   "Dunn",     "Fox",      "Hart",    "Holt",     "Lane",
    "Mills",    "Pratt",     "Rhodes",   "Ross",     "Shaw",     "Webb",    "Wolfe",    "York"};
// Place-like words that start a business name.
constexpr std::array<std::string_view, 20> kPlaceWords = {
    "Bayview", "Cedar Hill", "Harbor",   "Lakeside", "Northgate", "Oak Park", "Pinecrest",
    "Redwood", "Riverside",  "Summit",   "Sunset",   "Westbrook", "Eastside", "Hillcrest",
    "Seaside", "Meadowlark", "Bluebird", "Granite",  "Evergreen", "Silverado"};
// What the business customers of a building contractor do.
constexpr std::array<std::string_view, 32> kCustomerTrades = {"Dental Group",
                                                              "Family Medicine",
                                                              "Veterinary Clinic",
                                                              "Law Office",
                                                              "Property Management",
                                                              "Realty",
                                                              "Insurance Agency",
                                                              "Accounting",
                                                              "Architects",
                                                              "Bakery",
                                                              "Coffee Roasters",
                                                              "Yoga Studio",
                                                              "Auto Repair",
                                                              "Bistro",
                                                              "Books",
                                                              "Florist",
                                                              "Pharmacy",
                                                              "Fitness",
                                                              "Learning Center",
                                                              "Optometry",
                                                              "Physical Therapy",
                                                              "Animal Hospital",
                                                              "Brewing",
                                                              "Day Spa",
                                                              "Print Shop",
                                                              "Montessori",
                                                              "Inn",
                                                              "Winery",
                                                              "Dry Cleaners",
                                                              "Pizzeria",
                                                              "Hair Studio",
                                                              "Chiropractic"};
constexpr std::array<std::string_view, 7> kBusinessSuffixes = {
    " LLC", " Inc.", " Co.", " Group", " & Sons", " Partners", " Ltd."};
// What the vendors of a building contractor sell, and what its subcontractors do: both differ
// from every customer trade, so vendor and customer names never meet in the shared name space.
constexpr std::array<std::string_view, 12> kSupplierTrades = {
    "Lumber Co.",        "Building Supply", "Electric Supply", "Plumbing Supply",
    "Hardware",          "Roofing Supply",  "Tile & Stone",    "Paint Center",
    "Equipment Rentals", "Concrete",        "Glass & Mirror",  "Millwork"};
constexpr std::array<std::string_view, 8> kSubcontractorTrades = {
    "Drywall",  "Painting",    "Electric", "Plumbing",
    "Flooring", "Landscaping", "Masonry",  "Heating & Air"};

struct Place {
  std::string_view city, state, zip, area_code;
};
constexpr std::array<Place, 16> kPlaces = {{{"San Mateo", "CA", "944", "650"},
                                            {"Palo Alto", "CA", "943", "650"},
                                            {"Redwood City", "CA", "940", "650"},
                                            {"Oakland", "CA", "946", "510"},
                                            {"Berkeley", "CA", "947", "510"},
                                            {"San Jose", "CA", "951", "408"},
                                            {"Santa Cruz", "CA", "950", "831"},
                                            {"Sacramento", "CA", "958", "916"},
                                            {"Portland", "OR", "972", "503"},
                                            {"Eugene", "OR", "974", "541"},
                                            {"Seattle", "WA", "981", "206"},
                                            {"Tacoma", "WA", "984", "253"},
                                            {"Reno", "NV", "895", "775"},
                                            {"Phoenix", "AZ", "850", "602"},
                                            {"Tucson", "AZ", "857", "520"},
                                            {"Austin", "TX", "787", "512"}}};
constexpr std::array<std::string_view, 24> kStreets = {
    "Alder",    "Birch",   "Cedar",   "Chestnut", "Elm",    "Hawthorne", "Juniper", "Laurel",
    "Magnolia", "Maple",   "Mission", "Oak",      "Olive",  "Park",      "Pine",    "Poplar",
    "Ridge",    "Sequoia", "Spruce",  "Sycamore", "Valley", "Walnut",    "Willow",  "Lincoln"};
constexpr std::array<std::string_view, 8> kStreetKinds = {"Street", "Avenue", "Road",  "Lane",
                                                          "Way",    "Court",  "Drive", "Boulevard"};
constexpr std::array<std::string_view, 4> kHomeJobs = {"Kitchen Remodel", "New Deck", "Roof Repair",
                                                       "Bathroom Remodel"};
constexpr std::array<std::string_view, 4> kBusinessJobs = {
    "Office Fit-out", "Storefront Renovation", "Parking Lot Lighting", "HVAC Upgrade"};
constexpr std::array<std::string_view, 6> kReferrals = {
    "Website", "Repeat customer", "Neighbour", "Home show", "Radio ad", "Supplier referral"};
constexpr std::array<std::string_view, 5> kJobTitles = {
    "Project Manager", "Lead Carpenter", "Office Manager", "Electrician", "Apprentice"};

// A person's name: first and last, and a middle initial only where the plain names run out.
struct PersonName {
  std::string_view first, last;
  char middle = 0;
};

// Distinct people, scattered over the first and last names (then with a middle initial).
class People {
 public:
  explicit People(Random& rng)
      : plain_(kFirstNames.size() * kLastNames.size(), rng), initialled_(plain_.size() * 26, rng) {}
  uint64_t capacity() const { return plain_.size() + initialled_.size(); }
  PersonName operator()(uint64_t n) const {
    uint64_t x = n < plain_.size() ? plain_(n) : initialled_(n - plain_.size());
    PersonName p{kFirstNames[x % kFirstNames.size()],
                 kLastNames[x / kFirstNames.size() % kLastNames.size()]};
    if (n >= plain_.size()) p.middle = static_cast<char>('A' + x / plain_.size());
    return p;
  }

 private:
  Scatter plain_;
  Scatter initialled_;
};

// Distinct business names: an owner's surname or a place word and a trade, then the same with a
// suffix ("Inc.", "& Sons") once those run out.
template <size_t T>
class Businesses {
 public:
  Businesses(const std::array<std::string_view, T>& trades, Random& rng)
      : trades_(trades),
        plain_(kOwners * T, rng),
        suffixed_(kOwners * T * kBusinessSuffixes.size(), rng) {}
  uint64_t capacity() const { return plain_.size() + suffixed_.size(); }
  std::string operator()(uint64_t n) const {
    bool suffixed = n >= plain_.size();
    uint64_t x = suffixed ? suffixed_(n - plain_.size()) : plain_(n);
    uint64_t owner = x / T % kOwners;
    std::string name(owner < kLastNames.size() ? kLastNames[owner]
                                               : kPlaceWords[owner - kLastNames.size()]);
    name.append(" ").append(trades_[x % T]);
    if (suffixed) name.append(kBusinessSuffixes[x / (T * kOwners)]);
    return name;
  }

 private:
  static constexpr uint64_t kOwners = kLastNames.size() + kPlaceWords.size();
  const std::array<std::string_view, T>& trades_;
  Scatter plain_;
  Scatter suffixed_;
};

class Builder {
 public:
  explicit Builder(CompanyDb& company) : company_(company), lists_(company) {}

  // Adds a record through the same path an AddRq takes; the text is the inside of the Add.
  ListRecord Add(std::string_view list, const std::string& inner) {
    std::string xml = "<A>" + inner + "</A>";
    pugi::xml_document doc;
    if (!doc.load_buffer(xml.data(), xml.size())) throw std::runtime_error("sample: bad XML");
    const ListType* type = FindListType(list);
    ListRecord record;
    Status status = lists_.Add(*type, doc.first_child(), record);
    if (!status.ok()) throw std::runtime_error("sample business: " + status.message);
    return record;
  }

  // A QuickBooks custom field (owner "0") of text assigned to one list, and a record's value.
  void DefineCustomField(std::string_view name, std::string_view assigned_to) {
    company_.db()
        .Prepare(
            "INSERT INTO data_ext_defs(owner_id,name,data_type,assigned,format_string,ext_id) "
            "VALUES('0',?1,'STR255TYPE',?2,'',(SELECT coalesce(max(ext_id),0)+1 FROM "
            "data_ext_defs))")
        .Bind(1, name)
        .Bind(2, std::string(assigned_to) + "\n")
        .Run();
  }
  void SetCustomField(std::string_view name, std::string_view object_id, std::string_view value) {
    company_.db()
        .Prepare("INSERT INTO data_ext_values(owner_id,name,object_id,value) VALUES('0',?1,?2,?3)")
        .Bind(1, name)
        .Bind(2, object_id)
        .Bind(3, value)
        .Run();
  }

  // Adds a transaction through the same path an AddRq takes.
  TxnRecord AddTxn(std::string_view stem, const std::string& inner) {
    std::string xml = "<A>" + inner + "</A>";
    pugi::xml_document doc;
    if (!doc.load_buffer(xml.data(), xml.size())) throw std::runtime_error("sample: bad XML");
    const TxnKind* kind = FindTxnKind(stem);
    TxnStore store(lists_);
    TxnRecord txn;
    Status status = store.Add(*kind, *FindTxnRule(stem), doc.first_child(), txn);
    if (!status.ok()) throw std::runtime_error("sample business: " + status.message);
    return txn;
  }

  ListStore& lists() { return lists_; }

 private:
  CompanyDb& company_;
  ListStore lists_;
};

std::string El(std::string_view tag, std::string_view text) {
  std::string out;
  XmlWriter(out).Element(tag, text);
  return out;
}

std::string Ref(std::string_view tag, std::string_view full_name) {
  // Appended piece by piece: "<" + std::string(...) trips GCC 12's -Wrestrict at -O3.
  std::string out;
  out.append("<").append(tag).append(">");
  out.append(El("FullName", full_name));
  out.append("</").append(tag).append(">");
  return out;
}

std::string Cents(int64_t cents) { return FormatCents(cents); }

// ---- the chart of accounts ---------------------------------------------------------------------

struct AccountRow {
  std::string_view number;
  std::string_view name;  // below the account before it of sublevel - 1 when sublevel > 0
  int sublevel;
  std::string_view type;
  std::string_view special;  // QuickBooks' own accounts
  std::string_view cash_flow;
  std::string_view desc;
  int64_t cents;  // opening balance
};

// A small building contractor's chart. Each opening balance is posted against Opening Balance
// Equity, which so becomes the difference of the assets and liabilities (44 550.00, and the
// opening stock's value on top).
constexpr AccountRow kChart[] = {
    {"1000", "Checking", 0, "Bank", "", "None", "Operating account", 1825000},
    {"1050", "Savings", 0, "Bank", "", "None", "Tax and reserve savings", 4200000},
    {"1200", "Accounts Receivable", 0, "AccountsReceivable", "AccountsReceivable", "Operating",
     "Unpaid customer invoices", 0},
    {"1300", "Inventory Asset", 0, "OtherCurrentAsset", "InventoryAssets", "Operating",
     "Stock on hand", 0},
    {"1350", "Prepaid Insurance", 0, "OtherCurrentAsset", "", "Operating", "", 0},
    {"1499", "Undeposited Funds", 0, "OtherCurrentAsset", "UndepositedFunds", "Operating",
     "Payments not yet deposited", 0},
    {"1500", "Furniture and Equipment", 0, "FixedAsset", "", "Investing", "Tools and office",
     1250000},
    {"1600", "Vehicles", 0, "FixedAsset", "", "Investing", "Trucks and vans", 0},
    {"1610", "Original Cost", 1, "FixedAsset", "", "Investing", "", 2800000},
    {"1620", "Accumulated Depreciation", 1, "FixedAsset", "", "Investing", "", -560000},
    {"1800", "Security Deposits", 0, "OtherAsset", "", "Investing", "Yard lease deposit", 240000},
    {"2000", "Accounts Payable", 0, "AccountsPayable", "AccountsPayable", "Operating",
     "Unpaid vendor bills", 0},
    {"2050", "Company Card", 0, "CreditCard", "", "Operating", "Business credit card", 0},
    {"2100", "Payroll Liabilities", 0, "OtherCurrentLiability", "PayrollLiabilities", "Operating",
     "", 0},
    {"2110", "Federal Withholding", 1, "OtherCurrentLiability", "", "Operating", "", 0},
    {"2120", "State Withholding", 1, "OtherCurrentLiability", "", "Operating", "", 0},
    {"2200", "Sales Tax Payable", 0, "OtherCurrentLiability", "SalesTaxPayable", "Operating", "",
     0},
    {"2700", "Bank Loan", 0, "LongTermLiability", "", "Financing", "Equipment loan", 3500000},
    {"2750", "Vehicle Loan", 0, "LongTermLiability", "", "Financing", "Van financing", 1800000},
    {"3000", "Opening Balance Equity", 0, "Equity", "OpeningBalanceEquity", "Financing", "", 0},
    {"3100", "Owner's Equity", 0, "Equity", "", "Financing", "", 0},
    {"3110", "Owner's Contribution", 1, "Equity", "", "Financing", "", 0},
    {"3120", "Owner's Draw", 1, "Equity", "", "Financing", "", 0},
    {"3900", "Retained Earnings", 0, "Equity", "RetainedEarnings", "Financing", "", 0},
    {"4000", "Sales", 0, "Income", "", "NotApplicable", "Sales of goods", 0},
    {"4010", "Materials", 1, "Income", "", "NotApplicable", "Materials billed to jobs", 0},
    {"4100", "Services", 0, "Income", "", "NotApplicable", "Labour and consulting", 0},
    {"4900", "Finance Charge Income", 0, "Income", "", "NotApplicable", "", 0},
    {"5000", "Cost of Goods Sold", 0, "CostOfGoodsSold", "CostOfGoodsSold", "NotApplicable", "", 0},
    {"5100", "Job Materials", 0, "CostOfGoodsSold", "", "NotApplicable", "", 0},
    {"5200", "Subcontracted Labor", 0, "CostOfGoodsSold", "", "NotApplicable", "", 0},
    {"6000", "Advertising", 0, "Expense", "", "NotApplicable", "", 0},
    {"6100", "Automobile", 0, "Expense", "", "NotApplicable", "", 0},
    {"6110", "Fuel", 1, "Expense", "", "NotApplicable", "", 0},
    {"6120", "Repairs", 1, "Expense", "", "NotApplicable", "", 0},
    {"6200", "Bank Service Charges", 0, "Expense", "", "NotApplicable", "", 0},
    {"6300", "Insurance", 0, "Expense", "", "NotApplicable", "", 0},
    {"6310", "Liability Insurance", 1, "Expense", "", "NotApplicable", "", 0},
    {"6320", "Workers Compensation", 1, "Expense", "", "NotApplicable", "", 0},
    {"6400", "Office Supplies", 0, "Expense", "", "NotApplicable", "", 0},
    {"6500", "Payroll Expenses", 0, "Expense", "PayrollExpenses", "NotApplicable", "", 0},
    {"6600", "Rent", 0, "Expense", "", "NotApplicable", "Yard and office", 0},
    {"6700", "Repairs and Maintenance", 0, "Expense", "", "NotApplicable", "", 0},
    {"6800", "Utilities", 0, "Expense", "", "NotApplicable", "", 0},
    {"6810", "Gas and Electric", 1, "Expense", "", "NotApplicable", "", 0},
    {"6820", "Telephone", 1, "Expense", "", "NotApplicable", "", 0},
    {"6900", "Discounts Given", 0, "Expense", "", "NotApplicable", "", 0},
    {"7000", "Interest Income", 0, "OtherIncome", "", "NotApplicable", "", 0},
    {"8000", "Interest Expense", 0, "OtherExpense", "", "NotApplicable", "", 0},
    {"8100", "Other Expenses", 0, "OtherExpense", "", "NotApplicable", "", 0},
    {"9000", "Estimates", 0, "NonPosting", "Estimates", "NotApplicable", "", 0},
    {"9100", "Purchase Orders", 0, "NonPosting", "PurchaseOrders", "NotApplicable", "", 0},
};

// The tax-form lines QuickBooks assigns the chart's accounts by type (Form 1120); other types are
// left unassigned, as QuickBooks leaves them.
std::string_view TaxLineOf(std::string_view type, int& id) {
  struct Line {
    std::string_view type;
    int id;
    std::string_view name;
  };
  static constexpr Line kLines[] = {{"Bank", 1864, "B/S-Assets: Cash"},
                                    {"Income", 1594, "Gross receipts or sales"},
                                    {"CostOfGoodsSold", 1600, "Cost of goods sold"}};
  for (const Line& line : kLines) {
    if (line.type != type) continue;
    id = line.id;
    return line.name;
  }
  return {};
}

// QuickBooks makes its special accounts itself and marks them, which no Add can: the chart is
// written straight into the store, each total the sum of its subtree.
void AddChartOfAccounts(Builder& b) {
  const ListType& account = *FindListType("Account");
  auto index = [&](std::string_view field) {
    return static_cast<uint16_t>(account.field_index(field));
  };
  constexpr size_t kRows = std::size(kChart);
  std::array<size_t, kRows> parents{};
  std::array<size_t, 4> open{};  // the last account of each sublevel
  for (size_t i = 0; i < kRows; ++i) {
    open[static_cast<size_t>(kChart[i].sublevel)] = i;
    parents[i] =
        kChart[i].sublevel == 0 ? kRows : open[static_cast<size_t>(kChart[i].sublevel - 1)];
  }
  std::array<ListRecord, kRows> stored;
  for (size_t i = 0; i < kRows; ++i) {
    const AccountRow& row = kChart[i];
    ListRecord& r = stored[i];
    r.type = &account;
    r.name = row.name;
    if (parents[i] == kRows) {
      r.full_name = r.name;
    } else {
      const ListRecord& parent = stored[parents[i]];
      r.parent_id = parent.list_id;
      r.full_name = parent.full_name + ":" + r.name;
    }
    r.sublevel = row.sublevel;
    r.account_type = row.type;
    r.SetField(index("AccountType"), std::string(row.type));
    if (!row.special.empty()) r.SetField(index("SpecialAccountType"), std::string(row.special));
    r.SetField(index("AccountNumber"), std::string(row.number));
    if (!row.desc.empty()) r.SetField(index("Desc"), std::string(row.desc));
    int tax_line = 0;
    if (std::string_view line = TaxLineOf(row.type, tax_line); !line.empty())
      r.SetField(index("TaxLineInfoRet"),
                 El("TaxLineID", std::to_string(tax_line)) + El("TaxLineName", line));
    r.SetField(index("CashFlowClassification"), std::string(row.cash_flow));
    b.lists().InsertPrepared(r);
  }
  // Opening balances are entries against Opening Balance Equity, as QuickBooks books them.
  const std::string equity = b.lists().SpecialAccount("OpeningBalanceEquity");
  for (size_t i = 0; i < kRows; ++i) {
    if (kChart[i].cents == 0) continue;
    int64_t debit = Ledger::CreditNormal(kChart[i].type) ? -kChart[i].cents : kChart[i].cents;
    b.lists().ledger().Post(stored[i].list_id,
                            {Posting::To(stored[i].list_id, debit), Posting::To(equity, -debit)});
  }
}

// ---- people, places and contacts ---------------------------------------------------------------

struct Address {
  const Place* place;
  std::string street;
};

Address RandomAddress(Random& rng) {
  const Place& place = rng.Pick(kPlaces);
  std::string street = std::to_string(rng.Below(9800) + 100);
  street.append(" ").append(rng.Pick(kStreets)).append(" ").append(rng.Pick(kStreetKinds));
  return {&place, std::move(street)};
}

// The elements of an address aggregate, in schema order; the addressee first when given, then
// the street and an attention line when given. Every place is in the US.
std::string AddressXml(const Address& a, std::string_view addressee, Random& rng,
                       std::string_view attention = {}) {
  std::string out;
  XmlWriter w(out);
  if (!addressee.empty()) w.Element("Addr1", addressee);
  w.Element(addressee.empty() ? "Addr1" : "Addr2", a.street);
  if (!attention.empty()) w.Element(addressee.empty() ? "Addr2" : "Addr3", attention);
  w.Element("City", a.place->city);
  w.Element("State", a.place->state);
  char zip[8];
  std::snprintf(zip, sizeof zip, "%02d", static_cast<int>(rng.Below(100)));
  w.Element("PostalCode", std::string(a.place->zip) + zip);
  w.Element("Country", "USA");
  return out;
}

// Another line of the same exchange ("650-555-0142" gives "650-555-0242" for exchange 2).
std::string OtherLine(std::string phone, char exchange) {
  phone[phone.size() - 3] = exchange;
  return phone;
}

// 555-0100 to 555-0199 are kept for fiction in every area code.
std::string Phone(const Address& a, Random& rng) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%.*s-555-01%02d", static_cast<int>(a.place->area_code.size()),
                a.place->area_code.data(), static_cast<int>(rng.Below(100)));
  return buf;
}

std::string Lower(std::string_view text, bool keep_dots = false) {
  std::string out;
  for (char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c)))
      out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    else if (keep_dots && c == '.')
      out += c;
  }
  return out;
}

std::string PersonEmail(const PersonName& p) {
  std::string out = Lower(p.first);
  out += '.';
  if (p.middle) out.append(1, static_cast<char>(std::tolower(p.middle))).append(".");
  out += Lower(p.last);
  return out + "@mail.example";
}

std::string BusinessEmail(std::string_view name) { return "office@" + Lower(name) + ".example"; }

std::string DisplayName(const PersonName& p) {
  std::string out(p.first);
  if (p.middle) out.append(" ").append(1, p.middle).append(".");
  return out.append(" ").append(p.last);
}

// ---- customers ---------------------------------------------------------------------------------

// Customers are most of a large sample's work, so their count measures its progress: told about
// a hundred times at most. About a third are businesses, the rest households; every third has a
// job, billed to the customer and done at a site of its own.
void AddCustomers(Builder& b, Random& rng, const SampleBusiness& sample,
                  const std::function<void(double)>& progress) {
  const int report_every = std::max(1, sample.customers / 100);
  const ListType& customer = *FindListType("Customer");
  auto index = [&](std::string_view field) {
    return static_cast<uint16_t>(customer.field_index(field));
  };
  auto ref_value = [&](std::string_view list, std::string_view name) {
    auto r = b.lists().LoadByFullName(*FindListType(list), name);
    return r->list_id + kRefSeparator + r->full_name;
  };
  const std::string residential = ref_value("CustomerType", "Residential");
  const std::string commercial = ref_value("CustomerType", "Commercial");
  const std::array<std::string, 3> home_terms = {ref_value("StandardTerms", "Due on receipt"),
                                                 ref_value("StandardTerms", "Due on receipt"),
                                                 ref_value("StandardTerms", "Net 15")};
  const std::array<std::string, 5> business_terms = {
      ref_value("StandardTerms", "Net 30"), ref_value("StandardTerms", "Net 30"),
      ref_value("StandardTerms", "2% 10 Net 30"), ref_value("StandardTerms", "Net 60"),
      ref_value("DateDrivenTerms", "Due on the 15th")};
  const std::string tax = ref_value("SalesTaxCode", "Tax");
  const std::string tax_item = ref_value("ItemSalesTax", "State Tax");
  const std::array<std::string, 2> job_types = {ref_value("JobType", "Remodel"),
                                                ref_value("JobType", "New Construction")};
  const std::array<std::string_view, 4> job_statuses = {"InProgress", "Awarded", "Pending",
                                                        "Closed"};
  const std::array<std::string_view, 3> contact_by = {"Email", "Phone", "Text message"};
  People households(rng);
  Businesses<kCustomerTrades.size()> businesses(kCustomerTrades, rng);
  uint64_t next_household = 0, next_business = 0;
  const uint16_t name_first = index("FirstName"), name_last = index("LastName");
  for (int i = 1; i <= sample.customers; ++i) {
    ListRecord c;
    c.type = &customer;
    bool business = rng.Below(3) == 0 && next_business < businesses.capacity();
    if (!business && next_household >= households.capacity()) business = true;
    std::string addressee, email;
    if (business) {
      c.name = businesses(next_business++);
      c.SetField(index("CompanyName"), c.name);
      PersonName contact{rng.Pick(kFirstNames), rng.Pick(kLastNames)};
      c.SetField(name_first, std::string(contact.first));
      if (i % 4 == 0)
        c.SetField(index("MiddleName"), std::string(1, static_cast<char>('A' + i % 26)) + ".");
      c.SetField(name_last, std::string(contact.last));
      c.SetField(index("Contact"), DisplayName(contact));
      addressee = c.name;
      email = BusinessEmail(c.name);
    } else {
      PersonName p = households(next_household++ % households.capacity());
      if (i % 7 == 0) c.SetField(index("Salutation"), "Dr.");
      c.name.assign(p.last).append(", ").append(p.first);
      if (p.middle) c.name.append(" ").append(1, p.middle).append(".");
      c.SetField(name_first, std::string(p.first));
      if (p.middle) c.SetField(index("MiddleName"), std::string(1, p.middle) + ".");
      c.SetField(name_last, std::string(p.last));
      addressee = DisplayName(p);
      email = PersonEmail(p);
    }
    if (next_household > households.capacity() || next_business > businesses.capacity())
      c.name.append(" ").append(std::to_string(i));  // past every name the pools can make
    c.full_name = c.name;
    Address home = RandomAddress(rng);
    std::string bill = AddressXml(home, addressee, rng, business ? "Attn: Accounts" : "");
    c.SetField(index("BillAddress"), bill);
    if (business && rng.Below(2) == 0) {
      Address site{home.place, RandomAddress(rng).street};  // deliveries to a second site
      c.SetField(index("ShipAddress"), AddressXml(site, addressee, rng));
    } else {
      c.SetField(index("ShipAddress"), bill);
    }
    const std::string phone = Phone(home, rng);
    c.SetField(index("Phone"), phone);
    if (business) {
      c.SetField(index("AltPhone"), OtherLine(phone, '2'));
      c.SetField(index("Fax"), OtherLine(phone, '9'));
    }
    c.SetField(index("Email"), email);
    c.SetField(index("CustomerTypeRef"), business ? commercial : residential);
    c.SetField(index("TermsRef"), business ? rng.Pick(business_terms) : rng.Pick(home_terms));
    c.SetField(index("SalesTaxCodeRef"), tax);
    c.SetField(index("ItemSalesTaxRef"), tax_item);
    if (business) c.SetField(index("CreditLimit"), Cents((rng.Below(5) + 1) * 500000));
    c.SetField(index("JobStatus"), "None");
    b.lists().InsertPrepared(c);
    if (rng.Below(3) == 0) b.SetCustomField("Referred By", c.list_id, rng.Pick(kReferrals));
    if (business) b.SetCustomField("Preferred Contact", c.list_id, rng.Pick(contact_by));
    if (progress && i % report_every == 0) progress(static_cast<double>(i) / sample.customers);
    if (i % 3 != 0) continue;
    const auto& job_names = business ? kBusinessJobs : kHomeJobs;
    for (int j = 0; j < sample.jobs_per_customer; ++j) {
      ListRecord job;
      job.type = &customer;
      job.name = job_names[static_cast<size_t>(j) % job_names.size()];
      if (j >= static_cast<int>(job_names.size())) job.name.append(" ").append(std::to_string(j));
      job.full_name = c.full_name + ":" + job.name;
      job.parent_id = c.list_id;
      job.sublevel = 1;
      job.SetField(index("BillAddress"), bill);
      Address site = business ? Address{home.place, RandomAddress(rng).street} : home;
      job.SetField(index("ShipAddress"), AddressXml(site, addressee, rng));
      job.SetField(index("Phone"), Phone(home, rng));
      job.SetField(index("TermsRef"), business ? business_terms[0] : home_terms[0]);
      job.SetField(index("JobStatus"), std::string(rng.Pick(job_statuses)));
      job.SetField(index("JobTypeRef"), job_types[rng.Below(2)]);
      b.lists().InsertPrepared(job);
    }
  }
}

// ---- vendors, employees and other names --------------------------------------------------------

// The tax agency, then suppliers and subcontractors; subcontractors are paid on 1099s, so
// QuickBooks needs their tax ID and address.
void AddVendors(Builder& b, Random& rng, const SampleBusiness& sample) {
  b.Add("Vendor", El("Name", "State Board of Equalization") +
                      El("CompanyName", "State Board of Equalization") + "<VendorAddress>" +
                      El("Addr1", "450 N Street") + El("City", "Sacramento") + El("State", "CA") +
                      El("PostalCode", "95814") + "</VendorAddress>" +
                      Ref("VendorTypeRef", "Tax Agency"));
  Businesses<kSupplierTrades.size()> suppliers(kSupplierTrades, rng);
  Businesses<kSubcontractorTrades.size()> subcontractors(kSubcontractorTrades, rng);
  uint64_t next_supplier = 0, next_subcontractor = 0;
  for (int i = 1; i <= sample.vendors; ++i) {
    bool subcontractor = i % 3 == 0;
    std::string name = subcontractor
                           ? subcontractors(next_subcontractor++ % subcontractors.capacity())
                           : suppliers(next_supplier++ % suppliers.capacity());
    Address at = RandomAddress(rng);
    PersonName contact{rng.Pick(kFirstNames), rng.Pick(kLastNames)};
    char tax_id[16], account[16];
    std::snprintf(tax_id, sizeof tax_id, "%02d-%07d", static_cast<int>(rng.Below(90) + 10),
                  static_cast<int>(rng.Below(10000000)));
    std::snprintf(account, sizeof account, "BRN-%05d", static_cast<int>(rng.Below(100000)));
    std::string inner =
        El("Name", name) + El("CompanyName", name) + El("FirstName", contact.first) +
        El("LastName", contact.last) + "<VendorAddress>" + AddressXml(at, name, rng) +
        "</VendorAddress>" + El("Phone", Phone(at, rng)) + El("Email", BusinessEmail(name)) +
        El("Contact", DisplayName(contact)) + El("NameOnCheck", name) +
        El("AccountNumber", account) +
        Ref("VendorTypeRef", subcontractor ? "Subcontractors" : "Supplies") +
        Ref("TermsRef", subcontractor ? "Net 15" : "Net 30") +
        El("CreditLimit", Cents((rng.Below(4) + 1) * 250000)) + El("VendorTaxIdent", tax_id) +
        El("IsVendorEligibleFor1099", subcontractor ? "true" : "false");
    b.Add("Vendor", inner);
  }
}

// Employees and other names are people of one pool, so no two share a name; the first other name
// is the owner.
std::string AddPeople(Builder& b, Random& rng, const SampleBusiness& sample) {
  People people(rng);
  uint64_t next = 0;
  std::string first_employee;
  for (int i = 1; i <= sample.employees; ++i) {
    PersonName p = people(next++ % people.capacity());
    Address home = RandomAddress(rng);
    char hired[16];
    std::snprintf(hired, sizeof hired, "20%02d-%02d-%02d", static_cast<int>(rng.Below(12) + 12),
                  static_cast<int>(rng.Below(12) + 1), static_cast<int>(rng.Below(28) + 1));
    std::string inner = El("FirstName", p.first);
    if (p.middle) inner += El("MiddleName", std::string(1, p.middle));
    inner += El("LastName", p.last) + El("JobTitle", kJobTitles[(i - 1) % kJobTitles.size()]) +
             "<EmployeeAddress>" + AddressXml(home, {}, rng) + "</EmployeeAddress>" +
             El("Phone", Phone(home, rng)) + El("Email", PersonEmail(p)) +
             El("EmployeeType", "Regular") + El("HiredDate", hired);
    auto e = b.Add("Employee", inner);
    if (first_employee.empty()) first_employee = e.full_name;
  }
  constexpr std::array<std::string_view, 4> kRoles = {"Owner", "Loan officer", "Accountant",
                                                      "Landlord"};
  for (int i = 1; i <= sample.other_names; ++i) {
    PersonName p = people(next++ % people.capacity());
    Address home = RandomAddress(rng);
    b.Add("OtherName", El("Name", DisplayName(p)) + El("FirstName", p.first) +
                           El("LastName", p.last) + "<OtherNameAddress>" +
                           AddressXml(home, {}, rng) + "</OtherNameAddress>" +
                           El("Phone", Phone(home, rng)) + El("Email", PersonEmail(p)) +
                           El("Notes", kRoles[(i - 1) % kRoles.size()]));
  }
  return first_employee;
}

// Initials of a full name ("Ada Baker" gives "AB").
std::string Initials(std::string_view name) {
  std::string out;
  bool start = true;
  for (char c : name) {
    if (start && std::isalpha(static_cast<unsigned char>(c)) && out.size() < 5) out += c;
    start = c == ' ';
  }
  return out;
}

// A year of invoices up to today, about evenly spread: labour, parts from stock, now and then a
// subtotal with the loyalty discount (given after tax: its code is non-taxable), and sales tax on
// the taxable lines.
void AddInvoices(Builder& b, Random& rng, const SampleBusiness& sample) {
  if (sample.invoices <= 0) return;
  ListFilter filter;
  filter.types = {"Customer"};
  const std::vector<int64_t> customers = b.lists().Select(filter);  // only the chosen are read
  if (customers.empty()) return;
  struct Sold {
    std::string_view item;
    size_t most;  // units on one invoice
  };
  constexpr std::array<Sold, 7> kLabour = {
      Sold{"Consulting", 6}, Sold{"Installation", 8}, Sold{"Repairs", 5},  Sold{"Delivery", 1},
      Sold{"Consulting", 3}, Sold{"Installation", 4}, Sold{"Hardware", 20}};
  constexpr std::array<Sold, 4> kStock = {Sold{"Widget", 3}, Sold{"Bracket", 6}, Sold{"Hinge", 2},
                                          Sold{"Gadget", 1}};
  const SimulatorTime now = Now();
  const int64_t today = (now.unix_seconds + int64_t{now.utc_offset_minutes} * 60) / 86400;
  for (int i = 0; i < sample.invoices; ++i) {
    int64_t day = today - 364 + int64_t{i} * 364 / sample.invoices;
    SimulatorTime on{day * 86400, 0};
    std::string inner =
        Ref("CustomerRef", b.lists().LoadByRow(customers[rng.Below(customers.size())])->full_name) +
        El("TxnDate", FormatDate(on)) +
        Ref("ItemSalesTaxRef", rng.Below(4) == 0 ? "Combined Tax" : "State Tax");
    auto line = [&](const Sold& sold) {
      inner += "<InvoiceLineAdd>" + Ref("ItemRef", sold.item) +
               El("Quantity", std::to_string(rng.Below(sold.most) + 1)) + "</InvoiceLineAdd>";
    };
    line(rng.Pick(kLabour));
    if (rng.Below(3) != 0) line(rng.Pick(kStock));
    if (rng.Below(2) == 0) line(rng.Pick(kLabour));
    if (rng.Below(5) == 0)
      inner += "<InvoiceLineAdd>" + Ref("ItemRef", "Subtotal") +
               "</InvoiceLineAdd><InvoiceLineAdd>" + Ref("ItemRef", "Loyalty Discount") +
               Ref("SalesTaxCodeRef", "Non") + "</InvoiceLineAdd>";
    if (i % 3 == 0) inner += El("Memo", "Thank you for your business");
    b.AddTxn("Invoice", inner);
  }
}

// The rest of a year's trade beside the invoices, in the order a small business lives it:
// estimates (every other one invoiced a week later), sales orders for stock (the older ones
// invoiced, one in part, the newest still open), cash sales over the counter, a few returns,
// customers paying what they owe (in full, in part, now and then with a prompt-payment discount
// or their credit from a return; the last weeks' invoices still open), the money banked week by
// week (the last week's still waiting in Undeposited Funds), and the sales tax paid to the state
// for the sales up to the last quarter or so.
class SalesActivity {
 public:
  SalesActivity(Builder& b, Random& rng, int invoices) : b_(b), rng_(rng), count_(invoices) {
    const SimulatorTime now = Now();
    today_ = (now.unix_seconds + int64_t{now.utc_offset_minutes} * 60) / 86400;
    ListFilter filter;
    filter.types = {"Customer"};
    customers_ = b.lists().Select(filter);
  }

  void Run() {
    if (customers_.empty()) return;
    Estimates();
    SalesOrders();
    CashSales();
    Returns();
    Payments();
    Deposits();
    SalesTax();
  }

 private:
  static std::string Day(int64_t day) { return FormatDate(SimulatorTime{day * 86400, 0}); }
  std::string Customer() {
    return Ref("CustomerRef",
               b_.lists().LoadByRow(customers_[rng_.Below(customers_.size())])->full_name);
  }
  std::string Line(std::string_view stem, std::string_view item, int quantity) {
    std::string tag = std::string(stem) + "LineAdd";
    return "<" + tag + ">" + Ref("ItemRef", item) + El("Quantity", std::to_string(quantity)) +
           "</" + tag + ">";
  }
  // Every transaction of a kind, in date order.
  std::vector<TxnRecord> All(std::string_view stem) {
    TxnStore store(b_.lists());
    TxnFilter filter;
    filter.kind = FindTxnKind(stem);
    std::vector<TxnRecord> out;
    for (int64_t row : store.Select(filter))
      if (auto txn = store.LoadByRow(row)) out.push_back(std::move(*txn));
    return out;
  }

  void Estimates() {
    constexpr std::array<std::string_view, 3> kWork = {"Installation", "Consulting", "Repairs"};
    constexpr std::array<std::string_view, 3> kParts = {"Widget", "Gadget", "Hinge"};
    const int n = std::max(2, count_ / 6);
    for (int i = 0; i < n; ++i) {
      int64_t day = today_ - 330 + int64_t{i} * 300 / n;
      std::string customer = Customer();
      TxnRecord estimate = b_.AddTxn(
          "Estimate", customer + El("TxnDate", Day(day)) +
                          Line("Estimate", rng_.Pick(kWork), 2 + static_cast<int>(rng_.Below(6))) +
                          Line("Estimate", rng_.Pick(kParts), 1 + static_cast<int>(rng_.Below(4))));
      if (i % 2 == 0)
        b_.AddTxn("Invoice",
                  customer + El("TxnDate", Day(day + 7)) + El("LinkToTxnID", estimate.txn_id));
    }
  }

  void SalesOrders() {
    constexpr std::array<std::string_view, 3> kStock = {"Widget", "Bracket", "Gadget"};
    const int n = std::max(3, count_ / 10);
    for (int i = 0; i < n; ++i) {
      int64_t day = today_ - 80 + int64_t{i} * 75 / n;
      std::string customer = Customer();
      std::string lines =
          Line("SalesOrder", rng_.Pick(kStock), 2 + static_cast<int>(rng_.Below(7)));
      if (rng_.Below(2) == 0) lines += Line("SalesOrder", "Hinge", 4);
      TxnRecord order = b_.AddTxn("SalesOrder", customer + El("TxnDate", Day(day)) + lines);
      if (today_ - day < 30) continue;  // still open
      if (i == 1) {
        // Shipped in part: the first line's first unit.
        b_.AddTxn("Invoice", customer + El("TxnDate", Day(day + 5)) +
                                 "<InvoiceLineAdd><Quantity>1</Quantity><LinkToTxn>" +
                                 El("TxnID", order.txn_id) +
                                 El("TxnLineID", order.lines.front().line_id) +
                                 "</LinkToTxn></InvoiceLineAdd>");
        continue;
      }
      b_.AddTxn("Invoice",
                customer + El("TxnDate", Day(day + 5)) + El("LinkToTxnID", order.txn_id));
    }
  }

  void CashSales() {
    constexpr std::array<std::string_view, 4> kCounter = {"Hardware", "Bracket", "Widget", "Hinge"};
    constexpr std::array<std::string_view, 3> kMethods = {"Cash", "Visa", "MasterCard"};
    const int n = std::max(2, count_ / 4);
    for (int i = 0; i < n; ++i) {
      int64_t day = today_ - 360 + int64_t{i} * 358 / n;
      std::string inner = (i % 3 == 0 ? std::string() : Customer()) + El("TxnDate", Day(day)) +
                          Ref("PaymentMethodRef", rng_.Pick(kMethods));
      inner += Line("SalesReceipt", rng_.Pick(kCounter), 1 + static_cast<int>(rng_.Below(10)));
      if (rng_.Below(3) == 0) inner += Line("SalesReceipt", "Delivery", 1);
      b_.AddTxn("SalesReceipt", inner);
    }
  }

  void Returns() {
    constexpr std::array<std::string_view, 2> kReturned = {"Widget", "Hinge"};
    const int n = std::max(1, count_ / 20);
    for (int i = 0; i < n; ++i) {
      int64_t day = today_ - 300 + int64_t{i} * 280 / n;
      b_.AddTxn("CreditMemo", Customer() + El("TxnDate", Day(day)) + El("Memo", "Returned goods") +
                                  Line("CreditMemo", rng_.Pick(kReturned), 1));
    }
  }

  // Invoices a month and a half old are paid (one in eight only in part, one in six less a 2 %
  // discount, a customer's open credit taken off first); younger ones half the time; the last
  // fortnight's are open.
  void Payments() {
    constexpr std::array<std::string_view, 3> kMethods = {"Check", "Check", "Visa"};
    const std::string paid_by = Day(today_ - 45), half_by = Day(today_ - 15);
    TxnStore store(b_.lists());
    for (const TxnRecord& invoice : All("Invoice")) {
      if (invoice.txn_date >= half_by || (invoice.txn_date >= paid_by && rng_.Below(2) == 0))
        continue;
      int64_t open = store.ledger().OpenBalance(invoice.txn_id);
      if (open <= 0) continue;
      std::string extras;  // after PaymentAmount: credits, then the discount
      int64_t amount = open;
      const std::array<std::string_view, 1> memos = {"CreditMemo"};
      auto credits = OpenReceivables(store, invoice.entity_id, memos, false);
      if (!credits.empty()) {
        int64_t credit = std::min(open, -credits.front().second);
        amount -= credit;
        extras += "<SetCredit>" + El("CreditTxnID", credits.front().first) +
                  El("AppliedAmount", Cents(credit)) + "</SetCredit>";
      }
      if (rng_.Below(8) == 0) {
        amount /= 2;
      } else if (rng_.Below(6) == 0) {
        int64_t discount = RoundedDivide(__int128{amount} * 2, 100);
        amount -= discount;
        extras +=
            El("DiscountAmount", Cents(discount)) + Ref("DiscountAccountRef", "Discounts Given");
      }
      if (amount <= 0) continue;
      int64_t paid_on = std::min<int64_t>(
          today_, DayOf(invoice.txn_date) + 10 + static_cast<int64_t>(rng_.Below(20)));
      b_.AddTxn("ReceivePayment",
                Ref("CustomerRef", b_.lists().LoadById(invoice.entity_id)->full_name) +
                    El("TxnDate", Day(paid_on)) + El("TotalAmount", Cents(amount)) +
                    Ref("PaymentMethodRef", rng_.Pick(kMethods)) + "<AppliedToTxnAdd>" +
                    El("TxnID", invoice.txn_id) + El("PaymentAmount", Cents(amount)) + extras +
                    "</AppliedToTxnAdd>");
    }
  }

  // Each week's takings banked at the week's end, but for the last week's.
  void Deposits() {
    TxnStore store(b_.lists());
    std::map<int64_t, std::vector<std::string>> weeks;
    for (const auto& [id, amount] : AllUndeposited(store))
      if (auto txn = store.LoadById(id)) weeks[DayOf(txn->txn_date) / 7].push_back(id);
    for (const auto& [week, ids] : weeks) {
      int64_t banked = week * 7 + 6;
      if (banked > today_ - 7) break;
      std::string inner = El("TxnDate", Day(banked)) + Ref("DepositToAccountRef", "Checking") +
                          El("Memo", "Weekly deposit");
      for (const auto& id : ids)
        inner += "<DepositLineAdd>" + El("PaymentTxnID", id) + "</DepositLineAdd>";
      b_.AddTxn("Deposit", inner);
    }
  }

  // The tax of the sales up to seven weeks ago, State Tax and County Tax each on their line (a
  // Combined Tax sale split by the two rates, 7.25 and 1.00).
  void SalesTax() {
    const std::string through = Day(today_ - 50);
    int64_t state = 0, county = 0;
    for (std::string_view stem : {"Invoice", "SalesReceipt", "CreditMemo"})
      for (const TxnRecord& sale : All(stem)) {
        if (sale.txn_date > through) continue;
        int64_t tax = ParseCents(sale.Field("SalesTaxTotal")).value_or(0);
        if (stem == "CreditMemo") tax = -tax;
        if (RefName(sale.Field("ItemSalesTaxRef")) == "Combined Tax") {
          int64_t share = RoundedDivide(__int128{tax} * 100, 825);
          county += share;
          tax -= share;
        }
        state += tax;
      }
    if (state <= 0) return;
    auto line = [](std::string_view item, int64_t cents) {
      return "<SalesTaxPaymentCheckLineAdd>" + Ref("ItemSalesTaxRef", item) +
             El("Amount", Cents(cents)) + "</SalesTaxPaymentCheckLineAdd>";
    };
    b_.AddTxn("SalesTaxPaymentCheck",
              Ref("PayeeEntityRef", "State Board of Equalization") +
                  El("TxnDate", Day(today_ - 20)) + Ref("BankAccountRef", "Checking") +
                  El("IsToBePrinted", "true") + El("Memo", "Sales tax through " + through) +
                  line("State Tax", state) +
                  (county > 0 ? line("County Tax", county) : std::string()));
  }

  // Days since 1970-01-01 of "2024-03-05".
  static int64_t DayOf(std::string_view date) { return ParseDateTime(date, 0).value_or(0) / 86400; }

  Builder& b_;
  Random& rng_;
  int count_;
  int64_t today_ = 0;
  std::vector<int64_t> customers_;
};

}  // namespace

void AddSampleBusiness(CompanyDb& company, const SampleBusiness& sample,
                       std::map<std::string, std::string>& company_values,
                       std::map<std::string, std::string>& preferences,
                       const std::function<void(double)>& progress) {
  Builder b(company);
  Random rng(sample.seed);
  AddChartOfAccounts(b);

  for (auto n : {"Retail", "Wholesale"}) b.Add("Class", El("Name", n));
  b.Add("Class", El("Name", "East") + Ref("ParentRef", "Wholesale"));
  for (auto n : {"Residential", "Commercial"}) b.Add("CustomerType", El("Name", n));
  for (auto n : {"New Construction", "Remodel"}) b.Add("JobType", El("Name", n));
  for (auto n : {"Supplies", "Subcontractors", "Tax Agency"}) b.Add("VendorType", El("Name", n));
  for (auto n : {"UPS", "FedEx", "Courier"}) b.Add("ShipMethod", El("Name", n));
  for (auto n : {"Cash", "Check", "Visa", "MasterCard"}) b.Add("PaymentMethod", El("Name", n));
  for (auto n : {"Thank you for your business.", "Please remit to the address above."})
    b.Add("CustomerMsg", El("Name", n));
  b.Add("StandardTerms", El("Name", "Due on receipt") + El("StdDueDays", "0"));
  b.Add("StandardTerms", El("Name", "Net 15") + El("StdDueDays", "15"));
  b.Add("StandardTerms", El("Name", "Net 30") + El("StdDueDays", "30"));
  b.Add("StandardTerms", El("Name", "Net 60") + El("StdDueDays", "60"));
  b.Add("StandardTerms", El("Name", "2% 10 Net 30") + El("StdDueDays", "30") +
                             El("StdDiscountDays", "10") + El("DiscountPct", "2.00"));
  b.Add("DateDrivenTerms",
        El("Name", "Due on the 15th") + El("DayOfMonthDue", "15") + El("DueNextMonthDays", "5"));
  b.Add("DateDrivenTerms", El("Name", "1% 5th Net 20th") + El("DayOfMonthDue", "20") +
                               El("DueNextMonthDays", "10") + El("DiscountDayOfMonth", "5") +
                               El("DiscountPct", "1.00"));
  b.Add("DateDrivenTerms", El("Name", "Due end of month") + El("IsActive", "false") +
                               El("DayOfMonthDue", "31") + El("DueNextMonthDays", "7"));
  b.Add("SalesTaxCode", El("Name", "Tax") + El("IsTaxable", "true") + El("Desc", "Taxable sales"));
  b.Add("SalesTaxCode",
        El("Name", "Non") + El("IsTaxable", "false") + El("Desc", "Non-taxable sales"));
  b.Add("PriceLevel", El("Name", "Wholesale Discount") + El("PriceLevelType", "FixedPercentage") +
                          El("PriceLevelFixedPercentage", "-10.0"));
  b.Add("Currency", El("Name", "US Dollar") + El("CurrencyCode", "USD"));

  AddVendors(b, rng, sample);
  std::string first_employee = AddPeople(b, rng, sample);
  if (!first_employee.empty())
    b.Add("SalesRep",
          El("Initial", Initials(first_employee)) + Ref("SalesRepEntityRef", first_employee));

  b.Add("PayrollItemWage", El("Name", "Salary") + El("WageType", "SalaryRegular") +
                               Ref("ExpenseAccountRef", "Payroll Expenses"));
  b.Add("PayrollItemWage", El("Name", "Hourly Rate") + El("WageType", "HourlyRegular") +
                               Ref("ExpenseAccountRef", "Payroll Expenses"));
  // QuickBooks creates the non-wage payroll items itself; so does the sample business.
  {
    const ListType& nonwage = *FindListType("PayrollItemNonWage");
    ListRecord r;
    r.type = &nonwage;
    r.name = r.full_name = "Federal Withholding";
    r.SetField(static_cast<uint16_t>(nonwage.field_index("NonWageType")), "Tax");
    auto liability = b.lists().LoadByFullName(*FindListType("Account"),
                                              "Payroll Liabilities:Federal Withholding");
    r.SetField(static_cast<uint16_t>(nonwage.field_index("LiabilityAccountRef")),
               liability->list_id + kRefSeparator + liability->full_name);
    b.lists().InsertPrepared(r);
  }
  {
    const ListType& templ = *FindListType("Template");
    for (auto [name, kind] :
         {std::pair{"Intuit Product Invoice", "Invoice"}, std::pair{"Custom Estimate", "Estimate"},
          std::pair{"Custom Sales Receipt", "SalesReceipt"},
          std::pair{"Custom Sales Order", "SalesOrder"},
          std::pair{"Custom Credit Memo", "CreditMemo"},
          std::pair{"Custom Purchase Order", "PurchaseOrder"}}) {
      ListRecord r;
      r.type = &templ;
      r.name = r.full_name = name;
      r.SetField(static_cast<uint16_t>(templ.field_index("TemplateType")), kind);
      b.lists().InsertPrepared(r);
    }
  }

  // An item list of every kind: what the business sells, buys, stocks, charges and taxes.
  b.Add("ItemSalesTax", El("Name", "State Tax") + El("ItemDesc", "State sales tax") +
                            El("TaxRate", "7.25") +
                            Ref("TaxVendorRef", "State Board of Equalization"));
  b.Add("ItemSalesTax", El("Name", "County Tax") + El("TaxRate", "1.00") +
                            Ref("TaxVendorRef", "State Board of Equalization"));
  b.Add("ItemSalesTaxGroup", El("Name", "Combined Tax") + El("ItemDesc", "State and county") +
                                 Ref("ItemSalesTaxRef", "State Tax") +
                                 Ref("ItemSalesTaxRef", "County Tax"));
  auto sales_or_purchase = [](std::string_view desc, std::string_view price,
                              std::string_view account) {
    return "<SalesOrPurchase>" + El("Desc", desc) + El("Price", price) +
           Ref("AccountRef", account) + "</SalesOrPurchase>";
  };
  auto sales_and_purchase = [](std::string_view desc, std::string_view price, std::string_view cost,
                               std::string_view expense) {
    return "<SalesAndPurchase>" + El("SalesDesc", desc) + El("SalesPrice", price) +
           Ref("IncomeAccountRef", "Sales") + El("PurchaseDesc", desc) + El("PurchaseCost", cost) +
           Ref("ExpenseAccountRef", expense) + "</SalesAndPurchase>";
  };
  b.Add("ItemService", El("Name", "Consulting") + Ref("SalesTaxCodeRef", "Non") +
                           sales_or_purchase("Consulting, per hour", "95.00", "Services"));
  b.Add("ItemService", El("Name", "Installation") + Ref("SalesTaxCodeRef", "Non") +
                           sales_or_purchase("Installation labour", "65.00", "Services"));
  b.Add("ItemService",
        El("Name", "Site Visit") + Ref("ParentRef", "Installation") +
            Ref("SalesTaxCodeRef", "Non") +
            sales_or_purchase("Site survey before installation", "120.00", "Services"));
  b.Add("ItemService", El("Name", "Repairs") + Ref("SalesTaxCodeRef", "Non") +
                           sales_and_purchase("Repair work, subcontracted", "85.00", "55.00",
                                              "Repairs and Maintenance"));
  b.Add("ItemNonInventory", El("Name", "Hardware") + Ref("SalesTaxCodeRef", "Tax") +
                                sales_or_purchase("Miscellaneous hardware", "4.50", "Sales"));
  b.Add("ItemNonInventory",
        El("Name", "Special Order") + Ref("SalesTaxCodeRef", "Tax") +
            sales_and_purchase("Special-order part", "0.00", "0.00", "Cost of Goods Sold"));
  b.Add("ItemOtherCharge", El("Name", "Delivery") + Ref("SalesTaxCodeRef", "Non") +
                               sales_or_purchase("Delivery charge", "25.00", "Sales"));
  b.Add("ItemOtherCharge", El("Name", "Restocking Fee") + Ref("SalesTaxCodeRef", "Non") +
                               "<SalesOrPurchase>" + El("Desc", "Restocking fee on returns") +
                               El("PricePercent", "15.0") + Ref("AccountRef", "Sales") +
                               "</SalesOrPurchase>");
  // Parts in stock, each with its opening quantity and value.
  auto part = [&](std::string_view name, std::string_view desc, std::string_view price,
                  std::string_view cost, std::string_view reorder, std::string_view on_hand,
                  std::string_view value) {
    b.Add("ItemInventory",
          El("Name", name) + Ref("SalesTaxCodeRef", "Tax") + El("SalesDesc", desc) +
              El("SalesPrice", price) + Ref("IncomeAccountRef", "Sales") +
              El("PurchaseDesc", desc) + El("PurchaseCost", cost) +
              Ref("COGSAccountRef", "Cost of Goods Sold") +
              Ref("AssetAccountRef", "Inventory Asset") + El("ReorderPoint", reorder) +
              El("QuantityOnHand", on_hand) + El("TotalValue", value));
  };
  part("Widget", "Standard widget", "12.00", "7.00", "20", "140", "980.00");
  part("Gadget", "Gadget, large", "30.00", "18.00", "10", "36", "648.00");
  part("Bracket", "Steel bracket", "3.50", "1.20", "100", "420", "504.00");
  part("Hinge", "Brass hinge", "6.25", "2.90", "50", "75", "217.50");
  b.Add("ItemInventoryAssembly",
        El("Name", "Widget Kit") + Ref("SalesTaxCodeRef", "Tax") +
            El("SalesDesc", "Widget kit, assembled") + El("SalesPrice", "45.00") +
            Ref("IncomeAccountRef", "Sales") + Ref("COGSAccountRef", "Cost of Goods Sold") +
            Ref("AssetAccountRef", "Inventory Asset") + El("BuildPoint", "5") +
            "<ItemInventoryAssemblyLine>" + Ref("ItemInventoryRef", "Widget") +
            El("Quantity", "3") + "</ItemInventoryAssemblyLine><ItemInventoryAssemblyLine>" +
            Ref("ItemInventoryRef", "Bracket") + El("Quantity", "2") +
            "</ItemInventoryAssemblyLine>");
  b.Add("ItemFixedAsset", El("Name", "Delivery Van") + El("AcquiredAs", "New") +
                              El("PurchaseDesc", "Delivery van") +
                              El("PurchaseDate", "2020-01-15") + El("PurchaseCost", "28000.00") +
                              Ref("AssetAccountRef", "Vehicles:Original Cost"));
  b.Add("ItemSubtotal", El("Name", "Subtotal") + El("ItemDesc", "Subtotal"));
  b.Add("ItemDiscount", El("Name", "Loyalty Discount") + El("ItemDesc", "10% off") +
                            El("DiscountRatePercent", "10.0") +
                            Ref("AccountRef", "Discounts Given"));
  b.Add("ItemDiscount", El("Name", "Trade-in Credit") + El("ItemDesc", "Credit for a trade-in") +
                            El("DiscountRate", "50.00") + Ref("AccountRef", "Discounts Given"));
  b.Add("ItemPayment", El("Name", "Deposit") + El("ItemDesc", "Customer deposit") +
                           Ref("DepositToAccountRef", "Undeposited Funds") +
                           Ref("PaymentMethodRef", "Check"));
  b.Add("ItemGroup", El("Name", "Starter Pack") + El("ItemDesc", "Widget with installation") +
                         El("IsPrintItemsInGroup", "true") + "<ItemGroupLine>" +
                         Ref("ItemRef", "Widget") + El("Quantity", "1") + "</ItemGroupLine>" +
                         "<ItemGroupLine>" + Ref("ItemRef", "Installation") + El("Quantity", "1") +
                         "</ItemGroupLine>" + "<ItemGroupLine>" +
                         Ref("ItemRef", "Loyalty Discount") + "</ItemGroupLine>");

  b.DefineCustomField("Referred By", "Customer");
  b.DefineCustomField("Preferred Contact", "Customer");
  AddCustomers(b, rng, sample, progress);
  ListFilter customers;
  customers.types = {"Customer"};
  auto first_customer = b.lists().Select(customers);
  if (!first_customer.empty()) {
    auto c = b.lists().LoadByRow(first_customer.front());
    b.Add("ToDo", El("Notes", "Call about the next order") + Ref("CustomerRef", c->full_name) +
                      El("IsDone", "false") + El("ReminderDate", "2030-01-15"));
  }
  b.Add("ToDo", El("Notes", "Renew the business licence") + El("IsDone", "false"));
  AddInvoices(b, rng, sample);
  if (sample.invoices > 0) SalesActivity(b, rng, sample.invoices).Run();
  // The year of buying comes with the year of selling (--invoices 0 makes a business without
  // either).
  if (sample.invoices > 0)
    AddSamplePurchasing(
        b.lists(),
        [&b](std::string_view stem, const std::string& inner) { return b.AddTxn(stem, inner); },
        [&rng](size_t n) { return rng.Below(n); });

  b.lists().Flush();
  company_values["IsSampleCompany"] = "true";
  company_values["CompanyName"] = "Brennock Sample Company";
  preferences["AccountingPreferences.IsUsingAccountNumbers"] = "true";
  preferences["FinanceChargePreferences.FinanceChargeAccountRef"] = "Finance Charge Income";
  preferences["PurchasesAndVendorsPreferences.DefaultDiscountAccountRef"] = "Discounts Given";
  preferences["SalesAndCustomersPreferences.DefaultShipMethodRef"] = "UPS";
  preferences["SalesTaxPreferences.DefaultItemSalesTaxRef"] = "State Tax";
  preferences["SalesTaxPreferences.PaySalesTax"] = "Monthly";
  preferences["SalesTaxPreferences.DefaultTaxableSalesTaxCodeRef"] = "Tax";
  preferences["SalesTaxPreferences.DefaultNonTaxableSalesTaxCodeRef"] = "Non";
}

}  // namespace brennock::simulator
