#include "error_display.h"

#include <new>
#include <stdexcept>

#include "cp932.h"
#include "error.h"
#include "error_text.h"
#include "message_box.h"

namespace junmaru::window {

void ErrorDisplay::ShowCurrent(QWidget* parent) {
  std::string message;
  try {
    throw;
  } catch (const junmaru::Error& error) {
    message = error.what();  // already code page 932
  } catch (const std::bad_alloc&) {
    message = Sjis("メモリが不足しています");
  } catch (const std::exception& error) {
    // A library error outside the program's own messages: its text is
    // ASCII or UTF-8.
    message = Utf8ToCp932(error.what());
  } catch (...) {
    message = Sjis("不明なエラーが発生しました");
  }
  MessageBox::Error(parent, form::ErrorDisplayText(message));
}

void ErrorDisplay::Guard(QWidget* parent, const std::function<void()>& handler) {
  try {
    handler();
  } catch (...) {
    ShowCurrent(parent);
  }
}

}  // namespace junmaru::window
