#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/enums/company_enums.h"
#include "brennock/enums/object_enums.h"
#include "brennock/enums/query_enums.h"
#include "brennock/enums/txn_enums.h"

namespace brennock {

class qcListObject;
class XmlDocument;
class XmlNode;

// Reads selected fields of many list records at once as strings, straight from the response
// text: from qbXML 4.0 on QuickBooks is asked for those elements only, and no document or record
// object is built. FieldValueStrings holds Count() * Fields().size() values, record by record in
// the order of Fields. GetFirst/GetNext instead walk whole records one by one.
class ListEntries {
 public:
  ListEntries();
  ~ListEntries();

  qoEnumListType ListType() const noexcept { return listType_; }
  void SetListType(qoEnumListType value) noexcept { listType_ = value; }
  const std::vector<qoFields>& Fields() const noexcept { return fields_; }
  void SetFields(std::vector<qoFields> value) { fields_ = std::move(value); }
  bool IncludeCustomFields() const noexcept { return includeCustomFields_; }
  void SetIncludeCustomFields(bool value) noexcept { includeCustomFields_ = value; }
  int32_t Count() const noexcept { return count_; }
  const std::vector<std::string>& FieldValueStrings() const noexcept { return values_; }

  // The records of ListType in that status; an unset or unknown ListType raises 2911. Returns
  // Count.
  int32_t GetByActiveStatus(qbEnumActiveStatus ActiveStatus, int32_t MaxReturned = 0);
  // Queries whole records and returns the first as a record object (null when none, or when the
  // library has no class for the list); GetNext returns the following ones, null after the last.
  std::shared_ptr<qcListObject> GetFirst(int32_t MaxReturned = 0);
  std::shared_ptr<qcListObject> GetNext();

 private:
  qoEnumListType listType_ = static_cast<qoEnumListType>(0);
  std::vector<qoFields> fields_;
  bool includeCustomFields_ = false;
  int32_t count_ = 0;
  std::vector<std::string> values_;
  std::shared_ptr<XmlDocument> document_;
  std::vector<XmlNode> records_;
  size_t next_ = 0;
};

// Reads the TxnID of many bills or invoices at once, as ListEntries reads list fields.
class TxnEntries {
 public:
  qbEnumTxnType TxnType() const noexcept { return txnType_; }
  // Bills and invoices only; any other type raises 2910.
  void SetTxnType(qbEnumTxnType value);
  const std::vector<qoFields>& Fields() const noexcept { return fields_; }
  void SetFields(std::vector<qoFields> value) { fields_ = std::move(value); }
  int32_t Count() const noexcept { return count_; }
  const std::vector<std::string>& FieldValueStrings() const noexcept { return values_; }

  // 2034 while TxnType is unset; 2910 (source "TxnEntries:FieldTag") for a field other than
  // qoFldTxnId. Returns Count.
  int32_t GetAll(int32_t MaxReturned = 0);

 private:
  qbEnumTxnType txnType_ = static_cast<qbEnumTxnType>(0);
  std::vector<qoFields> fields_;
  int32_t count_ = 0;
  std::vector<std::string> values_;
};

// The scanner behind both readers, for tests and benchmarks: the values of fields in every record
// of the first response of text. customNames: the custom-field names of qoFldCustom1..7.
int32_t ScanFieldValues(std::string_view text, const std::vector<qoFields>& fields,
                        const std::vector<std::string>& customNames,
                        std::vector<std::string>& values);
}  // namespace brennock
