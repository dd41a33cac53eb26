#include "cli/app/event_subscriber.h"

#include <cstdint>
#include <cstdio>

namespace brennock::cli {
namespace {

uint64_t Fnv1a(std::string_view text, uint64_t seed) {
  uint64_t hash = seed;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

}  // namespace

std::string SubscriberOfUrl(std::string_view url) {
  const uint64_t high = Fnv1a(url, 0xcbf29ce484222325ULL);
  const uint64_t low = Fnv1a(url, 0x84222325cbf29ce4ULL);
  char guid[40];
  std::snprintf(guid, sizeof guid, "{%08X-%04X-%04X-%04X-%012llX}",
                static_cast<unsigned>(high >> 32), static_cast<unsigned>((high >> 16) & 0xFFFF),
                static_cast<unsigned>(high & 0xFFFF), static_cast<unsigned>(low >> 48),
                static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFULL));
  return guid;
}

}  // namespace brennock::cli
