#include "brennock/company/field_readers.h"

#include <cstring>

#include "brennock/company/company.h"
#include "brennock/company/data_extension_definitions.h"
#include "brennock/enums/enumerations.h"
#include "brennock/errors/automation_error.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/model/list_collection_core.h"
#include "brennock/internal/model/list_record_core.h"
#include "brennock/internal/model/query_fields.h"
#include "brennock/internal/registry/record_registry.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/xml/xml_document.h"

namespace brennock {
namespace {

// One element directly inside another, as positions in the response text.
struct Piece {
  std::string_view name;
  std::string_view content;  // between the start and end tags, as written
};

// The elements directly inside content, found by their tags alone.
void Children(std::string_view content, std::vector<Piece>& out) {
  out.clear();
  size_t depth = 0, at = 0, openEnd = 0;
  std::string_view open;
  const char* base = content.data();
  while (at < content.size()) {
    const void* found = std::memchr(base + at, '<', content.size() - at);
    if (!found) break;
    size_t lt = static_cast<size_t>(static_cast<const char*>(found) - base);
    const void* close = std::memchr(base + lt, '>', content.size() - lt);
    if (!close) break;
    size_t gt = static_cast<size_t>(static_cast<const char*>(close) - base);
    char kind = lt + 1 < content.size() ? content[lt + 1] : '\0';
    if (kind == '/') {
      if (depth > 0 && --depth == 0) out.push_back({open, content.substr(openEnd, lt - openEnd)});
    } else if (kind != '?' && kind != '!') {
      size_t nameEnd = lt + 1;
      while (nameEnd < gt && content[nameEnd] != ' ' && content[nameEnd] != '/' &&
             content[nameEnd] != '\t' && content[nameEnd] != '\r' && content[nameEnd] != '\n')
        ++nameEnd;
      bool empty = content[gt - 1] == '/';
      if (depth == 0) {
        open = content.substr(lt + 1, nameEnd - lt - 1);
        openEnd = gt + 1;
        if (empty) out.push_back({open, {}});
      }
      if (!empty) ++depth;
    }
    at = gt + 1;
  }
}

const Piece* Find(const std::vector<Piece>& pieces, std::string_view name) {
  for (const Piece& piece : pieces)
    if (piece.name == name) return &piece;
  return nullptr;
}

// The value of an element as text: entities are decoded by the XML parser, and only where there
// is one.
std::string Value(std::string_view raw) {
  if (raw.find('&') == std::string_view::npos) return std::string(raw);
  XmlDocument document;
  document.loadXML("<A>" + std::string(raw) + "</A>");
  return document.documentElement().text();
}

// The next c from p on, or null. Texts and tags of a record are short, so a plain loop beats a
// call to memchr for each; a long stretch is left to memchr.
inline const char* Next(const char* p, const char* end, char c) {
  const char* stop = end - p > 32 ? p + 32 : end;
  for (; p < stop; ++p) {
    if (*p == c) return p;
  }
  if (p == end) return nullptr;
  return static_cast<const char*>(std::memchr(p, c, static_cast<size_t>(end - p)));
}

class RecordScanner {
 public:
  RecordScanner(const std::vector<qoFields>& fields, const std::vector<std::string>& customNames)
      : fields_(fields), customNames_(customNames) {}

