#include "bridges/serve/credentials.h"

#include <sodium.h>
#include <sys/stat.h>

#include <fstream>
#include <semaphore>
#include <stdexcept>

namespace brennock::serve {
namespace {

void RequireSodium() {
  if (sodium_init() < 0) throw std::runtime_error("libsodium could not be initialised");
}

std::string Hash(const std::string& password) {
  char hash[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(hash, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                        crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
    throw std::runtime_error("out of memory while hashing the password");
  return hash;
}

// Checked against when the user is unknown, so that the answer takes as long either way.
const std::string& DecoyHash() {
  static const std::string decoy = Hash("brennock decoy password");
  return decoy;
}

}  // namespace

Credentials Credentials::Load(const std::string& path) {
  RequireSodium();
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read the credentials file " + path);
  Credentials credentials;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    size_t colon = line.find(':');
    if (colon == 0 || colon == std::string::npos || line.compare(colon + 1, 1, "$") != 0)
      throw std::runtime_error(path + ":" + std::to_string(number) + ": not a user:hash line");
    credentials.hashes_[line.substr(0, colon)] = line.substr(colon + 1);
  }
  DecoyHash();
  return credentials;
}

void Credentials::AddUser(const std::string& path, const std::string& user,
                          const std::string& password) {
  RequireSodium();
  if (user.empty() || user.find_first_of(":\r\n") != std::string::npos)
    throw std::runtime_error("a user name may not be empty or hold ':' or line ends");
  if (password.empty()) throw std::runtime_error("the password is empty");
  std::string kept;
  if (std::ifstream in(path); in) {
    std::string line;
    while (std::getline(in, line))
      if (line.compare(0, user.size() + 1, user + ":") != 0) kept += line + "\n";
  }
  kept += user + ":" + Hash(password) + "\n";
  std::string temporary = path + ".new";
  {
    mode_t previous = umask(077);
    std::ofstream out(temporary, std::ios::trunc);
    umask(previous);
    if (!(out << kept) || !out.flush())
      throw std::runtime_error("cannot write the credentials file " + path);
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0)
    throw std::runtime_error("cannot replace the credentials file " + path);
}

bool Credentials::Verify(const std::string& user, const std::string& password) const {
  // Each check takes 64 MB for a moment: a flood of logins waits here instead of exhausting memory.
  static std::counting_semaphore<2> slots(2);
  slots.acquire();
  struct Release {
    ~Release() { slots.release(); }
  } release;
  auto found = hashes_.find(user);
  const std::string& hash = found == hashes_.end() ? DecoyHash() : found->second;
  bool matches = crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
  return matches && found != hashes_.end();
}

}  // namespace brennock::serve
