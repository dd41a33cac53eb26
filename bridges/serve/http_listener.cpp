// The listener is written on Boost.Asio and Boost.Beast: one thread drives every socket through
// completion handlers, each request has deadlines of its own (not per read), and Beast's parser
// enforces header and body limits as bytes arrive, chunked bodies included. Only this file knows
// the library; the rest of `brennock serve` sees HttpRequest and HttpResponse.
#include "bridges/serve/http_listener.h"

#include <malloc.h>
#include <sys/resource.h>

#include <array>
#include <boost/asio.hpp>
#include <boost/asio/ssl.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http.hpp>
#include <condition_variable>
#include <deque>
#include <limits>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <unordered_map>
#include <utility>

#include "brennock/internal/util/text.h"
#include "bridges/serve/worker_pool.h"

namespace brennock::serve {
namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;
using Clock = std::chrono::steady_clock;
using ErrorCode = boost::system::error_code;

// An answer to a client that misbehaved is given this long to leave, and what it still sends is
// read (and dropped) for this long and up to this much, so that it sees the answer rather than a
// reset.
constexpr auto kFarewellTime = std::chrono::seconds(1);
constexpr size_t kFarewellBytes = size_t{32} << 20;
// A charge at least this large leaves memory worth returning to the system.
constexpr size_t kLargeCharge = size_t{1} << 20;
constexpr std::string_view kContinue = "HTTP/1.1 100 Continue\r\n\r\n";
constexpr std::string_view kTooManyConnections =
    "HTTP/1.1 503 Service Unavailable\r\nContent-Type: text/plain\r\nContent-Length: 40\r\n"
    "Retry-After: 1\r\nConnection: close\r\n\r\nbrennock serve has too many connections\n";

HttpResponse PlainAnswer(int status, std::string text, std::string outcome) {
  HttpResponse response;
  response.status = status;
  response.body = std::move(text);
  response.body += '\n';
  response.outcome = std::move(outcome);
  response.close = true;
  return response;
}

std::string PeerAddress(const tcp::socket& socket) {
  ErrorCode ec;
  tcp::endpoint endpoint = socket.remote_endpoint(ec);
  if (ec) return "-";
  asio::ip::address address = endpoint.address();
  if (address.is_v6() && address.to_v6().is_v4_mapped())
    address = asio::ip::make_address_v4(asio::ip::v4_mapped, address.to_v6());
  return address.to_string();
}

size_t Charge(size_t bytes, size_t factor, size_t budget) {
  if (factor != 0 && bytes > budget / factor) return budget;
  return bytes * factor;
}

// Lets as many sockets be open as the connection cap needs, within the hard limit.
size_t RaiseOpenFileLimit(size_t wanted) {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return wanted;
  if (limit.rlim_cur < wanted && limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = std::min<rlim_t>(limit.rlim_max, wanted);
    setrlimit(RLIMIT_NOFILE, &limit);
    getrlimit(RLIMIT_NOFILE, &limit);
  }
  return static_cast<size_t>(limit.rlim_cur);
}

class ConnectionBase : public std::enable_shared_from_this<ConnectionBase> {
 public:
  enum class Phase { kHandshake, kIdle, kHead, kWaitingRoom, kBody, kBusy, kWriting, kClosed };

  ConnectionBase(uint64_t id, std::string peer) : id_(id), peer_(std::move(peer)) {}
  virtual ~ConnectionBase() = default;

  // Closes at once; a request under way is logged with the reason.
  virtual void Abort(std::string_view reason) = 0;
  // The server is stopping: close once the answer being made is written.
  virtual void CloseAfterAnswer() = 0;
  // The memory budget has room for this connection's body now.
  virtual void RoomGranted() = 0;

  uint64_t Id() const { return id_; }
  const std::string& Peer() const { return peer_; }
  Phase CurrentPhase() const { return phase_; }
  // Since when the connection has been idle, or its request under way.
  Clock::time_point Since() const { return since_; }
  // Neither a handler nor a write is under way: closing it loses no work.
  bool Sheddable() const { return phase_ != Phase::kBusy && phase_ != Phase::kWriting; }

