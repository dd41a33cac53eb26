#include "brennock/internal/values/qbxml_version_source.h"

#include "brennock/values/convert_dtypes.h"

namespace brennock {
namespace {

QbxmlVersionSource registeredSource = nullptr;

}  // namespace

void RegisterQbxmlVersionSource(QbxmlVersionSource source) noexcept { registeredSource = source; }

Currency SessionQbxmlVersion() { return registeredSource ? registeredSource() : Currency(); }

}  // namespace brennock
