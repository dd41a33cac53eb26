// How an item line reads from a response and writes into its owner's request: one reading table
// for every owner, and one row table per kind of owner, each row with the condition under which
// QuickBooks takes the element.
#include <algorithm>
#include <array>

#include "brennock/enums/enumeration_type.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/xml/element_tree.h"
#include "brennock/transactions/txn_item_line.h"
#include "brennock/transactions/txn_item_lines.h"
#include "brennock/values/convert_dtypes.h"

namespace brennock {

// The line's rows, with access to its fields.
struct ItemLineRows {
  using L = txnItemLine;
  using Row = Binding<L>;
  using Pred = bool (*)(const L&);

  // A member's row written only while when(line) holds.
  template <auto Member, class Codec, Pred When>
  static constexpr Row If(std::string_view element, uint16_t flags) {
    Row row = Bind<Member, Codec, L>(element, flags);
    row.write = [](const L& l, RequestWriter& b, std::string_view name, uint16_t f, BodyForm form) {
      if (When(l)) detail::WriteMember<Member, Codec, L>(l, b, name, f, form);
    };
    return row;
  }

  // The row of a field kept in the line's rare block: read into the block (made then) and written
  // from it (its empty value while the line has none) while When(line) holds.
  template <auto Field, class Codec, Pred When>
  static constexpr Row RareIf(std::string_view element, uint16_t flags) {
    return {element,
            flags,
            [](L& l, const FieldElement& x) { Codec::Read(l.MutableRare().*Field, x); },
            [](const L& l, RequestWriter& b, std::string_view name, uint16_t f, BodyForm form) {
              if (When(l))
                detail::WriteMember<Field, Codec, L::Rare>(l.RareOrNone(), b, name, f, form);
            },
            nullptr,
            Codec::kType};
  }

  static bool Always(const L&) { return true; }
  static bool HasItem(const L& l) { return !l.item_.IsEmpty(); }
  static bool Linked(const L& l) {
    return l.rare_ && !l.rare_->linkedTxnID.empty() && !l.rare_->linkedTxnLineID.empty();
  }
  static bool NotLinked(const L& l) {
    return !l.rare_ || (l.rare_->linkedTxnID.empty() && l.rare_->linkedTxnLineID.empty());
  }
  static bool OverrideOnly(const L& l) {
    return !HasItem(l) && !l.RareOrNone().overrideAccount.FullNameView().empty();
  }
  static bool TypeIn(const L& l, std::initializer_list<qbEnumItemType> types) {
    const qbEnumItemType type = l.ItemTypeCode();
    for (qbEnumItemType t : types)
      if (t == type) return true;
    return false;
  }
  static bool NonUS() { return Session().nonUSEdition; }
  static bool From(int tenths) {
    return SessionQbxmlVersion() >= Currency::FromScaled(int64_t{tenths} * 1000);
  }

  // Sales owners (Invoice, SalesReceipt, CreditMemo, SalesOrder).
  static bool SalesQuantity(const L& l) {
    if (!l.quantitySet_) return false;
    if (OverrideOnly(l)) return true;
    return HasItem(l) && !TypeIn(l, {qbItemPayment, qbItemDiscount, qbItemSalesTax,
                                     qbItemSalesTaxGroup, qbItemSubtotal, qbItemFixedAsset});
  }
  static bool SalesRatePercent(const L& l) { return HasItem(l) && l.costIsPercent_; }
  static bool SalesRate(const L& l) {
    if (OverrideOnly(l)) return true;
    return HasItem(l) && !l.costIsPercent_ &&
           !TypeIn(l, {qbItemSalesTax, qbItemSubtotal, qbItemSalesTaxGroup});
  }
  static bool SalesClass(const L& l) {
    return OverrideOnly(l) || (HasItem(l) && !TypeIn(l, {qbItemSubtotal}));
  }
  static bool SalesAmount(const L& l) {
    return OverrideOnly(l) || (HasItem(l) && !TypeIn(l, {qbItemSubtotal}) && !l.costIsPercent_);
  }
  static bool HasServiceDate(const L& l) { return !l.serviceDate_.IsNull(); }
  static bool SalesTaxCodeRef(const L& l) {
    if (!NonUS()) return HasItem(l);
    return SessionQbxmlVersion() > Currency(5) && (HasItem(l) || Session().country != "US");
  }
  static bool TaxCodeRef(const L&) { return NonUS(); }
  static bool GroupQuantity(const L& l) { return l.quantity_ != 1; }

