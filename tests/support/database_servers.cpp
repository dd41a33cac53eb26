#include "tests/support/database_servers.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "brennock/database/sql_connection.h"

namespace brennock::testing {
namespace {

namespace fs = std::filesystem;

// A free TCP port on the loopback address.
int FreePort() {
  int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(s);
  return ntohs(address.sin_port);
}

// Runs a program (as nobody when we are root) and returns its pid; wait: its exit status.
pid_t Spawn(const std::vector<std::string>& args, const fs::path& log) {
  pid_t pid = ::fork();
  if (pid != 0) return pid;
  if (::geteuid() == 0) {
    if (passwd* nobody = ::getpwnam("nobody")) {
      if (::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0) ::_exit(126);
    }
  }
  FILE* out = std::fopen(log.c_str(), "a");
  if (out) {
    ::dup2(fileno(out), 1);
    ::dup2(fileno(out), 2);
  }
  ::setsid();
  // A test program that dies without stopping its servers takes them along.
  ::prctl(PR_SET_PDEATHSIG, SIGTERM);
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  ::execv(argv[0], argv.data());
  ::_exit(127);
}

int Run(const std::vector<std::string>& args, const fs::path& log) {
  pid_t pid = Spawn(args, log);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void GiveToNobody(const fs::path& folder) {
  if (::geteuid() != 0) return;
  if (passwd* nobody = ::getpwnam("nobody")) {
    if (::chown(folder.c_str(), nobody->pw_uid, nobody->pw_gid) != 0) return;
  }
}

// Tries to connect until the server answers or the time is up.
std::shared_ptr<SqlConnection> Connect(const std::string& connectionString, int tries) {
  for (int i = 0; i < tries; ++i) {
    try {
      return OpenOdbcDatabase(connectionString);
    } catch (const SqlError&) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }
  return nullptr;
}

struct Server {
  bool tried = false;
  std::string skip;  // why there is none
  fs::path folder;
  pid_t pid = 0;
  int port = 0;
  int databases = 0;
  int stopSignal = SIGTERM;
  std::string base;  // connection string without a database
};

Server& Postgres() {
  static Server server;
  return server;
}
Server& Maria() {
  static Server server;
  return server;
}

fs::path NewFolder(const char* name) {
  fs::path folder = fs::temp_directory_path() /
                    (std::string("brennock_") + name + "_" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  GiveToNobody(folder);
  return folder;
}

void StartPostgres() {
  Server& s = Postgres();
  if (s.tried) return;
  s.tried = true;
  fs::path bin;
  if (fs::exists("/usr/lib/postgresql")) {
    for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql"))
      if (fs::exists(entry.path() / "bin/postgres")) bin = entry.path() / "bin";
  }
  if (bin.empty()) {
    s.skip =
        "the PostgreSQL server binaries are not installed (scripts/bootstrap --tests installs "
        "them)";
    return;
  }
  s.folder = NewFolder("postgres");
  fs::path log = s.folder / "log";
  if (Run({(bin / "initdb").string(), "-D", (s.folder / "data").string(), "-A", "trust", "-U",
           "brennock", "--no-sync", "-E", "UTF8", "--locale=C"},
          log) != 0) {
    s.skip = "initdb failed; see " + log.string();
    return;
  }
  s.port = FreePort();
  s.stopSignal = SIGINT;  // fast shutdown: clients are disconnected
  s.pid = Spawn({(bin / "postgres").string(), "-D", (s.folder / "data").string(), "-k",
                 s.folder.string(), "-p", std::to_string(s.port), "-h", "127.0.0.1", "-F", "-c",
                 "fsync=off", "-c", "full_page_writes=off"},
                log);
  s.base = "Driver=PostgreSQL ANSI;Server=127.0.0.1;Port=" + std::to_string(s.port) +
           ";Uid=brennock;Pwd=;";
  if (!Connect(s.base + "Database=postgres;", 100))
    s.skip = "PostgreSQL did not start; see " + log.string();
}

void StartMaria() {
  Server& s = Maria();
  if (s.tried) return;
  s.tried = true;
  fs::path binary = fs::exists("/usr/sbin/mariadbd") ? "/usr/sbin/mariadbd" : "";
  if (binary.empty()) {
    s.skip =
        "the MariaDB server binaries are not installed (scripts/bootstrap --tests installs them)";
    return;
  }
  s.folder = NewFolder("mariadb");
  s.port = FreePort();
  s.pid = Spawn({binary.string(), "--no-defaults", "--datadir=" + s.folder.string(),
                 "--socket=" + (s.folder / "sock").string(), "--port=" + std::to_string(s.port),
                 "--bind-address=127.0.0.1", "--skip-grant-tables", "--skip-log-bin",
                 "--skip-name-resolve", "--innodb-buffer-pool-size=16M",
                 "--innodb-flush-log-at-trx-commit=0", "--sql-mode=STRICT_ALL_TABLES",
                 // As Debian configures it: Unicode text by default, InnoDB's strict row checks.
                 "--character-set-server=utf8mb4", "--collation-server=utf8mb4_general_ci",
                 "--innodb-strict-mode=ON"},
                s.folder / "log");
  s.base = "Driver=MariaDB Unicode;Server=127.0.0.1;Port=" + std::to_string(s.port) +
           ";User=root;Password=;";
  if (!Connect(s.base, 100)) s.skip = "MariaDB did not start; see " + (s.folder / "log").string();
}

void Stop(Server& s) {
  if (s.pid > 0) {
    ::kill(s.pid, s.stopSignal);
    int status = 0;
    ::waitpid(s.pid, &status, 0);
    s.pid = 0;
  }
  if (!s.folder.empty()) {
    std::error_code ignored;
    fs::remove_all(s.folder, ignored);
  }
}

}  // namespace

std::string DatabaseKindName(DatabaseKind kind) {
  switch (kind) {
    case DatabaseKind::kPostgreSql:
      return "PostgreSQL";
    case DatabaseKind::kMariaDb:
      return "MariaDB";
    case DatabaseKind::kSqlite:
      break;
  }
  return "SQLite";
}

void StartTestDatabaseServers() {
  StartPostgres();
  StartMaria();
}

void StopTestDatabaseServers() {
  Stop(Postgres());
  Stop(Maria());
}

std::shared_ptr<SqlConnection> OpenTestDatabase(DatabaseKind kind, const std::string& sqlitePath,
                                                std::string& connectionString) {
  if (kind == DatabaseKind::kSqlite) {
    std::filesystem::remove(sqlitePath);
    connectionString = sqlitePath;
    return OpenSqliteDatabase(sqlitePath);
  }
  StartTestDatabaseServers();
  Server& s = kind == DatabaseKind::kPostgreSql ? Postgres() : Maria();
  if (!s.skip.empty()) return nullptr;
  std::string name = "t" + std::to_string(++s.databases);
  std::shared_ptr<SqlConnection> admin =
      Connect(s.base + (kind == DatabaseKind::kPostgreSql ? "Database=postgres;" : ""), 10);
  if (!admin) return nullptr;
  admin->Execute("CREATE DATABASE " + name);
  admin.reset();
  connectionString = s.base + "Database=" + name + ";";
  return Connect(connectionString, 10);
}

std::string ServerSkipReason(DatabaseKind kind) {
  if (kind == DatabaseKind::kSqlite) return {};
  Server& s = kind == DatabaseKind::kPostgreSql ? Postgres() : Maria();
  return s.skip;
}

}  // namespace brennock::testing