  size_t charge = 0;  // bytes held against the memory budget
  size_t wanted = 0;  // bytes it waits for, while waiting for room

 protected:
  uint64_t id_;
  std::string peer_;
  Phase phase_ = Phase::kHandshake;
  Clock::time_point since_ = Clock::now();
};

}  // namespace

struct HttpListener::State {
  ListenerOptions options;
  HttpService service;
  asio::io_context ioc{1};
  tcp::acceptor acceptor{ioc};
  std::optional<asio::ssl::context> tls;
  asio::steady_timer tick{ioc};
  std::thread thread;
  std::vector<std::unique_ptr<WorkerPool>> lanes;
  int port = 0;
  bool started = false;
  bool stopped = false;

  // Touched on the socket thread only.
  uint64_t nextId = 1;
  std::map<uint64_t, std::weak_ptr<ConnectionBase>> connections;
  std::unordered_map<std::string, size_t> perPeer;
  size_t budgetUsed = 0;
  std::deque<std::weak_ptr<ConnectionBase>> budgetWaiters;
  bool stopping = false;
  bool largeReleased = false;
  size_t refusedPerPeer = 0;
  size_t refusedTotal = 0;
  size_t shed = 0;

  // How many connections are open, for Stop on another thread.
  std::mutex openMutex;
  std::condition_variable openChanged;
  size_t open = 0;

  State(ListenerOptions o, HttpService s) : options(std::move(o)), service(std::move(s)) {}

  void Accept();
  void OnAccepted(tcp::socket socket);
  bool ShedOldest();
  void Register(const std::shared_ptr<ConnectionBase>& connection);
  void Unregister(const ConnectionBase& connection);
  bool Reserve(ConnectionBase& connection, size_t bytes);
  void Release(ConnectionBase& connection);
  void GrantWaiters();
  void Tick();
  std::vector<std::shared_ptr<ConnectionBase>> OpenConnections() const;
  void Log(const ExchangeRecord& record) {
    if (service.log) service.log(record);
  }
};

namespace {

using State = HttpListener::State;

// One client connection. Every step is a completion handler on the socket thread; a single
// deadline timer bounds whatever the connection waits for (a handshake, the next request, a
// request's head or body, room in the memory budget, the client taking an answer).
template <class Stream>
class Connection final : public ConnectionBase {
 public:
  template <class... StreamArgs>
  Connection(State& state, uint64_t id, std::string peer, StreamArgs&&... streamArgs)
      : ConnectionBase(id, std::move(peer)),
        state_(state),
        stream_(std::forward<StreamArgs>(streamArgs)...),
        deadline_(state.ioc) {}

  void Start() {
    if constexpr (kSecure) {
      SetDeadline(Clock::now() + state_.options.headerTimeout);
      stream_.async_handshake(asio::ssl::stream_base::server, [self = Self()](const ErrorCode& ec) {
        if (self->phase_ != Phase::kHandshake) return;
        if (ec) return self->Close();
        self->WaitForRequest();
      });
    } else {
      WaitForRequest();
    }
  }

  void Abort(std::string_view reason) override {
    if (phase_ == Phase::kClosed) return;
    if (phase_ != Phase::kHandshake && phase_ != Phase::kIdle) LogUnanswered(std::string(reason));
    Close();
  }

  void CloseAfterAnswer() override { closeAfter_ = true; }

  void RoomGranted() override {
    if (phase_ == Phase::kWaitingRoom) ReadBody();
  }

 private:
  static constexpr bool kSecure = !std::is_same_v<Stream, tcp::socket>;

  std::shared_ptr<Connection> Self() {
    return std::static_pointer_cast<Connection>(shared_from_this());
  }
  tcp::socket& Socket() {
    if constexpr (kSecure)
      return stream_.next_layer();
    else
      return stream_;
  }

  void Enter(Phase phase) {
    phase_ = phase;
    since_ = Clock::now();
  }