  // Every record of a response's content, in one pass over its tags: the fields of a record are
  // its elements one level down. Returns the number of records.
  int32_t ReadAll(std::string_view content, std::vector<std::string>& values) {
    int32_t records = 0;
    const char* base = content.data();
    const char* end = base + content.size();
    const char* p = base;
    size_t depth = 0;
    Piece record, field;
    const char* fieldBegin = nullptr;
    const char* recordBegin = nullptr;
    while (p < end) {
      p = Next(p, end, '<');
      if (!p || p + 1 >= end) break;
      if (p[1] == '/') {  // an end tag closes the innermost element
        const char* lt = p;
        p = Next(p, end, '>');
        if (!p) break;
        ++p;
        if (depth == 0) break;
        --depth;
        if (depth == 1) {
          field.content = std::string_view(fieldBegin, static_cast<size_t>(lt - fieldBegin));
          top_.push_back(field);
        } else if (depth == 0) {
          record.content = std::string_view(recordBegin, static_cast<size_t>(lt - recordBegin));
          for (qoFields f : fields_) values.push_back(Field(record, f));
          ++records;
        }
        continue;
      }
      if (p[1] == '?' || p[1] == '!') {
        p = Next(p, end, '>');
        if (!p) break;
        ++p;
        continue;
      }
      const char* name = p + 1;
      const char* q = name;
      while (q < end && *q != '>' && *q != ' ' && *q != '/' && *q != '\t' && *q != '\r' &&
             *q != '\n')
        ++q;
      std::string_view tag(name, static_cast<size_t>(q - name));
      if (q < end && *q != '>') q = Next(q, end, '>');
      if (!q) break;
      bool empty = q[-1] == '/';
      p = q + 1;
      if (depth == 0) {
        record.name = tag;
        recordBegin = p;
        top_.clear();
        if (empty) {
          record.content = {};
          for (qoFields f : fields_) values.push_back(Field(record, f));
          ++records;
          continue;
        }
      } else if (depth == 1) {
        field.name = tag;
        fieldBegin = p;
        if (empty) {
          field.content = {};
          top_.push_back(field);
          continue;
        }
      }
      if (!empty) ++depth;
    }
    return records;
  }

 private:
  std::string Inner(const Piece* aggregate, std::string_view name) {
    if (!aggregate) return {};
    Children(aggregate->content, inner_);
    const Piece* piece = Find(inner_, name);
    return piece ? Value(piece->content) : std::string();
  }

  std::string Field(const Piece& record, qoFields field) {
    switch (field) {
      case qoFldItemType:
      case qoFldEntityType: {
        std::string_view name = record.name;
        if (name.size() > 3 && name.substr(name.size() - 3) == "Ret") name.remove_suffix(3);
        return std::string(name);
      }
      case qoFldFullName: {
        const Piece* piece = Find(top_, "FullName");
        if (!piece) piece = Find(top_, "Name");
        return piece ? Value(piece->content) : std::string();
      }
      case qoFldItemSalesDesc: {
        if (const Piece* p = Find(top_, "SalesOrPurchase")) return Inner(p, "Desc");
        if (const Piece* p = Find(top_, "SalesAndPurchase")) return Inner(p, "SalesDesc");
        const Piece* piece = Find(top_, "SalesDesc");
        if (!piece) piece = Find(top_, "ItemDesc");
        return piece ? Value(piece->content) : std::string();
      }
      case qoFldItemPrice: {
        if (const Piece* p = Find(top_, "SalesOrPurchase")) {
          Children(p->content, inner_);
          const Piece* price = Find(inner_, "Price");
          if (!price) price = Find(inner_, "PricePercent");
          return price ? Value(price->content) : std::string();
        }
        if (const Piece* p = Find(top_, "SalesAndPurchase")) return Inner(p, "SalesPrice");
        const Piece* piece = Find(top_, "SalesPrice");
        return piece ? Value(piece->content) : std::string();
      }
      case qoFldCustType:
      case qoFldCustTerms:
      case qoFldCustSalesRep:
        return Inner(Find(top_, QueryFieldElement(field)), "FullName");
      case qoFldCustBillToAddress: {
        const Piece* address = Find(top_, "BillAddress");
        if (!address) return {};
        Children(address->content, inner_);
        std::string joined;
        for (const Piece& line : inner_) {
          if (!joined.empty()) joined += ", ";
          joined += Value(line.content);
        }
        return joined;
      }
      default:
        break;
    }
    if (field >= qoFldCustom1 && field <= qoFldCustom7) {
      size_t index = static_cast<size_t>(field - qoFldCustom1);
      if (index >= customNames_.size()) return {};
      for (const Piece& piece : top_) {
        if (piece.name != "DataExtRet") continue;
        Children(piece.content, inner_);
        const Piece* name = Find(inner_, "DataExtName");
        if (name && Value(name->content) == customNames_[index]) {
          const Piece* value = Find(inner_, "DataExtValue");
          return value ? Value(value->content) : std::string();
        }
      }
      return {};
    }
    const Piece* piece = Find(top_, QueryFieldElement(field));
    return piece ? Value(piece->content) : std::string();
  }

