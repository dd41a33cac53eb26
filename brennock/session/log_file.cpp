#include "brennock/session/log_file.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string_view>

#include "brennock/internal/session/session_state.h"
#include "brennock/session/app_data_folder.h"

namespace brennock {
namespace {

namespace fs = std::filesystem;

// Appends `text` to the file at `path`; false when the file cannot be opened or fully written.
bool AppendToFile(const std::string& path, std::string_view text) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) return false;
  // An empty view may carry a null pointer, which fwrite must not be given.
  bool written = text.empty() || std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

// "2010-08-27 03:20:22": local time on a 24-hour clock.
std::string NowStamp() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::size_t length = std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
  return std::string(stamp, length);
}

}  // namespace

void LogFile::SetLogPath(const std::string& value) {
  std::error_code ignored;
  if (auto slash = value.rfind('/'); slash != std::string::npos && slash > 0) {
    fs::path folder(value.substr(0, slash));
    if (!fs::exists(folder, ignored)) fs::create_directory(folder, ignored);
  }
  if (!value.empty() && !fs::exists(value, ignored)) AppendToFile(value, {});
  logPath_ = value;
}

void LogFile::Clear() {
  if (!logPath_.empty()) AppendToFile(logPath_, {});
}

void LogFile::LogEntry(int32_t StatusCode, const std::string& Description) {
  if (logPath_.empty()) return;
  std::string line = NowStamp();
  line += '\t';
  line += std::to_string(StatusCode);
  line += '\t';
  line += source_;
  line += '\t';
  line += Description;
  line += "\r\n";
  if (AppendToFile(logPath_, line)) RotateWhenFull();
}

void LogFile::RotateWhenFull() {
  std::error_code ignored;
  auto length = fs::file_size(logPath_, ignored);
  if (ignored || length <= static_cast<std::uintmax_t>(maxKB_ < 0 ? 0 : maxKB_) * 1000u) return;
  std::string old = logPath_ + "-old";
  fs::remove(old, ignored);
  fs::rename(logPath_, old, ignored);
}

std::shared_ptr<LogFile> DatabaseLog() {
  SessionState& session = Session();
  if (!session.dbLog) {
    session.dbLog = std::make_shared<LogFile>();
    std::string folder = CommonAppDataFolder();
    if (!folder.empty()) session.dbLog->SetLogPath(folder + "/Hollisford/BrennockDB.Log");
  }
  return session.dbLog;
}

}  // namespace brennock
