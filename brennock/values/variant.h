#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <typeinfo>
#include <variant>

#include "brennock/values/currency.h"
#include "brennock/values/date.h"

namespace brennock {

// The type codes of VarType for the kinds a Variant can hold.
enum VbVarType : int16_t {
  vbEmpty = 0,
  vbInteger = 2,  // 16-bit
  vbLong = 3,     // 32-bit
  vbSingle = 4,
  vbDouble = 5,
  vbCurrency = 6,
  vbDate = 7,
  vbString = 8,
  vbObject = 9,
  vbBoolean = 11,
  vbLongLong = 20,  // 64-bit
};

// A tagged value: what automation clients pass as a variant (UserData, optional arguments).
// It is Empty until given a value. Objects are held as std::shared_ptr<void> together with the
// exact type they were stored as: ObjectAs<T>() hands them back only as that same T.
//
// The To... getters convert as CStr, CBool, CInt, CLng, CSng, CDbl, CCur and CDate do: Booleans
// count as -1 and 0, fractions round half to even when an integer is asked for, texts are read
// as numbers ("12.5", "-3", "1e3"; Booleans also "True"/"False", any case). A value that cannot
// be converted raises AutomationError 13 "Type mismatch"; a number out of the asked range raises
// 6 "Overflow". Texts are not locale-dependent: dates print as "yyyy-mm-dd" (no time of day) or
// "yyyy-mm-dd hh:mm:ss", and read back with the qbXML date reader.
class Variant {
 public:
  Variant() noexcept = default;
  Variant(bool value) noexcept : value_(value) {}
  Variant(int16_t value) noexcept : value_(value) {}
  Variant(int32_t value) noexcept : value_(value) {}
  Variant(int64_t value) noexcept : value_(value) {}
  Variant(float value) noexcept : value_(value) {}
  Variant(double value) noexcept : value_(value) {}
  Variant(Currency value) noexcept : value_(value) {}
  Variant(Date value) noexcept : value_(value) {}
  Variant(std::string value) noexcept : value_(std::move(value)) {}
  Variant(std::string_view value) : value_(std::string(value)) {}
  Variant(const char* value) : value_(std::string(value)) {}
  template <typename T>
  Variant(std::shared_ptr<T> object) noexcept : value_(ObjectRef{std::move(object), &typeid(T)}) {}

  VbVarType VarType() const noexcept;
  bool IsEmpty() const noexcept { return value_.index() == 0; }
  bool IsObject() const noexcept { return std::holds_alternative<ObjectRef>(value_); }
  // True for the numeric kinds (integers, single, double, currency), not for Booleans or texts.
  bool IsNumber() const noexcept;

  std::string ToString() const;
  bool ToBool() const;
  int16_t ToInt16() const;
  int32_t ToInt32() const;
  int64_t ToInt64() const;
  float ToSingle() const;
  double ToDouble() const;
  Currency ToCurrency() const;
  Date ToDate() const;

  // The held object (null for Empty); raises Type mismatch for any other value.
  std::shared_ptr<void> ToObject() const;
  // The held object when it was stored as a std::shared_ptr<T>, else null.
  template <typename T>
  std::shared_ptr<T> ObjectAs() const noexcept {
    const auto* ref = std::get_if<ObjectRef>(&value_);
    if (ref == nullptr || *ref->type != typeid(T)) return nullptr;
    return std::static_pointer_cast<T>(ref->object);
  }

  // Same kind and same value (objects: the same object).
  friend bool operator==(const Variant& a, const Variant& b) noexcept;

 private:
  struct ObjectRef {
    std::shared_ptr<void> object;
    const std::type_info* type;
    bool operator==(const ObjectRef& other) const noexcept { return object == other.object; }
  };

  std::variant<std::monostate, bool, int16_t, int32_t, int64_t, float, double, Currency, Date,
               std::string, ObjectRef>
      value_;
};

}  // namespace brennock
