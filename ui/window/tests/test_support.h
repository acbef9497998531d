#pragma once

// Helpers shared by the window tests: texts written as UTF-8 in the test
// and compared as the program holds them, and a recorder that stands in
// for the message boxes so that no test blocks.

#include <QString>
#include <string>
#include <vector>

#include "cp932.h"
#include "message_box.h"

namespace junmaru::window::testing {

// The code page 932 bytes of a UTF-8 text.
inline std::string Cp(const char* utf8) { return junmaru::Utf8ToCp932(utf8); }
inline QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

struct RecordedBox {
  MessageBox::Kind kind;
  QString caption;
  QString text;
};

// Records every message box while it lives.
class BoxRecorder {
 public:
  BoxRecorder() {
    MessageBox::SetRecorder([this](MessageBox::Kind kind, const QString& caption, const QString& text) {
      boxes.push_back({kind, caption, text});
    });
  }
  ~BoxRecorder() { MessageBox::SetRecorder({}); }
  BoxRecorder(const BoxRecorder&) = delete;
  BoxRecorder& operator=(const BoxRecorder&) = delete;

  std::vector<RecordedBox> boxes;
};

}  // namespace junmaru::window::testing
