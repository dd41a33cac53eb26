#include "simulator/iterator_table.h"

#include <map>
#include <mutex>

#include "brennock/internal/util/environment.h"

namespace brennock::simulator {
namespace {

size_t SessionLimit() { return EnvironmentCount("BRENNOCK_SIMULATOR_MAX_ITERATORS", 100); }
size_t CompanyLimit() { return EnvironmentCount("BRENNOCK_SIMULATOR_MAX_COMPANY_ITERATORS", 500); }

// Open iterators per company file, over every session of the process (sessions may run on
// several threads, as under brennock serve).
class CompanyCounts {
 public:
  size_t Get(const std::string& company) {
    std::lock_guard lock(mutex_);
    auto found = counts_.find(company);
    return found == counts_.end() ? 0 : found->second;
  }
  void Add(const std::string& company, size_t count) {
    std::lock_guard lock(mutex_);
    counts_[company] += count;
  }
  void Remove(const std::string& company, size_t count) {
    std::lock_guard lock(mutex_);
    auto found = counts_.find(company);
    if (found == counts_.end()) return;
    found->second -= std::min(count, found->second);
    if (found->second == 0) counts_.erase(found);
  }

 private:
  std::mutex mutex_;
  std::map<std::string, size_t> counts_;
};

CompanyCounts& Counts() {
  static CompanyCounts counts;
  return counts;
}

}  // namespace

IteratorTable::~IteratorTable() {
  if (!company_.empty()) Counts().Remove(company_, map_.size());
}

void IteratorTable::BindCompany(std::string company_path) {
  if (!company_.empty()) Counts().Remove(company_, map_.size());
  company_ = std::move(company_path);
  Counts().Add(company_, map_.size());
}

std::optional<Status> IteratorTable::Refusal() const {
  if (size_t limit = SessionLimit(); map_.size() >= limit)
    return MakeStatus(kIteratorLimit, {std::to_string(limit), "session"});
  if (company_.empty()) return std::nullopt;
  if (size_t limit = CompanyLimit(); Counts().Get(company_) >= limit)
    return MakeStatus(kIteratorLimit, {std::to_string(limit), "company file"});
  return std::nullopt;
}

void IteratorTable::Sweep(int64_t now) {
  size_t before = map_.size();
  std::erase_if(map_, [&](const auto& entry) { return now >= entry.second.expires_at; });
  if (!company_.empty()) Counts().Remove(company_, before - map_.size());
}

std::pair<IteratorTable::iterator, bool> IteratorTable::emplace(std::string id,
                                                                QueryIterator query) {
  auto result = map_.emplace(std::move(id), std::move(query));
  if (result.second && !company_.empty()) Counts().Add(company_, 1);
  return result;
}

void IteratorTable::erase(iterator it) {
  map_.erase(it);
  if (!company_.empty()) Counts().Remove(company_, 1);
}

}  // namespace brennock::simulator
