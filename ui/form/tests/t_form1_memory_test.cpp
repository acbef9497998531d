// A log too large for the memory left: the window names it, as the batch
// program does, and keeps the log it had.

#include <sys/resource.h>

#include <gtest/gtest.h>

#include <new>
#include <string>

#include "cp932.h"
#include "error.h"
#include "fake_control_set.h"
#include "file_io.h"
#include "isolated_child.h"
#include "messages.h"
#include "t_form1.h"
#include "temp_dir.h"

namespace junmaru::form {
namespace {

TEST(TForm1Memory, LogTooLargeForMemoryIsNamed) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "an address space limit cannot be tested under AddressSanitizer";
#endif
  junmaru::testing::TempDir folder;
  const std::string small =
      folder.Write("small.log", "1 - - [10/Oct/2004:13:55:36 +0900] \"GET /a.zip HTTP/1.1\" 200 5\r\n"
                                "1 - - [10/Oct/2004:13:55:37 +0900] \"GET /b.zip HTTP/1.1\" 200 5\r\n");
  std::string big;
  while (big.size() < (std::size_t{96} << 20)) big += "1 - - [10/Oct/2004:13:55:36 +0900] \"GET /c.zip HTTP/1.1\" 200 5\r\n";
  const std::string large = folder.Write("large.log", big);
  big = std::string();

  const junmaru::testing::ChildOutcome outcome = junmaru::testing::InChild([&] {
    testing::FakeControlSet controls;
    TForm1 form{controls, folder.File("junmaru_setting.ini")};
    controls.form = &form;
    form.DataSet(small, folder.File("ranking.html"));
    rlimit limit{64 << 20, 64 << 20};
    if (::setrlimit(RLIMIT_AS, &limit) != 0) return std::string("no limit");
    std::string said;
    try {
      form.DataSet(large, folder.File("ranking.html"));
    } catch (const junmaru::Error& error) {
      said = error.what();
    } catch (const std::bad_alloc&) {
      said = "bad_alloc";
    }
    return said + "|" + std::to_string(form.Lines().Count());
  });
  ASSERT_EQ(outcome.how, "");
  EXPECT_EQ(outcome.text, junmaru::messages::OutOfMemoryReading(junmaru::PathForMessage(large)) + "|2");
}

}  // namespace
}  // namespace junmaru::form
