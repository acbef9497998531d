#pragma once

#include <stdexcept>
#include <string>

namespace junmaru {

// An error the user is meant to read. what() is the message in code page
// 932, exactly as the window or the command line shows it.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& cp932_message) : std::runtime_error(cp932_message) {}
};

}  // namespace junmaru
