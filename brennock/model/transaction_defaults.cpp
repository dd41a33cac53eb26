#include "brennock/internal/model/transaction_defaults.h"

#include <atomic>

namespace brennock {
namespace {

std::atomic<TransactionDefaultsSource> gSource{nullptr};
std::atomic<CompanyRecordWriter> gWriter{nullptr};

}  // namespace

void SetTransactionDefaultsSource(TransactionDefaultsSource source) noexcept {
  gSource.store(source, std::memory_order_release);
}

TransactionDefaults CurrentTransactionDefaults() {
  TransactionDefaultsSource source = gSource.load(std::memory_order_acquire);
  return source != nullptr ? source() : TransactionDefaults{};
}

void SetCompanyRecordWriter(CompanyRecordWriter writer) noexcept {
  gWriter.store(writer, std::memory_order_release);
}

int32_t WriteCompanyVendorRecord(xmlBldr& builder, int16_t requestId) {
  CompanyRecordWriter writer = gWriter.load(std::memory_order_acquire);
  return writer != nullptr ? writer(builder, requestId) : -1;
}

namespace {
thread_local bool tFromResponse = false;
}  // namespace

RecordsFromResponse::RecordsFromResponse() noexcept : outer_(tFromResponse) {
  tFromResponse = true;
}
RecordsFromResponse::~RecordsFromResponse() { tFromResponse = outer_; }
bool RecordsFromResponse::Active() noexcept { return tFromResponse; }

}  // namespace brennock