  // Estimates.
  static bool ItemQuantity(const L& l) { return HasItem(l) && l.quantitySet_; }
  static bool ItemRatePercent(const L& l) { return HasItem(l) && l.costIsPercent_; }
  static bool ItemRate(const L& l) { return HasItem(l) && !l.costIsPercent_; }
  static bool EstimateAmount(const L& l) { return HasItem(l) && !TypeIn(l, {qbItemSubtotal}); }
  static bool EstimateSalesTaxCode(const L& l) { return HasItem(l) && !NonUS(); }
  static bool EstimateTaxCode(const L& l) { return HasItem(l) && NonUS(); }
  static bool MarkupPercent(const L& l) {
    return HasItem(l) && l.quantity_ != 0 && l.markupIsPercent_;
  }
  static bool MarkupRate(const L& l) {
    return HasItem(l) && l.quantity_ != 0 && !l.markupIsPercent_;
  }

  // Purchase owners.
  static bool NotSubtotal(const L& l) { return !TypeIn(l, {qbItemSubtotal}); }
  static bool BillableSet(const L& l) { return l.billableStatus_ != 0; }

  static constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
  using T = codecs::Text;
  using R = codecs::Ref;
  using S = codecs::Single;
  using A = codecs::Amount;

  static constexpr Row TxnLineIdRow() { return Bind<&L::txnLineID_, T, L>("TxnLineID", kInMod); }
  static constexpr Row OtherRow(std::string_view element) {
    return {element,
            kAll,
            nullptr,
            [](const L& l, RequestWriter& b, std::string_view name, uint16_t, BodyForm) {
              const L::Rare& rare = l.RareOrNone();
              b.CreateElement(name, name == "Other1" ? rare.other1 : rare.other2, Currency(6));
            },
            nullptr,
            qbxml::ValueType::kText};
  }
  static constexpr Row LinkRow() {
    // Only an added line links: no line Mod aggregate of the schema takes LinkToTxn.
    return {"LinkToTxn", kInAdd, nullptr,
            [](const L& l, RequestWriter& b, std::string_view name, uint16_t, BodyForm) {
              if (!Linked(l)) return;
              b.OpenAggregateOnly(name);
              b.CreateElement("TxnID", l.rare_->linkedTxnID);
              b.CreateElement("TxnLineID", l.rare_->linkedTxnLineID);
              b.EndAggregate(name);
            }};
  }
  static constexpr Row ManuallyClosedRow() {
    return {"IsManuallyClosed",
            kAll,
            nullptr,
            [](const L& l, RequestWriter& b, std::string_view name, uint16_t, BodyForm) {
              b.CreateElement(
                  name, ModConvertDtypes::BoolToRequestText(l.IsManuallyClosed() != Currency()));
            },
            nullptr,
            qbxml::ValueType::kBool};
  }
  static constexpr Row BillableRow() {
    return {"BillableStatus",
            kAll,
            nullptr,
            [](const L& l, RequestWriter& b, std::string_view name, uint16_t f, BodyForm form) {
              if (BillableSet(l))
                codecs::EnumTag<qoeBillableStatus>::Write(l.billableStatus_, b, name, f, form);
            },
            nullptr,
            qbxml::ValueType::kEnum};
  }

