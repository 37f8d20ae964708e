// SPDX-License-Identifier: GPL-3.0-or-later
// The computation's thread and the window thread meeting in the bridge: records and
// reads in order, a line typed while the computation works, a stop during a read and
// while the display is behind; and the dialogue read from the records.
#include "vozo/computation_bridge.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "vozo/dialogue_watch.h"
#include "vozo/input_queue.h"

namespace vozo {
namespace {

using Kind = ConsoleRequest::Kind;

// The window thread's side, run by the test: the requests in the order they came.
std::string describe(const std::vector<ConsoleRequest>& requests) {
  std::string out;
  for (const ConsoleRequest& r : requests) {
    if (r.kind == Kind::output) {
      out += "out" + std::to_string(r.unit) + "[" + std::to_string(r.ends.size()) + "]:" + r.bytes;
    } else if (r.kind == Kind::read) {
      out += "read" + std::to_string(r.unit) + "/" + std::to_string(r.capacity) + ";";
    } else {
      out += "action;";
    }
  }
  return out;
}

TEST(ComputationBridge, RecordsReadsAndActionsKeepTheirOrder) {
  std::atomic<int> wakes{0};
  ComputationBridge bridge([&] { ++wakes; });
  std::string answer;
  std::thread computation([&] {
    bridge.write(-3, "a\r\n");
    bridge.write(-3, "b\r\n");  // joined with the one before: one request, two records
    bridge.write(7, "c\r\n");
    bridge.post([] {});
    bridge.read(-2, 256, answer);
  });
  std::string seen;
  while (seen.find("read") == std::string::npos) seen += describe(bridge.take_requests());
  EXPECT_EQ(seen, "out-3[2]:a\r\nb\r\nout7[1]:c\r\naction;read-2/256;");
  // A line typed while the computation worked answers its read.
  bridge.answer("params.txt\r\n");
  computation.join();
  EXPECT_EQ(answer, "params.txt\r\n");
  EXPECT_GE(wakes.load(), 1);
}

TEST(ComputationBridge, StopEndsAWaitingReadAndABlockedWriter) {
  ComputationBridge bridge(nullptr, 8);  // the display is 8 bytes behind at most
  ComputationBridge::ReadStatus status = ComputationBridge::ReadStatus::line;
  std::string line;
  std::thread reader([&] { status = bridge.read(-2, 80, line); });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  bridge.request_stop();
  reader.join();
  EXPECT_EQ(status, ComputationBridge::ReadStatus::stopped);
  EXPECT_TRUE(bridge.claim_stop());
  EXPECT_FALSE(bridge.claim_stop());  // one hook carries the stop out

  ComputationBridge full(nullptr, 8);
  std::atomic<bool> writer_done{false};
  bool accepted = true;
  std::thread writer([&] {
    full.write(-3, "0123456789\r\n");       // fills the queue
    accepted = full.write(-3, "more\r\n");  // waits: nobody shows the records
    writer_done = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(writer_done.load());
  full.request_stop();
  writer.join();
  EXPECT_FALSE(accepted);
}

TEST(ComputationBridge, AReadWithoutAWindowSaysSo) {
  ComputationBridge bridge(nullptr);
  ComputationBridge::ReadStatus status = ComputationBridge::ReadStatus::line;
  std::string line;
  std::thread reader([&] { status = bridge.read(9, 80, line); });
  while (bridge.take_requests().empty()) std::this_thread::yield();
  bridge.answer_no_window();
  reader.join();
  EXPECT_EQ(status, ComputationBridge::ReadStatus::no_window);
}

TEST(PastedLines, EveryKindOfLineEndEndsOneLine) {
  const std::vector<PastedLine> lines = pasted_lines("\nparams.txt\r\ndata.txt\rreport.txt\nte");
  ASSERT_EQ(lines.size(), 5u);
  const char* texts[] = {"", "params.txt", "data.txt", "report.txt", "te"};
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(lines[i].text, texts[i]);
    EXPECT_EQ(lines[i].ended, i < 4);
  }
  EXPECT_TRUE(pasted_lines("").empty());
}

TEST(DialogueWatch, FileQuestionsAndTheReportName) {
  DialogueWatch watch;
  watch.record(" Enter PARAMETERS file name\r\n");
  EXPECT_EQ(watch.question(), FileQuestion::open_file);
  watch.record(" New value = params.txt          \r\n");
  EXPECT_EQ(watch.question(), FileQuestion::none);
  EXPECT_EQ(watch.report_name(), "");
  watch.record(" Enter OUTPUT file name\r\n");
  watch.record(" or return for default value\r\n");
  EXPECT_EQ(watch.question(), FileQuestion::save_file);
  watch.record(" New value = r\xc3\xa9port.txt\r\n");
  EXPECT_EQ(watch.report_name(), "r\xc3\xa9port.txt");
  watch.record(" Enter number of trials\r\n");
  EXPECT_EQ(watch.question(), FileQuestion::none);
  // The names the run took are its files; the answer to another question is not.
  watch.record(" New value = 5\r\n");
  EXPECT_EQ(watch.file_names(), (std::vector<std::string>{"params.txt", "r\xc3\xa9port.txt"}));
}

}  // namespace
}  // namespace vozo
