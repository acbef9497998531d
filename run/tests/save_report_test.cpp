// The page is saved a block at a time, whatever the length of its rows.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "byte_sink.h"
#include "cp932.h"
#include "download_log.h"
#include "html_escape.h"
#include "ranking_rows.h"
#include "ranking_to_page.h"
#include "recording_view.h"
#include "report_document.h"
#include "temp_dir.h"

namespace junmaru {
namespace {

using testing::LogLine;
using testing::RecordingView;

// Rows whose paths are longer than the pieces the page is escaped in and
// the blocks it is saved in: the saved page equals the page built as one
// string, and each row holds its link and name exactly as the string forms
// of the escapes make them.
TEST(SaveReportTest, PathsLongerThanTheWriteBuffersAreSavedByteForByte) {
  // The path's own first "/" stands beyond the first pieces: the ":" before
  // it are encoded (after a prefix without "/"), those after it kept.
  std::string hostile = "/";
  while (hostile.size() < 40000) hostile += "a:<&\"'\\ \t";
  hostile += "/";
  while (hostile.size() < 400000) hostile += "b:<&\"'\\\x95\x5C";
  const std::string plain = "/dl/" + std::string(300000, 'c') + ".zip";
  Ranking ranking;
  ranking.entries = {{1, plain}, {2, hostile}};
  ranking.top_total = 3;
  const LogLines log = LogLines::FromBytes(LogLine("/a.zip") + "\n");
  for (const std::string prefix : {"", "./"}) {
    Settings settings;
    settings.PEnd = 1;
    settings.Link = true;
    settings.Prefix = prefix;
    settings.NameMax = 160000;  // the plain name is shown whole, the hostile one shortened
    RecordingView view;
    const std::vector<PageLine> page = ComposeReport(log, settings, ranking, view);
    testing::TempDir folder;
    SaveReport(page, folder.File("ranking.html"));
    const std::string saved = testing::ReadBytes(folder.File("ranking.html"));
    std::string bytes;
    StringSink sink(bytes);
    WriteReport(page, sink);
    EXPECT_TRUE(saved == bytes) << "prefix '" << prefix << "'";
    for (const std::string& path : {hostile, plain}) {
      const ShownName name = NameShown(path, settings.NameMax);
      const std::string cell = "<td><a href=\"" + LinkTarget(prefix, path.substr(1)) + "\">" +
                               EscapeHtml((name.shortened ? Sjis("(略)...") : "") + std::string(name.tail)) +
                               "</a></td>";
      EXPECT_NE(saved.find(cell), std::string::npos) << "prefix '" << prefix << "', path of " << path.size();
    }
  }
}

}  // namespace
}  // namespace junmaru
