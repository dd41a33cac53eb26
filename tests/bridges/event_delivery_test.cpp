// `brennock serve` posts the events of URL subscribers: in order, each once, retried after
// failures, and without holding up the company's own requests.
#include "bridges/serve/event_delivery.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "brennock/brennock.h"
#include "simulator/company_file.h"

namespace brennock::testing {
namespace {

constexpr const char* kSubscriber = "{5E1D2C3B-4A59-4867-9786-A5B4C3D2E1F0}";

// An HTTP subscriber: records what it takes; a test can make it refuse, answer garbage or hold.
class Subscriber {
 public:
  Subscriber() {
    server_.Post("/events", [this](const httplib::Request& request, httplib::Response& response) {
      std::unique_lock lock(mutex_);
      held_.wait(lock, [&] { return !holding_; });
      ++calls_;
      if (refusals_ > 0) {
        --refusals_;
        response.status = 503;
        return;
      }
      bodies_.push_back(request.body);
      sequences_.push_back(request.get_header_value("Brennock-Event-Sequence"));
      arrived_.notify_all();
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::yield();
  }
  ~Subscriber() {
    Release();
    server_.stop();
    thread_.join();
  }

  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/events"; }
  void Refuse(int times) {
    std::lock_guard lock(mutex_);
    refusals_ = times;
  }
  void Hold() {
    std::lock_guard lock(mutex_);
    holding_ = true;
  }
  void Release() {
    {
      std::lock_guard lock(mutex_);
      holding_ = false;
    }
    held_.notify_all();
  }
  // The bodies taken, once count arrived (or after a generous wait).
  std::vector<std::string> Await(size_t count) {
    std::unique_lock lock(mutex_);
    arrived_.wait_for(lock, std::chrono::seconds(30), [&] { return bodies_.size() >= count; });
    return bodies_;
  }
  std::vector<std::string> Sequences() {
    std::lock_guard lock(mutex_);
    return sequences_;
  }
  int Calls() {
    std::lock_guard lock(mutex_);
    return calls_;
  }

 private:
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable held_, arrived_;
  bool holding_ = false;
  int refusals_ = 0;
  int calls_ = 0;
  std::vector<std::string> bodies_, sequences_;
};

class EventDeliveryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Session() = SessionState{};
    folder_ = std::filesystem::temp_directory_path() /
              ("brennock_delivery_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
               std::to_string(::getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    path_ = (folder_ / "company.qbw").string();
    simulator::CreateCompanyFile(path_);
    connection_.SetRequestProcessorProgId("Brennock.Simulator");
    connection_.RegisterEventGUID(kSubscriber);
    connection_.Connect("", "Delivery tests", qbOpenModeDontCare, path_);
  }
  void TearDown() override {
    connection_.CloseConnection();
    Session() = SessionState{};
    std::filesystem::remove_all(folder_);
  }

  void Subscribe(const std::string& url, bool always) {
    auto subscription = connection_.DataEventSubscriptions()->Add("Delivery tests", url);
    subscription->SetDeliveryAlways(always);
    subscription->SetTrackLostEvents(true);
    subscription->EventDescriptors()->Add(qoObjectTypeCustomer);
    ASSERT_EQ(connection_.DataEventSubscriptions()->Commit(), 0);
  }
  std::string AddCustomer(const std::string& name) {
    auto customers = connection_.Company()->Customers();
    auto customer = customers->Add(name);
    customers->Commit(customer);
    return customer->ListID();
  }
  serve::EventDeliveryOptions Options() {
    serve::EventDeliveryOptions options;
    options.companyPath = path_;
    options.firstRetry = std::chrono::milliseconds(10);
    options.rescan = std::chrono::milliseconds(20);
    return options;
  }

  std::filesystem::path folder_;
  std::string path_;
  QBConnection connection_;
};

TEST_F(EventDeliveryTest, EventsArePostedInOrderAndRetriedUntilTaken) {
  Subscriber subscriber;
  Subscribe(subscriber.Url(), true);
  std::vector<std::string> ids = {AddCustomer("Ada"), AddCustomer("Bea"), AddCustomer("Cal")};
  subscriber.Refuse(2);  // the first event is answered 503 twice
  serve::EventDelivery delivery(Options());
  delivery.Start();
  std::vector<std::string> bodies = subscriber.Await(3);
  ASSERT_EQ(bodies.size(), 3u);
  for (size_t i = 0; i < ids.size(); ++i) {
    qbEvent event;
    event.ParseXML(bodies[i]);
    EXPECT_EQ(event.ListID(), ids[i]);
    EXPECT_EQ(event.SubscriberID(), kSubscriber);
  }
  std::vector<std::string> sequences = subscriber.Sequences();
  EXPECT_LT(std::stoll(sequences[0]), std::stoll(sequences[1]));
  delivery.Stop();
  EXPECT_EQ(delivery.Delivered(), 3u);
  EXPECT_EQ(delivery.Failures(), 2u);
  EXPECT_EQ(subscriber.Calls(), 5);  // nothing was posted twice once taken
}

TEST_F(EventDeliveryTest, ASubscriberThatHoldsHoldsOnlyItsOwnEvents) {
  Subscriber subscriber;
  Subscribe(subscriber.Url(), true);
  subscriber.Hold();
  serve::EventDelivery delivery(Options());
  delivery.Start();
  AddCustomer("First");
  // The first event is being posted and the subscriber does not answer; the company goes on.
  for (int i = 0; i < 10; ++i) AddCustomer("While held " + std::to_string(i));
  EXPECT_EQ(subscriber.Sequences().size(), 0u);
  subscriber.Release();
  EXPECT_EQ(subscriber.Await(11).size(), 11u);
  delivery.Stop();
}

// A "subscriber" that answers every connection with text that is not HTTP, and hangs up.
class GarbageAnswers {
 public:
  GarbageAnswers() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 8);
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] {
      for (int client; (client = ::accept(listener_, nullptr, nullptr)) >= 0;) {
        char buffer[4096];
        [[maybe_unused]] ssize_t read = ::recv(client, buffer, sizeof buffer, 0);
        const char answer[] = "\x01\x02 this is no HTTP answer\r\n\r\n";
        [[maybe_unused]] ssize_t sent = ::send(client, answer, sizeof answer - 1, MSG_NOSIGNAL);
        ::close(client);
        ++connections_;
      }
    });
  }
  ~GarbageAnswers() {
    ::shutdown(listener_, SHUT_RDWR);
    ::close(listener_);
    thread_.join();
  }
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/events"; }
  int Connections() const { return connections_; }