  // At `at` whatever the connection waits for is cancelled (and its handler sees timedOut_); a
  // connection waiting for room is refused.
  void SetDeadline(Clock::time_point at) {
    timedOut_ = false;
    deadline_.expires_at(at);
    deadline_.async_wait([self = Self(), generation = ++generation_](const ErrorCode& ec) {
      if (ec || generation != self->generation_ || self->phase_ == Phase::kClosed) return;
      self->timedOut_ = true;
      if (self->phase_ == Phase::kWaitingRoom)
        return self->Respond(PlainAnswer(
            503, "brennock serve has no room for more request bodies at the moment; try again.",
            "no room in the memory budget within the request deadline"));
      ErrorCode ignored;
      self->Socket().cancel(ignored);
    });
  }

  void ClearDeadline() {
    ++generation_;
    deadline_.cancel();
  }

  void WaitForRequest() {
    if (closeAfter_ || state_.stopping) return Close();
    Enter(Phase::kIdle);
    if (buffer_.size() > 0) return BeginRequest();
    SetDeadline(Clock::now() + state_.options.idleTimeout);
    stream_.async_read_some(buffer_.prepare(4096),
                            [self = Self()](const ErrorCode& ec, size_t read) {
                              if (self->phase_ != Phase::kIdle) return;
                              if (ec) return self->Close();  // gone, or idle too long
                              self->buffer_.commit(read);
                              self->BeginRequest();
                            });
  }

  void BeginRequest() {
    Enter(Phase::kHead);
    requestStart_ = since_;
    request_ = HttpRequest();
    request_.peer = peer_;
    unread_ = true;
    parser_.emplace();
    parser_->header_limit(static_cast<uint32_t>(state_.options.maxHeaderBytes));
    // The admission sets the real limit once the route is known. (Not boost::none: this version
    // of Beast compares a Content-Length against it and finds every length too large.)
    parser_->body_limit(std::numeric_limits<uint64_t>::max());
    SetDeadline(requestStart_ + state_.options.headerTimeout);
    http::async_read_header(stream_, buffer_, *parser_,
                            [self = Self()](const ErrorCode& ec, size_t) { self->OnHead(ec); });
  }

  void OnHead(const ErrorCode& ec) {
    if (phase_ != Phase::kHead) return;
    if (ec) return FailRead(ec, "head");
    const auto& message = parser_->get();
    request_.method = std::string(message.method_string());
    request_.target = std::string(message.target());
    SplitTarget(request_);
    for (const auto& field : message)
      request_.headers.emplace_back(std::string(field.name_string()), std::string(field.value()));
    if (auto length = parser_->content_length()) request_.contentLength = *length;
    request_.chunked = parser_->chunked();
    keepAlive_ = message.keep_alive();
    unread_ = !parser_->is_done();

    admission_ = state_.service.admit(request_);
    if (admission_.answer) return Respond(std::move(*admission_.answer));
    if (request_.contentLength.value_or(0) > admission_.bodyLimit) return RefuseBody();
    if (!unread_) return Dispatch();
    parser_->body_limit(admission_.bodyLimit);
    size_t expected = request_.contentLength ? static_cast<size_t>(*request_.contentLength)
                                             : admission_.bodyLimit;
    wanted = Charge(expected, admission_.memoryFactor, state_.options.memoryBudget);
    if (state_.Reserve(*this, wanted)) return ReadBody();
    // Waits, reading nothing, until a body in flight makes room or its deadline passes.
    phase_ = Phase::kWaitingRoom;
    state_.budgetWaiters.push_back(weak_from_this());
    SetDeadline(requestStart_ + state_.options.requestTimeout);
  }

  void RefuseBody() {
    Respond(PlainAnswer(413,
                        "The request body is larger than the limit of " +
                            std::to_string(admission_.bodyLimit) + " bytes.",
                        "body over the limit"));
  }

