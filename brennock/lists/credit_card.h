#pragma once

#include <cstdint>
#include <string>

#include "brennock/enums/object_enums.h"
#include "brennock/internal/model/binding.h"

namespace brennock {

// A customer's credit card (the CreditCardInfo aggregate): Clean as read or untouched, Dirty once a
// setter changed it.
class CreditCard {
 public:
  const std::string& CardNumber() const noexcept { return cardNumber_; }
  int16_t ExpirationMonth() const noexcept { return expirationMonth_; }
  int16_t ExpirationYear() const noexcept { return expirationYear_; }
  const std::string& NameOnCard() const noexcept { return nameOnCard_; }
  // The card holder's street address and postal code.
  const std::string& Address() const noexcept { return address_; }
  const std::string& PostalCode() const noexcept { return postalCode_; }
  // An authorisation code for a charge; never sent with the card.
  const std::string& AuthCode() const noexcept { return authCode_; }
  qoEnumObjectState ObjectState() const noexcept { return state_; }
  bool IsEmpty() const noexcept;

  void SetCardNumber(std::string value) { Set(cardNumber_, std::move(value)); }
  void SetExpirationMonth(int16_t value) { Set(expirationMonth_, value); }
  void SetExpirationYear(int16_t value) { Set(expirationYear_, value); }
  void SetNameOnCard(std::string value) { Set(nameOnCard_, std::move(value)); }
  void SetAddress(std::string value) { Set(address_, std::move(value)); }
  void SetPostalCode(std::string value) { Set(postalCode_, std::move(value)); }
  void SetAuthCode(std::string value) { authCode_ = std::move(value); }

  // Reads a CreditCardInfo element; the card becomes Clean.
  void FromDom(const FieldElement& element);
  // Library-internal: empties the card as its owner is read again (Clean, as QuickBooks sent no
  // card).
  void Reset() {
    std::string authCode = std::move(authCode_);
    *this = CreditCard();
    authCode_ = std::move(authCode);
  }
  // Its elements, in qbXML order, into the aggregate the caller has opened.
  void WriteElements(RequestWriter& builder) const;

  static const BindingTable<CreditCard>& Bindings();

 private:
  template <class T, class V>
  void Set(T& field, V&& value) {
    field = std::forward<V>(value);
    state_ = qoObjectStateDirty;
  }

  std::string cardNumber_, nameOnCard_, address_, postalCode_, authCode_;
  int16_t expirationMonth_ = 0;
  int16_t expirationYear_ = 0;
  qoEnumObjectState state_ = qoObjectStateClean;
};

}  // namespace brennock
