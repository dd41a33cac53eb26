#pragma once

#include <map>
#include <string>

namespace brennock::serve {

// Web Connector users: one line "user:hash" each, the hash a salted slow hash (libsodium's
// crypto_pwhash_str, Argon2id). Passwords are never kept.
class Credentials {
 public:
  // Reads the file; throws std::runtime_error when it cannot be read or a line is malformed.
  static Credentials Load(const std::string& path);

  // Adds or replaces a user in the file (created with mode 0600). Throws std::runtime_error.
  static void AddUser(const std::string& path, const std::string& user,
                      const std::string& password);

  // Compares in the same slow way whether or not the user exists.
  bool Verify(const std::string& user, const std::string& password) const;
  bool Empty() const { return hashes_.empty(); }

 private:
  std::map<std::string, std::string> hashes_;
};

}  // namespace brennock::serve