  // The rows every sales owner's line starts with; the tails differ by owner, as the schema's
  // line aggregates do.
  static constexpr std::array<Row, 8> SalesHead() {
    return {{
        TxnLineIdRow(),
        If<&L::item_, R, &NotLinked>("ItemRef", kAll),
        Bind<&L::description_, T, L>("Desc", kAll),
        If<&L::quantity_, S, &SalesQuantity>("Quantity", kAll),
        If<&L::cost_, S, &SalesRate>("Rate", kAll),
        If<&L::cost_, S, &SalesRatePercent>("RatePercent", kAll),
        If<&L::class_, R, &SalesClass>("ClassRef", kAll),
        If<&L::amount_, A, &SalesAmount>("Amount", kAll),
    }};
  }
  static constexpr std::array<Row, 6> SalesTail() {
    return {{
        If<&L::serviceDate_, codecs::Date, &HasServiceDate>("ServiceDate", kAll),
        If<&L::salesTaxCode_, R, &SalesTaxCodeRef>("SalesTaxCodeRef", kAll),
        RareIf<&L::Rare::taxCode, R, &TaxCodeRef>("TaxCodeRef", kAll | kNotInSchema),
        RareIf<&L::Rare::overrideAccount, R, &Always>("OverrideItemAccountRef", kInAdd | kInMod),
        OtherRow("Other1"),
        OtherRow("Other2"),
    }};
  }
  // Invoices also link a line to an estimate's or a sales order's line.
  static const BindingTable<L>& InvoiceLines() {
    BRENNOCK_BINDINGS(L, SalesHead(), SalesTail(), std::array<Row, 1>{{LinkRow()}});
  }
  static const BindingTable<L>& ReceiptOrCreditLines() {
    BRENNOCK_BINDINGS(L, SalesHead(), SalesTail());
  }
  // A sales order's line has no service date nor override account, and can be closed by hand.
  static const BindingTable<L>& SalesOrderLines() {
    BRENNOCK_BINDINGS(
        L, SalesHead(),
        std::array<Row, 5>{{
            If<&L::salesTaxCode_, R, &SalesTaxCodeRef>("SalesTaxCodeRef", kAll),
            RareIf<&L::Rare::taxCode, R, &TaxCodeRef>("TaxCodeRef", kAll | kNotInSchema),
            ManuallyClosedRow(),
            OtherRow("Other1"),
            OtherRow("Other2"),
        }});
  }
  static const BindingTable<L>& SalesGroup() {
    BRENNOCK_BINDINGS(L, std::array<Row, 3>{{
                             TxnLineIdRow(),
                             Bind<&L::item_, R, L>("ItemGroupRef", kAll),
                             If<&L::quantity_, S, &GroupQuantity>("Quantity", kAll),
                         }});
  }
  static const BindingTable<L>& Estimate() {
    BRENNOCK_BINDINGS(
        L, std::array<Row, 14>{{
               TxnLineIdRow(),
               Bind<&L::item_, R, L>("ItemRef", kAll),
               Bind<&L::description_, T, L>("Desc", kAll),
               If<&L::quantity_, S, &ItemQuantity>("Quantity", kAll),
               If<&L::cost_, S, &ItemRate>("Rate", kAll),
               If<&L::cost_, S, &ItemRatePercent>("RatePercent", kAll),
               Bind<&L::class_, R, L>("ClassRef", kAll),
               If<&L::amount_, A, &EstimateAmount>("Amount", kAll),
               If<&L::salesTaxCode_, R, &EstimateSalesTaxCode>("SalesTaxCodeRef", kAll),
               RareIf<&L::Rare::taxCode, R, &EstimateTaxCode>("TaxCodeRef", kAll | kNotInSchema),
               RareIf<&L::Rare::markup, S, &MarkupRate>("MarkupRate", kAll),
               RareIf<&L::Rare::markup, S, &MarkupPercent>("MarkupRatePercent", kAll),
               OtherRow("Other1"),
               OtherRow("Other2"),
           }});
  }
  static const BindingTable<L>& PurchaseOrder() {
    BRENNOCK_BINDINGS(
        L, std::array<Row, 14>{{
               TxnLineIdRow(),
               Bind<&L::item_, R, L>("ItemRef", kAll),
               Bind<&L::description_, T, L>("Desc", kAll),
               If<&L::quantity_, S, &ItemQuantity>("Quantity", kAll),
               If<&L::cost_, S, &ItemRate>("Rate", kAll),
               If<&L::cost_, S, &ItemRatePercent>("RatePercent", kAll | kNotInSchema),
               Bind<&L::class_, R, L>("ClassRef", kAll),
               If<&L::amount_, A, &HasItem>("Amount", kAll),
               RareIf<&L::Rare::customer, R, &Always>("CustomerRef", kAll),
               If<&L::serviceDate_, codecs::Date, &HasServiceDate>("ServiceDate", kAll),
               RareIf<&L::Rare::taxCode, R, &TaxCodeRef>("TaxCodeRef", kAll | kNotInSchema),
               OtherRow("Other1"),
               OtherRow("Other2"),
               RareIf<&L::Rare::receivedQuantity, S, &Always>("ReceivedQuantity", kInRet),
           }});
  }
  static const BindingTable<L>& PurchaseOrderGroup() {
    BRENNOCK_BINDINGS(
        L, std::array<Row, 5>{{
               TxnLineIdRow(),
               Bind<&L::item_, R, L>("ItemGroupRef", kAll),
               Bind<&L::description_, T, L>("Desc", kInAdd | kInRet),
               Bind<&L::quantity_, S, L>("Quantity", kAll),
               If<&L::serviceDate_, codecs::Date, &HasServiceDate>("ServiceDate", kInAdd | kInRet),
           }});
  }
  static const BindingTable<L>& Purchase() {
    BRENNOCK_BINDINGS(
        L, std::array<Row, 11>{{
               TxnLineIdRow(),
               If<&L::item_, R, &NotLinked>("ItemRef", kAll),
               Bind<&L::description_, T, L>("Desc", kAll),
               If<&L::quantity_, S, &NotSubtotal>("Quantity", kAll),
               If<&L::cost_, S, &NotSubtotal>("Cost", kAll),
               If<&L::amount_, A, &NotSubtotal>("Amount", kAll),
               RareIf<&L::Rare::customer, R, &Always>("CustomerRef", kAll),
               Bind<&L::class_, R, L>("ClassRef", kAll),
               BillableRow(),
               RareIf<&L::Rare::taxCode, R, &TaxCodeRef>("TaxCodeRef", kAll | kNotInSchema),
               LinkRow(),
           }});
  }
  static const BindingTable<L>& PurchaseGroup() {
    BRENNOCK_BINDINGS(L, std::array<Row, 4>{{
                             TxnLineIdRow(),
                             Bind<&L::item_, R, L>("ItemGroupRef", kAll),
                             Bind<&L::description_, T, L>("Desc", kInAdd | kInRet),
                             Bind<&L::quantity_, S, L>("Quantity", kAll),
                         }});
  }

