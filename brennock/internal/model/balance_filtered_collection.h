#pragma once

#include <string>

#include "brennock/internal/model/typed_list_collection.h"

namespace brennock {

// The collections of the lists with balances (customers, vendors): every list query can also
// filter on the total balance (TotalBalanceFilter with the operator's qbXML text and the amount).
template <class Record>
class BalanceFilteredCollection : public TypedListCollection<Record> {
 public:
  using ListCollectionCore::GetActive;
  using ListCollectionCore::GetAll;
  using ListCollectionCore::GetByDateSpan;
  using ListCollectionCore::GetByNameMatch;
  using ListCollectionCore::GetByNameRange;

  int32_t GetAll(int32_t MaxReturned, const std::string& sMDBPath, qbEnumOperator BalanceFilter,
                 Currency Balance) {
    typename ListCollectionCore::BalanceFilter filter{BalanceFilter, Balance};
    return this->QueryByStatus(qbStatusAny, MaxReturned, sMDBPath, &filter);
  }
  int32_t GetActive(int32_t MaxReturned, const std::string& sMDBPath, qbEnumOperator BalanceFilter,
                    Currency Balance) {
    typename ListCollectionCore::BalanceFilter filter{BalanceFilter, Balance};
    return this->QueryByStatus(qbStatusActive, MaxReturned, sMDBPath, &filter);
  }
  int32_t GetByNameRange(const std::string& FromName, const std::string& ToName,
                         int32_t MaxReturned, const std::string& sMDBPath,
                         qbEnumOperator BalanceFilter, Currency Balance) {
    typename ListCollectionCore::BalanceFilter filter{BalanceFilter, Balance};
    return this->QueryByNameRange(FromName, ToName, MaxReturned, sMDBPath, &filter);
  }
  int32_t GetByNameMatch(const std::string& MatchString, qbEnumMatchType MatchType,
                         int32_t MaxReturned, const std::string& sMDBPath,
                         qbEnumOperator BalanceFilter, Currency Balance) {
    typename ListCollectionCore::BalanceFilter filter{BalanceFilter, Balance};
    return this->QueryByNameMatch(MatchString, MatchType, MaxReturned, sMDBPath, &filter);
  }
  int32_t GetByDateSpan(Date FromDate, Date ToDate, int32_t MaxReturned,
                        const std::string& sMDBPath, qbEnumOperator BalanceFilter,
                        Currency Balance) {
    typename ListCollectionCore::BalanceFilter filter{BalanceFilter, Balance};
    return this->QueryByDateSpan(FromDate, ToDate, MaxReturned, sMDBPath, &filter);
  }

 protected:
  using TypedListCollection<Record>::TypedListCollection;
};

}  // namespace brennock