  void ReadBody() {
    phase_ = Phase::kBody;
    // A chunked body grows to its limit at most: reserved at once, it is never copied to a larger
    // buffer on the way (pages of the reservation cost nothing until written).
    if (request_.chunked) parser_->get().body().reserve(admission_.bodyLimit);
    SetDeadline(requestStart_ + state_.options.requestTimeout);
    auto read = [self = Self()] {
      http::async_read(self->stream_, self->buffer_, *self->parser_,
                       [self](const ErrorCode& ec, size_t) { self->OnBody(ec); });
    };
    if (!AsciiEqualsIgnoreCase(request_.Header("Expect"), "100-continue")) return read();
    asio::async_write(stream_, asio::buffer(kContinue.data(), kContinue.size()),
                      [self = Self(), read](const ErrorCode& ec, size_t) {
                        if (self->phase_ != Phase::kBody) return;
                        if (ec) return self->FailRead(ec, "body");
                        read();
                      });
  }

  void OnBody(const ErrorCode& ec) {
    if (phase_ != Phase::kBody) return;
    if (ec == http::error::body_limit) return RefuseBody();
    if (ec) return FailRead(ec, "body");
    unread_ = false;
    request_.body = std::move(parser_->get().body());
    parser_.reset();
    Dispatch();
  }

  void FailRead(const ErrorCode& ec, std::string_view part) {
    // Whatever of the request line arrived names the request in the log.
    if (parser_ && request_.method.empty()) {
      request_.method = std::string(parser_->get().method_string());
      request_.target = std::string(parser_->get().target());
      SplitTarget(request_);
    }
    if (timedOut_)
      return Respond(PlainAnswer(408, "The request did not arrive in time.",
                                 std::string(part) + " not complete within the deadline"));
    if (ec == http::error::header_limit)
      return Respond(PlainAnswer(431,
                                 "The request's head is larger than the limit of " +
                                     std::to_string(state_.options.maxHeaderBytes) + " bytes.",
                                 "head over the limit"));
    if (ec == http::error::end_of_stream || ec == http::error::partial_message ||
        ec == asio::error::eof || ec == asio::error::connection_reset ||
        ec == asio::error::operation_aborted || ec == asio::error::broken_pipe) {
      LogUnanswered("the client closed the connection during the " + std::string(part));
      return Close();
    }
    Respond(PlainAnswer(400, "The request is not valid HTTP: " + ec.message() + ".",
                        "malformed " + std::string(part) + ": " + ec.message()));
  }

  void Dispatch() {
    Enter(Phase::kBusy);
    ClearDeadline();
    size_t lane = admission_.lane < state_.lanes.size() ? admission_.lane : 0;
    State* state = &state_;
    bool posted = state_.lanes[lane]->Post([self = Self(), state]() mutable {
      HttpResponse response;
      try {
        state->service.handle(self->request_, response);
      } catch (const std::exception& error) {
        response = PlainAnswer(500, "Unexpected error.", error.what());
      } catch (...) {
        response = PlainAnswer(500, "Unexpected error.", "an unknown exception");
      }
      std::string().swap(self->request_.body);  // not kept while the answer is written
      asio::post(state->ioc, [self = std::move(self), response = std::move(response)]() mutable {
        self->Respond(std::move(response));
      });
    });
    if (!posted)
      Respond(PlainAnswer(503, "brennock serve is shutting down.", "the server is stopping"));
  }

  void Respond(HttpResponse response) {
    if (phase_ == Phase::kClosed) return;
    if (response.close) closeAfter_ = true;
    answer_ = std::move(response);
    wire_ = {};
    wire_.version(11);
    wire_.result(static_cast<unsigned>(answer_.status));
    wire_.set(http::field::content_type, answer_.contentType);
    for (const auto& [name, value] : answer_.headers) wire_.set(name, value);
    wire_.body() = std::move(answer_.body);
    bool keep = keepAlive_ && !closeAfter_ && !unread_ && !state_.stopping;
    wire_.keep_alive(keep);
    wire_.prepare_payload();
    state_.Release(*this);
    if (wire_.body().size() >= kLargeCharge) state_.Reserve(*this, wire_.body().size());
    Enter(Phase::kWriting);
    // A refusal is small: a client that does not take it at once is not waited for.
    bool refusal = answer_.close && answer_.status >= 400;
    SetDeadline(Clock::now() +
                (refusal ? std::chrono::milliseconds(kFarewellTime) : state_.options.writeTimeout));
    http::async_write(stream_, wire_, [self = Self(), keep](const ErrorCode& ec, size_t) {
      self->OnWritten(ec, keep);
    });
  }