  static const BindingTable<L>& For(qoEnumListObjectType owner, bool group) {
    switch (owner) {
      case qoObjectTypeEstimate:
        return group ? SalesGroup() : Estimate();
      case qoObjectTypePurchaseOrder:
        return group ? PurchaseOrderGroup() : PurchaseOrder();
      case qoObjectTypeSalesReceipt:
      case qoObjectTypeCreditMemo:
        return group ? SalesGroup() : ReceiptOrCreditLines();
      case qoObjectTypeSalesOrder:
        return group ? SalesGroup() : SalesOrderLines();
      default:
        if (IsPurchaseOwner(owner)) return group ? PurchaseGroup() : Purchase();
        return group ? SalesGroup() : InvoiceLines();
    }
  }

  // ---- reading -------------------------------------------------------------------------------

  static void ReadCost(L& l, const FieldElement& x, bool percent) {
    S::Read(l.cost_, x);
    l.costIsPercent_ = percent;
  }
  static void ReadMarkup(L& l, const FieldElement& x, bool percent) {
    S::Read(l.MutableRare().markup, x);
    l.markupIsPercent_ = percent;
  }
  static void ReadMember(L& l, const FieldElement& x) {
    std::shared_ptr<txnItemLines>& members = l.MemberLines();
    members->AppendLoaded().LineFromDom(x);
  }
  static void ReadItem(L& l, const FieldElement& x) {
    l.item_.FromDom(x);
    l.itemType_ = static_cast<qbEnumItemType>(0);
  }

