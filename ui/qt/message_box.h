#pragma once

// The program's modal message boxes, each with one OK button and the
// program's title as caption. Tests install a recorder, and then no box is
// shown: the call is recorded and returns at once.

#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace junmaru::window {

class MessageBox {
 public:
  enum class Kind { kError, kInformation };
  using Recorder = std::function<void(Kind kind, const QString& caption, const QString& text)>;

  // A stop icon; text in code page 932.
  static void Error(QWidget* parent, const std::string& cp932_text);
  // An information icon; text in code page 932.
  static void Information(QWidget* parent, const std::string& cp932_text);

  // Replaces showing by recording until cleared with an empty function.
  static void SetRecorder(Recorder recorder);

 private:
  static void Show(QWidget* parent, Kind kind, const std::string& cp932_text);
};

}  // namespace junmaru::window