  void OnWritten(const ErrorCode& ec, bool keep) {
    if (phase_ != Phase::kWriting) return;
    ExchangeRecord record = Record(answer_.status);
    if (ec) {
      std::string lost = "answer not delivered: " + (timedOut_ ? "timed out" : ec.message());
      record.outcome = record.outcome.empty() ? lost : record.outcome + "; " + lost;
    }
    state_.Log(record);
    wire_ = {};
    state_.Release(*this);
    if (ec) return Close();
    if (keep) return WaitForRequest();
    if (unread_) return Farewell();
    Close();
  }

  // The client may still be sending what nobody will read: stop writing, and drop what comes for
  // a moment, so that it reads the answer instead of a reset.
  void Farewell() {
    Enter(Phase::kIdle);
    closeAfter_ = true;
    ErrorCode ignored;
    Socket().shutdown(tcp::socket::shutdown_send, ignored);
    SetDeadline(Clock::now() + kFarewellTime);
    DrainSome();
  }

  void DrainSome() {
    Socket().async_read_some(
        asio::buffer(drain_), [self = Self()](const ErrorCode& ec, size_t read) {
          self->drained_ += read;
          if (ec || self->drained_ > kFarewellBytes || self->phase_ != Phase::kIdle)
            return self->Close();
          self->DrainSome();
        });
  }

  ExchangeRecord Record(int status) const {
    ExchangeRecord record;
    record.method = request_.method.empty() ? "-" : request_.method;
    record.path = request_.path.empty() ? "-" : request_.path;
    record.status = status;
    record.peer = peer_;
    record.milliseconds =
        std::chrono::duration<double, std::milli>(Clock::now() - requestStart_).count();
    record.face = answer_.face;
    record.operation = answer_.operation;
    record.outcome = answer_.outcome;
    return record;
  }

  void LogUnanswered(std::string reason) {
    answer_ = HttpResponse();
    answer_.outcome = std::move(reason);
    state_.Log(Record(0));
  }

  void Close() {
    if (phase_ == Phase::kClosed) return;
    Enter(Phase::kClosed);
    ClearDeadline();
    ErrorCode ignored;
    Socket().shutdown(tcp::socket::shutdown_both, ignored);
    Socket().close(ignored);
    state_.Release(*this);
    state_.Unregister(*this);
  }

  State& state_;
  Stream stream_;
  asio::steady_timer deadline_;
  uint64_t generation_ = 0;
  bool timedOut_ = false;
  beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::string_body>> parser_;
  HttpRequest request_;
  Admission admission_;
  HttpResponse answer_;
  http::response<http::string_body> wire_;
  Clock::time_point requestStart_ = Clock::now();
  bool keepAlive_ = false;
  bool closeAfter_ = false;
  bool unread_ = false;  // bytes of the request may still be coming that nobody read
  std::array<char, 16384> drain_{};
  size_t drained_ = 0;
};

}  // namespace

void State::Accept() {
  acceptor.async_accept(ioc, [this](const ErrorCode& ec, tcp::socket socket) {
    if (ec == asio::error::operation_aborted || stopping) return;
    if (!ec) OnAccepted(std::move(socket));
    Accept();
  });
}

