#include "brennock/lists/credit_card.h"

#include "brennock/internal/model/codecs.h"

namespace brennock {

const BindingTable<CreditCard>& CreditCard::Bindings() {
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet | kSkipEmpty;
  using C = CreditCard;
  BRENNOCK_BINDINGS(
      C, std::array{Bind<&C::cardNumber_, codecs::Text, C>("CreditCardNumber", kAll),
                    Bind<&C::expirationMonth_, codecs::Int16, C>("ExpirationMonth", kAll),
                    Bind<&C::expirationYear_, codecs::Int16, C>("ExpirationYear", kAll),
                    Bind<&C::nameOnCard_, codecs::Text, C>("NameOnCard", kAll),
                    Bind<&C::address_, codecs::Text, C>("CreditCardAddress", kAll),
                    Bind<&C::postalCode_, codecs::Text, C>("CreditCardPostalCode", kAll)});
}

bool CreditCard::IsEmpty() const noexcept {
  return cardNumber_.empty() && nameOnCard_.empty() && address_.empty() && postalCode_.empty() &&
         expirationMonth_ == 0 && expirationYear_ == 0;
}

void CreditCard::FromDom(const FieldElement& element) {
  std::string authCode = std::move(authCode_);
  *this = CreditCard();
  authCode_ = std::move(authCode);
  Bindings().Read(*this, element);
  state_ = qoObjectStateClean;
}

void CreditCard::WriteElements(RequestWriter& builder) const {
  Bindings().Write(*this, builder, BodyForm::kAdd);
}

}  // namespace brennock