  // The rows every line is read through, sales lines' elements first, then what purchase lines
  // add.
  static constexpr std::array<Row, 32> ReadingRows() {
    using E = Binding<L>;
    return JoinRows<L>(
        std::array<E, 30>{{
            {"TxnLineID", kInRet, [](L& l, const FieldElement& x) { T::Read(l.txnLineID_, x); }},
            {"ItemRef", kInRet, &ReadItem},
            {"Desc", kInRet, [](L& l, const FieldElement& x) { T::Read(l.description_, x); }},
            {"Quantity", kInRet,
             [](L& l, const FieldElement& x) {
               S::Read(l.quantity_, x);
               l.quantitySet_ = true;
             }},
            {"Rate", kInRet, [](L& l, const FieldElement& x) { ReadCost(l, x, false); }},
            {"ClassRef", kInRet, [](L& l, const FieldElement& x) { R::Read(l.class_, x); }},
            {"Amount", kInRet, [](L& l, const FieldElement& x) { A::Read(l.amount_, x); }},
            {"ServiceDate", kInRet,
             [](L& l, const FieldElement& x) { codecs::Date::Read(l.serviceDate_, x); }},
            {"SalesTaxCodeRef", kInRet,
             [](L& l, const FieldElement& x) {
               R::Read(l.salesTaxCode_, x);
               l.taxableKnown_ = false;
             }},
            {"Cost", kInRet, [](L& l, const FieldElement& x) { ReadCost(l, x, false); }},
            {"CustomerRef", kInRet,
             [](L& l, const FieldElement& x) { R::Read(l.MutableRare().customer, x); }},
            {"BillableStatus", kInRet,
             [](L& l, const FieldElement& x) {
               codecs::EnumTag<qoeBillableStatus>::Read(l.billableStatus_, x);
             }},
            {"RatePercent", kInRet, [](L& l, const FieldElement& x) { ReadCost(l, x, true); }},
            {"TotalAmount", kInRet, [](L& l, const FieldElement& x) { A::Read(l.amount_, x); }},
            {"ItemGroupRef", kInRet, &ReadItem},
            {"ItemLineRet", kInRet, &ReadMember},
            {"PurchaseOrderLineRet", kInRet, &ReadMember},
            {"InvoiceLineRet", kInRet, &ReadMember},
            {"SalesReceiptLineRet", kInRet, &ReadMember},
            {"CreditMemoLineRet", kInRet, &ReadMember},
            {"EstimateLineRet", kInRet, &ReadMember},
            {"SalesOrderLineRet", kInRet, &ReadMember},
            {"IsPrintItemsInGroup", kInRet,
             [](L& l, const FieldElement& x) { codecs::Bool::Read(l.printItemsInGroup_, x); }},
            {"ReceivedQuantity", kInRet,
             [](L& l, const FieldElement& x) { S::Read(l.MutableRare().receivedQuantity, x); }},
            {"MarkupRate", kInRet, [](L& l, const FieldElement& x) { ReadMarkup(l, x, false); }},
            {"MarkupRatePercent", kInRet,
             [](L& l, const FieldElement& x) { ReadMarkup(l, x, true); }},
            {"IsManuallyClosed", kInRet,
             [](L& l, const FieldElement& x) {
               bool closed = false;
               codecs::Bool::Read(closed, x);
               l.MutableRare().isManuallyClosed = Currency(closed ? 1 : 0);
             }},
            {"Invoiced", kInRet,
             [](L& l, const FieldElement& x) { A::Read(l.MutableRare().invoiced, x); }},
            {"TaxCodeRef", kInRet | kNotInSchema,
             [](L& l, const FieldElement& x) { R::Read(l.MutableRare().taxCode, x); }},
            {"DataExtRet", kInRet,
             [](L& l, const FieldElement& x) { l.ReadDataExtRetOf(x, l.ExtensionOwner()); }},
        }},
        std::array<E, 2>{{
            {"Other1", kInRet,
             [](L& l, const FieldElement& x) { T::Read(l.MutableRare().other1, x); }},
            {"Other2", kInRet,
             [](L& l, const FieldElement& x) { T::Read(l.MutableRare().other2, x); }},
        }});
  }
  // The rows with those elements first, in that order, and the others after them as they were.
  template <size_t N, size_t M>
  static constexpr std::array<Row, N> Leading(const std::array<Row, N>& rows,
                                              const std::array<std::string_view, M>& first) {
    std::array<Row, N> out{};
    size_t next = 0;
    for (std::string_view element : first) {
      for (const Row& row : rows)
        if (row.element == element) out[next++] = row;
    }
    for (const Row& row : rows) {
      if (std::find(first.begin(), first.end(), row.element) == first.end()) out[next++] = row;
    }
    // Evaluated at compile time: a leading element without a row fails the build.
    if (next != N) throw "a leading element has no row";
    return out;
  }

