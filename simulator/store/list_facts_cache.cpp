#include "simulator/store/list_facts_cache.h"

namespace brennock::simulator {

void ListFactsCache::Validate(Database& db) {
  auto& st = db.Prepare("PRAGMA data_version");
  const int64_t now = st.Step() ? st.Int(0) : -1;
  st.Reset();
  if (now < 0 || now != version_) slots_.clear();
  version_ = now;
}

}  // namespace brennock::simulator
