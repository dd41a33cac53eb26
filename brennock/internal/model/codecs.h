#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "brennock/enums/enumeration_type.h"
#include "brennock/internal/model/binding.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/values/currency.h"
#include "brennock/values/date.h"

// How each kind of value reads from and writes to qbXML text, in one place per kind. A binding
// row names the codec of its member; the engine calls Read for a response element and, unless
// the row skips empty values, Write for a request or query-result body.
namespace brennock::codecs {

// Text as it stands (std::string or ShortText).
struct Text {
  static constexpr qbxml::ValueType kType = qbxml::ValueType::kText;
  static constexpr bool kIsText = true;  // its value can be viewed as text (length limits)
  template <class S>
  static void Read(S& member, const FieldElement& element) {
    std::string scratch;
    member.assign(element.TextView(scratch));
  }
  template <class S>
  static bool Empty(const S& member) noexcept {
    return member.empty();
  }
  template <class S>
  static void Write(const S& member, RequestWriter& builder, std::string_view element, uint16_t,
                    BodyForm) {
    builder.CreateElement(element, std::string_view(member));
  }
  static void WriteCleared(RequestWriter& builder, std::string_view element) {
    builder.CreateElement(element, std::string_view());
  }
};

// Booleans: "1"/"0" in requests, "true"/"false" in the query-result form (and in the requests of
// rows flagged kWordsInRequests).
struct Bool {
  static constexpr qbxml::ValueType kType = qbxml::ValueType::kBool;
  static void Read(bool& member, const FieldElement& element) {
    std::string scratch;
    member = ModConvertDtypes::TextToBool(element.TextView(scratch));
  }
  static bool Empty(bool) noexcept { return false; }
  static void Write(bool member, RequestWriter& builder, std::string_view element, uint16_t flags,
                    BodyForm form) {
    bool words = form == BodyForm::kRet || (flags & kWordsInRequests) != 0;
    builder.CreateElement(element, words ? ModConvertDtypes::BoolToResponseText(member)
                                         : ModConvertDtypes::BoolToRequestText(member));
  }
};

// A date, "yyyy-mm-dd"; the zero date writes nothing.
struct Date {
  static constexpr qbxml::ValueType kType = qbxml::ValueType::kDate;
  static void Read(brennock::Date& member, const FieldElement& element) {
    std::string scratch;
    member = ModConvertDtypes::TextToDate(element.TextView(scratch));
  }
  static bool Empty(brennock::Date member) noexcept { return member.IsNull(); }
  static void Write(brennock::Date member, RequestWriter& builder, std::string_view element,
                    uint16_t, BodyForm) {
    builder.CreateDateElement(element, member, Currency());
  }
};

// A time stamp (TimeCreated, TimeModified): read with its time, written back as the date, or
// "None" for the zero date.
struct Stamp {
  static constexpr qbxml::ValueType kType = qbxml::ValueType::kDateTime;
  static void Read(brennock::Date& member, const FieldElement& element) {
    Date::Read(member, element);
  }
  static bool Empty(brennock::Date member) noexcept { return member.IsNull(); }
  static void Write(brennock::Date member, RequestWriter& builder, std::string_view element,
                    uint16_t, BodyForm) {
    builder.CreateElement(element, ModConvertDtypes::DateToText(member));
  }
};

// Whole numbers.
struct Int16 {
  static constexpr qbxml::ValueType kType = qbxml::ValueType::kInt;
  static void Read(int16_t& member, const FieldElement& element) {
    std::string scratch;
    member = ModConvertDtypes::TextToInt16(element.TextView(scratch));
  }
  static bool Empty(int16_t member) noexcept { return member == 0; }
  static void Write(int16_t member, RequestWriter& builder, std::string_view element, uint16_t,
                    BodyForm) {
    builder.CreateElement(element, ModConvertDtypes::IntegerToText(member));
  }
  static void WriteCleared(RequestWriter& builder, std::string_view element) {
    builder.CreateElement(element, "0");
  }
};

// 32-bit whole numbers (a transaction's TxnNumber).
struct Int32 {
  static constexpr qbxml::ValueType kType = qbxml::ValueType::kInt;
  static void Read(int32_t& member, const FieldElement& element) {
    std::string scratch;
    member = ModConvertDtypes::TextToInt32(element.TextView(scratch));
  }
  static bool Empty(int32_t member) noexcept { return member == 0; }
  static void Write(int32_t member, RequestWriter& builder, std::string_view element, uint16_t,
                    BodyForm) {
    builder.CreateElement(element, ModConvertDtypes::IntegerToText(member));
  }
};

// Booleans written "1"/"0" in every form, the query-result form too (transactions' records).
struct Bit : Bool {
  static void Write(bool member, RequestWriter& builder, std::string_view element, uint16_t,
                    BodyForm) {
    builder.CreateElement(element, ModConvertDtypes::BoolToRequestText(member));
  }
};

// Single-precision rates and percentages, read through the plain number reader ("7.5%" too).
struct Single {
  static constexpr qbxml::ValueType kType = qbxml::ValueType::kFloat;
  static void Read(float& member, const FieldElement& element) {
    std::string scratch;
    member = ModConvertDtypes::TextToSingle(element.TextView(scratch));
  }
  static bool Empty(float member) noexcept { return member == 0; }
  static void Write(float member, RequestWriter& builder, std::string_view element, uint16_t,
                    BodyForm) {
    builder.CreateElement(element, ModConvertDtypes::QuantityToText(member));
  }
  static void WriteCleared(RequestWriter& builder, std::string_view element) {
    Write(0, builder, element, 0, BodyForm::kMod);
  }
};

// Amounts: "#######0.00".
struct Amount {
  static constexpr qbxml::ValueType kType = qbxml::ValueType::kAmount;
  static void Read(Currency& member, const FieldElement& element) {
    std::string scratch;
    member = ModConvertDtypes::TextToCurrency(element.TextView(scratch));
  }
  static bool Empty(Currency member) noexcept { return member == Currency(); }
  static void Write(Currency member, RequestWriter& builder, std::string_view element, uint16_t,
                    BodyForm) {
    builder.CreateElement(element, ModConvertDtypes::AmountToText(member));
  }
  static void WriteCleared(RequestWriter& builder, std::string_view element) {
    Write(Currency(), builder, element, 0, BodyForm::kMod);
  }
};

// Prices: "0000000.0000".
struct Price : Amount {
  static constexpr qbxml::ValueType kType = qbxml::ValueType::kPrice;
  static void Write(Currency member, RequestWriter& builder, std::string_view element, uint16_t,
                    BodyForm) {
    builder.CreateElement(element, ModConvertDtypes::PriceToText(member));
  }
  static void WriteCleared(RequestWriter& builder, std::string_view element) {
    Write(Currency(), builder, element, 0, BodyForm::kMod);
  }
};

// A list reference: ListID and FullName inside the element; written by full name (or ListID when
// only that is known), nothing when empty.
struct Ref {
  static constexpr qbxml::ValueType kType = qbxml::ValueType::kRef;
  static void Read(qcListObjectRef& member, const FieldElement& element) {
    member.FromDom(element);
  }
  static bool Empty(const qcListObjectRef& member) noexcept { return member.IsEmpty(); }
  static void Write(const qcListObjectRef& member, RequestWriter& builder, std::string_view element,
                    uint16_t, BodyForm) {
    WriteListRef(&member, builder, element);
  }
  // A reference the client emptied: an empty FullName, which QuickBooks takes as "none".
  static void WriteCleared(RequestWriter& builder, std::string_view element) {
    builder.OpenAggregateOnly(element);
    builder.CreateElement("FullName", std::string_view());
    builder.EndAggregate(element);
  }
};

namespace detail {
// The Code of the first entry of the thread's table whose qbXML tag is tag (1008 when none).
int16_t CodeOfTag(qoEnumerationType table, std::string_view tag);
// The qbXML tag of the entry with that code; empty for an unknown code.
std::string TagOfCode(qoEnumerationType table, int16_t code);
}  // namespace detail

// An enumeration value (an enum or a whole number) by the qbXML tag of its entry in Table; the
// code 0 (no entry) is its empty value.
template <qoEnumerationType Table>
struct EnumTag {
  static constexpr qbxml::ValueType kType = qbxml::ValueType::kEnum;
  template <class E>
  static void Read(E& member, const FieldElement& element) {
    std::string scratch;
    const std::string_view text = element.TextView(scratch);
    // Empty text is the empty value, as the other codecs read it: the query-result form writes
    // an unset value so, and must read back.
    member = static_cast<E>(text.empty() ? 0 : detail::CodeOfTag(Table, text));
  }
  template <class E>
  static bool Empty(E member) noexcept {
    return static_cast<int32_t>(member) == 0;
  }
  template <class E>
  static void Write(E member, RequestWriter& builder, std::string_view element, uint16_t,
                    BodyForm) {
    builder.CreateElement(element, detail::TagOfCode(Table, static_cast<int16_t>(member)));
  }
};

// An aggregate read in place through its own FromDom and written inside its element through its
// own WriteElements (an address).
struct Aggregate {
  static constexpr qbxml::ValueType kType = qbxml::ValueType::kAggregate;
  template <class A>
  static void Read(A& member, const FieldElement& element) {
    member.FromDom(element);
  }
  template <class A>
  static bool Empty(const A&) noexcept {
    return false;
  }
  template <class A>
  static void Write(const A& member, RequestWriter& builder, std::string_view element, uint16_t,
                    BodyForm) {
    builder.OpenAggregateOnly(element);
    member.WriteElements(builder);
    builder.EndAggregate(element);
  }
};

// A value held by a shared pointer that lives as long as its owner (handed out to clients and
// refilled in place), read and written by Codec; a null pointer is empty.
template <class Codec>
struct Shared {
  static constexpr qbxml::ValueType kType = Codec::kType;
  template <class P>
  static void Read(P& member, const FieldElement& element) {
    Codec::Read(*member, element);
  }
  template <class P>
  static bool Empty(const P& member) noexcept {
    return !member || Codec::Empty(*member);
  }
  template <class P>
  static void Write(const P& member, RequestWriter& builder, std::string_view element,
                    uint16_t flags, BodyForm form) {
    if (member) Codec::Write(*member, builder, element, flags, form);
  }
  static void WriteCleared(RequestWriter& builder, std::string_view element) requires requires {
    Codec::WriteCleared(builder, element);
  }
  { Codec::WriteCleared(builder, element); }
};

}  // namespace brennock::codecs