  // Reading compares each child with the row after its predecessor's before looking its name
  // up, so each class of owner has its own order: the elements most of its lines carry, in the
  // order QuickBooks writes them, then the optional ones (class, service date ...).
  static const BindingTable<L>& SalesReading() {
    BRENNOCK_BINDINGS(L, Leading(ReadingRows(), std::array<std::string_view, 7>{
                                                    "TxnLineID", "ItemRef", "Desc", "Quantity",
                                                    "Rate", "Amount", "SalesTaxCodeRef"}));
  }
  static const BindingTable<L>& PurchaseReading() {
    BRENNOCK_BINDINGS(
        L, Leading(ReadingRows(), std::array<std::string_view, 9>{
                                      "TxnLineID", "ItemRef", "Desc", "Quantity", "Cost", "Amount",
                                      "CustomerRef", "ClassRef", "BillableStatus"}));
  }
  static const BindingTable<L>& Reading(qoEnumListObjectType owner) {
    return IsPurchaseOwner(owner) ? PurchaseReading() : SalesReading();
  }
};

const BindingTable<txnItemLine>& txnItemLine::ReadBindings() {
  return ItemLineRows::SalesReading();
}

const BindingTable<txnItemLine>& txnItemLine::WriteBindings(qoEnumListObjectType owner,
                                                            bool group) {
  return ItemLineRows::For(owner, group);
}

void txnItemLine::LineFromDom(const FieldElement& element) {
  loading_ = true;
  isGroup_ = element.baseName().find("Group") != std::string_view::npos;
  if (txnItemLines* members = MembersIfAny()) members->Reset();
  ItemLineRows::Reading(ownerType_).Read(*this, element);
  loading_ = false;
  state_ = qoObjectStateClean;
}

void txnItemLine::WriteLine(RequestWriter& builder, bool ret, bool mod) {
  WriteAs(builder, ret ? BodyForm::kRet : mod ? BodyForm::kMod : BodyForm::kAdd, ownerType_);
}

void txnItemLine::WriteAs(RequestWriter& builder, BodyForm form, qoEnumListObjectType namingOwner) {
  // A line added since the transaction was read is sent with the ID "-1", and keeps it.
  if (form == BodyForm::kMod && txnLineID_.empty()) txnLineID_.assign("-1");
  const std::string_view element = LineElement(namingOwner, isGroup_, form);
  builder.OpenAggregateOnly(element);
  ItemLineRows::For(namingOwner, isGroup_).Write(*this, builder, form);
  txnItemLines* members = MembersIfAny();
  if (form == BodyForm::kRet && isGroup_ && members != nullptr) {
    for (const auto& member : *members) member->WriteAs(builder, form, namingOwner);
  }
  builder.EndAggregate(element);
}

}  // namespace brennock
