#include "bridges/remote/remote_processor.h"

#include <httplib.h>

#include <charconv>
#include <cstdlib>
#include <utility>

#include "brennock/errors/automation_error.h"
#include "brennock/internal/session/ini_file.h"
#include "brennock/session/app_data_folder.h"
#include "brennock/session/processor_registry.h"
#include "bridges/remote/remote_errors.h"
#include "bridges/remote/rqp_protocol.h"

namespace brennock::remote {

void RaiseRemote(int32_t number, std::string_view description) {
  throw AutomationError(number, std::string(kRemoteSource), std::string(description));
}

namespace {

std::string Setting(const char* variable, const std::string& ini, std::string_view key) {
  const char* value = std::getenv(variable);
  if (value != nullptr && *value != '\0') return value;
  return ini.empty() ? std::string() : ReadIniString(ini, "Remote", key);
}

std::string IniPath() {
  const char* configured = std::getenv("BRENNOCK_INI");
  if (configured != nullptr && *configured != '\0') return configured;
  std::string folder = CommonAppDataFolder();
  return folder.empty() ? std::string() : folder + "/Hollisford/Brennock.ini";
}

int64_t Number(std::string_view text, int64_t otherwise) {
  int64_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : otherwise;
}

void AppendEncoded(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (unsigned char c : text) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
        c == '_' || c == '.' || c == '~') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
}

using Params = std::initializer_list<std::pair<const char*, std::string_view>>;

class RemoteProcessor final : public RemoteRequestProcessor {
 public:
  explicit RemoteProcessor(RemoteSettings settings) : settings_(std::move(settings)) {}

  void OpenConnection(const std::string& AppID, const std::string& AppName) override {
    Open(Call("OpenConnection", {{rqp::kAppId, AppID}, {rqp::kAppName, AppName}}));
  }
  void OpenConnection(const std::string& AppID, const std::string& AppName,
                      const std::string& ClientGuid) override {
    Open(Call("OpenConnection",
              {{rqp::kAppId, AppID}, {rqp::kAppName, AppName}, {rqp::kClientGuid, ClientGuid}}));
  }
  void OpenConnection2(const std::string& AppID, const std::string& AppName,
                       qbConnectionType ConnectionPreference) override {
    std::string preference = std::to_string(static_cast<int>(ConnectionPreference));
    Open(Call("OpenConnection2",
              {{rqp::kAppId, AppID}, {rqp::kAppName, AppName}, {rqp::kPreference, preference}}));
  }
  std::shared_ptr<brennock::AuthPreferences> AuthPreferences() override {
    if (!preferences_) preferences_ = std::make_shared<brennock::AuthPreferences>();
    return preferences_;
  }
  std::string BeginSession(const std::string& qbFileName, qbEnumFileOpenMode reqFileMode) override {
    std::shared_ptr<brennock::AuthPreferences> prefs = AuthPreferences();
    std::string mode = std::to_string(static_cast<int>(reqFileMode));
    std::string flags = std::to_string(prefs->GetAuthFlags());
    std::string personal = std::to_string(prefs->GetPersonalDataPref());
    std::string unattended = std::to_string(prefs->GetUnattendedModePref());
    httplib::Headers answer;
    std::string ticket = Call("BeginSession",
                              {{rqp::kFile, qbFileName},
                               {rqp::kMode, mode},
                               {rqp::kAuthFlags, flags},
                               {rqp::kPersonalData, personal},
                               {rqp::kReadOnly, prefs->GetIsReadOnly() ? "1" : "0"},
                               {rqp::kUnattended, unattended}},
                              {}, nullptr, &answer);
    auto header = [&](const char* name) {
      auto found = answer.find(name);
      return found == answer.end() ? std::string_view() : std::string_view(found->second);
    };
    prefs->PutPersonalDataPref(static_cast<int32_t>(Number(header(rqp::kPersonalData), 0)));
    prefs->PutUnattendedModePref(static_cast<int32_t>(Number(header(rqp::kUnattended), 0)));
    prefs->PutIsReadOnly(header(rqp::kReadOnly) == "1");
    prefs->SetWasAuthPreferencesObeyed(header(rqp::kObeyed) == "1");
    return ticket;
  }
  std::string GetCurrentCompanyFileName(const std::string& ticket) override {
    return Call("GetCurrentCompanyFileName", {}, {}, &ticket);
  }
  std::vector<std::string> QBXMLVersionsForSession(const std::string& ticket) override {
    std::string lines = Call("QBXMLVersionsForSession", {}, {}, &ticket);
    std::vector<std::string> versions;
    size_t start = 0;
    while (start < lines.size()) {
      size_t end = lines.find('\n', start);
      if (end == std::string::npos) end = lines.size();
      versions.emplace_back(lines, start, end - start);
      start = end + 1;
    }
    return versions;
  }
  std::string ProcessRequest(const std::string& ticket, const std::string& inputRequest) override {
    return Call("ProcessRequest", {}, inputRequest, &ticket);
  }
  std::string ProcessSubscription(const std::string& inputRequest) override {
    return Call("ProcessSubscription", {}, inputRequest);
  }
  int16_t MajorVersion() override {
    return static_cast<int16_t>(Number(Call("MajorVersion", {}), 0));
  }
  int16_t MinorVersion() override {
    return static_cast<int16_t>(Number(Call("MinorVersion", {}), 0));
  }
  void EndSession(const std::string& ticket) override { Call("EndSession", {}, {}, &ticket); }
  void CloseConnection() override {
    if (connection_.empty()) return;
    Call("CloseConnection", {});
    connection_.clear();
  }

