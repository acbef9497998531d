#pragma once

// Helpers shared by the window tests: texts written as UTF-8 in the test
// and compared as the program holds them, and a recorder that stands in
// for the message boxes so that no test blocks.

#include <QFile>
#include <QString>
#include <string>
#include <vector>

#include "cp932.h"
#include "message_box.h"

namespace junmaru::window::testing {

// The code page 932 bytes of a UTF-8 text.
inline std::string Cp(const char* utf8) { return junmaru::Utf8ToCp932(utf8); }
inline QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

// A path as the program holds it: the platform's bytes.
inline std::string Native(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The file's bytes, empty when it cannot be read.
inline std::string ReadBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

// Creates or replaces a file with these bytes.
inline bool WriteBytes(const QString& path, const std::string& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

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
