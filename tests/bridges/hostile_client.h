#pragma once

// Tools for attacking a `brennock serve` that runs as a child process: raw connections from any
// loopback address, the child's memory, and the child itself.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tests/support/build_paths.h"

namespace brennock::testing {

using HostileClock = std::chrono::steady_clock;

// Milliseconds since `start`.
inline double MillisecondsSince(HostileClock::time_point start) {
  return std::chrono::duration<double, std::milli>(HostileClock::now() - start).count();
}

// A non-blocking TCP connection to the server from a chosen address of 127.0.0.0/8, so that
// attackers and honest clients are different peers to it.
class RawConnection {
 public:
  RawConnection(int port, const std::string& from) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ::inet_pton(AF_INET, from.c_str(), &local.sin_addr);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local);
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(static_cast<uint16_t>(port));
    ::inet_pton(AF_INET, "127.0.0.1", &server.sin_addr);
    connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&server), sizeof server) == 0;
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);
  }
  ~RawConnection() {
    if (fd_ >= 0) ::close(fd_);
  }
  RawConnection(const RawConnection&) = delete;
  RawConnection& operator=(const RawConnection&) = delete;

  bool Open() const { return connected_ && !closed_; }

  // Sends what the socket takes now; false once the server closed or reset the connection.
  bool SendSome(std::string_view data, size_t& sent) {
    sent = 0;
    ssize_t n = ::send(fd_, data.data(), data.size(), MSG_NOSIGNAL);
    if (n > 0) sent = static_cast<size_t>(n);
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) closed_ = true;
    return !closed_;
  }

  // Sends all of it within the wait.
  bool Send(std::string_view data, std::chrono::milliseconds wait = std::chrono::seconds(10)) {
    auto deadline = HostileClock::now() + wait;
    while (!data.empty() && HostileClock::now() < deadline) {
      size_t sent = 0;
      if (!SendSome(data, sent)) return false;
      data.remove_prefix(sent);
      if (sent == 0) Wait(POLLOUT, std::chrono::milliseconds(10));
    }
    return data.empty();
  }

  // Sends the request while reading, as a careful client does: the server may answer (and stop
  // reading) before all of it is sent. Returns the answer.
  std::string Exchange(std::string_view request,
                       std::chrono::milliseconds wait = std::chrono::seconds(20)) {
    auto deadline = HostileClock::now() + wait;
    std::string answer;
    while (!request.empty() && answer.empty() && !closed_ && HostileClock::now() < deadline) {
      size_t sent = 0;
      SendSome(request, sent);
      request.remove_prefix(sent);
      answer = ReadSome(std::chrono::milliseconds(sent == 0 ? 5 : 0));
    }
    return ReadAnswer(
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - HostileClock::now()),
        std::move(answer));
  }

  // Reads what has arrived, waiting up to `wait` for something; notes when the server closed.
  std::string ReadSome(std::chrono::milliseconds wait) {
    std::string out;
    if (closed_) return out;
    Wait(POLLIN, wait);
    char buffer[65536];
    for (;;) {
      ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
      if (n > 0) {
        out.append(buffer, static_cast<size_t>(n));
        continue;
      }
      if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) closed_ = true;
      return out;
    }
  }

  // Reads one whole answer (the server frames each with Content-Length), or what came in time.
  std::string ReadAnswer(std::chrono::milliseconds wait = std::chrono::seconds(20),
                         std::string answer = {}) {
    auto deadline = HostileClock::now() + wait;
    while (!closed_ && HostileClock::now() < deadline && !Complete(answer))
      answer += ReadSome(std::chrono::milliseconds(20));
    return answer;
  }

 private:
  void Wait(short events, std::chrono::milliseconds wait) {
    pollfd p{fd_, events, 0};
    ::poll(&p, 1, static_cast<int>(wait.count()));
  }

  static bool Complete(const std::string& answer) {
    size_t end = answer.find("\r\n\r\n");
    if (end == std::string::npos) return false;
    size_t at = answer.find("Content-Length: ");
    if (at == std::string::npos || at > end) return true;
    return answer.size() >= end + 4 + std::stoul(answer.substr(at + 16));
  }

  int fd_ = -1;
  bool connected_ = false;
  bool closed_ = false;
};

// "HTTP/1.1 413 ..." -> 413; 0 when nothing came.
inline int StatusOf(const std::string& answer) {
  return answer.size() >= 12 && answer.starts_with("HTTP/1.") ? std::stoi(answer.substr(9, 3)) : 0;
}

inline std::string Post(std::string_view path, std::string_view body, std::string_view extra = {}) {
  std::string request =
      "POST " + std::string(path) + " HTTP/1.1\r\nHost: brennock\r\n" + std::string(extra) +
      "Content-Type: text/xml\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n";
  request += body;
  return request;
}

inline std::string SoapCall(const std::string& operation,
                            const std::vector<std::pair<std::string, std::string>>& parameters) {
  std::string body =
      R"(<?xml version="1.0" encoding="utf-8"?><soap:Envelope xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/"><soap:Body><)" +
      operation + R"( xmlns="http://developer.intuit.com/">)";
  for (const auto& [name, value] : parameters) body += "<" + name + ">" + value + "</" + name + ">";
  return body + "</" + operation + "></soap:Body></soap:Envelope>";
}

// Memory of a process, in bytes: its own (heap and stacks, not the company file's mapped pages),
// and its resident size with the peak of it, which can be reset.
struct ProcessMemory {
  pid_t pid;
  size_t Read(const char* field) const {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line))
      if (line.starts_with(field)) return std::stoul(line.substr(std::string(field).size())) * 1024;
    return 0;
  }
  size_t Own() const { return Read("RssAnon:"); }
  size_t Resident() const { return Read("VmRSS:"); }
  size_t Peak() const { return Read("VmHWM:"); }
  void ResetPeak() const { std::ofstream("/proc/" + std::to_string(pid) + "/clear_refs") << "5"; }
};

// The built `brennock serve` in a child process, standard error to a log file.
class ServeChild {
 public:
  ~ServeChild() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }

  // Starts it; the port it listens on, 0 when it did not start within 20 s.
  int Start(const std::filesystem::path& folder, std::vector<std::string> args) {
    std::filesystem::path portFile = folder / "port";
    std::filesystem::remove(portFile);
    log_ = folder / "serve.log";
    args.insert(args.begin(), {"serve", "--port", "0", "--port-file", portFile.string()});
    std::string program = CliPath();
    std::vector<char*> argv{program.data()};
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(::open(log_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
      ::execv(program.c_str(), argv.data());
      ::_exit(127);
    }
    for (int i = 0; i < 2000; ++i) {
      std::ifstream in(portFile);
      std::string port;
      if (std::getline(in, port) && !in.eof()) return std::stoi(port);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
  }

  pid_t Pid() const { return pid_; }
  std::string Log() const {
    std::ifstream in(log_);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Sends SIGTERM; the exit status and the time it took, or -1 when it did not exit within 30 s.
  std::pair<int, double> Terminate() {
    auto start = HostileClock::now();
    ::kill(pid_, SIGTERM);
    for (int i = 0; i < 3000; ++i) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = 0;
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, MillisecondsSince(start)};
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return {-1, MillisecondsSince(start)};
  }

 private:
  pid_t pid_ = 0;
  std::filesystem::path log_;
};

}  // namespace brennock::testing