 private:
  void Open(std::string connection) { connection_ = std::move(connection); }

  httplib::Client& Client() {
    if (client_) return *client_;
    if (settings_.url.empty()) RaiseRemote(kCouldNotAccessNumber, kMsgNoServer);
    // "https://host:port/prefix": the client takes scheme, host and port; the prefix leads paths.
    std::string_view url = settings_.url;
    size_t hostStart = url.find("://");
    size_t pathStart = url.find('/', hostStart == std::string_view::npos ? 0 : hostStart + 3);
    std::string origin(url.substr(0, pathStart));
    prefix_ =
        pathStart == std::string_view::npos ? std::string() : std::string(url.substr(pathStart));
    while (!prefix_.empty() && prefix_.back() == '/') prefix_.pop_back();
    client_ = std::make_unique<httplib::Client>(origin);
    if (!client_->is_valid())
      RaiseRemote(kCouldNotAccessNumber, std::string(kMsgUnreachable) + settings_.url);
    client_->set_keep_alive(true);
    client_->set_tcp_nodelay(true);  // headers and body go in separate writes
    // Compressing every answer costs more time than it saves on a local network.
    client_->set_decompress(false);
    client_->set_connection_timeout(settings_.connectTimeout);
    client_->set_read_timeout(settings_.readTimeout);
    client_->set_write_timeout(settings_.readTimeout);
    if (!settings_.caFile.empty()) client_->set_ca_cert_path(settings_.caFile.c_str());
    if (!settings_.token.empty()) client_->set_bearer_token_auth(settings_.token.c_str());
    return *client_;
  }

  std::string Call(std::string_view operation, Params params, const std::string& body = {},
                   const std::string* ticket = nullptr, httplib::Headers* answer = nullptr) {
    httplib::Client& client = Client();
    std::string path = prefix_;
    path += rqp::kPathPrefix;
    path += operation;
    char separator = '?';
    for (const auto& [name, value] : params) {
      path += separator;
      separator = '&';
      path += name;
      path += '=';
      AppendEncoded(path, value);
    }
    httplib::Headers headers;
    if (!connection_.empty()) headers.emplace(rqp::kConnectionHeader, connection_);
    if (ticket != nullptr) headers.emplace(rqp::kTicketHeader, *ticket);
    httplib::Result result = client.Post(path.c_str(), headers, body, "application/xml");
    if (!result) {
      RaiseRemote(kCouldNotAccessNumber, std::string(kMsgUnreachable) + settings_.url + ": " +
                                             httplib::to_string(result.error()));
    }
    httplib::Response& response = *result;
    if (response.status == 200) {
      if (answer != nullptr) *answer = response.headers;
      return std::move(response.body);
    }
    if (response.status == 401) RaiseRemote(kCouldNotAccessNumber, kMsgTokenRefused);
    if (response.has_header(rqp::kErrorNumberHeader)) {
      throw AutomationError(
          static_cast<int32_t>(Number(response.get_header_value(rqp::kErrorNumberHeader), 0)),
          response.get_header_value(rqp::kErrorSourceHeader), response.body);
    }
    RaiseRemote(kUnexpectedNumber, std::string(kMsgBadAnswer) + std::to_string(response.status));
  }

  RemoteSettings settings_;
  std::unique_ptr<httplib::Client> client_;
  std::string prefix_;
  std::string connection_;
  std::shared_ptr<brennock::AuthPreferences> preferences_;
};

}  // namespace

RemoteSettings ReadRemoteSettings() {
  std::string ini = IniPath();
  RemoteSettings settings;
  settings.url = Setting("BRENNOCK_REMOTE_URL", ini, "URL");
  settings.token = Setting("BRENNOCK_REMOTE_TOKEN", ini, "Token");
  settings.caFile = Setting("BRENNOCK_REMOTE_CA", ini, "CAFile");
  int64_t timeout = Number(Setting("BRENNOCK_REMOTE_TIMEOUT", ini, "Timeout"), 0);
  if (timeout > 0) settings.readTimeout = std::chrono::seconds(timeout);
  return settings;
}

std::shared_ptr<RemoteRequestProcessor> CreateRemoteProcessor(RemoteSettings settings) {
  return std::make_shared<RemoteProcessor>(std::move(settings));
}

namespace {

const bool kRegistered = [] {
  RegisterRequestProcessor(std::string(kRemoteProcessorProgId),
                           [] { return CreateRemoteProcessor(ReadRemoteSettings()); });
  return true;
}();

}  // namespace
}  // namespace brennock::remote

// Named as undefined by the umbrella target brennock::brennock, so the registration above is
// always linked.
extern "C" const bool brennock_remote_registered = brennock::remote::kRegistered;
