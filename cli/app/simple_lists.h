#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace brennock {
class Company;
class ListCollectionCore;
class qcListObject;
}  // namespace brennock

namespace brennock::cli {

// The simple lists `add` and `delete` work on through the library's master collections.
struct SimpleList {
  std::string_view name;   // command-line name, as in `brennock list`
  std::string_view label;  // for messages ("customer type")
  bool hierarchical;       // records may sit below a parent
  // The company's master collection of the list.
  std::shared_ptr<ListCollectionCore> (*collection)(Company& company);
  // Adds a new (unsaved) record to the master collection.
  std::shared_ptr<qcListObject> (*add)(Company& company, const std::string& name, bool active,
                                       const std::string& parent);
};

std::span<const SimpleList> SimpleLists();
// By the command-line names of `list`; null when the list is not one of them.
const SimpleList* FindSimpleList(std::string_view name);
std::string SimpleListNames();

}  // namespace brennock::cli