  const std::vector<qoFields>& fields_;
  const std::vector<std::string>& customNames_;
  std::vector<Piece> top_;
  std::vector<Piece> inner_;
};

// The content of the first response inside the message set; empty when there is none.
std::string_view FirstResponseContent(std::string_view text) {
  size_t set = text.find("<QBXMLMsgsRs");
  if (set == std::string_view::npos) return {};
  size_t lt = text.find('<', set + 1);
  if (lt == std::string_view::npos || lt + 1 >= text.size() || text[lt + 1] == '/') return {};
  size_t gt = text.find('>', lt);
  if (gt == std::string_view::npos || text[gt - 1] == '/') return {};
  size_t nameEnd = lt + 1;
  while (nameEnd < gt && text[nameEnd] != ' ' && text[nameEnd] != '\t' && text[nameEnd] != '\r' &&
         text[nameEnd] != '\n')
    ++nameEnd;
  std::string close = "</" + std::string(text.substr(lt + 1, nameEnd - lt - 1)) + ">";
  // The end tag is usually near the end of a long text: memmem skips ahead by blocks, where a
  // plain find compares at every '<'.
  const std::string_view rest = text.substr(gt + 1);
  const void* found = memmem(rest.data(), rest.size(), close.data(), close.size());
  if (found == nullptr) return {};
  return rest.substr(0, static_cast<size_t>(static_cast<const char*>(found) - rest.data()));
}

std::string ActiveStatusTag(qbEnumActiveStatus status) {
  return EnumCodeToText(qoeActiveStatus, static_cast<int16_t>(status));
}

// Makes a record of the collection's class for a response element.
struct RecordMaker : ListCollectionCore {
  static std::shared_ptr<ListRecordCore> Make(ListCollectionCore& collection,
                                              std::string_view element) {
    return (collection.*(&RecordMaker::NewListRecord))(element);
  }
};

}  // namespace

int32_t ScanFieldValues(std::string_view text, const std::vector<qoFields>& fields,
                        const std::vector<std::string>& customNames,
                        std::vector<std::string>& values) {
  values.clear();
  RecordScanner scanner(fields, customNames);
  return scanner.ReadAll(FirstResponseContent(text), values);
}

ListEntries::ListEntries() = default;
ListEntries::~ListEntries() = default;

int32_t ListEntries::GetByActiveStatus(qbEnumActiveStatus ActiveStatus, int32_t MaxReturned) {
  const RecordKind* kind = listType_ == 0 ? nullptr : FindListKind(listType_);
  if (!kind) RaiseTableError(errListTypeNotSet);
  std::string query = std::string(kind->stem) + "QueryRq";
  bool custom = includeCustomFields_;
  for (qoFields field : fields_)
    if (field >= qoFldCustom1 && field <= qoFldCustom7) custom = true;
  includeCustomFields_ = custom;
  xmlBldr builder;
  builder.NewClear();
  std::string text;
  if (Session().qbxmlVersionNumber < Currency::FromInteger(4)) {
    text = builder.XMLQuerySingleExecute(query, ActiveStatusTag(ActiveStatus), "ActiveStatus",
                                         MaxReturned, kind->objectType);
  } else {
    builder.OpenAggregateOnly(query);
    if (MaxReturned > 0) builder.CreateElement("MaxReturned", std::to_string(MaxReturned));
    builder.CreateElement("ActiveStatus", ActiveStatusTag(ActiveStatus));
    bool items = listType_ == qoListItems;
    for (qoFields field : fields_) {
      switch (field) {
        case qoFldItemType:
        case qoFldEntityType:
          break;
        case qoFldItemSalesDesc:
          for (const char* e : {"SalesDesc", "ItemDesc", "SalesOrPurchase", "SalesAndPurchase"})
            builder.CreateElement("IncludeRetElement", e);
          break;
        case qoFldItemPrice:
          for (const char* e : {"SalesPrice", "SalesOrPurchase", "SalesAndPurchase"})
            builder.CreateElement("IncludeRetElement", e);
          break;
        default:
          if (field >= qoFldCustom1 && field <= qoFldCustom7) break;
          builder.CreateElement("IncludeRetElement", QueryFieldElement(field));
          if (field == qoFldFullName && items) builder.CreateElement("IncludeRetElement", "Name");
      }
    }
    if (custom) {
      builder.CreateElement("IncludeRetElement", "DataExtRet");
      builder.CreateElement("OwnerID", "0");
    }
    builder.EndAggregate(query);
    text = builder.NewSendRequestText();
  }
  std::vector<std::string> names;
  if (custom) names = CustomFieldNamesOf(kind->objectType);
  count_ = ScanFieldValues(text, fields_, names, values_);
  return count_;
}

std::shared_ptr<qcListObject> ListEntries::GetFirst(int32_t MaxReturned) {
  const RecordKind* kind = listType_ == 0 ? nullptr : FindListKind(listType_);
  if (!kind) RaiseTableError(errListTypeNotSet);
  xmlBldr builder;
  document_ =
      builder.QuerySingleExecute(std::string(kind->stem) + "QueryRq", ActiveStatusTag(qbStatusAny),
                                 "ActiveStatus", MaxReturned, kind->objectType);
  records_.clear();
  next_ = 0;
  if (document_) {
    XmlNode response = document_->documentElement().childNodes().item(0).childNodes().item(0);
    for (XmlNode element : response.childNodes())
      if (element.nodeType() == NODE_ELEMENT) records_.push_back(element);
  }
  count_ = static_cast<int32_t>(records_.size());
  return GetNext();
}

std::shared_ptr<qcListObject> ListEntries::GetNext() {
  if (next_ >= records_.size()) return nullptr;
  const XmlNode& element = records_[next_++];
  const RecordKind* kind = FindListKind(listType_);
  if (!kind || !kind->newCollection) return nullptr;
  auto collection = std::static_pointer_cast<ListCollectionCore>(kind->newCollection());
  std::shared_ptr<ListRecordCore> record = RecordMaker::Make(*collection, element.baseName());
  if (!record) return nullptr;
  record->FromDom(element);
  return record;
}

void TxnEntries::SetTxnType(qbEnumTxnType value) {
  if (value != qbTxnBill && value != qbTxnInvoice) RaiseError(errFeatureNotSupported, "TxnEntries");
  txnType_ = value;
}

int32_t TxnEntries::GetAll(int32_t MaxReturned) {
  if (txnType_ == 0) RaiseTableError(errTxnTypeNotSet);
  std::string query = (txnType_ == qbTxnBill ? "Bill" : "Invoice") + std::string("QueryRq");
  xmlBldr builder;
  builder.NewClear();
  builder.OpenAggregateOnly(query);
  if (MaxReturned > 0) builder.CreateElement("MaxReturned", std::to_string(MaxReturned));
  for (qoFields field : fields_) {
    if (field != qoFldTxnId) RaiseError(errFeatureNotSupported, "TxnEntries:FieldTag");
    builder.CreateElement("IncludeRetElement", "TxnID", Currency::FromInteger(4));
  }
  builder.EndAggregate(query);
  count_ = ScanFieldValues(builder.NewSendRequestText(), fields_, {}, values_);
  return count_;
}

}  // namespace brennock
