#include "brennock/enums/rpt_descriptor.h"

namespace brennock {

std::string rptDescriptor::XMLTag() const {
  return xmlTag_.empty() ? RemoveBlanks(description_) : xmlTag_;
}

std::string rptDescriptor::CollectionKey() const { return RemoveBlanks(description_); }

}  // namespace brennock