void State::OnAccepted(tcp::socket socket) {
  std::string peer = PeerAddress(socket);
  auto refuse = [&](size_t& counter) {
    ++counter;
    // Said without waiting: a client that does not read it costs nothing.
    ErrorCode ignored;
    socket.non_blocking(true, ignored);
    if (!tls)
      socket.write_some(asio::buffer(kTooManyConnections.data(), kTooManyConnections.size()),
                        ignored);
    socket.close(ignored);
  };
  auto count = perPeer.find(peer);
  if (count != perPeer.end() && count->second >= options.maxConnectionsPerPeer)
    return refuse(refusedPerPeer);
  if (connections.size() >= options.maxConnections && !ShedOldest()) return refuse(refusedTotal);
  ErrorCode ignored;
  socket.set_option(tcp::no_delay(true), ignored);
  uint64_t id = nextId++;
  if (tls) {
    using Secure = asio::ssl::stream<tcp::socket>;
    auto connection =
        std::make_shared<Connection<Secure>>(*this, id, peer, std::move(socket), *tls);
    Register(connection);
    connection->Start();
  } else {
    auto connection = std::make_shared<Connection<tcp::socket>>(*this, id, peer, std::move(socket));
    Register(connection);
    connection->Start();
  }
}

std::vector<std::shared_ptr<ConnectionBase>> State::OpenConnections() const {
  std::vector<std::shared_ptr<ConnectionBase>> out;
  for (const auto& [id, weak] : connections)
    if (auto connection = weak.lock()) out.push_back(std::move(connection));
  return out;
}

// At the cap, the connection that has been idle or reading its request longest makes room: slow
// clients go first, and work under way is never lost.
bool State::ShedOldest() {
  std::shared_ptr<ConnectionBase> oldest;
  for (auto& [id, weak] : connections) {
    std::shared_ptr<ConnectionBase> connection = weak.lock();
    if (!connection || !connection->Sheddable()) continue;
    if (!oldest || connection->Since() < oldest->Since()) oldest = std::move(connection);
  }
  if (!oldest) return false;
  ++shed;
  oldest->Abort("shed: the server was at its connection limit");
  return true;
}

void State::Register(const std::shared_ptr<ConnectionBase>& connection) {
  connections.emplace(connection->Id(), connection);
  ++perPeer[connection->Peer()];
  std::lock_guard lock(openMutex);
  ++open;
}

void State::Unregister(const ConnectionBase& connection) {
  if (connections.erase(connection.Id()) == 0) return;
  auto peer = perPeer.find(connection.Peer());
  if (peer != perPeer.end() && --peer->second == 0) perPeer.erase(peer);
  {
    std::lock_guard lock(openMutex);
    --open;
  }
  openChanged.notify_all();
}

bool State::Reserve(ConnectionBase& connection, size_t bytes) {
  // One request alone always fits, whatever its charge.
  if (budgetUsed != 0 && budgetUsed + bytes > options.memoryBudget) return false;
  budgetUsed += bytes;
  connection.charge += bytes;
  return true;
}

void State::Release(ConnectionBase& connection) {
  if (connection.charge == 0) return;
  if (connection.charge >= kLargeCharge) largeReleased = true;
  budgetUsed -= connection.charge;
  connection.charge = 0;
  GrantWaiters();
}

// First come, first served: a large body is not overtaken for ever by small ones.
void State::GrantWaiters() {
  while (!budgetWaiters.empty()) {
    std::shared_ptr<ConnectionBase> next = budgetWaiters.front().lock();
    if (!next || next->CurrentPhase() != ConnectionBase::Phase::kWaitingRoom) {
      budgetWaiters.pop_front();
      continue;
    }
    if (!Reserve(*next, next->wanted)) return;
    budgetWaiters.pop_front();
    next->RoomGranted();
  }
}

void State::Tick() {
  tick.expires_after(std::chrono::seconds(1));
  tick.async_wait([this](const ErrorCode& ec) {
    if (ec || stopping) return;
    if (refusedPerPeer + refusedTotal + shed > 0 && service.event) {
      service.event("event=connections-refused per_peer=" + std::to_string(refusedPerPeer) +
                    " at_limit=" + std::to_string(refusedTotal) + " shed=" + std::to_string(shed));
    }
    refusedPerPeer = refusedTotal = shed = 0;
    if (service.housekeeping && service.housekeeping()) largeReleased = true;
#ifdef __GLIBC__
    // Freed memory stays in the allocator's arenas (one per thread that used it) until trimmed.
    if (std::exchange(largeReleased, false)) malloc_trim(0);
#endif
    Tick();
  });
}

