#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace brennock {

// A small rotating log: one tab-separated line per entry (time, status code, source, description).
// When an entry takes the file past MaxKB thousand bytes, the file becomes LogPath + "-old" and
// the next entry starts a new one. Logging never raises: a file that cannot be written is skipped.
class LogFile {
 public:
  static constexpr int16_t kDefaultMaxKB = 100;

  int16_t MaxKB() const { return maxKB_; }
  void SetMaxKB(int16_t value) { maxKB_ = value; }
  const std::string& Source() const { return source_; }
  void SetSource(const std::string& value) { source_ = value; }
  const std::string& LogPath() const { return logPath_; }
  // Creates the file's folder (one level) and an empty file when they are missing, then stores
  // the path. An empty path turns logging off.
  void SetLogPath(const std::string& value);

  // Touches the file (creating it when missing); its content is kept.
  void Clear();
  // Appends "yyyy-mm-dd hh:nn:ss<TAB>StatusCode<TAB>Source<TAB>Description" and CR LF.
  void LogEntry(int32_t StatusCode, const std::string& Description);

 private:
  void RotateWhenFull();

  int16_t maxKB_ = kDefaultMaxKB;
  std::string source_;
  std::string logPath_;
};

// This thread's database log, created on first use in
// CommonAppDataFolder() + "/Hollisford/BrennockDB.Log".
std::shared_ptr<LogFile> DatabaseLog();

}  // namespace brennock
