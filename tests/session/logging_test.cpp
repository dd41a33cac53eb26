#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "brennock/internal/session/request_trace.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/session/log_file.h"

namespace brennock {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class LoggingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Session() = SessionState{};
    dir_ =
        fs::temp_directory_path() /
        ("brennock_logging_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    Session() = SessionState{};
    fs::remove_all(dir_);
  }

  fs::path dir_;
};

TEST_F(LoggingTest, LogPathCreatesOneFolderLevelAndAnEmptyFile) {
  LogFile log;
  log.SetLogPath((dir_ / "Hollisford" / "BrennockDB.Log").string());
  EXPECT_TRUE(fs::exists(dir_ / "Hollisford" / "BrennockDB.Log"));
  EXPECT_EQ(fs::file_size(dir_ / "Hollisford" / "BrennockDB.Log"), 0u);

  // Two missing levels: only the last one would be made, and its parent is missing, so nothing.
  LogFile deep;
  deep.SetLogPath((dir_ / "a" / "b" / "x.log").string());
  EXPECT_FALSE(fs::exists(dir_ / "a"));
  deep.LogEntry(1, "lost quietly");  // the folder is missing: no error reaches the caller
  EXPECT_EQ(deep.LogPath(), (dir_ / "a" / "b" / "x.log").string());
}

TEST_F(LoggingTest, EntryIsOneTabSeparatedLineEndingInCrLf) {
  LogFile log;
  EXPECT_EQ(log.MaxKB(), 100);
  log.SetSource("Export");
  log.SetLogPath((dir_ / "db.log").string());
  log.LogEntry(-3100, "Customer \"A&B\" refused");
  log.Clear();  // keeps the content
  std::string text = ReadAll(dir_ / "db.log");
  EXPECT_TRUE(std::regex_match(
      text,
      std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\t-3100\tExport\tCustomer "A&B" refused\r\n)")))
      << text;
}

TEST_F(LoggingTest, RotatesOnlyWhenTheFileGoesPastMaxKB) {
  const std::string description = "entry";
  // "yyyy-mm-dd hh:nn:ss" TAB "7" TAB "" TAB description CR LF
  const std::size_t entryLength = 19 + 1 + 1 + 1 + 0 + 1 + description.size() + 2;
  for (std::size_t finalSize : {std::size_t{100000}, std::size_t{100001}}) {
    fs::path path = dir_ / ("rotate" + std::to_string(finalSize) + ".log");
    std::ofstream(path, std::ios::binary) << std::string(finalSize - entryLength, 'x');
    LogFile log;
    log.SetLogPath(path.string());
    log.LogEntry(7, description);
    bool rotated = finalSize > 100000;
    EXPECT_EQ(fs::exists(path.string() + "-old"), rotated) << finalSize;
    EXPECT_EQ(fs::exists(path), !rotated) << finalSize;
    if (rotated) {
      EXPECT_EQ(fs::file_size(path.string() + "-old"), finalSize);
      log.LogEntry(7, description);  // starts a new file
      EXPECT_EQ(fs::file_size(path), entryLength);
    }
  }
}

TEST_F(LoggingTest, TraceHeaderReplacesAmpersandsAndSwitchingClosesTheOldFile) {
  RequestTraceHeader header{"/data/Smith & Jones.qbw", "2.0", "QuickBooks Pro", "16", "0", "0.1.0"};
  fs::path first = dir_ / "first.xml";
  fs::path second = dir_ / "second.xml";
  std::ofstream(first) << "stale content";
  SetDebugLogPath(first.string(), header);
  WriteRequestTrace("<OUTGOING>", "<QBXML/>", "</OUTGOING>");
  SetDebugLogPath(second.string(), header);
  WriteRequestTrace("<RETURNS>", "<QBXML/>", "</RETURNS>");
  SetDebugLogPath("", header);
  WriteRequestTrace("<OUTGOING>", "not traced", "</OUTGOING>");

  EXPECT_EQ(ReadAll(first),
            "<BrennockLog CompanyPath=\"/data/Smith + Jones.qbw\" qbXMLVersion=\"2.0\" "
            "ProductName=\"QuickBooks Pro\" MajorVersion=\"16\" MinorVersion = \"0\" "
            "BrennockVersion=\"0.1.0\">\r\n<OUTGOING>\r\n<QBXML/>\r\n</OUTGOING>\r\n"
            "</BrennockLog>\r\n");
  EXPECT_EQ(ReadAll(second), "<RETURNS>\r\n<QBXML/>\r\n</RETURNS>\r\n</BrennockLog>\r\n");
  EXPECT_EQ(Session().debugXmlLogPath, "");
}

TEST_F(LoggingTest, TraceStripsOnlyTheBareDeclarationAndKnownDoctypes) {
  EXPECT_EQ(
      StripTraceDeclarations(
          "<?xml version=\"1.0\" ?><!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD CA3.0//EN' >"
          "<QBXML/>"),
      "<QBXML/>");
  // The encoded declaration and versions outside the list stay.
  std::string kept =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
      "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 13.0//EN' ><QBXML/>";
  EXPECT_EQ(StripTraceDeclarations(kept), kept);
  EXPECT_EQ(StripTraceDeclarations(
                "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
                "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 2.1//EN' >\r\n<QBXML/>"),
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<QBXML/>");
}

}  // namespace
}  // namespace brennock
