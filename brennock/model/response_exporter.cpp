#include "brennock/internal/model/response_exporter.h"

namespace brennock {
namespace {

std::shared_ptr<ResponseExporter>& Exporter() {
  static std::shared_ptr<ResponseExporter> exporter;
  return exporter;
}

}  // namespace

void SetResponseExporter(std::shared_ptr<ResponseExporter> exporter) {
  Exporter() = std::move(exporter);
}

std::shared_ptr<ResponseExporter> RegisteredResponseExporter() { return Exporter(); }

}  // namespace brennock