 private:
  int listener_ = -1;
  int port_ = 0;
  std::thread thread_;
  std::atomic<int> connections_{0};
};

TEST_F(EventDeliveryTest, GarbageAnswersKeepTheEventForLaterAndHoldNothingElse) {
  GarbageAnswers garbage;
  Subscribe(garbage.Url(), true);
  const std::string id = AddCustomer("Kept");
  serve::EventDelivery delivery(Options());
  delivery.Start();
  for (int i = 0; i < 3000 && garbage.Connections() < 3; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_GE(garbage.Connections(), 3);
  AddCustomer("Meanwhile");  // the company's requests go on
  delivery.Stop();
  EXPECT_EQ(delivery.Delivered(), 0u);
  EXPECT_EQ(delivery.Dropped(), 0u);
  // Nothing was lost: a listener that comes later gets both events, the first one first.
  EventListener listener;
  std::vector<std::string> received;
  listener.OnEventReceived = [&](const std::string& xml) { received.push_back(xml); };
  listener.Open(kSubscriber, path_);
  for (int round = 0; round < 100 && received.size() < 2; ++round) listener.Deliver(20);
  ASSERT_EQ(received.size(), 2u);
  qbEvent first;
  first.ParseXML(received[0]);
  EXPECT_EQ(first.ListID(), id);
}

TEST_F(EventDeliveryTest, ASubscriberThatIsNotRunningLosesEventsAndIsToldOfTheGap) {
  // Nothing listens at this address.
  Subscribe("http://127.0.0.1:9/events", false);
  serve::EventDeliveryOptions options = Options();
  options.connectTimeout = std::chrono::milliseconds(200);
  serve::EventDelivery delivery(options);
  delivery.Start();
  // The delivery counts as the running listener once it has the subscriber.
  for (int round = 0; round < 500 && delivery.Dropped() == 0; ++round) {
    if (round % 50 == 0) AddCustomer("Unheard " + std::to_string(round));
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  delivery.Stop();
  EXPECT_GE(delivery.Dropped(), 1u);
  EXPECT_EQ(delivery.Delivered(), 0u);
  xmlBldr builder;
  builder.NewClear();
  builder.InsertRawXML(std::string("<DataEventRecoveryInfoQueryRq><SubscriberID>") + kSubscriber +
                       "</SubscriberID></DataEventRecoveryInfoQueryRq></QBXMLMsgsRq></QBXML>");
  EXPECT_NE(builder.XMLSendToQB().find("<DataEventRecoveryTime>"), std::string::npos);
}

}  // namespace
}  // namespace brennock::testing
