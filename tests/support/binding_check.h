// Checks a record's binding rows against the qbXML catalogue: each row's element exists in the
// aggregate of every form it is written in, rows keep the schema's order, and the row's codec reads
// the catalogue's kind of value.
#pragma once

#include <gtest/gtest.h>

#include <span>
#include <string>

#include "brennock/internal/model/binding.h"
#include "brennock/internal/qbxml/catalogue.h"

namespace brennock::testing {

// The catalogue's types a codec's values may stand for.
inline bool CodecFitsSchema(qbxml::ValueType codec, qbxml::ValueType schema) {
  using qbxml::ValueType;
  switch (codec) {
    case ValueType::kText:  // names, IDs and enumeration texts are read as they stand
      return schema == ValueType::kText || schema == ValueType::kId || schema == ValueType::kEnum;
    case ValueType::kFloat:
      return schema == ValueType::kFloat || schema == ValueType::kPercent ||
             schema == ValueType::kQuantity || schema == ValueType::kPrice;
    case ValueType::kAmount:  // currency values hold prices and percentages too
      return schema == ValueType::kAmount || schema == ValueType::kPrice ||
             schema == ValueType::kPercent;
    case ValueType::kAggregate:  // a row of its own: no codec to compare
      return true;
    default:
      return codec == schema;
  }
}

// The element a row writes in a form: a line row names its Ret aggregate, and each request form
// writes the form's own (InvoiceLineRet -> InvoiceLineAdd, InvoiceLineMod).
inline std::string ElementInForm(std::string_view element, uint16_t flags, BodyForm form) {
  std::string name(element);
  if ((flags & kLines) == 0 || form == BodyForm::kRet || !name.ends_with("Ret")) return name;
  name.resize(name.size() - 3);
  return name + (form == BodyForm::kAdd ? "Add" : "Mod");
}

// Checks the rows of one form against one aggregate; returns how many rows were checked.
template <class Owner>
int CheckForm(std::span<const Binding<Owner>> rows, BodyForm form, const std::string& aggregate,
              const std::string& context) {
  const qbxml::Aggregate* shape = qbxml::FindAggregate(aggregate);
  int checked = 0;
  long last = -1;
  for (const Binding<Owner>& row : rows) {
    if (!row.In(form) || (row.flags & kNotInSchema) != 0) continue;
    const std::string element = ElementInForm(row.element, row.flags, form);
    SCOPED_TRACE(context + " " + aggregate + "/" + element);
    if (shape == nullptr) {
      ADD_FAILURE() << "the catalogue has no " << aggregate;
      return checked;
    }
    const qbxml::Element* found = qbxml::FindElement(*shape, element);
    if (found == nullptr) {
      ADD_FAILURE() << "not an element of " << aggregate;
      continue;
    }
    long position = found - shape->elements.data();
    EXPECT_GT(position, last) << "out of schema order";
    last = position;
    EXPECT_TRUE(CodecFitsSchema(row.type, found->type))
        << "codec type " << static_cast<int>(row.type) << " against "
        << static_cast<int>(found->type);
    ++checked;
  }
  return checked;
}

template <class Owner>
int CheckAllForms(std::span<const Binding<Owner>> rows, const std::string& stem,
                  const std::string& context) {
  return CheckForm(rows, BodyForm::kAdd, stem + "Add", context) +
         CheckForm(rows, BodyForm::kMod, stem + "Mod", context) +
         CheckForm(rows, BodyForm::kRet, stem + "Ret", context);
}

}  // namespace brennock::testing
