#include "brennock/enums/qc_enum.h"

#include <utility>

#include "brennock/enums/enum_value.h"
#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/errors/value_errors.h"

namespace brennock {

namespace {

constexpr const char* kSource = "QCEnum";
constexpr size_t npos = static_cast<size_t>(-1);

}  // namespace

void RaiseUnknownEnumCode() { RaiseGeneral("TypeCodes", "Unknown Code"); }

void QCEnum::AddObject(std::shared_ptr<qcEnumValue> o) {
  if (!o) RaiseInvalidArgument();
  std::string key = o->CollectionKey();
  if (IndexOfKey(key) != npos) RaiseDuplicateCollectionKey(kSource);
  slots_.push_back(Slot{o->Code(), std::move(key), o->XMLTag()});
  entries_.push_back(std::move(o));
}

std::shared_ptr<qcEnumValue> QCEnum::Add(int16_t iCode, const std::string& sDesc,
                                         const std::string& XMLTag) {
  auto entry = std::make_shared<EnumValue>(iCode, sDesc, XMLTag);
  AddObject(entry);
  return entry;
}

bool QCEnum::ItemExists(int32_t index) const noexcept { return index >= 1 && index <= Count(); }

bool QCEnum::ItemExists(std::string_view key) const noexcept { return IndexOfKey(key) != npos; }

std::shared_ptr<qcEnumValue> QCEnum::Item(int32_t index) const {
  if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(kSource);
  return entries_[static_cast<size_t>(index - 1)];
}

std::shared_ptr<qcEnumValue> QCEnum::Item(std::string_view key) const {
  size_t i = IndexOfKey(key);
  if (i == npos) RaiseUnknownCollectionKey(kSource);
  return entries_[i];
}

std::shared_ptr<qcEnumValue> QCEnum::ItemByCode(int16_t iCode) const {
  for (size_t i = 0; i < slots_.size(); ++i) {
    if (slots_[i].code == iCode) return entries_[i];
  }
  RaiseUnknownEnumCode();
}

const qcEnumValue* QCEnum::FindByCode(int16_t iCode) const noexcept {
  for (size_t i = 0; i < slots_.size(); ++i) {
    if (slots_[i].code == iCode) return entries_[i].get();
  }
  return nullptr;
}

int32_t QCEnum::PositionOfXmlText(std::string_view text) const noexcept {
  for (size_t i = 0; i < slots_.size(); ++i) {
    const Slot& s = slots_[i];
    if ((s.tag.empty() ? s.key : s.tag) == text) return static_cast<int32_t>(i + 1);
  }
  return 0;
}

std::string QCEnum::XmlTextOfCode(int16_t iCode) const {
  for (const Slot& s : slots_) {
    if (s.code == iCode) return s.tag.empty() ? s.key : s.tag;
  }
  return {};
}

void QCEnum::Reserve(size_t count) {
  entries_.reserve(count);
  slots_.reserve(count);
}

size_t QCEnum::IndexOfKey(std::string_view key) const noexcept {
  std::string stripped;
  if (key.find(' ') != std::string_view::npos) {
    // Allocation only for keys given with blanks; a failed allocation finds nothing.
    try {
      stripped = RemoveBlanks(key);
    } catch (...) {
      return npos;
    }
    key = stripped;
  }
  for (size_t i = 0; i < slots_.size(); ++i) {
    if (CollectionKeysEqual(slots_[i].key, key)) return i;
  }
  return npos;
}

}  // namespace brennock