HttpListener::HttpListener(ListenerOptions options, HttpService service)
    : state_(std::make_unique<State>(std::move(options), std::move(service))) {}

HttpListener::~HttpListener() { Stop(Clock::now() + std::chrono::seconds(5)); }

int HttpListener::Port() const { return state_->port; }

void HttpListener::Start() {
  State& s = *state_;
  ListenerOptions& o = s.options;
  if (!o.certFile.empty()) {
    s.tls.emplace(asio::ssl::context::tls_server);
    ErrorCode ec;
    s.tls->set_options(asio::ssl::context::default_workarounds | asio::ssl::context::no_sslv2 |
                           asio::ssl::context::no_sslv3 | asio::ssl::context::no_tlsv1 |
                           asio::ssl::context::no_tlsv1_1,
                       ec);
    s.tls->use_certificate_chain_file(o.certFile, ec);
    if (!ec) s.tls->use_private_key_file(o.keyFile, asio::ssl::context::pem, ec);
    if (ec)
      throw std::runtime_error("cannot use the certificate " + o.certFile + " and key " +
                               o.keyFile);
  }
  // Each connection holds a socket; some descriptors stay for company files and logs.
  size_t descriptors = RaiseOpenFileLimit(o.maxConnections + 256);
  if (descriptors < o.maxConnections + 64)
    o.maxConnections = descriptors > 128 ? descriptors - 64 : 64;
#ifdef __GLIBC__
  // Large buffers (request bodies, answers) are mapped on their own and go back to the system when
  // freed, instead of keeping the heap at the size of the largest request ever seen.
  mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif

  ErrorCode ec;
  std::string host = o.host == "localhost" ? "127.0.0.1" : o.host;
  asio::ip::address address = asio::ip::make_address(host, ec);
  if (ec) {
    tcp::resolver resolver(s.ioc);
    auto results = resolver.resolve(host, "", ec);
    if (ec || results.empty())
      throw std::runtime_error("cannot listen on " + o.host + ":" + std::to_string(o.port));
    address = results.begin()->endpoint().address();
  }
  tcp::endpoint endpoint(address, static_cast<unsigned short>(o.port));
  s.acceptor.open(endpoint.protocol(), ec);
  if (!ec) s.acceptor.set_option(asio::socket_base::reuse_address(true), ec);
  if (!ec) s.acceptor.bind(endpoint, ec);
  if (!ec) s.acceptor.listen(asio::socket_base::max_listen_connections, ec);
  if (ec) throw std::runtime_error("cannot listen on " + o.host + ":" + std::to_string(o.port));
  s.port = s.acceptor.local_endpoint().port();

  for (size_t threads : o.lanes) s.lanes.push_back(std::make_unique<WorkerPool>(threads));
  if (s.lanes.empty()) s.lanes.push_back(std::make_unique<WorkerPool>(1));
  s.Accept();
  s.Tick();
  s.started = true;
  s.thread = std::thread([&s] { s.ioc.run(); });
}

bool HttpListener::Stop(Clock::time_point deadline) {
  State& s = *state_;
  if (!s.started || s.stopped) return true;
  s.stopped = true;
  asio::post(s.ioc, [&s] {
    s.stopping = true;
    ErrorCode ignored;
    s.acceptor.close(ignored);
    s.tick.cancel();
    for (auto& connection : s.OpenConnections()) {
      if (connection->Sheddable())
        connection->Abort("the server is stopping");
      else
        connection->CloseAfterAnswer();
    }
  });
  bool idle = true;
  for (auto& lane : s.lanes) idle = lane->Stop(deadline) && idle;
  {
    // Answers of handlers that ended may still be on their way.
    std::unique_lock lock(s.openMutex);
    s.openChanged.wait_until(lock, deadline, [&] { return s.open == 0; });
  }
  asio::post(s.ioc, [&s] {
    for (auto& connection : s.OpenConnections())
      connection->Abort("the server stopped before answering");
    s.ioc.stop();
  });
  if (s.thread.joinable()) s.thread.join();
  return idle;
}

}  // namespace brennock::serve
