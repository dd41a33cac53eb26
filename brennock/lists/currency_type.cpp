#include "brennock/lists/currency_type.h"

#include "brennock/internal/errors/collected_errors.h"

namespace brennock {

// Name and IsActive are written; the rest are elements of older QuickBooks releases, read as sent.
const RecordBindings& CurrencyType::Bindings() {
  using C = CurrencyType;
  constexpr uint16_t kOld = kInRet | kNotInSchema;
  BRENNOCK_BINDINGS(
      qcBase, RetHeadRows(), NameRow(), ActiveRow(kInAdd | kInRet | kWordsInRequests),
      std::array{ReadOnly(Bind<&C::exchangeRate_, codecs::Single>("ExchangeRate", kOld)),
                 ReadOnly(Bind<&C::symbol_, codecs::Text>("Symbol", kOld)),
                 ReadOnly(Bind<&C::code_, codecs::Text>("Code", kOld)),
                 ReadOnly(Bind<&C::isEmu_, codecs::Bool>("IsEmu", kOld)),
                 ReadOnly(Bind<&C::country_, codecs::Text>("Country", kOld)),
                 ReadOnly(Bind<&C::emuRate_, codecs::Single>("EMURate", kOld)),
                 ReadOnly(Bind<&C::hotKey_, codecs::Text>("CurrencyHotKey", kOld)),
                 ReadOnly(Bind<&C::symbolPos_, codecs::Int16>("SymbolPos", kOld)),
                 ReadOnly(Bind<&C::decimalSep_, codecs::Text>("DecimalSep", kOld)),
                 ReadOnly(Bind<&C::decimalPlaces_, codecs::Int16>("DecimalPlaces", kOld)),
                 ReadOnly(Bind<&C::thousandSep_, codecs::Text>("ThousandSep", kOld))},
      UserDataRow());
}

void CurrencyType::CheckRules(qcErrors& errors) {
  if (name_.empty()) AddTableError(errors, errNameNull, "Name");
}

}  // namespace brennock
